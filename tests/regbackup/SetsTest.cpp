// Backup sets: where they go, what info.arb holds byte for byte, how they
// are recorded, listed, imported and deleted, and that a damaged index is
// never more than an invalid set.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vantor/FileCopy.h>

#include "RegbackupTestSupport.h"
#include "regbackup/ArbFormat.h"
#include "regbackup/HiveBackup.h"
#include "regbackup/SetFolder.h"
#include "regbackup/SetImport.h"
#include "regbackup/SetRecords.h"
#include "host/HostServices.h"
#include <vantres/ids_backup.h>

using namespace rbtest;
using testsupport::FileExists;
using testsupport::ReadFileBytes;
using testsupport::ScratchDir;
using testsupport::WriteFileBytes;

namespace {

std::string Field(const std::string& bytes, size_t at, size_t size)
{
    return bytes.substr(at, size);
}

std::string Padded(const std::string& text, size_t size) { return text + std::string(size - text.size(), '\0'); }

DWORD Dword(const std::string& bytes, size_t at)
{
    DWORD v = 0;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

// A set in `folder` with the given entries, written as the engine writes it.
std::string WriteSet(const std::string& folder, const std::vector<ArbEntry>& entries, bool withCopies = true)
{
    ArbIndex index;
    index.systemDir = SystemDir().c_str();
    index.entries = entries;
    testsupport::MakeDirs(folder);
    const std::string info = folder + "\\info.arb";
    WriteFileBytes(info, EncodeArbIndex(index));
    if (withCopies)
        for (const ArbEntry& e : entries) WriteFileBytes(folder + "\\" + e.name.GetString(), "copy of " + std::string(e.name));
    return info;
}

ArbEntry Entry(DWORD root, const char* name, const char* subkey)
{
    ArbEntry e;
    e.root = root;
    e.name = name;
    e.subkey = subkey;
    e.hiveFile = "C:\\WINDOWS\\system32\\config\\X";
    return e;
}

}  // namespace

TEST(SetFolder, NamedByTheLocalTimeWithoutLeadingZeros)
{
    EXPECT_EQ(std::string(SetFolderName(At(4, 9, 2005, 15, 45))), "4-9-2005_15-45");
    EXPECT_EQ(std::string(SetFolderName(At(31, 12, 1999, 0, 5))), "31-12-1999_0-5");
    const SetDate d = ParseSetFolderName("4-9-2005_15-45");
    EXPECT_EQ((std::vector<int>{d.day, d.month, d.year, d.hour, d.minute}), (std::vector<int>{4, 9, 2005, 15, 45}));
    // The second set of a minute keeps a name the list still reads.
    const SetDate second = ParseSetFolderName("4-9-2005_15-45_2");
    EXPECT_EQ((std::vector<int>{second.day, second.month, second.year, second.hour, second.minute}),
              (std::vector<int>{4, 9, 2005, 15, 45}));
    const SetDate renamed = ParseSetFolderName("MyBackup");
    EXPECT_EQ((std::vector<int>{renamed.day, renamed.month, renamed.year, renamed.hour, renamed.minute}),
              (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(std::string(SetFolderNameOfInfo("D:\\Backups\\4-9-2005_15-45\\info.arb")), "4-9-2005_15-45");
}

TEST(SetFolder, ChosenLocationWithOrWithoutTrailingBackslash)
{
    ScratchDir base("rb-location", "D:\\toolhost-tests");
    const struct tm when = At(4, 9, 2005, 15, 45);
    EXPECT_EQ(std::string(PrepareSetFolder((base.path() + "\\").c_str(), true, when)),
              base.path() + "\\4-9-2005_15-45");
    EXPECT_TRUE(FileExists(base.path() + "\\4-9-2005_15-45"));
    // Blanks around the text do not matter.
    const std::string again = PrepareSetFolder(("  " + base.path() + "  ").c_str(), true, At(5, 9, 2005, 8, 0)).GetString();
    EXPECT_EQ(again, base.path() + "\\5-9-2005_8-0");
}

TEST(SetFolder, TwoBackupsInOneMinuteGetFoldersOfTheirOwn)
{
    ScratchDir base("rb-sameminute");
    const struct tm when = At(4, 9, 2005, 15, 45);
    const std::string first = PrepareSetFolder(base.path().c_str(), true, when).GetString();
    WriteFileBytes(first + "\\info.arb", "index of the first set");
    const std::string second = PrepareSetFolder(base.path().c_str(), true, when).GetString();
    EXPECT_EQ(first, base.path() + "\\4-9-2005_15-45");
    EXPECT_EQ(second, base.path() + "\\4-9-2005_15-45_2");
    EXPECT_EQ(ReadFileBytes(first + "\\info.arb"), "index of the first set");
}

TEST(SetFolder, NoChosenLocationUsesTheDefaultBase)
{
    // On a fixed drive the default base is the program's own folder.
    ScratchDir program("rb-program");
    const std::string exe = program.path() + "\\toolhost.exe";
    // Three characters or fewer in the box: no user location at all.
    EXPECT_EQ(std::string(PrepareSetFolder("", false, At(6, 1, 2010, 9, 31), exe.c_str())),
              program.path() + "\\6-1-2010_9-31");
    // A program on the CD drive: the documents folder's "Adv Reg Backup".
    char documents[MAX_PATH] = {};
    SHGetFolderPathA(NULL, CSIDL_PERSONAL, NULL, 0, documents);
    const std::string expected = std::string(documents) + "\\Adv Reg Backup\\6-1-2010_9-32";
    EXPECT_EQ(std::string(PrepareSetFolder("", false, At(6, 1, 2010, 9, 32), "F:\\toolhost.exe")), expected);
    EXPECT_TRUE(FileExists(expected));
    testsupport::RemoveTree(std::string(documents) + "\\Adv Reg Backup");
}

// The set goes where the user asked or nowhere: a chosen folder that is not
// there yet is made, and one that cannot be made is never swapped for the
// program's folder.
TEST(SetFolder, AChosenLocationThatIsNotThereIsMadeOrTheBackupFails)
{
    ScratchDir base("rb-newplace");
    ScratchDir program("rb-program2");
    const std::string exe = program.path() + "\\toolhost.exe";
    const std::string chosen = base.path() + "\\new\\sets";
    EXPECT_EQ(std::string(PrepareSetFolder(chosen.c_str(), true, At(6, 1, 2010, 9, 30), exe.c_str())),
              chosen + "\\6-1-2010_9-30");
    EXPECT_TRUE(FileExists(chosen + "\\6-1-2010_9-30"));
    // No such drive: nothing is made anywhere.
    EXPECT_EQ(std::string(PrepareSetFolder("Q:\\nowhere\\sets", true, At(6, 1, 2010, 9, 33), exe.c_str())), "c:");
    EXPECT_FALSE(FileExists(program.path() + "\\6-1-2010_9-33"));
}

TEST(SetFolder, NoFolderPossibleEndsAtTheDriveC)
{
    ScratchDir base("rb-nofolder");
    // The chosen "location" exists but is a file: nothing can be made below it.
    const std::string file = base.path() + "\\plain-file";
    WriteFileBytes(file, "x");
    EXPECT_EQ(std::string(PrepareSetFolder(file.c_str(), true, At(1, 2, 2003, 4, 5))), "c:");
}

TEST(ArbFormat, NtIndexByteForByte)
{
    ArbIndex index;
    index.systemDir = "C:\\WINDOWS\\system32";
    index.entries.push_back(Entry(0x80000002, "Sys1", "SOFTWARE"));
    index.entries.push_back(Entry(0x80000003, "User1", "S-1-5-21-7-1000"));
    index.entries[1].hiveFile = "C:\\Documents and Settings\\user1\\NTUSER.DAT";
    const std::string bytes = EncodeArbIndex(index);

    ASSERT_EQ(bytes.size(), 264u + 2 * 1540u);
    EXPECT_EQ(Dword(bytes, 0), 2u);
    EXPECT_EQ(Field(bytes, 4, 260), Padded("C:\\WINDOWS\\system32", 260));
    EXPECT_EQ(Dword(bytes, 264), 0x80000002u);
    EXPECT_EQ(Field(bytes, 268, 512), Padded("Sys1", 512));
    EXPECT_EQ(Field(bytes, 780, 512), Padded("SOFTWARE", 512));
    EXPECT_EQ(Field(bytes, 1292, 512), Padded("C:\\WINDOWS\\system32\\config\\X", 512));
    EXPECT_EQ(Dword(bytes, 1804), 0x80000003u);
    EXPECT_EQ(Field(bytes, 1808, 512), Padded("User1", 512));
    EXPECT_EQ(Field(bytes, 2320, 512), Padded("S-1-5-21-7-1000", 512));
    EXPECT_EQ(Field(bytes, 2832, 512), Padded("C:\\Documents and Settings\\user1\\NTUSER.DAT", 512));

    ArbIndex back;
    ASSERT_TRUE(DecodeArbIndex(bytes, back));
    ASSERT_EQ(back.entries.size(), 2u);
    EXPECT_EQ(std::string(back.entries[1].subkey), "S-1-5-21-7-1000");
    EXPECT_EQ(std::string(back.systemDir), "C:\\WINDOWS\\system32");
}

TEST(ArbFormat, LegacyRecordByteForByte)
{
    ArbLegacyRecord record;
    record.sys = "C:\\sets\\4-9-2005_15-45\\Sys";
    record.user = "C:\\sets\\4-9-2005_15-45\\User";
    const std::string bytes = EncodeLegacyRecord(record);
    ASSERT_EQ(bytes.size(), 522u);
    EXPECT_EQ(Field(bytes, 0, 261), Padded("C:\\sets\\4-9-2005_15-45\\Sys", 261));
    EXPECT_EQ(Field(bytes, 261, 261), Padded("C:\\sets\\4-9-2005_15-45\\User", 261));
    ArbLegacyRecord back;
    EXPECT_TRUE(DecodeLegacyRecord(bytes, back));
    EXPECT_FALSE(DecodeLegacyRecord(bytes.substr(0, 521), back));
}

TEST(ArbFormat, DamagedOrHostileIndexIsInvalid)
{
    ArbIndex index;
    index.systemDir = "C:\\WINDOWS\\system32";
    index.entries.push_back(Entry(0x80000002, "Sys1", "SOFTWARE"));
    const std::string good = EncodeArbIndex(index);
    ArbIndex out;
    ASSERT_TRUE(DecodeArbIndex(good, out));

    std::string bigCount = good;
    bigCount[0] = char(0xFF), bigCount[1] = char(0xFF), bigCount[2] = char(0xFF), bigCount[3] = char(0x7F);
    EXPECT_FALSE(DecodeArbIndex(bigCount, out));
    std::string twoCounted = good;
    twoCounted[0] = 2;  // one entry present, two announced
    EXPECT_FALSE(DecodeArbIndex(twoCounted, out));
    EXPECT_FALSE(DecodeArbIndex(good.substr(0, good.size() - 1), out));  // short read
    EXPECT_FALSE(DecodeArbIndex(good.substr(0, 100), out));
    std::string noNul = good;
    std::memset(&noNul[268], 'A', 512);  // the copy name fills its field
    EXPECT_FALSE(DecodeArbIndex(noNul, out));
    std::string dirNoNul = good;
    std::memset(&dirNoNul[4], 'D', 260);
    EXPECT_FALSE(DecodeArbIndex(dirNoNul, out));
    std::string badRoot = good;
    badRoot[264] = 0x05;
    EXPECT_FALSE(DecodeArbIndex(badRoot, out));
    ArbIndex hostile = index;
    hostile.entries[0].name = "..\\..\\boot.ini";
    EXPECT_FALSE(DecodeArbIndex(EncodeArbIndex(hostile), out));
    hostile.entries[0].name = "C:evil";
    EXPECT_FALSE(DecodeArbIndex(EncodeArbIndex(hostile), out));

    // The engines take such a file for an invalid set and delete nothing it names.
    SettingsScope settings;
    ScratchDir dir("rb-hostile");
    const std::string outside = dir.path() + "\\keep.txt";
    WriteFileBytes(outside, "keep");
    testsupport::MakeDirs(dir.path() + "\\set");
    hostile.entries[0].name = "..\\keep.txt";
    WriteFileBytes(dir.path() + "\\set\\info.arb", EncodeArbIndex(hostile));
    CHiveBackup engine;
    EXPECT_FALSE(engine.ValidateSet((dir.path() + "\\set\\info.arb").c_str()));
    engine.DeleteSet((dir.path() + "\\set\\info.arb").c_str());
    EXPECT_EQ(ReadFileBytes(outside), "keep");
    WriteFileBytes(dir.path() + "\\short.arb", bigCount);
    EXPECT_FALSE(engine.ValidateSet((dir.path() + "\\short.arb").c_str()));
    EXPECT_EQ(engine.Restore((dir.path() + "\\short.arb").c_str()), 0);
}

TEST(ArbFormat, IndexIsReplacedWholeNeverHalfWritten)
{
    ScratchDir dir("rb-atomic");
    const std::string info = dir.path() + "\\info.arb";
    WriteFileBytes(info, "old index");
    ASSERT_TRUE(WriteFileReplacing(info.c_str(), std::string(264, 'n')));
    EXPECT_EQ(ReadFileBytes(info), std::string(264, 'n'));
    EXPECT_EQ(ListFiles(dir.path()), (std::vector<std::string>{"info.arb"}));  // no temporary left
    // A folder that cannot take the file leaves nothing behind.
    EXPECT_FALSE(WriteFileReplacing((dir.path() + "\\missing\\info.arb").c_str(), "x"));
}

TEST(Sets, EntriesNumberedByKindAndFailedHivesLeftOut)
{
    SettingsScope settings;
    ScratchDir sets("rb-numbering");
    const std::string base = std::string(kTestKey) + "\\Numbering";
    const std::string sid = UserSid();
    for (const char* n : {"\\M1", "\\M2"}) SetStringValue(HKEY_LOCAL_MACHINE, base + n, "v", n);
    for (const char* n : {"\\U1", "\\U2", "\\U3"}) SetStringValue(HKEY_CURRENT_USER, base + n, "v", n);
    HiveListSeed seed;
    seed.Add("\\REGISTRY\\MACHINE\\" + base + "\\M1", "\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\M1");
    seed.Add("\\REGISTRY\\USER\\" + sid + "\\" + base + "\\U1", "\\Device\\HarddiskVolume1\\Documents and Settings\\a\\U1");
    seed.Add("\\REGISTRY\\MACHINE\\" + base + "\\Gone", "\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\GONE");
    seed.Add("\\REGISTRY\\MACHINE\\" + base + "\\M2", "\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\M2");
    seed.Add("\\REGISTRY\\USER\\" + sid + "\\" + base + "\\U2", "\\Device\\HarddiskVolume1\\Documents and Settings\\a\\U2");
    seed.Add("\\REGISTRY\\ELSEWHERE\\X", "\\Device\\HarddiskVolume1\\X");
    seed.Add("\\REGISTRY\\USER\\" + sid + "\\" + base + "\\U3", "\\Device\\HarddiskVolume1\\Documents and Settings\\a\\U3");

    CHiveBackup engine;
    engine.SetLocation(sets.path().c_str());
    engine.SetBackupTime(At(7, 3, 2004, 10, 20));
    struct Silent : BackupProgress {
        void SetRange(int, int) override {}
        void SetPos(int) override {}
        void SetText(LPCSTR) override {}
    } silent;
    engine.Run(silent);
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, kTestKey);
    SHDeleteKeyA(HKEY_CURRENT_USER, kTestKey);

    const std::string folder = sets.path() + "\\7-3-2004_10-20";
    ASSERT_EQ(std::string(engine.InfoPath()), folder + "\\info.arb");
    ArbIndex index;
    ASSERT_TRUE(ReadArbIndex(engine.InfoPath(), index));
    // Numbered in the order the hive list gives its values (Wine keeps them
    // sorted by name, Windows in the order they were made).
    std::vector<std::string> expectedNames, expectedSubkeys;
    int nSys = 1, nUser = 1;
    for (int i = 0; i < engine.m_hiveNames.GetSize(); ++i) {
        const std::string name = engine.m_hiveNames[i].GetString();
        const size_t tail = name.rfind('\\');
        const std::string leaf = name.substr(tail + 1);
        if (leaf == "Gone" || leaf == "X") continue;
        const bool machine = leaf[0] == 'M';
        expectedNames.push_back(machine ? "Sys" + std::to_string(nSys++) : "User" + std::to_string(nUser++));
        expectedSubkeys.push_back((machine ? base : sid + "\\" + base) + "\\" + leaf);
    }
    ASSERT_EQ(expectedNames.size(), 5u);
    ASSERT_EQ(index.entries.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(std::string(index.entries[i].name), expectedNames[i]);
        EXPECT_EQ(index.entries[i].root, expectedNames[i][0] == 'S' ? 0x80000002u : 0x80000003u);
        EXPECT_EQ(std::string(index.entries[i].subkey), expectedSubkeys[i]);
    }
    for (const ArbEntry& e : index.entries) {
        if (std::string(e.subkey) == base + "\\M1") {
            EXPECT_EQ(std::string(e.hiveFile), SystemDir().substr(0, 2) + "\\WINDOWS\\system32\\config\\M1");
        }
    }
    EXPECT_EQ(std::string(index.systemDir), SystemDir());
    EXPECT_EQ(ListFiles(folder), (std::vector<std::string>{"Sys1", "Sys2", "User1", "User2", "User3", "info.arb"}));
    // Each copy decodes to a saved hive.
    CFileCopy copier;
    const std::string decoded = TempFileName("rb-decoded");
    for (const ArbEntry& e : index.entries) {
        ASSERT_TRUE(copier.CopyFileDec((folder + "\\" + e.name.GetString()).c_str(), decoded.c_str()));
        const std::string subkey = e.subkey.GetString();
        EXPECT_NE(ReadFileBytes(decoded).find(subkey.substr(subkey.size() - 3)), std::string::npos) << subkey;
    }
    DeleteFileA(decoded.c_str());
    EXPECT_EQ(RecordedSets(HKEY_CURRENT_USER), (std::vector<std::string>{folder + "\\info.arb"}));
}

TEST(Sets, ListingDropsSetsWhoseIndexIsGone)
{
    SettingsScope settings;
    ScratchDir dir("rb-listing");
    const std::string a = WriteSet(dir.path() + "\\1-1-2001_1-1", {Entry(0x80000002, "Sys1", "SOFTWARE")});
    const std::string b = WriteSet(dir.path() + "\\2-2-2002_2-2", {Entry(0x80000002, "Sys1", "SOFTWARE")});
    const std::string c = WriteSet(dir.path() + "\\3-3-2003_3-3", {});
    CHiveBackup engine;
    for (const std::string* p : {&a, &b, &c}) ASSERT_TRUE(engine.RegisterSet(p->c_str()));
    DeleteFileA(b.c_str());

    CStringArray listed;
    engine.ListSets(listed);
    ASSERT_EQ(listed.GetSize(), 2);
    std::vector<std::string> names = {listed[0].GetString(), listed[1].GetString()};
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{a, c}));
    // The stale value is gone from the record.
    std::vector<std::string> recorded = RecordedSets(HKEY_CURRENT_USER);
    std::sort(recorded.begin(), recorded.end());
    EXPECT_EQ(recorded, (std::vector<std::string>{a, c}));
    EXPECT_EQ(testsupport::RegDword(HKEY_CURRENT_USER, std::string(kSettingsPath) + "\\AdvRegBackup", a.c_str()), 0u);
}

