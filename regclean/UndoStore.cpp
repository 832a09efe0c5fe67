#include "regclean/UndoStore.h"

#include "regclean/PathText.h"
#include "regclean/ScanModel.h"
#include "regclean/UndoFormat.h"

#include <vantor/Registry.h>

#include <shlobj.h>
#include <shellapi.h>

#include <cstdlib>
#include <ctime>
#include <vector>

const char kUndoRecordsKey[] = "Software\\Lumbrix\\Vantor 2\\RegCleanFix\\Undo Info";

namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE h) : m_h(h) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return m_h != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_h; }
    bool Close()
    {
        if (!valid()) return true;
        bool ok = ::CloseHandle(m_h) != FALSE;
        m_h = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE m_h;
};

bool FolderExists(const CString& path)
{
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

CString WithSlash(CString folder)
{
    if (!TextEndsWith(folder, '\\')) folder += "\\";
    return folder;
}

bool Record(const CString& path)
{
    HKEY user = HKEY_CURRENT_USER;
    CRegistry records(user);
    if (!records.Open(HKEY_CURRENT_USER, kUndoRecordsKey, TRUE)) return false;
    bool ok = records.WriteDWORD(path, 0) != FALSE;
    records.Close();
    return ok;
}

std::string ReadWholeFile(const char* path, bool& ok)
{
    ok = false;
    FileHandle file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid()) return {};
    std::string text;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    ok = true;
    return text;
}

// The text of a string value without the terminators it may carry.
std::string Trimmed(const std::string& bytes)
{
    size_t end = bytes.size();
    while (end > 0 && bytes[end - 1] == '\0') --end;
    return bytes.substr(0, end);
}

bool ValueMatches(const UndoValue& value)
{
    HKEY root;
    CString subkey;
    if (!SplitKeyPath(value.KeyPath, root, subkey)) return false;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = 0;
    const char* name = IsDefaultValueName(value.ValueName) ? "" : value.ValueName.GetString();
    bool ok = false;
    if (::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::string bytes(size, '\0');
        if (::RegQueryValueExA(key, name, nullptr, &type, size ? reinterpret_cast<BYTE*>(&bytes[0]) : nullptr,
                               &size) == ERROR_SUCCESS) {
            bytes.resize(size);
            bool text = type == REG_SZ || type == REG_EXPAND_SZ;
            bool multi = type == REG_MULTI_SZ;
            ok = type == value.Type &&
                 (text || multi ? Trimmed(bytes) == Trimmed(value.Bytes) : bytes == value.Bytes);
        }
    }
    ::RegCloseKey(key);
    return ok;
}

}  // namespace

CString UndoFolderOutside(bool make)
{
    char documents[MAX_PATH] = {};
    ::SHGetSpecialFolderPathA(nullptr, documents, CSIDL_PERSONAL, FALSE);
    const CString own = WithSlash(documents) + "Vantor";
    if (make) {
        ::CreateDirectoryA(documents, nullptr);
        ::CreateDirectoryA(own, nullptr);
        ::CreateDirectoryA(own + "\\RegCleanUndo", nullptr);
    }
    return own + "\\RegCleanUndo";
}

void RemoveEmptyUndoFolder()
{
    const CString folder = UndoFolderOutside(false);
    // Only empty folders go: anything the user put there stays.
    if (::RemoveDirectoryA(folder)) ::RemoveDirectoryA(folder.Left(folder.ReverseFind('\\')));
}

CString UndoFolder()
{
    CString folder = UndoFolderOutside(true);
    if (!FolderExists(folder)) {
        char current[MAX_PATH] = {};
        ::GetCurrentDirectoryA(MAX_PATH, current);
        folder = current;
    }
    return WithSlash(folder);
}

CString WriteUndoFile(const CString& text) { return WriteUndoFile(text, UndoFolder()); }

