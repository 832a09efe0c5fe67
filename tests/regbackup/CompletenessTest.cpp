// A backup is complete or it is not there: every saved hive must be in the
// set and read back intact, or the run leaves no set folder, no temporary
// save, no record and no "last backup" time, and says what failed.
#include <gtest/gtest.h>

#include <vantor/FileCopy.h>
#include <vantres/ids_backup.h>

#include "RegbackupTestSupport.h"
#include "host/HostServices.h"
#include "regbackup/ArbFormat.h"
#include "regbackup/HiveBackup.h"
#include "regbackup/SetVerify.h"

using namespace rbtest;
using testsupport::FileExists;
using testsupport::ReadFileBytes;
using testsupport::ScratchDir;
using testsupport::WriteFileBytes;

namespace {

// A backup of the seeded hives into `location`; the seeded keys go afterwards.
void RunBackup(CHiveBackup& engine, const std::string& location)
{
    engine.SetLocation(location.c_str());
    SilentProgress silent;
    engine.Run(silent);
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, kTestKey);
}

std::vector<std::string> TempSaves() { return ListFiles(SystemDir(), "RBK*"); }

std::string TempFolder()
{
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, path);
    return path;
}

// What a failed run must not leave: a set folder, a record, a temporary save.
void ExpectNothingLeft(const CHiveBackup& engine, const std::string& location,
                       const std::vector<std::string>& savesBefore)
{
    EXPECT_FALSE(engine.SetWritten());
    EXPECT_TRUE(std::string(engine.InfoPath()).empty());
    EXPECT_TRUE(ListFiles(location).empty()) << "a partial set was left in " << location;
    EXPECT_TRUE(RecordedSets(HKEY_CURRENT_USER).empty());
    EXPECT_EQ(TempSaves(), savesBefore) << "temporary hive saves were left in the system folder";
}

}  // namespace

