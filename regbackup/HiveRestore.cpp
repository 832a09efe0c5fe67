// The NT line's restore: the set's hive copies are decoded into temporary
// files of the system directory and handed to Windows, which loads them in
// place of the live hives at the next start.
#include "regbackup/HiveBackup.h"

#include <cstdlib>
#include <vantor/FileCopy.h>

#include "regbackup/BackupPlatform.h"
#include "regbackup/SetRecords.h"

namespace {

struct RestoreRecord {
    HKEY root = NULL;
    CString subkey;
    CString source;   // the stored copy
    CString newFile;  // its decoded form, loaded at the next start
    CString oldFile;  // where Windows keeps the hive it replaces
};

// RBKnnnn.TMP in the system directory, and RBKnnnn.bak beside it.
void FormRestoreNames(LPCSTR systemDir, RestoreRecord& record)
{
    TempNameCounter& counter = RestoreNameCounter();
    if (!counter.seeded) {
        counter.value = (UINT(rand()) + GetTickCount()) & 0xFFFF;
        counter.seeded = true;
    }
    do {
        counter.value = (counter.value + ((counter.value & 2) ? 5 : 3)) & 0xFFFF;
    } while (counter.value == 0);
    char buffer[MAX_PATH] = {};
    if (!GetTempFileNameA(systemDir, "RBK", counter.value, buffer)) return;
    record.newFile = buffer;
    // RBKnnnn.TMP -> RBKnnnn.bak (the dot is looked for in the name only).
    const int folderLength = FolderOfPath(buffer).GetLength();
    const int dot = record.newFile.ReverseFind('.');
    record.oldFile = (dot > folderLength ? record.newFile.Left(dot) : record.newFile) + ".bak";
    DeleteFileA(record.newFile);
    DeleteFileA(record.oldFile);
}

}  // namespace

int CHiveBackup::Restore(LPCSTR infoPath)
{
    m_restoreFault = RestoreFault::None;
    if (!EnableBackupPrivileges()) {
        m_restoreFault = RestoreFault::NoPrivilege;
        return 0;
    }
    const CString folder = FolderOfPath(infoPath);
    ArbIndex index;
    if (!ReadArbIndex(infoPath, index)) {
        m_restoreFault = RestoreFault::BadIndex;
        return 0;
    }

    char systemDir[MAX_PATH] = {};
    GetSystemDirectoryA(systemDir, MAX_PATH);

    // Every copy must be there before any file is touched.
    for (const ArbEntry& entry : index.entries) {
        if (!PathExists(folder + entry.name)) {
            m_restoreFault = RestoreFault::MissingCopy;
            return 0;
        }
    }
    std::vector<RestoreRecord> records(index.entries.size());
    for (size_t i = 0; i < records.size(); ++i) {
        records[i].root = ArbToRoot(index.entries[i].root);
        records[i].subkey = index.entries[i].subkey;
        records[i].source = folder + index.entries[i].name;
        FormRestoreNames(systemDir, records[i]);
    }

    // A hive that is truncated or altered can leave Windows unable to start:
    // every copy must decode (the copier checks what it gives back) before
    // any hive is handed over.
    bool decoded = true;
    for (RestoreRecord& record : records) {
        if (record.newFile.IsEmpty() || !SetCopier().CopyFileDec(record.source, record.newFile)) {
            decoded = false;
            break;
        }
        Sleep(0);
    }
    if (!decoded) {
        for (RestoreRecord& record : records)
            if (!record.newFile.IsEmpty()) DeleteFileA(record.newFile);
        m_restoreFault = RestoreFault::DamagedCopy;
        return 0;
    }

    IBackupPlatform& platform = BackupPlatform();
    for (RestoreRecord& record : records) platform.ReplaceKey(record.root, record.subkey, record.newFile, record.oldFile);
    Sleep(256);
    platform.RequestRestart(EWX_REBOOT, 4);
    return 1;
}
