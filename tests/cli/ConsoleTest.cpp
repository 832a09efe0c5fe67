// Where an unattended run speaks when nobody redirected its output: on the
// console of the command prompt that started it; with no console anywhere
// (a scheduled task) only through its exit code and report, where the usage
// text of /? alone comes in a message box.
#include "CliTestSupport.h"
#include "ToolhostRun.h"

#include <gtest/gtest.h>

using namespace testsupport;
using namespace clitest;

namespace {

std::wstring Wide(const std::string& ansi)
{
    const int n = ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), int(ansi.size()), nullptr, 0);
    std::wstring wide(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), int(ansi.size()), &wide[0], n);
    return wide;
}

std::string Narrow(const std::wstring& wide)
{
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(size_t(n > 0 ? n : 0), '\0');
    if (n > 0) ::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), int(wide.size()), &text[0], n, nullptr, nullptr);
    return text;
}

// This test program without a console, as a scheduled task starts one; the
// standard handles it had are put back at the end.
class NoConsole {
public:
    NoConsole()
    {
        for (int i = 0; i < 3; ++i) m_std[i] = ::GetStdHandle(StdId(i));
        ::FreeConsole();
    }
    ~NoConsole()
    {
        ::FreeConsole();
        for (int i = 0; i < 3; ++i) ::SetStdHandle(StdId(i), m_std[i]);
    }
    NoConsole(const NoConsole&) = delete;
    NoConsole& operator=(const NoConsole&) = delete;

private:
    static DWORD StdId(int i) { return i == 0 ? STD_INPUT_HANDLE : i == 1 ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE; }
    HANDLE m_std[3] = {};
};

// A console of this test program's own, as a command prompt has, read back
// from its screen buffer.
class OwnConsole : private NoConsole {
public:
    OwnConsole()
    {
        if (::AllocConsole())
            m_screen = ::CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
    }
    ~OwnConsole()
    {
        if (m_screen != INVALID_HANDLE_VALUE) ::CloseHandle(m_screen);
    }
    bool made() const { return m_screen != INVALID_HANDLE_VALUE; }

    void Clear()
    {
        CONSOLE_SCREEN_BUFFER_INFO info = {};
        ::GetConsoleScreenBufferInfo(m_screen, &info);
        DWORD done = 0;
        ::FillConsoleOutputCharacterW(m_screen, L' ', DWORD(info.dwSize.X) * DWORD(info.dwSize.Y), COORD{0, 0}, &done);
        ::SetConsoleCursorPosition(m_screen, COORD{0, 0});
    }
    // Every cell, row after row: a line that wrapped reads on unbroken.
    std::wstring Screen() const
    {
        CONSOLE_SCREEN_BUFFER_INFO info = {};
        ::GetConsoleScreenBufferInfo(m_screen, &info);
        std::wstring cells(size_t(info.dwSize.X) * size_t(info.dwSize.Y), L' ');
        DWORD read = 0;
        ::ReadConsoleOutputCharacterW(m_screen, &cells[0], DWORD(cells.size()), COORD{0, 0}, &read);
        cells.resize(read);
        return cells;
    }

private:
    HANDLE m_screen = INVALID_HANDLE_VALUE;
};

class CliConsole : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeDirs(m_junk / Ansi("控制台 测试"));
        WriteFileBytes(m_junk / Ansi("控制台 测试\\垃圾.tmp"), "junk");
    }

    hosttest::SavedSettingsKey m_settings;
    ScratchDir m_junk{"cli-console", "D:\\toolhost-tests"};
    ScratchDir m_out{"cli-console-out"};
};

TEST_F(CliConsole, TextReachesTheConsoleOfTheCommandPromptThatStartedIt)
{
    OwnConsole console;
    ASSERT_TRUE(console.made());
    const std::string missing = m_junk / Ansi("没有 这个\\报告.json");
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    const std::string startWait = "\"" + std::string(system) + "\\cmd.exe\" /c start \"\" /wait ";
    const struct {
        DWORD flags;
        std::string launcher;
        const char* how;
    } starts[] = {
        {DETACHED_PROCESS, "", "started without a console, as Windows starts a windowed program"},
        {0, "", "started holding its parent's console already, as Wine starts a windowed program"},
        {0, startWait, "started by cmd.exe's start /wait, as the README shows"},
    };
    for (const auto& start : starts) {
        CliStart how;
        how.redirect = false;
        how.flags = start.flags;
        how.launcher = start.launcher;
        console.Clear();
        const CliRun scan = RunCli("sysclean /scan /drives:D", 120000, false, how);
        EXPECT_EQ(scan.exitCode, 1u) << start.how;
        std::wstring screen = console.Screen();
        EXPECT_NE(screen.find(L"Scanning drives D..."), std::wstring::npos) << start.how << "\n" << Narrow(screen);
        EXPECT_NE(screen.find(L"toolhost sysclean /scan: found something (exit code 1)."), std::wstring::npos)
            << start.how << "\n" << Narrow(screen);

        // The console gets the program's Chinese texts as characters.
        console.Clear();
        const CliRun refused = RunCli("sysclean /scan /drives:D \"/report:" + missing + "\"", 120000, false, how);
        EXPECT_EQ(refused.exitCode, 2u) << start.how;
        screen = console.Screen();
        EXPECT_NE(screen.find(Wide("toolhost: The report \"" + missing + "\" cannot be written there.")),
                  std::wstring::npos)
            << start.how << "\n" << Narrow(screen);
        EXPECT_TRUE(scan.windows.empty() && refused.windows.empty()) << start.how;
    }
}