TEST(Sets, ImportChecksTheRecordAndTheFiles)
{
    SettingsScope settings;
    ScratchDir dir("rb-import");
    const std::string listedSet = WriteSet(dir.path() + "\\Listed", {Entry(0x80000003, "User1", "S-1-5-21-9")});
    const std::string foreign = WriteSet(dir.path() + "\\Foreign", {Entry(0x80000002, "Sys1", "SYSTEM")});
    const std::string broken = WriteSet(dir.path() + "\\Broken", {Entry(0x80000002, "Sys1", "SYSTEM"),
                                                                   Entry(0x80000003, "User1", "S-1-5-21-9")});
    DeleteFileA((dir.path() + "\\Broken\\User1").c_str());
    CHiveBackup engine;
    engine.RegisterSet(listedSet.c_str());

    CString log;
    std::string upper = listedSet;
    CharUpperBuffA(&upper[0], DWORD(upper.size()));
    EXPECT_EQ(ImportSetFile(BackupLine::NT, upper.c_str(), log), ImportResult::AlreadyListed);
    const std::string first = "Located the file now reading the file records.\r\n";
    EXPECT_EQ(std::string(log), first + LoadTextById(IDS_BKL_ALREADY_LISTED));
    EXPECT_EQ(RecordedSets(HKEY_CURRENT_USER), (std::vector<std::string>{listedSet}));

    EXPECT_EQ(ImportSetFile(BackupLine::NT, broken.c_str(), log), ImportResult::Damaged);
    EXPECT_EQ(std::string(log), first + LoadTextById(IDS_BKL_DAMAGED));
    EXPECT_EQ(RecordedSets(HKEY_CURRENT_USER), (std::vector<std::string>{listedSet}));

    EXPECT_EQ(ImportSetFile(BackupLine::NT, foreign.c_str(), log), ImportResult::Imported);
    EXPECT_EQ(std::string(log), first + LoadTextById(IDS_BKL_IMPORTED));
    std::vector<std::string> recorded = RecordedSets(HKEY_CURRENT_USER);
    std::sort(recorded.begin(), recorded.end());
    EXPECT_EQ(recorded, (std::vector<std::string>{foreign, listedSet}));
}

