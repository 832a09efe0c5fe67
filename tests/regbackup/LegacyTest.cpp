// The 9x line: both roots saved whole into a set with its 522-byte record,
// the record kept under HKEY_LOCAL_MACHINE, and the restore's wininit.ini.
// The program runs itself again as a Windows 98 process of the prefix.
#include <gtest/gtest.h>

#include <vantor/FileCopy.h>
#include <vantor/System.h>
#include <vantres/ids_backup.h>

#include "RegbackupTestSupport.h"
#include "host/HostServices.h"
#include "regbackup/ArbFormat.h"
#include "regbackup/BootDisk.h"
#include "regbackup/LegacyHiveBackup.h"
#include "regbackup/SetImport.h"

using namespace rbtest;
using testsupport::FileExists;
using testsupport::ReadFileBytes;
using testsupport::ScratchDir;
using testsupport::WriteFileBytes;

namespace {

std::string Decoded(const std::string& copy)
{
    const std::string out = TempFileName("rb9x-decoded");
    CFileCopy copier;
    std::string bytes;
    if (copier.CopyFileDec(copy.c_str(), out.c_str())) bytes = ReadFileBytes(out);
    DeleteFileA(out.c_str());
    return bytes;
}

// A 9x set made by hand: encoded copies of two texts and the record.
std::string HandMadeSet(const std::string& folder, const std::string& machine, const std::string& users)
{
    testsupport::MakeDirs(folder);
    CFileCopy copier;
    for (auto& part : {std::make_pair(std::string("Sys"), machine), std::make_pair(std::string("User"), users)}) {
        WriteFileBytes(folder + "\\plain", part.second);
        copier.CopyFileEnc((folder + "\\plain").c_str(), (folder + "\\" + part.first).c_str());
    }
    DeleteFileA((folder + "\\plain").c_str());
    ArbLegacyRecord record;
    record.sys = (folder + "\\Sys").c_str();
    record.user = (folder + "\\User").c_str();
    WriteFileBytes(folder + "\\info.arb", EncodeLegacyRecord(record));
    return folder + "\\info.arb";
}

}  // namespace

TEST(Legacy, RunsOnTheNineXLine)
{
    EXPECT_FALSE(IsOsWinNT());
    EXPECT_EQ(RunningLine(), BackupLine::Legacy);
}

TEST(Legacy, BackupSavesBothRootsIntoASetWithItsRecord)
{
    SettingsScope settings;
    ScratchDir sets("rb9x-backup");
    SetStringValue(HKEY_LOCAL_MACHINE, kTestKey, "Marker", "machine-root-marker");
    CLegacyHiveBackup engine;
    engine.SetLocation(sets.path().c_str());
    engine.SetBackupTime(At(2, 3, 1999, 7, 8));
    ASSERT_TRUE(engine.Backup());
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, kTestKey);

    const std::string folder = sets.path() + "\\2-3-1999_7-8";
    EXPECT_EQ(std::string(engine.InfoPath()), folder + "\\info.arb");
    EXPECT_EQ(ListFiles(folder), (std::vector<std::string>{"Sys", "User", "info.arb"}));
    const std::string record = ReadFileBytes(folder + "\\info.arb");
    ASSERT_EQ(record.size(), 522u);
    EXPECT_EQ(record.substr(0, 261), folder + "\\Sys" + std::string(261 - folder.size() - 4, '\0'));
    EXPECT_EQ(record.substr(261), folder + "\\User" + std::string(261 - folder.size() - 5, '\0'));
    EXPECT_NE(Decoded(folder + "\\Sys").find("machine-root-marker"), std::string::npos);
    EXPECT_FALSE(Decoded(folder + "\\User").empty());
    // The temporary saves are gone again.
    EXPECT_FALSE(FileExists(engine.m_tempMachine));
    EXPECT_FALSE(FileExists(engine.m_tempUsers));
    // Recorded below HKEY_LOCAL_MACHINE on this line.
    EXPECT_EQ(RecordedSets(HKEY_LOCAL_MACHINE), (std::vector<std::string>{folder + "\\info.arb"}));
    EXPECT_TRUE(RecordedSets(HKEY_CURRENT_USER).empty());
    CStringArray listed;
    engine.ListSets(listed);
    ASSERT_EQ(listed.GetSize(), 1);
    EXPECT_TRUE(engine.DeleteSet(listed[0]));
    EXPECT_FALSE(FileExists(folder));
}

