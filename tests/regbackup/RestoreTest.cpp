// Restore at the next start (NT line): what is handed to Windows, and that a
// set that is incomplete or damaged is refused before anything is touched.
#include <gtest/gtest.h>

#include <algorithm>
#include <vantor/FileCopy.h>

#include "RegbackupTestSupport.h"
#include "regbackup/ArbFormat.h"
#include "regbackup/HiveBackup.h"

using namespace rbtest;
using testsupport::FileExists;
using testsupport::ReadFileBytes;
using testsupport::ScratchDir;
using testsupport::WriteFileBytes;

namespace {

// The restore's temporary files in the system folder.
std::vector<std::string> RestoreTemps()
{
    std::vector<std::string> all = ListFiles(SystemDir(), "RBK*");
    return all;
}

// A set of encoded copies of the given texts: Sys1.. for machine hives, User1.. for user hives.
std::string EncodedSet(const std::string& folder, const std::vector<std::pair<bool, std::string>>& hives)
{
    testsupport::MakeDirs(folder);
    ArbIndex index;
    index.systemDir = SystemDir().c_str();
    int sys = 1, user = 1;
    CFileCopy copier;
    for (size_t i = 0; i < hives.size(); ++i) {
        ArbEntry e;
        e.root = hives[i].first ? 0x80000002 : 0x80000003;
        e.name.Format(hives[i].first ? "Sys%d" : "User%d", hives[i].first ? sys++ : user++);
        e.subkey.Format("Software\\ToolhostTests\\RegBackup\\Hive%d", int(i));
        const std::string plain = folder + "\\plain.tmp";
        WriteFileBytes(plain, hives[i].second);
        copier.CopyFileEnc(plain.c_str(), (folder + "\\" + e.name.GetString()).c_str());
        DeleteFileA(plain.c_str());
        index.entries.push_back(e);
    }
    const std::string info = folder + "\\info.arb";
    WriteFileBytes(info, EncodeArbIndex(index));
    return info;
}

}  // namespace

TEST(Restore, SetWithoutEntriesRequestsTheRestartOnly)
{
    ScratchDir dir("rb-restore-empty");
    const std::string info = EncodedSet(dir.path() + "\\1-1-2001_1-1", {});
    FakePlatform platform;
    CHiveBackup engine;
    EXPECT_EQ(engine.Restore(info.c_str()), 1);
    EXPECT_TRUE(platform.replaces.empty());
    ASSERT_EQ(platform.restarts.size(), 1u);
    EXPECT_EQ(platform.restarts[0].flags, UINT(EWX_REBOOT));  // not forced
    EXPECT_EQ(platform.restarts[0].reason, 4u);
}

TEST(Restore, SetMissingAUserCopyIsRefusedBeforeAnyFileIsWritten)
{
    ScratchDir dir("rb-restore-missing");
    const std::string info = EncodedSet(dir.path() + "\\1-1-2001_1-1",
                                        {{true, "machine"}, {false, "user one"}, {false, "user two"}});
    DeleteFileA((dir.path() + "\\1-1-2001_1-1\\User2").c_str());
    const std::vector<std::string> before = RestoreTemps();
    FakePlatform platform;
    CHiveBackup engine;
    EXPECT_EQ(engine.Restore(info.c_str()), 0);
    EXPECT_EQ(engine.LastRestoreFault(), RestoreFault::MissingCopy);
    EXPECT_TRUE(platform.replaces.empty());
    EXPECT_TRUE(platform.restarts.empty());
    EXPECT_EQ(RestoreTemps(), before);
    EXPECT_FALSE(engine.ValidateSet(info.c_str()));
}

