// CLegacyHiveBackup: the 9x line's registry backup. It saves the two roots
// HKEY_LOCAL_MACHINE and HKEY_USERS whole (system.dat and user.dat of the
// Windows directory), stores them as a set with a 522-byte info.arb, and
// restores one through wininit.ini's [rename] section at the next start.
#pragma once

#include <afxwin.h>
#include <ctime>

#include "regbackup/ArbFormat.h"
#include "regbackup/SetFolder.h"

class CLegacyHiveBackup : public CSetLocation {
public:
    CLegacyHiveBackup();
    ~CLegacyHiveBackup();
    CLegacyHiveBackup(const CLegacyHiveBackup&) = delete;
    CLegacyHiveBackup& operator=(const CLegacyHiveBackup&) = delete;

    BOOL SaveRoots();
    // The whole backup: both roots saved, copied into a new set, recorded.
    // false when the roots could not be saved or the set not written.
    bool Backup();

    BOOL RegisterSet(LPCSTR infoPath);
    BOOL ListSets(CStringArray& out);
    BOOL ValidateSet(LPCSTR infoPath);
    BOOL DeleteSet(LPCSTR infoPath);
    // true when wininit.ini was written and the restart requested.
    bool Restore(LPCSTR infoPath);

    // The Windows directory the restore works in (the system's when empty).
    void SetWindowsDirectory(LPCSTR path) { m_windowsDir = path; }

    const CString& InfoPath() const { return m_infoPath; }
    // The restore's list file, as last written.
    const CString& WininitPath() const { return m_wininitPath; }

    CString m_tempFolder;
    char m_tempMachine[MAX_PATH] = {};  // the HKEY_LOCAL_MACHINE save
    char m_tempUsers[MAX_PATH] = {};    // the HKEY_USERS save
    bool m_saved = false;
    ArbLegacyRecord m_record;           // the last valid record read

    char m_liveSystem[MAX_PATH] = {};
    char m_newSystem[MAX_PATH] = {};
    char m_liveUser[MAX_PATH] = {};
    char m_newUser[MAX_PATH] = {};

private:
    CString m_windowsDir;
    CString m_infoPath;
    CString m_wininitPath;
};
