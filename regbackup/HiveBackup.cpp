#include "regbackup/HiveBackup.h"

#include <vantor/FileCopy.h>
#include <vantor/Registry.h>

#include "regbackup/SetFolder.h"
#include "regbackup/SetRecords.h"
#include "regbackup/SetVerify.h"

namespace {

const char kHiveListKey[] = "SYSTEM\\CurrentControlSet\\Control\\hivelist";

BOOL InfoFileExists(LPCSTR infoPath, void*) { return PathExists(infoPath); }

}  // namespace

// One copier for the whole process, as the hive copies of every set share it.
CFileCopy& SetCopier()
{
    static CFileCopy copier;
    return copier;
}

CHiveBackup::CHiveBackup() = default;
CHiveBackup::~CHiveBackup() = default;

void CHiveBackup::LoadHiveList()
{
    CRegistry registry(HKEY_LOCAL_MACHINE);
    if (!registry.Open(HKEY_LOCAL_MACHINE, kHiveListKey, TRUE)) return;
    // Listed below the open key: "" is the key itself.
    registry.ListValues("", m_hiveNames);
    for (int i = 0; i < m_hiveNames.GetSize(); ++i) {
        CString file;
        registry.ReadString(m_hiveNames[i], file);
        m_hiveFiles.Add(file);
    }
    registry.Close();
}

void CHiveBackup::SaveHive(HiveRecord& record)
{
    record.saved = 0;
    HKEY key = NULL;
    if (!record.root || RegOpenKeyExA(record.root, record.subkey, 0, READ_CONTROL, &key) != ERROR_SUCCESS) return;
    record.saved = RegSaveKeyA(key, record.tempFile, NULL) == ERROR_SUCCESS ? 1 : 0;
    RegCloseKey(key);
}

void CHiveBackup::Run(BackupProgress& progress)
{
    EnableBackupPrivileges();
    RegFlushKey(HKEY_LOCAL_MACHINE);
    RegFlushKey(HKEY_CURRENT_USER);
    RegFlushKey(HKEY_USERS);

    m_hiveNames.RemoveAll();
    m_hiveFiles.RemoveAll();
    m_records.clear();
    LoadHiveList();
    m_tempFolder = ShortSystemDirectory();

    const int count = m_hiveNames.GetSize();
    progress.SetRange(0, count);
    progress.SetPos(0);
    CString text;
    text.Format("Number of Keys to Backup %d", count);
    progress.SetText(text);

    DispatchPendingMessages();
    // Saving a hive takes seconds; the machine should give this run its time.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    Sleep(0);

    m_records.resize(size_t(count));
    for (int i = 0; i < count; ++i) {
        HiveRecord& record = m_records[size_t(i)];
        record.hiveFile = i < m_hiveFiles.GetSize() ? m_hiveFiles[i] : CString();
        DeviceToDrivePath(record.hiveFile);
        record.root = SplitHiveName(m_hiveNames[i], record.subkey);
        record.tempFile = MakeTempName(m_tempFolder, "RBK", BackupNameCounter(), record.subkey);
        record.saved = 0;
    }
    for (int i = 0; i < count; ++i) {
        DispatchPendingMessages();
        SaveHive(m_records[size_t(i)]);
        progress.SetPos(i + 1);
        progress.SetText(CompletedText(i + 1, count));
        DispatchPendingMessages();
    }
    WriteSet();
}

BOOL CHiveBackup::WriteSet()
{
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    m_index = ArbIndex();
    m_index.systemDir = system;
    m_setWritten = FALSE;
    m_infoPath.Empty();
    m_fault = BackupFault::None;
    m_faultHive.Empty();
    m_faultError = ERROR_SUCCESS;

    // A set without a single hive restores nothing: no folder is made for it.
    if (SavedCount() == 0) return Fail(BackupFault::NoHiveSaved);

    PrepareSetFolder();
    if (!IsSetFolder(m_location)) return Fail(BackupFault::NoSetFolder, CString(), GetLastError());
    SetFolderFiles written(m_location);

    int nSys = 1, nUser = 1;
    for (HiveRecord& record : m_records) {
        if (!record.saved) continue;
        ArbEntry entry;
        entry.root = RootToArb(record.root);
        entry.subkey = record.subkey;
        entry.hiveFile = record.hiveFile;
        entry.name.Format(record.root == HKEY_LOCAL_MACHINE ? "Sys%d" : "User%d",
                          record.root == HKEY_LOCAL_MACHINE ? nSys++ : nUser++);
        const CString copy = written.Add(entry.name);
        // A copy that is not there, or does not read back, is no backup of its hive.
        if (!SetCopier().CopyFileEnc(record.tempFile, copy))
            return Fail(BackupFault::CopyFailed, HiveKeyText(record.root, record.subkey), GetLastError());
        if (!VerifyHiveCopy(copy))
            return Fail(BackupFault::CopyDamaged, HiveKeyText(record.root, record.subkey), GetLastError());
        DeleteFileA(record.tempFile);
        m_index.entries.push_back(entry);
    }

    const CString info = written.Add("info.arb");
    if (!WriteFileReplacing(info, EncodeArbIndex(m_index))) return Fail(BackupFault::IndexFailed, CString(), GetLastError());
    if (!RegisterSet(info)) return Fail(BackupFault::RecordFailed, CString(), GetLastError());
    written.Keep();
    m_infoPath = info;
    m_setWritten = TRUE;
    return TRUE;
}

BOOL CHiveBackup::Fail(BackupFault fault, const CString& hive, DWORD error)
{
    m_fault = fault;
    m_faultHive = hive;
    m_faultError = error;
    m_index.entries.clear();
    RemoveTempSaves();
    return FALSE;
}

void CHiveBackup::RemoveTempSaves()
{
    // Only saves of this run: the name of a failed one may be a fallback
    // that names someone else's file.
    for (HiveRecord& record : m_records)
        if (record.saved && !record.tempFile.IsEmpty()) DeleteFileA(record.tempFile);
}

int CHiveBackup::SavedCount() const
{
    int n = 0;
    for (const HiveRecord& record : m_records) n += record.saved ? 1 : 0;
    return n;
}

BOOL CHiveBackup::RegisterSet(LPCSTR infoPath) { return RecordSet(BackupLine::NT, infoPath); }

BOOL CHiveBackup::ListSets(CStringArray& out)
{
    ListRecordedSets(BackupLine::NT, out, &InfoFileExists, NULL);
    return TRUE;
}

BOOL CHiveBackup::ValidateSet(LPCSTR infoPath)
{
    ArbIndex index;
    if (!ReadArbIndex(infoPath, index)) return FALSE;
    const CString folder = FolderOfPath(infoPath);
    for (const ArbEntry& entry : index.entries)
        if (!PathExists(folder + entry.name)) return FALSE;
    return TRUE;
}

BOOL CHiveBackup::DeleteSet(LPCSTR infoPath)
{
    ArbIndex index;
    // A damaged index names nothing we may delete; the index itself goes.
    ReadArbIndex(infoPath, index);
    const CString folder = FolderOfPath(infoPath);
    for (const ArbEntry& entry : index.entries) DeleteFileA(folder + entry.name);
    BOOL ok = DeleteFileA(infoPath);
    // Only an empty folder goes: files the user put there stay with it.
    RemoveDirectoryA(folder);
    return ok;
}
