#include "testsupport.h"

#include <shlwapi.h>
#include <vector>

namespace testsupport {

bool WaitFor(const std::function<bool()>& cond, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (cond()) return true;
        if (GetTickCount() - start >= timeoutMs) return cond();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

std::string Ansi(const char* utf8) {
    int wide = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::vector<wchar_t> w(size_t(wide > 0 ? wide : 1));
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, w.data(), wide);
    int narrow = WideCharToMultiByte(CP_ACP, 0, w.data(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size_t(narrow > 0 ? narrow : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), -1, &out[0], narrow, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

std::string ProgramDir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1);
}

// --- registry ---------------------------------------------------------------

static HKEY CreateKey(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

ScratchKey::ScratchKey(const std::string& name)
    : ScratchKey(HKEY_CURRENT_USER, "Software\\ToolhostTests\\" + name) {}

ScratchKey::ScratchKey(HKEY root, const std::string& path) : m_root(root), m_path(path) {
    SHDeleteKeyA(m_root, m_path.c_str());
    m_key = CreateKey(m_root, m_path);
}

ScratchKey::~ScratchKey() {
    if (m_key) RegCloseKey(m_key);
    SHDeleteKeyA(m_root, m_path.c_str());
}

void ScratchKey::SetString(const char* name, const std::string& data, DWORD type) {
    RegSetValueExA(m_key, name, 0, type, reinterpret_cast<const BYTE*>(data.c_str()), DWORD(data.size() + 1));
}

void ScratchKey::SetDword(const char* name, DWORD data) {
    RegSetValueExA(m_key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

void ScratchKey::SetBinary(const char* name, const void* data, DWORD size) {
    RegSetValueExA(m_key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
}

HKEY ScratchKey::Sub(const std::string& subPath) { return CreateKey(m_key, subPath); }

bool RegValueExists(HKEY root, const std::string& path, const char* name) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    LONG rc = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool RegKeyExists(HKEY root, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::string RegString(HKEY root, const std::string& path, const char* name) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::string();
    DWORD size = 0, type = 0;
    std::string out;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && size > 0) {
        out.resize(size);
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&out[0]), &size);
        out.resize(strnlen(out.c_str(), size));
    }
    RegCloseKey(key);
    return out;
}

DWORD RegDword(HKEY root, const std::string& path, const char* name, DWORD missing) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return missing;
    DWORD value = 0, size = sizeof value, type = 0;
    LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_DWORD ? value : missing;
}

void RegDeleteTree(HKEY root, const std::string& path) { SHDeleteKeyA(root, path.c_str()); }

// --- files --------------------------------------------------------------------

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool MakeDirs(const std::string& path) {
    if (path.empty() || FileExists(path)) return true;
    size_t cut = path.find_last_of('\\');
    if (cut != std::string::npos && cut > 2) MakeDirs(path.substr(0, cut));
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

void RemoveTree(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    // A link is removed itself; what it points at is not ours.
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::string name = data.cFileName;
                if (name != "." && name != "..") RemoveTree(path + "\\" + name);
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDirectoryA(path.c_str());
    else
        DeleteFileA(path.c_str());
}

ScratchDir::ScratchDir(const std::string& name, const std::string& base) : m_path(base + "\\" + name) {
    RemoveTree(m_path);
    MakeDirs(m_path);
}

ScratchDir::~ScratchDir() { RemoveTree(m_path); }

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string ReadFileBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string out;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
    CloseHandle(file);
    return out;
}

// --- processes and windows ------------------------------------------------------

Process::Process(const std::string& commandLine) {
    std::string line = commandLine;
    // A bare program name is one of the build's, beside the test.
    if (line.find('\\') == std::string::npos && line.find(':') == std::string::npos)
        line = "\"" + ProgramDir() + line.substr(0, line.find(' ')) + "\"" +
               (line.find(' ') == std::string::npos ? "" : line.substr(line.find(' ')));
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, ProgramDir().c_str(), &startup,
                        &m_info))
        m_info = PROCESS_INFORMATION{};
}

Process::~Process() {
    if (!m_info.hProcess) return;
    if (Running()) {
        TerminateProcess(m_info.hProcess, 1);
        WaitForSingleObject(m_info.hProcess, 5000);
    }
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
}

DWORD Process::Wait(DWORD timeoutMs) {
    if (!m_info.hProcess) return DWORD(-1);
    if (WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = 0;
    GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

bool Process::Running() const {
    return m_info.hProcess && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD RunProgram(const std::string& commandLine, DWORD timeoutMs) {
    Process process(commandLine);
    return process.Wait(timeoutMs);
}

namespace {
struct FindRequest {
    const std::string* title;
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam) {
    auto* request = reinterpret_cast<FindRequest*>(lParam);
    if (WindowText(hwnd) != *request->title) return TRUE;
    if (request->pid) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner != request->pid) return TRUE;
    }
    request->found = hwnd;
    return FALSE;
}
}  // namespace

HWND WaitForWindow(const std::string& title, DWORD timeoutMs, DWORD pid) {
    FindRequest request{&title, pid, nullptr};
    WaitFor([&] {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&request));
        return request.found != nullptr;
    }, timeoutMs);
    return request.found;
}

bool WaitForWindowGone(HWND hwnd, DWORD timeoutMs) {
    return WaitFor([&] { return !IsWindow(hwnd); }, timeoutMs);
}

std::string WindowText(HWND hwnd) {
    char text[512] = {};
    // Never blocks on a window whose thread is busy.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &ignored);
    return text;
}

namespace {

struct BoxSearch {
    DWORD pid;
    HWND box;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM param)
{
    BoxSearch* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    char cls[64] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    if (owner != search->pid || !::IsWindowVisible(hwnd) || std::string(cls) != "#32770") return TRUE;
    search->box = hwnd;
    return FALSE;
}

BOOL CALLBACK CollectStatic(HWND hwnd, LPARAM param)
{
    char cls[64] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    if (std::string(cls) != "Static") return TRUE;
    std::string text(size_t(::GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(size_t(::GetWindowTextA(hwnd, &text[0], int(text.size()))));
    *reinterpret_cast<std::string*>(param) += text;
    return TRUE;
}

}  // namespace

HWND MessageBoxOf(DWORD pid)
{
    BoxSearch search{pid, nullptr};
    ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    return search.box;
}

std::string BoxText(HWND box)
{
    std::string text;
    ::EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

}  // namespace testsupport
