#include <vantor/System.h>

#include <string>

#include "Handles.h"

BOOL IsOsWinNT()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info)) return FALSE;
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

namespace {

// "a:" -> "a:\", "C:\x" -> "C:\x\", "C:\x\" stays.
std::string WithSlash(const std::string& path)
{
    if (path.empty() || path.back() == '\\' || path.back() == '/') return path;
    return path + '\\';
}

bool DeleteOne(const std::string& path, DWORD attributes)
{
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesA(path.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return RemoveDirectoryA(path.c_str()) != FALSE;
    return DeleteFileA(path.c_str()) != FALSE;
}

// Empties `folder` (ending with a backslash); true when nothing is left.
bool EmptyFolder(const std::string& folder, int depth)
{
    if (depth > 64) return false;  // a loop of links we failed to spot: stop
    WIN32_FIND_DATAA found;
    vantor::FindHandle find(FindFirstFileA((folder + "*").c_str(), &found));
    if (!find.Valid()) return GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_NO_MORE_FILES;
    bool all = true;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + name;
        const DWORD attributes = found.dwFileAttributes;
        // A linked folder is removed as a link: what it points at is not ours.
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            if (!EmptyFolder(path + '\\', depth + 1)) {
                all = false;
                continue;
            }
        }
        if (!DeleteOne(path, attributes)) all = false;
    } while (FindNextFileA(find.Get(), &found));
    return all;
}

}  // namespace

BOOL EraseFolderContents(LPCSTR path, int flag)
{
    // An empty path would mean the root of the current drive.
    if (!path || !*path) return FALSE;
    std::string folder(path);
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    const bool bareDrive = folder.size() == 2 && folder[1] == ':';
    if (!bareDrive && (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)))
        return FALSE;
    if (bareDrive && GetFileAttributesA((folder + '\\').c_str()) == INVALID_FILE_ATTRIBUTES) return FALSE;

    bool ok = EmptyFolder(WithSlash(folder), 0);
    if (ok && (flag & ERASE_FOLDER_TOO) && !bareDrive) {
        while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
        ok = DeleteOne(folder, GetFileAttributesA(folder.c_str()));
    }
    return ok;
}

CString LoadStringA(UINT id)
{
    CString text;
    if (!text.LoadString(id)) text.Empty();
    return text;
}

extern "C" void VantorAppendRegPath(CString& path, LPCSTR subKey)
{
    if (!subKey) subKey = "";
    while (*subKey == '\\') ++subKey;
    if (!path.IsEmpty() && path[path.GetLength() - 1] != '\\') path += '\\';
    path += subKey;
}
