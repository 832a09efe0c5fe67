// Helpers shared by the test programs. They run inside the shared Wine prefix
// that scripts/test.sh prepares (see docs/STYLE.md for its drives), seed real
// registry keys and files, and clean up after themselves.
#pragma once

#include <windows.h>
#include <functional>
#include <string>

namespace testsupport {

// Polls cond every 10 ms, dispatching this thread's messages meanwhile, until
// it holds or timeoutMs passes. Returns whether it held.
bool WaitFor(const std::function<bool()>& cond, DWORD timeoutMs = 10000);

// Text given as UTF-8 in the source, in the ANSI code page the program uses.
std::string Ansi(const char* utf8);

// The folder the test program (and toolhost.exe with its DLLs) lies in, with
// a trailing backslash.
std::string ProgramDir();

// A registry key made for one test under HKEY_CURRENT_USER\Software\ToolhostTests
// (or any given root and path), deleted with its subkeys when the test ends.
class ScratchKey {
public:
    explicit ScratchKey(const std::string& name);                   // HKCU\Software\ToolhostTests\<name>
    ScratchKey(HKEY root, const std::string& path);                 // any key, made afresh
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY root() const { return m_root; }
    const std::string& path() const { return m_path; }
    HKEY key() const { return m_key; }
    void SetString(const char* name, const std::string& data, DWORD type = REG_SZ);
    void SetDword(const char* name, DWORD data);
    void SetBinary(const char* name, const void* data, DWORD size);
    // A subkey, made when missing; the caller closes it.
    HKEY Sub(const std::string& subPath);

private:
    HKEY m_root;
    std::string m_path;
    HKEY m_key = nullptr;
};

// Registry reads for assertions.
bool RegValueExists(HKEY root, const std::string& path, const char* name);
bool RegKeyExists(HKEY root, const std::string& path);
std::string RegString(HKEY root, const std::string& path, const char* name);  // "" when missing
DWORD RegDword(HKEY root, const std::string& path, const char* name, DWORD missing = 0xFFFFFFFF);
void RegDeleteTree(HKEY root, const std::string& path);

// A folder made for one test (under C:\toolhost-tests unless a base is given),
// removed with everything in it when the test ends.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name, const std::string& base = "C:\\toolhost-tests");
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return m_path; } // no trailing backslash
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

bool WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path); // "" when unreadable
bool FileExists(const std::string& path);           // files and folders
bool MakeDirs(const std::string& path);             // every missing level
void RemoveTree(const std::string& path);           // files and folders below and itself

// A process started for a test: ended (if still running) and closed at the end.
class Process {
public:
    // commandLine as for CreateProcess; relative program names resolve against ProgramDir().
    explicit Process(const std::string& commandLine);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    bool started() const { return m_info.hProcess != nullptr; }
    DWORD id() const { return m_info.dwProcessId; }
    HANDLE handle() const { return m_info.hProcess; }
    // Waits for the end; returns the exit code, or STILL_ACTIVE on timeout.
    DWORD Wait(DWORD timeoutMs = 20000);
    bool Running() const;

private:
    PROCESS_INFORMATION m_info{};
};

// Runs a program to its end; returns the exit code (STILL_ACTIVE on timeout,
// after which it is ended).
DWORD RunProgram(const std::string& commandLine, DWORD timeoutMs = 20000);

// The top-level window with this exact title (optionally owned by process
// pid), waited for up to timeoutMs; null when none appears.
HWND WaitForWindow(const std::string& title, DWORD timeoutMs = 15000, DWORD pid = 0);
// Waits until the window is gone.
bool WaitForWindowGone(HWND hwnd, DWORD timeoutMs = 15000);
std::string WindowText(HWND hwnd);
// A visible dialog of process pid (a message box is one), or null.
HWND MessageBoxOf(DWORD pid);
// A message box's text: its static controls together (the icon's is empty).
std::string BoxText(HWND box);

}  // namespace testsupport
