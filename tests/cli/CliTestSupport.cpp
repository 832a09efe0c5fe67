#include "CliTestSupport.h"

#include "ToolhostRun.h"

#include <gtest/gtest.h>

#include <regex>

using namespace testsupport;

namespace clitest {

namespace {

struct WindowSearch {
    DWORD pid;
    std::vector<std::string>* found;
};

BOOL CALLBACK NoteWindow(HWND hwnd, LPARAM param)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner != search->pid || !::IsWindowVisible(hwnd)) return TRUE;
    char cls[128] = {}, title[256] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    ::GetWindowTextA(hwnd, title, sizeof title);
    const std::string entry = std::string(cls) + ": " + title;
    for (const std::string& seen : *search->found)
        if (seen == entry) return TRUE;
    search->found->push_back(entry);
    return TRUE;
}

}  // namespace

CliRun RunCli(const std::string& args, DWORD timeoutMs, bool endOnWindow, const CliStart& how)
{
    CliRun run;
    char folder[MAX_PATH] = {}, outPath[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    ::GetTempFileNameA(folder, "cli", 0, outPath);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out = how.redirect ? ::CreateFileA(outPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)
                              : nullptr;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    startup.hStdInput = nullptr;
    PROCESS_INFORMATION info = {};
    std::string command = how.launcher + hosttest::ToolhostCommand(args);
    const std::string current = how.folder.empty() ? ProgramDir() : how.folder;
    const BOOL started = ::CreateProcessA(nullptr, &command[0], nullptr, nullptr, how.redirect, how.flags, nullptr,
                                          current.c_str(), &startup, &info);
    if (out) ::CloseHandle(out);
    if (!started) return run;
    const DWORD begin = ::GetTickCount();
    for (;;) {
        NoteWindows(info.dwProcessId, run.windows);
        if (::WaitForSingleObject(info.hProcess, 5) == WAIT_OBJECT_0) break;
        if (::GetTickCount() - begin > timeoutMs || (endOnWindow && !run.windows.empty())) {
            ::TerminateProcess(info.hProcess, STILL_ACTIVE);
            ::WaitForSingleObject(info.hProcess, 5000);
            break;
        }
    }
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(info.hProcess, &code);
    run.exitCode = code;
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    run.output = ReadFileBytes(outPath);
    ::DeleteFileA(outPath);
    return run;
}

void NoteWindows(DWORD pid, std::vector<std::string>& seen)
{
    WindowSearch search{pid, &seen};
    ::EnumWindows(NoteWindow, reinterpret_cast<LPARAM>(&search));
}

nlohmann::json ReadReport(const std::string& path)
{
    const std::string text = ReadFileBytes(path);
    return nlohmann::json::parse(text, nullptr, false);  // discarded (null-like) when not JSON
}

void ExpectReportHead(const nlohmann::json& body, const char* tool, const char* command, int exitCode)
{
    ASSERT_TRUE(body.is_object()) << body.dump();
    EXPECT_EQ(body.value("tool", "?"), tool);
    EXPECT_EQ(body.value("command", "?"), command);
    EXPECT_EQ(body.value("exit_code", -1), exitCode);
    EXPECT_FALSE(body.value("version", "").empty());
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = sizeof computer;
    ::GetComputerNameA(computer, &length);
    EXPECT_EQ(body.value("computer", "?"), Utf8(computer));
    const std::regex iso("\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}[+-]\\d{2}:\\d{2}");
    EXPECT_TRUE(std::regex_match(body.value("started", ""), iso)) << body.value("started", "");
    EXPECT_TRUE(std::regex_match(body.value("finished", ""), iso)) << body.value("finished", "");
    EXPECT_LE(body.value("started", ""), body.value("finished", ""));
}

std::string Utf8(const std::string& ansi)
{
    const int n = ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring wide(size_t(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], n);
    const int m = ::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size_t(m), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &out[0], m, nullptr, nullptr);
    out.resize(out.size() ? out.size() - 1 : 0);
    return out;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace clitest