TEST(Legacy, RecordOf521BytesIsInvalid)
{
    SettingsScope settings;
    ScratchDir dir("rb9x-short");
    const std::string info = HandMadeSet(dir.path() + "\\1-1-2001_1-1", "m", "u");
    CLegacyHiveBackup engine;
    EXPECT_TRUE(engine.ValidateSet(info.c_str()));
    engine.RegisterSet(info.c_str());
    WriteFileBytes(info, ReadFileBytes(info).substr(0, 521));
    EXPECT_FALSE(engine.ValidateSet(info.c_str()));
    CStringArray listed;
    engine.ListSets(listed);
    EXPECT_EQ(listed.GetSize(), 0);
    EXPECT_TRUE(RecordedSets(HKEY_LOCAL_MACHINE).empty());
    // A record naming a copy that is gone is invalid as well.
    const std::string other = HandMadeSet(dir.path() + "\\2-2-2002_2-2", "m", "u");
    DeleteFileA((dir.path() + "\\2-2-2002_2-2\\User").c_str());
    EXPECT_FALSE(engine.ValidateSet(other.c_str()));
}

TEST(Legacy, ImportRecordsBelowTheMachineRoot)
{
    SettingsScope settings;
    ScratchDir dir("rb9x-import");
    const std::string info = HandMadeSet(dir.path() + "\\Found", "m", "u");
    CString log;
    EXPECT_EQ(ImportSetFile(BackupLine::Legacy, info.c_str(), log), ImportResult::Imported);
    EXPECT_EQ(RecordedSets(HKEY_LOCAL_MACHINE), (std::vector<std::string>{info}));
    std::string upper = info;
    CharUpperBuffA(&upper[0], DWORD(upper.size()));
    EXPECT_EQ(ImportSetFile(BackupLine::Legacy, upper.c_str(), log), ImportResult::AlreadyListed);
    EXPECT_EQ(std::string(log), std::string("Located the file now reading the file records.\r\n") +
                                    LoadTextById(IDS_BKL_ALREADY_LISTED));
}

TEST(Legacy, RestoreListsTheRenamesInTheWindowsFoldersWininit)
{
    ScratchDir dir("rb9x-restore");
    const std::string info = HandMadeSet(dir.path() + "\\1-1-2001_1-1", "machine hive", "users hive");
    char buffer[MAX_PATH] = {};
    GetWindowsDirectoryA(buffer, MAX_PATH);  // C:\windows: the system's own, not a drive root
    const std::string windows = buffer;
    ASSERT_GT(windows.size(), 3u);
    FakePlatform platform;
    CLegacyHiveBackup engine;
    const bool restored = engine.Restore(info.c_str());
    const std::string wininit = ReadFileBytes(windows + "\\wininit.ini");
    // Nothing of this may wait in the prefix for its next start.
    DeleteFileA((windows + "\\wininit.ini").c_str());
    const std::string new1 = engine.m_newSystem, new2 = engine.m_newUser;
    const std::string bytes1 = ReadFileBytes(new1), bytes2 = ReadFileBytes(new2);
    DeleteFileA(new1.c_str());
    DeleteFileA(new2.c_str());

    ASSERT_TRUE(restored);
    EXPECT_EQ(std::string(engine.WininitPath()), windows + "\\wininit.ini");
    EXPECT_EQ(wininit, "[rename]\r\n" + windows + "\\system.dat=" + new1 + "\r\n" + windows + "\\user.dat=" + new2 +
                           "\r\n\r\n");
    EXPECT_EQ(new1.find(windows + "\\RO"), 0u) << new1;
    EXPECT_EQ(new2.find(windows + "\\RO"), 0u) << new2;
    EXPECT_NE(new1, new2);
    EXPECT_EQ(bytes1, "machine hive");
    EXPECT_EQ(bytes2, "users hive");
    ASSERT_EQ(platform.restarts.size(), 1u);
    EXPECT_EQ(platform.restarts[0].flags, UINT(EWX_REBOOT | EWX_FORCE));
    EXPECT_EQ(platform.restarts[0].reason, 0u);
}

