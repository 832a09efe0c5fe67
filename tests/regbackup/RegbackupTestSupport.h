// What the backup tool's tests share: a settings key of their own, a
// replacement for the calls that would restart the machine, hivelist
// entries seeded for one test, and small file helpers.
#pragma once

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <ctime>
#include <string>
#include <vector>

#include "regbackup/BackupPlatform.h"
#include "regbackup/HiveTools.h"
#include "testsupport.h"

namespace rbtest {

// Settings key the tests point the tool at, so their sets never mix with
// anyone else's.
extern const char kSettingsPath[];
// Scratch keys and folders of these tests.
extern const char kTestKey[];          // below HKLM\Software and HKCU\Software
extern const char kHiveListKey[];

// Points CDlgChildWnd::m_strSettingsPath at kSettingsPath for its lifetime
// and removes the key (both roots) before and after.
class SettingsScope {
public:
    SettingsScope();
    ~SettingsScope();

private:
    std::string m_saved;
};

// Records every call a restore or the boot disk would have made.
class FakePlatform : public IBackupPlatform {
public:
    struct Replace {
        HKEY root;
        std::string subKey, newFile, oldFile;
        std::string newFileBytes;  // what the new file held at the time of the call
    };
    struct Restart {
        UINT flags;
        DWORD reason;
    };

    FakePlatform();
    ~FakePlatform() override;

    LONG ReplaceKey(HKEY root, LPCSTR subKey, LPCSTR newFile, LPCSTR oldFile) override;
    BOOL RequestRestart(UINT flags, DWORD reason) override;
    int ShellFormatDrive(HWND owner, UINT drive, UINT formatId, UINT options, int& result) override;
    BOOL WriteRawSector(LPCSTR device, const BYTE* data, DWORD size) override;
    int Ask(HWND owner, LPCSTR text, LPCSTR caption, UINT type) override;
    BOOL PickFolder(CWnd* owner, LPCSTR title, CString& folder) override;
    BOOL PickFile(CWnd* owner, LPCSTR filter, DWORD flags, CString& path) override;

    // Removes the temporary files the restore left for Windows.
    void RemoveNewFiles();

    std::vector<Replace> replaces;
    std::vector<Restart> restarts;
    struct Format {
        UINT drive, formatId, options;
    };
    std::vector<Format> formats;
    int formatAnswer = 0;         // SHFormatDrive's result
    int formatLoad = 0;           // 0, or 152 / 153 for a shell without the call
    std::vector<std::string> rawDevices;
    std::string rawBytes;
    std::vector<std::string> questions;  // texts asked, in order
    std::vector<UINT> questionTypes;
    int answer = IDYES;
    std::string folderToPick;     // empty: the picker is cancelled
    std::string fileToPick;       // empty: the file dialog is cancelled
    std::string fileFilter;
    DWORD fileFlags = 0;

private:
    IBackupPlatform* m_previous;
};

// hivelist values added for one test and removed again; the values that
// were there before are kept aside and put back.
class HiveListSeed {
public:
    HiveListSeed();
    ~HiveListSeed();
    void Add(const std::string& name, const std::string& devicePath);

private:
    std::vector<std::pair<std::string, std::string>> m_before;
};

// A backup run's progress that nobody watches.
struct SilentProgress : BackupProgress {
    void SetRange(int, int) override {}
    void SetPos(int) override {}
    void SetText(LPCSTR) override {}
};

// A machine hive below kTestKey\Complete\<leaf> holding one binary value
// of `bytes` bytes (saved as about three bytes of text per byte), listed in
// the hive list through `seed`.
void SeedBlobHive(HiveListSeed& seed, const std::string& leaf, size_t bytes);

// Free and total bytes of the drive that holds `path` (0 when unknown).
unsigned long long FreeBytes(const std::string& path);
unsigned long long TotalBytes(const std::string& path);
// U: of the test prefix is a 2 MiB drive (scripts/make-test-prefix.sh)
// where mounting a small file system is permitted.
bool SmallDriveThere();

// The user's SID, as HKEY_USERS names the user's hive.
std::string UserSid();

// A key made below HKLM or HKU (or HKCU) for one test, removed at the end.
HKEY CreateKeyPath(HKEY root, const std::string& path);
void SetStringValue(HKEY root, const std::string& path, const char* name, const std::string& data);
// RegSaveKeyA of a key into `file` (the file is replaced).
bool SaveKeyTo(HKEY root, const std::string& path, const std::string& file);

// Files of a folder (names only, sorted), and files matching a mask.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& mask = "*");
std::string SystemDir();
std::string TempFileName(const std::string& stem);

// Clears the record key of the sets, both roots.
void ClearSetRecords();
// The info.arb paths recorded under a root.
std::vector<std::string> RecordedSets(HKEY root);

// A local time to date a backup set by.
struct tm At(int day, int month, int year, int hour, int minute);

}  // namespace rbtest
