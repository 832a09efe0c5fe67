// The parts of the removal that the tools know how to do: which backup sets
// and undo files exist, and how a set is deleted.
#include "host/OwnDataRemoval.h"

#include "regbackup/HiveBackup.h"
#include "regbackup/LegacyHiveBackup.h"
#include "regclean/Sections.h"
#include "regclean/UndoStore.h"

#include <shlwapi.h>
#include <vantor/System.h>

namespace {

template <class Engine>
void DeleteEverySet()
{
    Engine engine;
    CStringArray sets;
    engine.ListSets(sets);
    for (int i = 0; i < sets.GetSize(); ++i) engine.DeleteSet(sets[i]);
}

}  // namespace

void RemoveBackupSets()
{
    if (IsOsWinNT())
        DeleteEverySet<CHiveBackup>();
    else
        DeleteEverySet<CLegacyHiveBackup>();
}

void RemoveUndoFiles()
{
    CStringArray files;
    ListUndoRecords(files);
    for (int i = 0; i < files.GetSize(); ++i) ::DeleteFileA(files[i]);
    RemoveEmptyUndoFolder();
}

void RemoveSectionSwitches()
{
    ::SHDeleteKeyA(HKEY_CURRENT_USER, kSwitchKey);
    RemoveEmptyKeysUp(kSwitchKey);
}