TEST(Legacy, RestoreOnADriveRootWritesWininitThere)
{
    ScratchDir dir("rb9x-root");
    const std::string info = HandMadeSet(dir.path() + "\\1-1-2001_1-1", "m", "u");
    FakePlatform platform;
    CLegacyHiveBackup engine;
    engine.SetWindowsDirectory("D:\\");
    ASSERT_TRUE(engine.Restore(info.c_str()));
    const std::string new1 = engine.m_newSystem, new2 = engine.m_newUser;
    EXPECT_EQ(std::string(engine.WininitPath()), "D:\\wininit.ini");
    EXPECT_EQ(ReadFileBytes("D:\\wininit.ini"),
              "[rename]\r\nD:\\system.dat=" + new1 + "\r\nD:\\user.dat=" + new2 + "\r\n\r\n");
    EXPECT_EQ(new1.find("D:\\RO"), 0u) << new1;
    DeleteFileA("D:\\wininit.ini");
    DeleteFileA(new1.c_str());
    DeleteFileA(new2.c_str());
}

TEST(Legacy, DamagedCopyWritesNoWininit)
{
    ScratchDir dir("rb9x-damaged");
    const std::string folder = dir.path() + "\\1-1-2001_1-1";
    const std::string info = HandMadeSet(folder, std::string(30000, 'm'), std::string(30000, 'u'));
    std::string copy = ReadFileBytes(folder + "\\User");
    copy[copy.size() / 2] ^= 0x20;
    WriteFileBytes(folder + "\\User", copy);
    const std::string windows = dir.path() + "\\WINDOWS";
    testsupport::MakeDirs(windows);
    FakePlatform platform;
    CLegacyHiveBackup engine;
    engine.SetWindowsDirectory(windows.c_str());
    EXPECT_FALSE(engine.Restore(info.c_str()));
    EXPECT_TRUE(ListFiles(windows).empty());  // no wininit.ini, no decoded copy left
    EXPECT_TRUE(platform.restarts.empty());
}

TEST(Legacy, FormatAnswersAndTheBootDiskOnThisLine)
{
    FakePlatform platform;
    platform.formatAnswer = 0;
    EXPECT_EQ(FormatFloppy(NULL, 0, 0, 0), -1);
    platform.formatAnswer = -1;
    EXPECT_EQ(FormatFloppy(NULL, 0, 0, 1), -3);
    ASSERT_EQ(platform.formats.size(), 2u);
    EXPECT_EQ(platform.formats[0].formatId, 0u);
    EXPECT_EQ(platform.formats[0].options, 0u);
    EXPECT_EQ(platform.formats[1].options, 1u);

    // The user makes the disk bootable in the format dialog: no sector, no files.
    WriteFileBytes("A:\\kept.txt", "x");
    platform.formatAnswer = 0;
    CBootDiskMaker maker(NULL);
    EXPECT_EQ(maker.CreateBootDisk(false), CBootDiskMaker::Outcome::Formatted);
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(platform.questions[0], LoadTextById(IDS_BOOTDISK_PROMPT_9X));
    EXPECT_EQ(platform.formats.size(), 3u);
    EXPECT_TRUE(platform.rawDevices.empty());
    EXPECT_TRUE(FileExists("A:\\kept.txt"));
    DeleteFileA("A:\\kept.txt");
}

// Runs the tests as a Windows 98 process: this program sets the prefix's
// per-program version for itself and starts itself again.
int main(int argc, char** argv)
{
    if (IsOsWinNT()) {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(NULL, path, MAX_PATH);
        const char* exe = strrchr(path, '\\') ? strrchr(path, '\\') + 1 : path;
        const std::string key = std::string("Software\\Wine\\AppDefaults\\") + exe;
        SetStringValue(HKEY_CURRENT_USER, key, "Version", "win98");
        STARTUPINFOA start = {};
        start.cb = sizeof start;
        PROCESS_INFORMATION child = {};
        DWORD code = 1;
        std::string commandLine = GetCommandLineA();
        if (CreateProcessA(NULL, &commandLine[0], NULL, NULL, TRUE, 0, NULL, NULL, &start, &child)) {
            WaitForSingleObject(child.hProcess, INFINITE);
            GetExitCodeProcess(child.hProcess, &code);
            CloseHandle(child.hProcess);
            CloseHandle(child.hThread);
        } else {
            fprintf(stderr, "could not start the 9x run\n");
        }
        SHDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
        return int(code);
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
