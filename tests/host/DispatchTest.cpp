// toolhost.exe started with different words: which tool window opens (told by
// its caption), when the program quits without one, and the program-location
// record it writes on every start.
#include "ToolhostRun.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testsupport;
using namespace hosttest;

namespace {

class ToolhostDispatch : public ::testing::Test {
protected:
    SavedSettingsKey m_saved;

    // Starts the program, waits for the expected window, checks that it is
    // the only tool window of the process, and closes it.
    void ExpectToolOpens(const std::string& args, const std::string& title)
    {
        SCOPED_TRACE("toolhost " + args);
        Process run(ToolhostCommand(args));
        ASSERT_TRUE(run.started());
        HWND window = WaitForWindow(title, 20000, run.id());
        ASSERT_NE(window, nullptr) << "no window titled as the tool";
        for (const std::string& other : {RegCleanTitle(), BackupTitle(), JunkCleanTitle()}) {
            if (other == title) continue;
            EXPECT_EQ(FindToolWindow(other, run.id()), nullptr);
        }
        EXPECT_TRUE(CloseTool(run, window));
    }

    // The program must end by itself, without a window to close.
    void ExpectQuitsAtOnce(const std::string& commandLine)
    {
        SCOPED_TRACE(commandLine);
        Process run(commandLine);
        ASSERT_TRUE(run.started());
        EXPECT_NE(run.Wait(20000), DWORD(STILL_ACTIVE)) << "the program is still running";
    }
};

}  // namespace

TEST_F(ToolhostDispatch, WordIsLowerCasedAndTrimmedBeforeMatching)
{
    ExpectToolOpens("\"  REGCLEAN  \"", RegCleanTitle());
    ExpectToolOpens("\"\tBackUp \"", BackupTitle());
    ExpectToolOpens("SysClean", JunkCleanTitle());
}

TEST_F(ToolhostDispatch, ToolWordMayStandAnywhereInTheWord)
{
    ExpectToolOpens("mybackupnow", BackupTitle());
    // Chinese text around the word: its bytes must survive the lower-casing
    // (the trail bytes of these characters are upper-case ASCII letters).
    ExpectToolOpens(Ansi(u8"繡罝REGCLEAN罝"), RegCleanTitle());
}

TEST_F(ToolhostDispatch, WordsAreTriedInTableOrder)
{
    // "sysclean" comes before "regclean" in the table, wherever each stands.
    ExpectToolOpens("regcleansysclean", JunkCleanTitle());
    ExpectToolOpens("backup-regclean", RegCleanTitle());
}

TEST_F(ToolhostDispatch, EmptyOrUnknownWordQuitsWithoutWindow)
{
    ExpectQuitsAtOnce("\"" + ToolhostPath() + "\"");
    ExpectQuitsAtOnce(ToolhostCommand("\"\""));
    ExpectQuitsAtOnce(ToolhostCommand("\"   \""));
    ExpectQuitsAtOnce(ToolhostCommand("regclea"));
    ExpectQuitsAtOnce(ToolhostCommand("hello"));
}

// The location record is written first thing, whatever the word.
TEST_F(ToolhostDispatch, ProgramLocationIsRecordedOnEveryStart)
{
    // The path as started, in its own letter case.
    const std::string startedAs = ProgramDir().substr(0, 3) + "TOOLHOST\\ToolHost.EXE";
    struct Start {
        std::string commandLine;
        std::string (*title)(); // null: quits by itself
    };
    const std::vector<Start> starts = {
        {"\"" + startedAs + "\"", nullptr},
        {"\"" + startedAs + "\" nonsense", nullptr},
        {"\"" + startedAs + "\" backup", BackupTitle},
    };
    ASSERT_EQ(ProgramDir(), "C:\\toolhost\\") << "the test expects the build folder as C:\\toolhost";
    for (const Start& start : starts) {
        SCOPED_TRACE(start.commandLine);
        RegDeleteTree(HKEY_CURRENT_USER, kSettingsPath);
        SetSettingsString("OVN Path", "stale");
        SetSettingsDword("OVN_MAJOR", 7);
        Process run(start.commandLine);
        ASSERT_TRUE(run.started());
        if (start.title) {
            HWND window = WaitForWindow(start.title(), 20000, run.id());
            ASSERT_NE(window, nullptr);
            EXPECT_TRUE(CloseTool(run, window));
        } else {
            ASSERT_NE(run.Wait(20000), DWORD(STILL_ACTIVE));
        }
        EXPECT_EQ(RegString(HKEY_CURRENT_USER, kSettingsPath, "OVN Path"), startedAs);
        EXPECT_EQ(RegDword(HKEY_CURRENT_USER, kSettingsPath, "OVN_MAJOR"), 1u);
        EXPECT_EQ(RegDword(HKEY_CURRENT_USER, kSettingsPath, "OVN_MINOR"), 1u);
        EXPECT_EQ(RegDword(HKEY_CURRENT_USER, kSettingsPath, "OVN_INFO"), 1u);
    }
}
