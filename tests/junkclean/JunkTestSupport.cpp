#include "JunkTestSupport.h"

#include "junkclean/ProtectedFiles.h"

#include <atomic>

#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <shobjidl.h>

#include <functional>

#include <afxwin.h>
#include <vantor/DlgMainWnd.h>

namespace junktest {

namespace {
HMODULE g_vantres = NULL;
std::string g_settingsPath;
CString g_savedSettingsPath;
}  // namespace

void JunkEnvironment::SetUp() {
    g_vantres = LoadLibraryA("vantres.dll");
    ASSERT_TRUE(g_vantres != NULL) << "vantres.dll must lie beside the test program";
    AfxSetResourceHandle(g_vantres);
    char path[96];
    wsprintfA(path, "Software\\ToolhostTests\\junkclean-%lu", GetCurrentProcessId());
    g_settingsPath = path;
    g_savedSettingsPath = CDlgChildWnd::m_strSettingsPath;
    CDlgChildWnd::m_strSettingsPath = g_settingsPath.c_str();
    SHDeleteKeyA(HKEY_CURRENT_USER, g_settingsPath.c_str());
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
}

void JunkEnvironment::TearDown() {
    SHDeleteKeyA(HKEY_CURRENT_USER, g_settingsPath.c_str());
    CDlgChildWnd::m_strSettingsPath = g_savedSettingsPath;
    CoUninitialize();
}

std::string JunkEnvironment::SettingsPath() { return g_settingsPath; }
std::string JunkEnvironment::SubKey(const char* name) { return g_settingsPath + "\\" + name; }
void JunkEnvironment::ClearSettings() { SHDeleteKeyA(HKEY_CURRENT_USER, g_settingsPath.c_str()); }

CollectSink ScanFolder(const std::string& root, const CStringArray& masks, const CStringArray& safeFolders,
                       bool shortcuts) {
    JunkScanOptions o;
    o.SkipReadOnlyFiles = 0;
    o.FindInvalidShortCuts = shortcuts ? 1 : 0;
    return ScanFolder(root, masks, safeFolders, o);
}

CollectSink ScanFolder(const std::string& root, const CStringArray& masks, const CStringArray& safeFolders,
                       const JunkScanOptions& options) {
    JunkScanner scanner;
    scanner.SetMasks(masks);
    scanner.SetSafeFolders(safeFolders, WindowsDirTail());
    scanner.SetOptions(options);
    CollectSink sink;
    std::atomic<bool> stop(false);
    scanner.Begin();
    scanner.WalkRoot(root.c_str(), sink, stop);
    scanner.End();
    return sink;
}

int CollectSink::ReasonOf(const std::string& path) const {
    for (const JunkFinding& f : rows)
        if (lstrcmpiA(f.path, path.c_str()) == 0) return f.reason;
    return -1;
}

int CollectSink::CountOf(const std::string& path) const {
    int n = 0;
    for (const JunkFinding& f : rows)
        if (lstrcmpiA(f.path, path.c_str()) == 0) ++n;
    return n;
}

std::vector<std::string> CollectSink::PathsBelow(const std::string& folder) const {
    std::vector<std::string> out;
    std::string prefix = folder + "\\";
    for (const JunkFinding& f : rows)
        if (f.path.GetLength() > int(prefix.size()) && StrCmpNIA(f.path, prefix.c_str(), int(prefix.size())) == 0)
            out.push_back(f.path.str());
    return out;
}

bool MakeFile(const std::string& path, DWORD size, DWORD attributes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE) return false;
    std::string bytes(size, 'x');
    DWORD written = 0;
    BOOL ok = size == 0 || WriteFile(h, bytes.data(), size, &written, NULL);
    CloseHandle(h);
    if (!ok) return false;
    if (attributes) return SetFileAttributesA(path.c_str(), attributes) != FALSE;
    return true;
}

DWORD ReadSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return DWORD(-1);
    return data.nFileSizeLow;
}

bool SetAccessTime(const std::string& path, ULONGLONG fileTime) {
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (h == INVALID_HANDLE_VALUE) return false;
    FILETIME ft;
    ft.dwLowDateTime = DWORD(fileTime & 0xFFFFFFFFu);
    ft.dwHighDateTime = DWORD(fileTime >> 32);
    BOOL ok = SetFileTime(h, NULL, &ft, NULL);
    CloseHandle(h);
    return ok != FALSE;
}

ULONGLONG NowFileTime() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

bool MakeShortcut(const std::string& linkPath, const std::string& target, const std::string& description) {
    IShellLinkA* link = NULL;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return false;
    if (!target.empty()) link->SetPath(target.c_str());
    if (!description.empty()) link->SetDescription(description.c_str());
    IPersistFile* file = NULL;
    bool ok = false;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        WCHAR wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
        ok = SUCCEEDED(file->Save(wide, TRUE));
        file->Release();
    }
    link->Release();
    return ok;
}