TEST(SetVerify, EveryCopyIsDecodedAndCheckedOneByOne)
{
    ScratchDir dir("rb-verify");
    const std::string folder = dir.path() + "\\1-1-2001_1-1";
    testsupport::MakeDirs(folder);
    WriteFileBytes(folder + "\\plain", std::string(5000, 'h'));
    CFileCopy copier;
    ArbIndex index;
    index.systemDir = SystemDir().c_str();
    const char* names[] = {"Sys1", "User1", "User2", "Sys2"};
    for (const char* name : names) {
        ArbEntry e;
        e.root = name[0] == 'S' ? 0x80000002 : 0x80000003;
        e.name = name;
        e.subkey = name[0] == 'S' ? "SOFTWARE" : "S-1-5-21-7-1000";
        index.entries.push_back(e);
        ASSERT_TRUE(copier.CopyFileEnc((folder + "\\plain").c_str(), (folder + "\\" + name).c_str()));
    }
    DeleteFileA((folder + "\\plain").c_str());
    const std::string info = folder + "\\info.arb";
    WriteFileBytes(info, EncodeArbIndex(index));

    std::vector<HiveCheck> hives;
    EXPECT_TRUE(VerifySetCopies(info.c_str(), hives));
    ASSERT_EQ(hives.size(), 4u);
    for (const HiveCheck& h : hives) EXPECT_TRUE(h.verified) << h.name;
    EXPECT_EQ(std::string(hives[0].key), "HKEY_LOCAL_MACHINE\\SOFTWARE");
    EXPECT_EQ(std::string(hives[1].key), "HKEY_USERS\\S-1-5-21-7-1000");

    // One altered byte, one copy cut short, one gone: each is caught by itself.
    std::string altered = ReadFileBytes(folder + "\\User1");
    altered[altered.size() / 2] ^= 0x01;
    WriteFileBytes(folder + "\\User1", altered);
    const std::string whole = ReadFileBytes(folder + "\\User2");
    WriteFileBytes(folder + "\\User2", whole.substr(0, whole.size() - 10));
    DeleteFileA((folder + "\\Sys2").c_str());
    const std::vector<std::string> tempBefore = ListFiles(TempFolder(), "RVF*");
    EXPECT_FALSE(VerifySetCopies(info.c_str(), hives));
    ASSERT_EQ(hives.size(), 4u);
    EXPECT_EQ((std::vector<bool>{hives[0].verified, hives[1].verified, hives[2].verified, hives[3].verified}),
              (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(std::string(hives[3].name), "Sys2");
    // The decoded files are gone again.
    EXPECT_EQ(ListFiles(TempFolder(), "RVF*"), tempBefore);

    WriteFileBytes(info, "no index");
    EXPECT_FALSE(VerifySetCopies(info.c_str(), hives));
    EXPECT_TRUE(hives.empty());
}

TEST(Completeness, CompleteSetIsVerifiedWrittenAndRecorded)
{
    SettingsScope settings;
    ScratchDir sets("rb-complete");
    HiveListSeed seed;
    SeedBlobHive(seed, "First", 2000);
    SeedBlobHive(seed, "Second", 3000);
    const std::vector<std::string> savesBefore = TempSaves();
    CHiveBackup engine;
    engine.SetBackupTime(At(2, 2, 2002, 2, 2));
    RunBackup(engine, sets.path());

    ASSERT_TRUE(engine.SetWritten());
    EXPECT_EQ(engine.LastFault(), BackupFault::None);
    std::vector<HiveCheck> hives;
    EXPECT_TRUE(VerifySetCopies(engine.InfoPath(), hives));
    EXPECT_EQ(hives.size(), 2u);
    EXPECT_EQ(RecordedSets(HKEY_CURRENT_USER), (std::vector<std::string>{engine.InfoPath().GetString()}));
    EXPECT_EQ(TempSaves(), savesBefore);
}

TEST(Completeness, DriveThatFillsUpDuringTheCopiesLeavesNoSet)
{
    // U: is a 2 MiB drive (see scripts/make-test-prefix.sh).
    const std::string location = "U:\\rb-full";
    if (!SmallDriveThere())
        GTEST_SKIP() << "U: is not a small drive here (mounting a small file system needs root)";
    SettingsScope settings;
    testsupport::RemoveTree(location);
    ASSERT_TRUE(testsupport::MakeDirs(location));
    const unsigned long long free = FreeBytes(location);
    HiveListSeed seed;
    // Each hive is saved as text of about three bytes per data byte: the
    // first copy fits, the second cannot.
    SeedBlobHive(seed, "Fits", size_t(free / 3 * 2 / 3));
    SeedBlobHive(seed, "Overflows", size_t(free / 3 * 2 / 3));
    const std::vector<std::string> savesBefore = TempSaves();

    CHiveBackup engine;
    RunBackup(engine, location);

    EXPECT_EQ(engine.SavedCount(), 2);
    EXPECT_EQ(engine.LastFault(), BackupFault::CopyFailed);
    EXPECT_EQ(engine.FaultError(), DWORD(ERROR_DISK_FULL));
    EXPECT_NE(std::string(engine.FaultHive()).find("\\Overflows"), std::string::npos) << engine.FaultHive();
    ExpectNothingLeft(engine, location, savesBefore);
    // The first copy, which did fit, went with the rest: the drive is as free as before.
    EXPECT_EQ(FreeBytes(location), free);
    CString expected;
    expected.Format(CString(LoadTextById(IDS_BKP_COPY_FAILED)), engine.FaultHive().GetString());
    EXPECT_EQ(std::string(BackupFaultText(engine)), std::string(expected));
    testsupport::RemoveTree(location);
}

TEST(Completeness, FolderThatRefusesWritesLeavesNoSet)
{
    // U:\locked is read-only (see scripts/make-test-prefix.sh).
    const std::string location = "U:\\locked";
    const std::string probe = location + "\\probe";
    if (CreateDirectoryA(probe.c_str(), NULL)) {
        RemoveDirectoryA(probe.c_str());
        GTEST_SKIP() << "U:\\locked takes writes here (it needs a read-only mount or a non-root user)";
    }
    SettingsScope settings;
    HiveListSeed seed;
    SeedBlobHive(seed, "Locked", 1000);
    const std::vector<std::string> savesBefore = TempSaves();
    CHiveBackup engine;
    RunBackup(engine, location);

    EXPECT_EQ(engine.SavedCount(), 1);
    EXPECT_EQ(engine.LastFault(), BackupFault::NoSetFolder);
    ExpectNothingLeft(engine, location, savesBefore);
    // Not put anywhere else either: no set at the drive C fallback.
    EXPECT_FALSE(FileExists("C:\\Sys1"));
    EXPECT_FALSE(FileExists("C:\\info.arb"));
    EXPECT_EQ(std::string(BackupFaultText(engine)), std::string(LoadTextById(IDS_BKP_NO_FOLDER)));
}

TEST(Completeness, RunThatSavesNoHiveMakesNoFolder)
{
    SettingsScope settings;
    ScratchDir sets("rb-nohive");
    HiveListSeed seed;
    seed.Add("\\REGISTRY\\MACHINE\\Software\\ToolhostTests\\RegBackup\\NoSuchKey", "\\Device\\HarddiskVolume1\\x");
    CHiveBackup engine;
    RunBackup(engine, sets.path());
    EXPECT_EQ(engine.SavedCount(), 0);
    EXPECT_EQ(engine.LastFault(), BackupFault::NoHiveSaved);
    ExpectNothingLeft(engine, sets.path(), TempSaves());
    EXPECT_EQ(std::string(BackupFaultText(engine)), std::string(LoadTextById(IDS_BKP_FAILED)));
}

// A location whose name ends with 俓 (82 5C): its last byte is no backslash.
TEST(Completeness, LocationWithADoubleByteNameHoldsTheWholeSet)
{
    const std::string jing = testsupport::Ansi(u8"俓");
    ASSERT_EQ(jing, "\x82\x5C");
    SettingsScope settings;
    ScratchDir base("rb-dbcs", "D:\\toolhost-tests");
    const std::string location = base.path() + "\\" + jing;
    ASSERT_TRUE(testsupport::MakeDirs(location));
    HiveListSeed seed;
    SeedBlobHive(seed, "Dbcs", 500);
    for (const std::string& typed : {location, location + "\\"}) {
        CHiveBackup engine;
        engine.SetLocation(typed.c_str());
        engine.SetBackupTime(At(3, 4, 2005, 6, typed == location ? 7 : 8));
        SilentProgress silent;
        engine.Run(silent);
        ASSERT_TRUE(engine.SetWritten()) << int(engine.LastFault());
        const std::string folder = location + "\\3-4-2005_6-" + (typed == location ? "7" : "8");
        EXPECT_EQ(std::string(engine.InfoPath()), folder + "\\info.arb");
        EXPECT_EQ(ListFiles(folder), (std::vector<std::string>{"Sys1", "info.arb"}));
        std::vector<HiveCheck> hives;
        EXPECT_TRUE(VerifySetCopies(engine.InfoPath(), hives));
        EXPECT_TRUE(engine.ValidateSet(engine.InfoPath()));
        EXPECT_EQ(std::string(SetFolderNameOfInfo(engine.InfoPath())), "3-4-2005_6-" + std::string(typed == location ? "7" : "8"));
    }
    // Nothing was made beside the folder, under a name cut from it.
    EXPECT_EQ(ListFiles(base.path()), (std::vector<std::string>{jing}));
    CHiveBackup engine;
    CStringArray sets;
    engine.ListSets(sets);
    ASSERT_EQ(sets.GetSize(), 2);
    for (int i = 0; i < sets.GetSize(); ++i) engine.DeleteSet(sets[i]);
    EXPECT_TRUE(ListFiles(location).empty());
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, kTestKey);
}
