// Where a backup set goes: the dated folder below the chosen location, the
// program's folder or the documents folder.
#pragma once

#include <afxwin.h>
#include <ctime>

// "4-9-2005_15-45" for 4 September 2005, 15:45 (no leading zeros).
CString SetFolderName(const struct tm& when);

// Creates and returns the set folder for a backup taken at `when`: below
// `location` when the user chose one (made when it is not there yet), else
// below the program's folder (on a fixed or network drive) or the documents
// folder's "Adv Reg Backup". "c:" when no folder could be made. A folder of the same
// minute that already exists is not shared: the new set gets "_2", "_3", ...
// `programPath` is the program's own path (GetModuleFileName when NULL).
CString PrepareSetFolder(const CString& location, bool userLocation, const struct tm& when,
                         LPCSTR programPath = NULL);

// The local time now, as the set folder is named by.
struct tm LocalTimeNow();

// The day, month, year, hour and minute a set folder's name tells; all 0
// for a name too short to be one (a folder the user renamed).
struct SetDate {
    int day = 0, month = 0, year = 0, hour = 0, minute = 0;
};
SetDate ParseSetFolderName(const CString& folderName);

// Where and when a new set is made: what both engines (NT and 9x) share.
class CSetLocation {
public:
    // The location box's text: longer than three characters means the user chose it.
    void SetLocation(const CString& boxText);
    // The moment the set is named by (now, unless fixed for a test).
    void SetBackupTime(const struct tm& when);
    // The program path the default location is taken from (this module's
    // when empty).
    void SetProgramPath(LPCSTR path) { m_programPath = path; }
    // Turns m_location into the created set folder.
    void PrepareSetFolder();

    CString m_location;
    bool m_userLocation = false;

private:
    struct tm m_when = {};
    bool m_fixedTime = false;
    CString m_programPath;
};
// False for the "c:" that PrepareSetFolder gives when no folder could be made.
bool IsSetFolder(const CString& folder);

// The files a backup writes into its new set folder. Unless Keep() is
// called, they and the folder (when nothing else is in it) are removed at the
// end of the scope, so a backup that fails halfway leaves nothing behind.
class SetFolderFiles {
public:
    explicit SetFolderFiles(const CString& folder) : m_folder(folder) {}
    ~SetFolderFiles();
    SetFolderFiles(const SetFolderFiles&) = delete;
    SetFolderFiles& operator=(const SetFolderFiles&) = delete;

    // The full path of a file about to be written into the folder.
    CString Add(const CString& name);
    void Keep() { m_keep = true; }

private:
    CString m_folder;
    CStringArray m_files;
    bool m_keep = false;
};

// The set folder's own name from the path of its info.arb.
CString SetFolderNameOfInfo(const CString& infoPath);
