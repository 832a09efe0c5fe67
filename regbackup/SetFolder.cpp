#include "regbackup/SetFolder.h"

#include "regbackup/ArbFormat.h"

#include <cstdlib>
#include <shlobj.h>

namespace {

bool Exists(LPCSTR path)
{
    CFileStatus status;
    return CFile::GetStatus(path, status) != FALSE;
}

bool IsFolder(LPCSTR path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Makes base + name, or base + name + "_n" when a set of the same minute is
// there already; "c:" when no folder could be made.
CString CreateOwnFolder(const CString& base, const CString& name)
{
    for (int n = 1; n < 100; ++n) {
        CString folder = base + name;
        if (n > 1) {
            CString suffix;
            suffix.Format("_%d", n);
            folder += suffix;
        }
        if (CreateDirectoryA(folder, NULL)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
        // Taken: an existing folder that holds nothing is free for this set.
        if (IsFolder(folder) && !Exists(folder + "\\info.arb")) {
            WIN32_FIND_DATAA found;
            HANDLE find = FindFirstFileA(folder + "\\*", &found);
            bool empty = true;
            if (find != INVALID_HANDLE_VALUE) {
                do {
                    CString entry(found.cFileName);
                    if (entry != "." && entry != "..") empty = false;
                } while (empty && FindNextFileA(find, &found));
                FindClose(find);
            }
            if (empty) return folder;
        }
    }
    return CString("c:");
}

// Creates `folder` and the folders above it that are missing.
bool CreateFolderTree(CString folder)
{
    while (EndsWithBackslash(folder)) folder = folder.Left(folder.GetLength() - 1);
    if (folder.IsEmpty()) return false;
    if (Exists(folder)) return IsFolder(folder);
    const int slash = folder.ReverseFind('\\');
    // Up to, not into, a drive ("D:") or share root.
    if (slash > 0 && folder[slash - 1] != ':' && !EndsWithBackslash(folder.Left(slash)))
        CreateFolderTree(folder.Left(slash));
    CreateDirectoryA(folder, NULL);
    return IsFolder(folder);
}

CString DocumentsFolder()
{
    char path[MAX_PATH] = {};
    LPITEMIDLIST list = NULL;
    if (SUCCEEDED(SHGetSpecialFolderLocation(NULL, CSIDL_PERSONAL, &list)) && list) {
        SHGetPathFromIDListA(list, path);
        CoTaskMemFree(list);
    }
    return CString(path);
}

}  // namespace

CString SetFolderName(const struct tm& when)
{
    CString name;
    name.Format("%d-%d-%d_%d-%d", when.tm_mday, when.tm_mon + 1, when.tm_year + 1900, when.tm_hour, when.tm_min);
    return name;
}

struct tm LocalTimeNow()
{
    __time64_t now = _time64(NULL);
    struct tm* local = _localtime64(&now);
    struct tm result = {};
    if (local) result = *local;
    return result;
}

CString PrepareSetFolder(const CString& location, bool userLocation, const struct tm& when, LPCSTR programPath)
{
    const CString name = SetFolderName(when);
    if (userLocation) {
        CString chosen(location);
        chosen.Trim();
        if (!chosen.IsEmpty()) {
            if (EndsWithBackslash(chosen)) {
                chosen = chosen.Left(chosen.GetLength() - 1);
                chosen.Trim();
            }
            // A location the user typed that is not there yet is made; one
            // that cannot be made fails the backup rather than sending the
            // set somewhere the user did not choose.
            if (!CreateFolderTree(chosen)) return CString("c:");
            return CreateOwnFolder(chosen + "\\", name);
        }
    }

    char program[MAX_PATH] = {};
    if (programPath)
        lstrcpynA(program, programPath, MAX_PATH);
    else
        GetModuleFileNameA(NULL, program, MAX_PATH);
    const UINT type = GetDriveTypeA(DriveOfPath(program) + "\\");

    CString base;
    if (type == DRIVE_FIXED || type == DRIVE_REMOTE) {
        base = FolderOfPath(program);
    } else {
        base = DocumentsFolder();
        if (base.GetLength() < 2) base = "c:";
        if (EndsWithBackslash(base)) base = base.Left(base.GetLength() - 1);
        base += "\\Adv Reg Backup\\";
        CreateDirectoryA(base, NULL);
        if (!Exists(base)) return CString("c:");
    }
    CreateDirectoryA(base, NULL);
    return CreateOwnFolder(base, name);
}

SetDate ParseSetFolderName(const CString& folderName)
{
    SetDate date;
    if (folderName.GetLength() < 11) return date;
    // day-month-year_hour-minute; a missing separator leaves the rest 0.
    const char separators[] = {'-', '-', '_', '-'};
    int* fields[] = {&date.day, &date.month, &date.year, &date.hour, &date.minute};
    int start = 0;
    for (int i = 0; i < 5; ++i) {
        int end = i < 4 ? folderName.Find(separators[i], start) : folderName.GetLength();
        if (end < 0) {
            *fields[i] = atoi(folderName.Mid(start));
            break;
        }
        *fields[i] = atoi(folderName.Mid(start, end - start));
        start = end + 1;
    }
    return date;
}

CString SetFolderNameOfInfo(const CString& infoPath)
{
    CString folder = FolderOfPath(infoPath);
    if (EndsWithBackslash(folder)) folder = folder.Left(folder.GetLength() - 1);
    int slash = folder.ReverseFind('\\');
    return slash >= 0 ? folder.Mid(slash + 1) : folder;
}

bool IsSetFolder(const CString& folder)
{
    return folder.GetLength() > 2 && IsFolder(folder);
}

SetFolderFiles::~SetFolderFiles()
{
    if (m_keep) return;
    for (int i = 0; i < m_files.GetSize(); ++i) {
        DeleteFileA(m_files[i]);
        DeleteFileA(m_files[i] + ".new");  // an index cut short on its way in
    }
    RemoveDirectoryA(m_folder);
}

CString SetFolderFiles::Add(const CString& name)
{
    const CString path = m_folder + "\\" + name;
    m_files.Add(path);
    return path;
}

void CSetLocation::SetLocation(const CString& boxText)
{
    m_userLocation = boxText.GetLength() > 3;
    m_location = m_userLocation ? boxText : CString();
}

void CSetLocation::SetBackupTime(const struct tm& when)
{
    m_when = when;
    m_fixedTime = true;
}

void CSetLocation::PrepareSetFolder()
{
    const struct tm when = m_fixedTime ? m_when : LocalTimeNow();
    m_location = ::PrepareSetFolder(m_location, m_userLocation, when,
                                    m_programPath.IsEmpty() ? NULL : m_programPath.GetString());
}
