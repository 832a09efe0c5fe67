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