namespace {
void ReplaceAll(std::string& data, const std::string& from, const std::string& to) {
    for (size_t p = data.find(from); p != std::string::npos; p = data.find(from, p + to.size()))
        data.replace(p, from.size(), to);
}
std::string Utf16Bytes(const std::string& ascii) {
    std::string out;
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}
std::string ReadAll(const std::string& path) {
    std::string data;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE) return data;
    DWORD size = GetFileSize(h, NULL), read = 0;
    data.resize(size);
    if (size) ReadFile(h, &data[0], size, &read, NULL);
    CloseHandle(h);
    data.resize(read);
    return data;
}
bool WriteAll(const std::string& path, const std::string& data) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(h, data.data(), DWORD(data.size()), &written, NULL);
    CloseHandle(h);
    return ok && written == data.size();
}
}  // namespace

bool MakeVariableShortcut(const std::string& linkPath) {
    if (!MakeShortcut(linkPath, "C:\\jkvarmark\\gone.exe")) return false;
    std::string data = ReadAll(linkPath);
    // Same length, so every offset in the file stays right.
    ReplaceAll(data, "C:\\jkvarmark", "%A%jkvarmark");
    ReplaceAll(data, Utf16Bytes("C:\\jkvarmark"), Utf16Bytes("%A%jkvarmark"));
    return WriteAll(linkPath, data);
}

namespace {

typedef char*(CDECL* UnixNameFn)(LPCWSTR);

// The Unix path of a file of this prefix; empty when the platform has none.
std::string UnixPathOf(const std::string& path) {
    UnixNameFn unixName = reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return "";
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    char* name = unixName(wide);
    std::string out = name ? name : "";
    if (name) HeapFree(GetProcessHeap(), 0, name);
    return out;
}

}  // namespace

// Runs one of the system's own programs (ln, rm) through its Unix path and
// waits until done() holds: the handle of such a process says nothing
// about its end here.
bool RunUnixTool(const char* tool, const std::string& arguments, const std::function<bool()>& done) {
    std::string app = std::string("\\\\?\\unix\\bin\\") + tool;
    std::string command = std::string(tool) + " " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(app.c_str(), &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    for (int i = 0; i < 1000; ++i) {
        if (done()) return true;
        Sleep(10);
    }
    return false;
}

bool MakeFolderLink(const std::string& link, const std::string& target) {
    // A real symbolic link, as a user's tool would leave one: the platform's
    // CreateSymbolicLinkA is not relied on here.
    std::string unixTarget = UnixPathOf(target), unixLink = UnixPathOf(link);
    if (unixTarget.empty() || unixLink.empty()) return false;
    return RunUnixTool("ln", "-s \"" + unixTarget + "\" \"" + unixLink + "\"",
                       [&] { return GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES; });
}

static void RemoveLink(const std::string& path) {
    if (RemoveDirectoryA(path.c_str()) || DeleteFileA(path.c_str())) return;
    // rm without -r and without a trailing slash takes the link only, never what it points at.
    std::string unixPath = UnixPathOf(path);
    if (!unixPath.empty())
        RunUnixTool("rm", "-f \"" + unixPath + "\"",
                    [&] { return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES; });
}

std::string LinkTarget(const std::string& linkPath) {
    IShellLinkA* link = NULL;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return "";
    std::string out;
    IPersistFile* file = NULL;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        WCHAR wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
        if (SUCCEEDED(file->Load(wide, STGM_READ))) {
            char target[MAX_PATH] = {};
            WIN32_FIND_DATAA data;
            link->GetPath(target, MAX_PATH, &data, SLGP_RAWPATH);
            out = target;
        }
        file->Release();
    }
    link->Release();
    return out;
}

std::string A(const char* utf8) {
    WCHAR wide[1024];
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 1024);
    char ansi[2048];
    WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, NULL, NULL);
    return ansi;
}

void RemoveTreeForce(const std::string& path) {
    DWORD attrs = GetFileAttributesA(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL | (attrs & FILE_ATTRIBUTE_DIRECTORY));
    if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    if (attrs & FILE_ATTRIBUTE_REPARSE_POINT) {  // a link: remove the link, never what it points at
        RemoveLink(path);
        return;
    }
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            // A link is judged by the entry itself: what it points at may be gone already.
            if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                RemoveLink(path + "\\" + name);
            else
                RemoveTreeForce(path + "\\" + name);
        } while (FindNextFileA(h, &data));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
}

TempTree::TempTree(const std::string& path) : m_path(path) {
    RemoveTreeForce(m_path);
    SHCreateDirectoryExA(NULL, m_path.c_str(), NULL);
}

TempTree::~TempTree() { RemoveTreeForce(m_path); }

bool TempTree::Dir(const std::string& rel) {
    int rc = SHCreateDirectoryExA(NULL, (m_path + "\\" + rel).c_str(), NULL);
    return rc == ERROR_SUCCESS || rc == ERROR_ALREADY_EXISTS;
}

bool TempTree::File(const std::string& rel, DWORD size, DWORD attributes) {
    std::string full = m_path + "\\" + rel;
    size_t slash = full.rfind('\\');
    SHCreateDirectoryExA(NULL, full.substr(0, slash).c_str(), NULL);
    return MakeFile(full, size, attributes);
}

}  // namespace junktest