CString WriteUndoFile(const CString& text, const CString& folderIn)
{
    const CString folder = WithSlash(folderIn);
    const unsigned long long seconds = static_cast<unsigned long long>(std::time(nullptr));
    for (int n = 1; n < 1000; ++n) {
        char name[64];
        if (n == 1)
            std::snprintf(name, sizeof name, "%llu.reg", seconds);
        else
            std::snprintf(name, sizeof name, "%llu_%d.reg", seconds, n);
        const CString path = folder + name;
        // CREATE_NEW: a file of the same second is never overwritten.
        FileHandle file(::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            if (::GetLastError() == ERROR_FILE_EXISTS) continue;
            return CString();
        }
        DWORD written = 0;
        bool ok = ::WriteFile(file.get(), text.GetString(), DWORD(text.GetLength()), &written, nullptr) &&
                  written == DWORD(text.GetLength());
        ok = file.Close() && ok;
        if (ok && Record(path)) return path;
        ::DeleteFileA(path);
        return CString();
    }
    return CString();
}

void ListUndoRecords(CStringArray& paths)
{
    paths.RemoveAll();
    HKEY user = HKEY_CURRENT_USER;
    CRegistry records(user);
    records.ListValues(kUndoRecordsKey, paths);
    if (paths.IsEmpty()) return;
    CRegistry writer(user);
    bool open = writer.Open(HKEY_CURRENT_USER, kUndoRecordsKey, FALSE) != 0;
    for (int i = paths.GetSize() - 1; i >= 0; --i) {
        CFileStatus status;
        if (CFile::GetStatus(paths[i], status)) continue;
        if (open) writer.DeleteValue(paths[i]);
        paths.RemoveAt(i);
    }
    writer.Close();
}

CString UndoDateText(const char* fileName)
{
    const char* dot = strchr(fileName, '.');
    if (!dot) return CString();
    std::string number(fileName, size_t(dot - fileName));
    time_t seconds = time_t(std::strtoull(number.c_str(), nullptr, 10));
    return CTime(seconds).Format("%H:%M %d-%m-%y");
}

void DropUndoRecord(const char* path)
{
    HKEY user = HKEY_CURRENT_USER;
    CRegistry records(user);
    if (records.Open(HKEY_CURRENT_USER, kUndoRecordsKey, FALSE)) {
        records.DeleteValue(path);
        records.Close();
    }
    ::DeleteFileA(path);
}

bool UndoFileIsMerged(const char* path)
{
    bool read = false;
    std::string text = ReadWholeFile(path, read);
    std::vector<UndoValue> values;
    if (!read || !ParseUndoText(text, values)) return false;
    for (const UndoValue& value : values)
        if (!ValueMatches(value)) return false;
    return true;
}

bool MergeUndoFile(const char* path, DWORD timeoutMs)
{
    CString folder(path);
    int slash = TextReverseFindChar(folder, '\\');
    folder = slash >= 0 ? folder.Left(slash + 1) : CString();
    // "/s" merges without asking; the path is quoted for its blanks.
    CString parameters = CString(" /s \"") + path + "\"";
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = ::GetDesktopWindow();
    info.lpVerb = "open";
    info.lpFile = "regedit.exe";
    info.lpParameters = parameters;
    info.lpDirectory = folder.IsEmpty() ? nullptr : folder.GetString();
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExA(&info) || !info.hProcess) return false;
    const DWORD start = ::GetTickCount();
    bool ended = false, quitting = false;
    while (!ended) {
        DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs) break;
        DWORD wait = quitting ? ::WaitForSingleObject(info.hProcess, timeoutMs - elapsed)
                              : ::MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0) {
            ended = true;
        } else if (wait == WAIT_OBJECT_0 + 1) {
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    // Kept for the loop that owns it; no more dispatching here.
                    ::PostQuitMessage(int(msg.wParam));
                    quitting = true;
                    break;
                }
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        } else {
            break;
        }
    }
    ::CloseHandle(info.hProcess);
    return ended && UndoFileIsMerged(path);
}
