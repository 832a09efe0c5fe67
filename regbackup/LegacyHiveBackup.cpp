#include "regbackup/LegacyHiveBackup.h"

#include <vantor/FileCopy.h>

#include "regbackup/BackupPlatform.h"
#include "regbackup/HiveTools.h"
#include "regbackup/SetFolder.h"
#include "regbackup/SetRecords.h"
#include "regbackup/SetVerify.h"

namespace {

class KeyHandle {
public:
    ~KeyHandle() { if (m_h) RegCloseKey(m_h); }
    HKEY* out() { return &m_h; }
    HKEY get() const { return m_h; }

private:
    HKEY m_h = NULL;
};

BOOL LegacySetValid(LPCSTR infoPath, void* engine)
{
    return static_cast<CLegacyHiveBackup*>(engine)->ValidateSet(infoPath);
}

void CopyText(char (&target)[MAX_PATH], const CString& text) { lstrcpynA(target, text, MAX_PATH); }

}  // namespace

CLegacyHiveBackup::CLegacyHiveBackup() = default;
CLegacyHiveBackup::~CLegacyHiveBackup() = default;

BOOL CLegacyHiveBackup::SaveRoots()
{
    m_saved = false;
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    // The fallback names below are relative: they land in the Windows directory.
    SetCurrentDirectoryA(windows);

    RegFlushKey(HKEY_LOCAL_MACHINE);
    RegFlushKey(HKEY_USERS);
    RegFlushKey(HKEY_CURRENT_USER);
    // 9x knows no privileges and the call fails harmlessly there; a system
    // that only presents itself as 9x still asks for the backup right.
    EnableBackupPrivileges();

    KeyHandle machine, users;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "", 0, READ_CONTROL, machine.out()) != ERROR_SUCCESS) return FALSE;
    if (RegOpenKeyExA(HKEY_USERS, "", 0, READ_CONTROL, users.out()) != ERROR_SUCCESS) return FALSE;

    m_tempFolder = LegacyTempFolder();
    CString first = MakeTempName(m_tempFolder, "RO", LegacyNameCounter(), "reglm");
    CString second = MakeTempName(m_tempFolder, "RO", LegacyNameCounter(), "regu");

    if (RegSaveKeyA(machine.get(), first, NULL) != ERROR_SUCCESS) return FALSE;
    if (RegSaveKeyA(users.get(), second, NULL) != ERROR_SUCCESS) return FALSE;

    CopyText(m_tempMachine, ShortPath(first));
    CopyText(m_tempUsers, ShortPath(second));
    m_saved = true;
    return TRUE;
}

bool CLegacyHiveBackup::Backup()
{
    m_infoPath.Empty();
    if (!SaveRoots()) return false;
    PrepareSetFolder();
    if (!IsSetFolder(m_location)) {
        DeleteFileA(m_tempMachine);
        DeleteFileA(m_tempUsers);
        return false;
    }
    SetFolderFiles written(m_location);

    ArbLegacyRecord record;
    record.sys = written.Add("Sys");
    record.user = written.Add("User");
    const CString info = written.Add("info.arb");

    // Both copies must be there and read back intact, or there is no set.
    CFileCopy& copier = SetCopier();
    BOOL copied = copier.CopyFileEnc(m_tempMachine, record.sys) && VerifyHiveCopy(record.sys);
    copied = copied && copier.CopyFileEnc(m_tempUsers, record.user) && VerifyHiveCopy(record.user);
    DeleteFileA(m_tempMachine);
    DeleteFileA(m_tempUsers);
    if (!copied) return false;
    if (!WriteFileReplacing(info, EncodeLegacyRecord(record))) return false;
    if (!RegisterSet(info)) return false;
    written.Keep();
    m_infoPath = info;
    return true;
}

BOOL CLegacyHiveBackup::RegisterSet(LPCSTR infoPath) { return RecordSet(BackupLine::Legacy, infoPath); }

BOOL CLegacyHiveBackup::ListSets(CStringArray& out)
{
    ListRecordedSets(BackupLine::Legacy, out, &LegacySetValid, this);
    return TRUE;
}

BOOL CLegacyHiveBackup::ValidateSet(LPCSTR infoPath)
{
    ArbLegacyRecord record;
    if (!ReadLegacyRecord(infoPath, record)) return FALSE;
    if (!PathExists(record.sys) || !PathExists(record.user)) return FALSE;
    m_record = record;
    return TRUE;
}

BOOL CLegacyHiveBackup::DeleteSet(LPCSTR infoPath)
{
    ArbLegacyRecord record;
    if (!ReadLegacyRecord(infoPath, record)) return FALSE;
    // The record names full paths: only copies inside the set's own folder go.
    const CString folder = FolderOfPath(infoPath);
    if (FolderOfPath(record.sys).CompareNoCase(folder) == 0) DeleteFileA(record.sys);
    if (FolderOfPath(record.user).CompareNoCase(folder) == 0) DeleteFileA(record.user);
    BOOL ok = DeleteFileA(infoPath);
    RemoveDirectoryA(folder);
    return ok;
}

bool CLegacyHiveBackup::Restore(LPCSTR infoPath)
{
    if (!ValidateSet(infoPath)) return false;

    CString windows = m_windowsDir;
    if (windows.IsEmpty()) {
        char buffer[MAX_PATH] = {};
        GetWindowsDirectoryA(buffer, MAX_PATH);
        windows = buffer;
    }
    const bool driveRoot = windows.GetLength() == 3;
    const CString base = driveRoot ? windows : windows + "\\";
    const CString liveSystem = base + "system.dat";
    const CString liveUser = base + "user.dat";

    const CString new1 = MakeTempName(windows, "RO", LegacyNameCounter(), "RO");
    const CString new2 = MakeTempName(windows, "RO", LegacyNameCounter(), "RO");
    if (new1.GetLength() < 3 || new2.GetLength() < 3) return false;

    // Windows would load these at the next start: both must decode intact.
    CFileCopy& copier = SetCopier();
    if (!copier.CopyFileDec(m_record.sys, new1) || !copier.CopyFileDec(m_record.user, new2)) {
        DeleteFileA(new1);
        DeleteFileA(new2);
        return false;
    }

    CopyText(m_liveSystem, liveSystem);
    CopyText(m_newSystem, new1);
    CopyText(m_liveUser, liveUser);
    CopyText(m_newUser, new2);

    CString list;
    list.Format("[rename]\r\n%s=%s\r\n%s=%s\r\n\r\n", m_liveSystem, m_newSystem, m_liveUser, m_newUser);
    m_wininitPath = base + "wininit.ini";
    CFile file;
    if (!file.Open(m_wininitPath, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) return false;
    BOOL written = file.Write(list.GetString(), UINT(list.GetLength()));
    file.Close();
    if (!written) return false;

    BackupPlatform().RequestRestart(EWX_REBOOT | EWX_FORCE, 0);
    return true;
}
