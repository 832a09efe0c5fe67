// "uninstall": the program removes its backup sets, undo files and settings,
// shows nothing and quits, whatever else stands in the word.
#include "ToolhostRun.h"

#include <gtest/gtest.h>

using namespace testsupport;
using namespace hosttest;

namespace {

class ToolhostUninstall : public ::testing::Test {
protected:
    SavedSettingsKey m_saved;

    void RunUninstall(const std::string& word)
    {
        Process run(ToolhostCommand(word));
        ASSERT_TRUE(run.started());
        ASSERT_NE(run.Wait(20000), DWORD(STILL_ACTIVE)) << "the program did not quit";
    }
};

// An NT-line backup set with no hives in it: the count, then the system folder.
void WriteEmptyBackupSet(const std::string& infoPath)
{
    std::string info(4 + 260, '\0');
    const char systemDir[] = "C:\\windows\\system32";
    info.replace(4, sizeof systemDir - 1, systemDir);
    ASSERT_TRUE(WriteFileBytes(infoPath, info));
}

}  // namespace

TEST_F(ToolhostUninstall, DeletesTheWholeSettingsKeyEvenBesideToolWords)
{
    for (const char* word : {"uninstall", "\"  backupUNINSTALLregclean \""}) {
        SCOPED_TRACE(word);
        SetSettingsString("SC_StrFolderName", "C:\\moved");
        SetSettingsDword("FindEmptyFiles", 1);
        SetSettingsString("0", "*.tmp", "SrchFilters");
        SetSettingsDword("C:\\some\\info.arb", 0, "AdvRegBackup\\deeper");
        RunUninstall(word);
        EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kSettingsPath));
    }
}

TEST_F(ToolhostUninstall, DeletesRecordedBackupSetsAndUndoFiles)
{
    ScratchDir dir("host-uninstall");
    const std::string setFolder = dir / "12-05-2023_09-41";
    ASSERT_TRUE(MakeDirs(setFolder));
    const std::string infoPath = setFolder + "\\info.arb";
    WriteEmptyBackupSet(infoPath);
    SetSettingsDword(infoPath.c_str(), 0, "AdvRegBackup");

    const std::string undoFile = dir / "1700000000.reg";
    ASSERT_TRUE(WriteFileBytes(undoFile, "REGEDIT4\r\n"));
    SetSettingsDword(undoFile.c_str(), 0, "RegCleanFix\\Undo Info");
    // A file nobody recorded stays.
    const std::string stranger = dir / "1700000001.reg";
    ASSERT_TRUE(WriteFileBytes(stranger, "REGEDIT4\r\n"));

    RunUninstall("uninstall");
    EXPECT_FALSE(FileExists(infoPath));
    EXPECT_FALSE(FileExists(setFolder));
    EXPECT_FALSE(FileExists(undoFile));
    EXPECT_TRUE(FileExists(stranger));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kSettingsPath));
}
