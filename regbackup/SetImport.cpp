#include "regbackup/SetImport.h"

#include <vantor/System.h>
#include <vantres/ids_backup.h>

#include "host/HostServices.h"
#include "regbackup/HiveBackup.h"
#include "regbackup/LegacyHiveBackup.h"

BackupLine RunningLine() { return IsOsWinNT() ? BackupLine::NT : BackupLine::Legacy; }

void ListSetsOfRunningLine(CStringArray& out)
{
    if (RunningLine() == BackupLine::NT) {
        CHiveBackup engine;
        engine.ListSets(out);
    } else {
        CLegacyHiveBackup engine;
        engine.ListSets(out);
    }
}

BOOL DeleteSetOfRunningLine(LPCSTR infoPath)
{
    if (RunningLine() == BackupLine::NT) {
        CHiveBackup engine;
        return engine.DeleteSet(infoPath);
    }
    CLegacyHiveBackup engine;
    return engine.DeleteSet(infoPath);
}

ImportResult ImportSetFile(BackupLine line, LPCSTR infoPath, CString& log)
{
    log = "Located the file now reading the file records.\r\n";

    CStringArray listed;
    CHiveBackup ntEngine;
    CLegacyHiveBackup legacyEngine;
    if (line == BackupLine::NT)
        ntEngine.ListSets(listed);
    else
        legacyEngine.ListSets(listed);
    for (int i = 0; i < listed.GetSize(); ++i) {
        if (listed[i].CompareNoCase(infoPath) == 0) {
            log += LoadTextById(IDS_BKL_ALREADY_LISTED);
            return ImportResult::AlreadyListed;
        }
    }

    const BOOL valid = line == BackupLine::NT ? ntEngine.ValidateSet(infoPath) : legacyEngine.ValidateSet(infoPath);
    if (!valid) {
        log += LoadTextById(IDS_BKL_DAMAGED);
        return ImportResult::Damaged;
    }
    // The same record a backup of this tool writes.
    RecordSet(line, infoPath);
    log += LoadTextById(IDS_BKL_IMPORTED);
    return ImportResult::Imported;
}