TEST(Sets, DeleteLeavesAFolderThatHoldsForeignFiles)
{
    SettingsScope settings;
    ScratchDir dir("rb-delete");
    const std::string own = WriteSet(dir.path() + "\\1-1-2001_1-1",
                                     {Entry(0x80000002, "Sys1", "SOFTWARE"), Entry(0x80000003, "User1", "S-1")});
    const std::string mixed = WriteSet(dir.path() + "\\2-2-2002_2-2", {Entry(0x80000002, "Sys1", "SOFTWARE")});
    WriteFileBytes(dir.path() + "\\2-2-2002_2-2\\notes.txt", "the user's own file");
    CHiveBackup engine;
    engine.RegisterSet(own.c_str());
    engine.RegisterSet(mixed.c_str());

    engine.DeleteSet(own.c_str());
    engine.DeleteSet(mixed.c_str());
    EXPECT_FALSE(FileExists(dir.path() + "\\1-1-2001_1-1"));
    EXPECT_EQ(ListFiles(dir.path() + "\\2-2-2002_2-2"), (std::vector<std::string>{"notes.txt"}));
    CStringArray listed;
    engine.ListSets(listed);
    EXPECT_EQ(listed.GetSize(), 0);
    EXPECT_TRUE(RecordedSets(HKEY_CURRENT_USER).empty());
}
