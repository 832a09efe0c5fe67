// CHiveBackup: the NT line's registry backup. It saves every hive the
// system has loaded (the hivelist key) into temporary files, stores them as
// a dated backup set with its info.arb, lists, checks and deletes the sets,
// and restores one by handing its hives to Windows for the next start.
#pragma once

#include <afxwin.h>
#include <ctime>
#include <vector>

#include "regbackup/ArbFormat.h"
#include "regbackup/SetFolder.h"
#include "regbackup/HiveTools.h"

class CProgressST;

struct HiveRecord {
    DWORD saved = 0;    // 1 when RegSaveKeyA succeeded
    HKEY root = NULL;   // HKEY_LOCAL_MACHINE, HKEY_USERS, or null for a name naming neither
    CString subkey;     // the hive's key below root
    CString hiveFile;   // drive-letter path of the live hive file
    CString tempFile;   // where the hive was saved
};

// Why a restore changed nothing.
enum class RestoreFault {
    None,
    NoPrivilege,   // backup/restore/shutdown rights could not be enabled
    BadIndex,      // info.arb unreadable or damaged
    MissingCopy,   // a hive copy named by the index is not in the set folder
    DamagedCopy,   // a copy did not decode (altered, truncated, unreadable)
};

// Why the last backup left no set. Whatever the cause, nothing of the run
// is left behind: no set folder, no temporary save, no record.
enum class BackupFault {
    None,
    NoHiveSaved,   // not one hive could be saved
    NoSetFolder,   // the set folder could not be made at the location
    CopyFailed,    // a hive copy could not be written (disk full, no access)
    CopyDamaged,   // a hive copy was written but does not read back intact
    IndexFailed,   // info.arb could not be written
    RecordFailed,  // the set could not be recorded in the registry
};

class CHiveBackup : public CSetLocation {
public:
    CHiveBackup();
    virtual ~CHiveBackup();
    CHiveBackup(const CHiveBackup&) = delete;
    CHiveBackup& operator=(const CHiveBackup&) = delete;

    void LoadHiveList();
    void SaveHive(HiveRecord& record);
    // The whole backup: privileges, hive list, one save per hive with
    // progress texts, then the set (WriteSet).
    virtual void Run(CProgressST& bar, CWnd& text);
    void Run(BackupProgress& progress);

    BOOL WriteSet();
    BOOL RegisterSet(LPCSTR infoPath);
    BOOL ListSets(CStringArray& out);
    BOOL ValidateSet(LPCSTR infoPath);
    BOOL DeleteSet(LPCSTR infoPath);
    // 1 when the hives were handed over and the restart requested; 0 when
    // nothing was changed (LastRestoreFault tells why).
    int Restore(LPCSTR infoPath);

    // What the last run left: hives saved and whether the set was written.
    int SavedCount() const;
    // TRUE only for a complete set: every saved hive copied, read back
    // intact, indexed and recorded.
    BOOL SetWritten() const { return m_setWritten; }
    BackupFault LastFault() const { return m_fault; }
    // The hive whose copy failed ("HKEY_LOCAL_MACHINE\SOFTWARE"), and the
    // system's error code for it.
    const CString& FaultHive() const { return m_faultHive; }
    DWORD FaultError() const { return m_faultError; }
    const CString& InfoPath() const { return m_infoPath; }
    RestoreFault LastRestoreFault() const { return m_restoreFault; }


    CStringArray m_hiveNames;
    CStringArray m_hiveFiles;
    CString m_tempFolder;
    std::vector<HiveRecord> m_records;
    ArbIndex m_index;

private:
    BOOL Fail(BackupFault fault, const CString& hive = CString(), DWORD error = ERROR_SUCCESS);
    void RemoveTempSaves();

    CString m_infoPath;
    BOOL m_setWritten = FALSE;
    BackupFault m_fault = BackupFault::None;
    CString m_faultHive;
    DWORD m_faultError = ERROR_SUCCESS;
    RestoreFault m_restoreFault = RestoreFault::None;
};

// What the user is told about a backup that left no set (the tool's strings).
CString BackupFaultText(const CHiveBackup& engine);