TEST(Restore, CopyWithAFlippedByteIsNeverHandedToWindows)
{
    ScratchDir dir("rb-restore-flipped");
    const std::string folder = dir.path() + "\\1-1-2001_1-1";
    const std::string info = EncodedSet(folder, {{true, std::string(100000, 'm')}, {false, std::string(50000, 'u')}});
    std::string copy = ReadFileBytes(folder + "\\User1");
    ASSERT_GT(copy.size(), 40000u);
    copy[copy.size() / 2] ^= 0x01;
    WriteFileBytes(folder + "\\User1", copy);

    const std::vector<std::string> before = RestoreTemps();
    FakePlatform platform;
    CHiveBackup engine;
    EXPECT_TRUE(engine.ValidateSet(info.c_str()));  // the files are all there...
    EXPECT_EQ(engine.Restore(info.c_str()), 0);     // ...but one does not decode
    EXPECT_EQ(engine.LastRestoreFault(), RestoreFault::DamagedCopy);
    EXPECT_TRUE(platform.replaces.empty());
    EXPECT_TRUE(platform.restarts.empty());
    EXPECT_EQ(RestoreTemps(), before);  // the copy decoded before it is removed again

    // A truncated copy is refused the same way.
    const std::string sys = ReadFileBytes(folder + "\\Sys1");
    WriteFileBytes(folder + "\\User1", ReadFileBytes(folder + "\\Sys1").substr(0, sys.size() - 7));
    EXPECT_EQ(engine.Restore(info.c_str()), 0);
    EXPECT_TRUE(platform.restarts.empty());
}

TEST(Restore, RoundTripGivesBackTheHiveAsItWasSaved)
{
    SettingsScope settings;
    ScratchDir sets("rb-roundtrip");
    const std::string key = std::string(kTestKey) + "\\RoundTrip";
    SetStringValue(HKEY_LOCAL_MACHINE, key, "Colour", "blue");
    SetStringValue(HKEY_LOCAL_MACHINE, key + "\\Inner", "Size", "large");
    HiveListSeed seed;
    seed.Add("\\REGISTRY\\MACHINE\\" + key, "\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\ROUNDTRIP");

    CHiveBackup engine;
    engine.SetLocation(sets.path().c_str());
    SilentProgress silent;
    engine.Run(silent);
    ASSERT_EQ(engine.SavedCount(), 1);
    const std::string before = TempFileName("rb-roundtrip-before");
    ASSERT_TRUE(SaveKeyTo(HKEY_LOCAL_MACHINE, key, before));
    const std::string saved = ReadFileBytes(before);
    DeleteFileA(before.c_str());
    ASSERT_NE(saved.find("blue"), std::string::npos);

    // The user changes the key after the backup.
    SetStringValue(HKEY_LOCAL_MACHINE, key, "Colour", "red");
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, (key + "\\Inner").c_str());

    FakePlatform platform;
    CHiveBackup restorer;
    EXPECT_EQ(restorer.Restore(engine.InfoPath()), 1);
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, kTestKey);
    ASSERT_EQ(platform.replaces.size(), 1u);
    const FakePlatform::Replace& r = platform.replaces[0];
    EXPECT_EQ(r.root, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(r.subKey, key);
    EXPECT_EQ(r.newFileBytes, saved);
    // RBKnnnn.TMP in the system folder; the old hive is kept as RBKnnnn.bak beside it.
    std::string lowerNew = r.newFile, system = SystemDir();
    CharLowerBuffA(&lowerNew[0], DWORD(lowerNew.size()));
    CharLowerBuffA(&system[0], DWORD(system.size()));
    EXPECT_EQ(lowerNew.find(system + "\\rbk"), 0u) << r.newFile;
    EXPECT_EQ(lowerNew.substr(lowerNew.size() - 4), ".tmp");
    EXPECT_EQ(r.oldFile, r.newFile.substr(0, r.newFile.size() - 4) + ".bak");
    EXPECT_TRUE(FileExists(r.newFile));
    ASSERT_EQ(platform.restarts.size(), 1u);
    EXPECT_EQ(platform.restarts[0].flags, UINT(EWX_REBOOT));
    EXPECT_EQ(platform.restarts[0].reason, 4u);

    CHiveBackup cleaner;
    cleaner.DeleteSet(engine.InfoPath());
}