TEST_F(CliConsole, WithNoConsoleAnywhereTheExitCodeAndReportSpeakAndNoWindowShows)
{
    NoConsole scheduled;
    CliStart how;
    how.redirect = false;
    how.flags = DETACHED_PROCESS;
    const std::string report = m_out / "scan.json";
    const CliRun scan = RunCli("sysclean /scan /drives:D /report:" + report, 120000, true, how);
    EXPECT_EQ(scan.exitCode, 1u);
    EXPECT_TRUE(scan.windows.empty()) << scan.windows[0];
    bool listed = false;
    const nlohmann::json body = ReadReport(report);
    for (const nlohmann::json& row : body["findings"])
        listed = listed || row["path"] == Utf8(m_junk / Ansi("控制台 测试\\垃圾.tmp"));
    EXPECT_TRUE(listed) << ReadFileBytes(report);

    // A refused line shows nothing either: no message box, only the code and the report.
    const std::string refusedReport = m_out / "refused.json";
    const CliRun refused = RunCli("sysclean /clean /drives:D /colour:red /report:" + refusedReport, 30000, true, how);
    EXPECT_EQ(refused.exitCode, 2u);
    EXPECT_TRUE(refused.windows.empty()) << refused.windows[0];
    EXPECT_NE(ReadReport(refusedReport).value("error", "").find("/colour:red"), std::string::npos)
        << ReadFileBytes(refusedReport);
    EXPECT_TRUE(Exists(m_junk / Ansi("控制台 测试\\垃圾.tmp")));
}

// toolhost.exe started with no console and no standard handles.
class DetachedToolhost {
public:
    explicit DetachedToolhost(const std::string& args)
    {
        std::string command = hosttest::ToolhostCommand(args);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                              ProgramDir().c_str(), &startup, &m_info))
            m_info = PROCESS_INFORMATION{};
    }
    ~DetachedToolhost()
    {
        if (!m_info.hProcess) return;
        if (::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(m_info.hProcess, STILL_ACTIVE);
            ::WaitForSingleObject(m_info.hProcess, 5000);
        }
        ::CloseHandle(m_info.hThread);
        ::CloseHandle(m_info.hProcess);
    }
    DetachedToolhost(const DetachedToolhost&) = delete;
    DetachedToolhost& operator=(const DetachedToolhost&) = delete;

    bool started() const { return m_info.hProcess != nullptr; }
    DWORD id() const { return m_info.dwProcessId; }
    DWORD Wait(DWORD timeoutMs)
    {
        DWORD code = STILL_ACTIVE;
        if (::WaitForSingleObject(m_info.hProcess, timeoutMs) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(m_info.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION m_info = {};
};

// The interface an administrator is promised, line by line, per tool.
const char* const kUsageLines[][3] = {
    {"toolhost regclean /scan  [/sections:LIST] [/report:FILE]",
     "toolhost regclean /fix   [/sections:LIST] [/report:FILE]", nullptr},
    {"toolhost sysclean /scan  [/drives:LETTERS] [/report:FILE]",
     "toolhost sysclean /clean [/drives:LETTERS] [/mode:recycle|delete|move] [/to:FOLDER] [/report:FILE]", nullptr},
    {"toolhost backup   /backup [/location:FOLDER] [/keep:N] [/report:FILE]",
     "toolhost backup   /list   [/report:FILE]", "toolhost backup   /verify[:INFO_ARB_PATH] [/report:FILE]"},
};

TEST(CliUsageBox, UsageWithoutAConsoleShowsInAMessageBoxThatClosesWithItsButton)
{
    NoConsole scheduled;
    const struct {
        const char* args;
        int tool;  // index into kUsageLines; -1 for every tool
    } cases[] = {{"/?", -1}, {"-?", -1}, {"regclean /?", 0}, {"SYSCLEAN -?", 1}, {"backup /?", 2}};
    for (const auto& c : cases) {
        DetachedToolhost program(c.args);
        ASSERT_TRUE(program.started()) << c.args;
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (box = testsupport::MessageBoxOf(program.id())) != nullptr; }, 30000)) << c.args;
        EXPECT_EQ(WindowText(box), "toolhost") << c.args;
        const std::string text = testsupport::BoxText(box);
        for (int tool = 0; tool < 3; ++tool)
            for (const char* line : kUsageLines[tool]) {
                if (!line) continue;
                const bool shown = text.find(std::string(line) + "\r\n") != std::string::npos;
                EXPECT_EQ(shown, c.tool < 0 || c.tool == tool) << c.args << ": " << line << "\n" << text;
            }
        const bool general = text.find("toolhost /?    toolhost <tool> /?\r\n") != std::string::npos;
        EXPECT_EQ(general, c.tool < 0) << c.args << "\n" << text;
        EXPECT_NE(text.find("Exit codes: 0 done"), std::string::npos) << c.args << "\n" << text;

        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(program.Wait(30000), 0u) << c.args;
        EXPECT_FALSE(::IsWindow(box)) << c.args;
    }
}

}  // namespace
