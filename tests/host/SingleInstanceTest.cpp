// One instance per tool, with real processes: a second start of a running
// tool brings its window to the front (restored when minimised) and quits;
// another tool starts normally meanwhile.
#include "ToolhostRun.h"

#include <gtest/gtest.h>

using namespace testsupport;
using namespace hosttest;

namespace {

// Starts the tool again and checks that this start gives up by itself.
void StartAgainAndExpectQuit(const char* word)
{
    Process again(ToolhostCommand(word));
    ASSERT_TRUE(again.started());
    EXPECT_NE(again.Wait(20000), DWORD(STILL_ACTIVE)) << "a second start must quit";
}

}  // namespace

TEST(ToolhostSingleInstance, SecondStartRaisesTheFirstWindowAndQuits)
{
    SavedSettingsKey saved;
    Process first(ToolhostCommand("regclean"));
    HWND window = WaitForWindow(RegCleanTitle(), 20000, first.id());
    ASSERT_NE(window, nullptr);

    // Another tool runs beside it, and takes the front.
    Process other(ToolhostCommand("backup"));
    HWND otherWindow = WaitForWindow(BackupTitle(), 20000, other.id());
    ASSERT_NE(otherWindow, nullptr) << "a different tool must start while the first runs";
    ::SetForegroundWindow(otherWindow);
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == otherWindow; }));

    // Behind another window: the second start brings it to the front.
    StartAgainAndExpectQuit("  regclean  ");
    EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == window; }))
        << "the running window was not brought to the front";

    // Minimised: the second start restores it.
    ::ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(window) != FALSE; }));
    ::SetForegroundWindow(otherWindow);
    StartAgainAndExpectQuit("REGCLEAN");
    EXPECT_TRUE(WaitFor([&] { return !::IsIconic(window) && ::IsWindowVisible(window); }))
        << "the running window was not restored";

    // Neither start opened a second registry cleaner, and both tools live on.
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(other.Running());
    EXPECT_EQ(FindToolWindow(RegCleanTitle(), first.id()), window);

    EXPECT_TRUE(CloseTool(other, otherWindow));
    EXPECT_TRUE(CloseTool(first, window));

    // With the first gone the name is free again: a new start opens a window.
    Process again(ToolhostCommand("regclean"));
    HWND againWindow = WaitForWindow(RegCleanTitle(), 20000, again.id());
    ASSERT_NE(againWindow, nullptr);
    EXPECT_TRUE(CloseTool(again, againWindow));
}

// A run of the tool without a window (the command line, a scheduled task)
// holds its name: a start of the window then says why it cannot open, and
// quits when the message is closed, instead of doing nothing.
TEST(ToolhostSingleInstance, AStartWhileTheToolRunsWithoutAWindowSaysSo)
{
    SavedSettingsKey saved;
    // The name as a run from the command line holds it.
    HANDLE held = ::CreateSemaphoreA(nullptr, 1, 1, RegCleanTitle().c_str());
    ASSERT_NE(held, nullptr);
    Process start(ToolhostCommand("regclean"));
    HWND box = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (box = MessageBoxOf(start.id())) != nullptr; }, 20000))
        << "no message from the start";
    if (box) {
        const std::string busy = Ansi(u8"该工具正在由命令行或计划任务运行");
        EXPECT_NE(BoxText(box).find(busy), std::string::npos) << BoxText(box);
        EXPECT_EQ(FindToolWindow(RegCleanTitle(), start.id()), nullptr);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    EXPECT_NE(start.Wait(20000), DWORD(STILL_ACTIVE)) << "the start did not quit after its message";
    ::CloseHandle(held);
}
