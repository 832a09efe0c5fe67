// The hive list: how hivelist names and device paths are read, and what a
// run over seeded hives shows while it saves them.
#include <gtest/gtest.h>

#include "RegbackupTestSupport.h"
#include "regbackup/HiveBackup.h"
#include "regbackup/HiveTools.h"

using namespace rbtest;
using testsupport::ScratchDir;

namespace {

class RecordingProgress : public BackupProgress {
public:
    void SetRange(int low, int high) override { ranges.push_back({low, high}); }
    void SetPos(int pos) override { positions.push_back(pos); }
    void SetText(LPCSTR text) override { texts.push_back(text); }
    std::vector<std::pair<int, int>> ranges;
    std::vector<int> positions;
    std::vector<std::string> texts;
};

std::string Split(const char* name, HKEY& root)
{
    CString subkey;
    root = SplitHiveName(name, subkey);
    return subkey.GetString();
}

std::string DrivePath(const char* device)
{
    CString path(device);
    DeviceToDrivePath(path);
    return path.GetString();
}

}  // namespace

TEST(HiveList, NamesSplitIntoRootAndSubkeyInAnyCase)
{
    HKEY root = NULL;
    EXPECT_EQ(Split("\\REGISTRY\\MACHINE\\SOFTWARE", root), "SOFTWARE");
    EXPECT_EQ(root, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(Split("\\registry\\Machine\\System", root), "System");  // case of the subkey kept
    EXPECT_EQ(root, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(Split("\\REGISTRY\\USER\\S-1-5-21-1-2-3-1000", root), "S-1-5-21-1-2-3-1000");
    EXPECT_EQ(root, HKEY_USERS);
    EXPECT_EQ(Split("\\REGISTRY\\USER\\S-1-5-21-1-2-3-1000_Classes", root), "S-1-5-21-1-2-3-1000_Classes");
    EXPECT_EQ(root, HKEY_USERS);
    EXPECT_EQ(Split("\\Registry\\uSeR\\.DEFAULT", root), ".DEFAULT");
    EXPECT_EQ(root, HKEY_USERS);
    // Only the first marker counts: a machine key named "User" stays a machine key.
    EXPECT_EQ(Split("\\REGISTRY\\MACHINE\\SOFTWARE\\User\\X", root), "SOFTWARE\\User\\X");
    EXPECT_EQ(root, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(Split("\\REGISTRY\\OTHER\\HARDWARE", root), "\\REGISTRY\\OTHER\\HARDWARE");
    EXPECT_EQ(root, (HKEY)NULL);
}

TEST(HiveList, DevicePathsBecomeSystemDrivePaths)
{
    const std::string system = SystemDir();  // C:\windows\system32 here
    const std::string drive = system.substr(0, 2);
    char folder[_MAX_DIR];
    _splitpath(system.c_str(), NULL, folder, NULL, NULL);  // "\windows\"

    EXPECT_EQ(DrivePath("\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\SOFTWARE"),
              drive + "\\WINDOWS\\system32\\config\\SOFTWARE");
    EXPECT_EQ(DrivePath("\\Device\\HarddiskVolume1\\Documents and Settings\\user1\\NTUSER.DAT"),
              drive + "\\Documents and Settings\\user1\\NTUSER.DAT");
    EXPECT_EQ(DrivePath("\\Device\\HarddiskVolume2\\Dokumente und Einstellungen\\anna\\NTUSER.DAT"),
              drive + "\\Dokumente und Einstellungen\\anna\\NTUSER.DAT");
    // The NT 4 profile folder below the Windows folder.
    const std::string profile = std::string("\\Device\\HarddiskVolume1") + folder + "Profiles\\user1\\ntuser.dat";
    EXPECT_EQ(DrivePath(profile.c_str()), drive + folder + "Profiles\\user1\\ntuser.dat");
    // The system folder is looked for first, wherever the documents marker stands.
    EXPECT_EQ(DrivePath("\\Device\\X\\Documents\\WINDOWS\\SYSTEM32\\a"), drive + "\\WINDOWS\\SYSTEM32\\a");
    EXPECT_EQ(DrivePath("\\Device\\HarddiskVolume1\\Elsewhere\\hive"), "\\Device\\HarddiskVolume1\\Elsewhere\\hive");
    EXPECT_EQ(DrivePath(""), "");
}

TEST(HiveList, TempNamesAreFreshAndStepped)
{
    ScratchDir dir("rb-tempnames");
    TempNameCounter counter;
    const CString first = MakeTempName(dir.path().c_str(), "RBK", counter, "fallback");
    ASSERT_TRUE(counter.seeded);
    // A leftover file of the next name is removed so that RegSaveKeyA can create it.
    TempNameCounter peek = counter;
    const CString next = MakeTempName(dir.path().c_str(), "RBK", peek, "fallback");
    ASSERT_TRUE(testsupport::WriteFileBytes(next.GetString(), "old"));
    const CString second = MakeTempName(dir.path().c_str(), "RBK", counter, "fallback");
    EXPECT_EQ(std::string(second), std::string(next));
    EXPECT_FALSE(testsupport::FileExists(second.GetString()));
    EXPECT_NE(std::string(first), std::string(second));
    EXPECT_EQ(std::string(first).find(dir.path() + "\\RBK"), 0u);
    EXPECT_EQ(std::string(MakeTempName("Q:\\no\\such\\folder", "RBK", counter, "fallback")), "fallback");
}

TEST(HiveList, RunOverThreeHivesShowsItsProgress)
{
    SettingsScope settings;
    ScratchDir sets("rb-progress");
    const std::string base = std::string(kTestKey) + "\\Progress";
    for (const char* name : {"\\One", "\\Two"}) SetStringValue(HKEY_LOCAL_MACHINE, base + name, "v", "machine");
    SetStringValue(HKEY_CURRENT_USER, base + "\\Three", "v", "user");
    HiveListSeed seed;
    seed.Add("\\REGISTRY\\MACHINE\\" + base + "\\One", "\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\ONE");
    seed.Add("\\REGISTRY\\MACHINE\\" + base + "\\Two", "\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\TWO");
    seed.Add("\\REGISTRY\\USER\\" + UserSid() + "\\" + base + "\\Three",
             "\\Device\\HarddiskVolume1\\Documents and Settings\\user1\\NTUSER.DAT");

    CHiveBackup engine;
    engine.SetLocation(sets.path().c_str());
    RecordingProgress progress;
    engine.Run(progress);

    ASSERT_EQ(progress.ranges.size(), 1u);
    EXPECT_EQ(progress.ranges[0], std::make_pair(0, 3));
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(progress.texts, (std::vector<std::string>{"Number of Keys to Backup 3", "33% Completed ",
                                                        "66% Completed ", "100% Completed "}));
    EXPECT_EQ(engine.SavedCount(), 3);
    EXPECT_TRUE(engine.SetWritten());
    // The saved hives' temporary files are gone from the system folder.
    for (const HiveRecord& record : engine.m_records) EXPECT_FALSE(testsupport::FileExists(record.tempFile.GetString()));

    SHDeleteKeyA(HKEY_LOCAL_MACHINE, kTestKey);
    SHDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
}

TEST(HiveList, PrivilegesForBackupRestoreAndRestartAreEnabled)
{
    EXPECT_EQ(EnableBackupPrivileges(), 1);
    // Once enabled, a second call only opens the token.
    EXPECT_EQ(EnableBackupPrivileges(), 1);
}
