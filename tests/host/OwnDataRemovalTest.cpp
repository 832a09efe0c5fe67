// "uninstall": the program removes its backup sets, undo files and settings,
// shows nothing and quits, whatever else stands in the word.
#include "ToolhostRun.h"

#include <gtest/gtest.h>
#include <shlobj.h>

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

void SetDword(const std::string& path, const char* name, DWORD data)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                                &key, nullptr));
    ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    ::RegCloseKey(key);
}

std::string DocumentsFolder()
{
    char documents[MAX_PATH] = {};
    ::SHGetSpecialFolderPathA(nullptr, documents, CSIDL_PERSONAL, FALSE);
    return documents;
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

// The registry cleaner's section switches lie outside the settings key; they
// go too, and so do the maker's keys and the undo folder once nothing else is
// in them. Whatever another program or the user put there stays.
TEST_F(ToolhostUninstall, LeavesNoEmptyKeyOrFolderOfItsOwnBehind)
{
    const std::string maker = "Software\\Lumbrix", switches = maker + "\\Orvane\\RegCleanFix";
    const std::string undoFolder = DocumentsFolder() + "\\Vantor\\RegCleanUndo";
    testsupport::RegDeleteTree(HKEY_CURRENT_USER, maker + "\\Other Product");
    RemoveTree(DocumentsFolder() + "\\Vantor");

    // Something of another program's and of the user's: both stay.
    SetDword(maker + "\\Other Product", "Kept", 1);
    ASSERT_TRUE(MakeDirs(undoFolder));
    const std::string mine = undoFolder + "\\notes.txt";
    ASSERT_TRUE(WriteFileBytes(mine, "the user's"));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "with foreign things" : "alone");
        SetDword(switches, "Section0", 1);
        SetSettingsDword("FindEmptyFiles", 1);
        const std::string undoFile = undoFolder + "\\1700000002.reg";
        ASSERT_TRUE(WriteFileBytes(undoFile, "REGEDIT4\r\n"));
        SetSettingsDword(undoFile.c_str(), 0, "RegCleanFix\\Undo Info");

        RunUninstall("uninstall");
        EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, switches));
        EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, maker + "\\Orvane"));
        EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kSettingsPath));
        EXPECT_FALSE(FileExists(undoFile));
        if (round == 0) {
            EXPECT_EQ(1u, RegDword(HKEY_CURRENT_USER, maker + "\\Other Product", "Kept"));
            EXPECT_TRUE(FileExists(mine));
            testsupport::RegDeleteTree(HKEY_CURRENT_USER, maker + "\\Other Product");
            ASSERT_TRUE(::DeleteFileA(mine.c_str()));
        } else {
            EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, maker));
            EXPECT_FALSE(FileExists(undoFolder));
            EXPECT_FALSE(FileExists(DocumentsFolder() + "\\Vantor"));
        }
    }
}
