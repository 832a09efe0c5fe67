// The junk cleaner's settings against the real registry: first start,
// damaged filter tables, the filter operations, drive list, safe list, the
// months threshold, the removal flags and load-defaults.
#include "JunkTestSupport.h"

#include <shlwapi.h>

#include "junkclean/DriveSelection.h"
#include "junkclean/DrivesPage.h"
#include "junkclean/FilterTable.h"
#include "junkclean/JunkDefaults.h"
#include "junkclean/RemovalOptions.h"
#include "junkclean/ScanOptions.h"

#include <vantor/Registry.h>

using namespace junktest;

namespace {

::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new JunkEnvironment);

std::string Path() { return JunkEnvironment::SettingsPath(); }
std::string Filters() { return JunkEnvironment::SubKey("SrchFilters"); }

DWORD Dword(const std::string& key, const char* name) {
    DWORD value = 0xFFFFFFFF, size = sizeof value;
    SHGetValueA(HKEY_CURRENT_USER, key.c_str(), name, NULL, &value, &size);
    return value;
}
bool Exists(const std::string& key, const char* name) {
    return SHGetValueA(HKEY_CURRENT_USER, key.c_str(), name, NULL, NULL, NULL) == ERROR_SUCCESS;
}
std::string Bytes(const std::string& key, const char* name) {
    DWORD size = 0;
    if (SHGetValueA(HKEY_CURRENT_USER, key.c_str(), name, NULL, NULL, &size) != ERROR_SUCCESS) return "";
    std::string data(size, '\0');
    SHGetValueA(HKEY_CURRENT_USER, key.c_str(), name, NULL, size ? &data[0] : NULL, &size);
    return data;
}
std::string Text(const std::string& key, const char* name) {
    std::string data = Bytes(key, name);
    return data.c_str();
}
void PutDword(const std::string& key, const char* name, DWORD v) {
    SHSetValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_DWORD, &v, sizeof v);
}
void PutBytes(const std::string& key, const char* name, const std::string& data) {
    SHSetValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_BINARY, data.data(), DWORD(data.size()));
}
void PutText(const std::string& key, const char* name, const std::string& text) {
    SHSetValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, text.c_str(), DWORD(text.size() + 1));
}
std::string Mask(const FilterRecord& r) { return std::string(r.mask, strnlen(r.mask, 16)); }
std::string Desc(const FilterRecord& r) { return std::string(r.description, strnlen(r.description, 64)); }

// The stored table equals the default one: 46 records, the right masks and ticks.
void ExpectDefaultTableStored() {
    EXPECT_EQ(3726u, Dword(Filters(), "JunkFileFiltersS"));
    std::string data = Bytes(Filters(), "JunkFileFilters");
    ASSERT_EQ(3726u, data.size());
    const FilterRecord* r = reinterpret_cast<const FilterRecord*>(data.data());
    EXPECT_EQ("*.swp", Mask(r[0]));
    EXPECT_EQ("*.tmp", Mask(r[5]));
    EXPECT_EQ("readme.txt", Mask(r[45]));
    int enabled = 0;
    for (int i = 0; i < 46; ++i) {
        enabled += r[i].enabled;
        EXPECT_EQ(0, r[i].mask[15]);
        EXPECT_EQ(0, r[i].description[63]);
    }
    EXPECT_EQ(30, enabled);
    EXPECT_EQ(A("临时文件"), Desc(r[0]));
    EXPECT_EQ(A("Outlook Express 创建的临时文件"), Desc(r[12]));
    EXPECT_EQ(0, r[12].enabled);
    EXPECT_EQ(A("Windows 诊断文件"), Desc(r[41]));  // row 42 uses string 163
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { JunkEnvironment::ClearSettings(); }
    void TearDown() override { JunkEnvironment::ClearSettings(); }
};

TEST_F(SettingsTest, FirstStartWritesEveryValueWithItsDefault) {
    // The page objects load in this order when the main window is built.
    RemovalOptions removal;
    removal.LoadRemovalOptions();
    OtherScanOptions other;
    other.LoadOtherOptions();
    FilterTable filters;
    filters.LoadFilters();
    DriveSelection drives;
    drives.EnumerateFixedDrives();
    drives.LoadDriveList();

    EXPECT_EQ("CD", Text(Path(), "DriveList"));  // C: and D: are the prefix's fixed drives
    EXPECT_EQ(0u, Dword(Path(), "FindFilesBasedOnMonth"));
    EXPECT_EQ(90u, Dword(Path(), "FFNumMonths"));
    EXPECT_EQ(1u, Dword(Path(), "SkipReadOnlyFiles"));
    EXPECT_EQ(0u, Dword(Path(), "FindEmptyFiles"));
    EXPECT_EQ(1u, Dword(Path(), "FindInvalidShortCuts"));
    EXPECT_EQ(0u, Dword(Path(), "SC_DirectDel"));
    EXPECT_EQ(1u, Dword(Path(), "SC_RecycleBin"));
    EXPECT_EQ(0u, Dword(Path(), "SC_MoveToFolder"));
    EXPECT_FALSE(Exists(Path(), "SC_StrFolderName"));
    ExpectDefaultTableStored();
    EXPECT_EQ(46, filters.GetCount());
    EXPECT_EQ(DWORD(REMOVAL_RECYCLE), removal.Mode);

    CStringArray masks;
    filters.EnabledMasks(masks);
    ASSERT_EQ(30, masks.GetSize());
    EXPECT_EQ("*.swp", masks[0].str());
    EXPECT_EQ("iebak.dat", masks[12].str());  // the first enabled row after the twelve temporary masks
}

TEST_F(SettingsTest, DamagedTablesAreReplacedByTheDefaults) {
    std::string oneRecord(81, '\0');
    oneRecord[0] = 1;
    memcpy(&oneRecord[1], "*.abc", 5);
    struct Case {
        const char* what;
        DWORD size;
        bool withData;
        std::string data;
    } cases[] = {
        {"size 3727", 3727, true, std::string(3727, '\1')},
        {"size 80", 80, true, std::string(80, '\1')},
        {"data missing", 3726, false, ""},
        {"data longer than announced", 81, true, oneRecord + oneRecord},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        JunkEnvironment::ClearSettings();
        PutDword(Filters(), "JunkFileFiltersS", c.size);
        if (c.withData) PutBytes(Filters(), "JunkFileFilters", c.data);
        FilterTable table;
        table.LoadFilters();
        EXPECT_EQ(46, table.GetCount());
        ExpectDefaultTableStored();
    }
    // Data present but no size value: the defaults too.
    JunkEnvironment::ClearSettings();
    PutBytes(Filters(), "JunkFileFilters", oneRecord);
    FilterTable table;
    table.LoadFilters();
    EXPECT_EQ(46, table.GetCount());
}

TEST_F(SettingsTest, OneRecordTableIsKeptAsStored) {
    std::string record(81, '\0');
    record[0] = 0;
    memcpy(&record[1], "*.abc", 5);
    memcpy(&record[17], "mine", 4);
    PutDword(Filters(), "JunkFileFiltersS", 81);
    PutBytes(Filters(), "JunkFileFilters", record);
    FilterTable table;
    table.LoadFilters();
    ASSERT_EQ(1, table.GetCount());
    EXPECT_EQ("*.abc", Mask(table.GetAt(0)));
    EXPECT_EQ("mine", Desc(table.GetAt(0)));
    EXPECT_EQ(0, table.GetAt(0).enabled);
    EXPECT_EQ(record, Bytes(Filters(), "JunkFileFilters"));
    CStringArray masks;
    table.EnabledMasks(masks);
    EXPECT_EQ(0, masks.GetSize());
}

TEST_F(SettingsTest, FilterOperationsUseTheSameMaskRule) {
    FilterTable table;
    table.LoadFilters();
    EXPECT_FALSE(table.AddFilter(" *.TMP ", "x"));  // same mask as "*.tmp"
    EXPECT_EQ(46, table.GetCount());
    ASSERT_TRUE(table.AddFilter("*.log", "x"));
    ASSERT_EQ(47, table.GetCount());
    EXPECT_EQ("*.log", Mask(table.GetAt(46)));
    EXPECT_EQ(1, table.GetAt(46).enabled);
    EXPECT_EQ(47u * 81, Dword(Filters(), "JunkFileFiltersS"));

    // Enable/disable: any nonzero value stores 1; the stored mask keeps its case.
    ASSERT_TRUE(table.SetFilterEnabled(FALSE, " *.TMP"));
    std::string data = Bytes(Filters(), "JunkFileFilters");
    ASSERT_EQ(47u * 81, data.size());
    EXPECT_EQ(0, data[5 * 81]);
    ASSERT_TRUE(table.SetFilterEnabled(7, "*.tmp"));
    EXPECT_EQ(1, Bytes(Filters(), "JunkFileFilters")[5 * 81]);
    EXPECT_FALSE(table.SetFilterEnabled(TRUE, "*.none"));

    // Edit overwrites mask and description of the first match.
    ASSERT_TRUE(table.EditFilter("*.BAK", "*.BAK", "changed"));
    EXPECT_EQ("*.BAK", Mask(table.GetAt(36)));
    EXPECT_EQ("changed", Desc(table.GetAt(36)));
    EXPECT_FALSE(table.EditFilter("*.none", "*.x", "y"));
    EXPECT_FALSE(table.RemoveFilter("*.none"));

    // Removing every row brings the default table back, in memory and stored.
    while (table.GetCount() > 1) ASSERT_TRUE(table.RemoveFilter(Mask(table.GetAt(0)).c_str()));
    EXPECT_EQ(81u, Dword(Filters(), "JunkFileFiltersS"));
    ASSERT_TRUE(table.RemoveFilter(Mask(table.GetAt(0)).c_str()));
    EXPECT_EQ(46, table.GetCount());
    ExpectDefaultTableStored();

    table.RestoreDefaultFilters();
    EXPECT_EQ(46, table.GetCount());
}

TEST_F(SettingsTest, MaskAndDescriptionLimits) {
    FilterTable table;
    table.LoadFilters();
    const std::string mask15 = "abcdefghijk.xyz";  // 15 bytes
    ASSERT_EQ(15u, mask15.size());
    const std::string desc70(70, 'd');
    ASSERT_TRUE(table.AddFilter(mask15.c_str(), desc70.c_str()));
    const FilterRecord& r = table.GetAt(46);
    EXPECT_EQ(mask15, Mask(r));
    EXPECT_EQ(std::string(63, 'd'), Desc(r));
    EXPECT_EQ(0, r.description[63]);

    // A double-byte character is never split at the limit: the 63rd byte
    // would be the first half of the 32nd character, so it is left out.
    std::string chinese;
    for (int i = 0; i < 40; ++i) chinese += A("临");
    ASSERT_TRUE(table.AddFilter("*.cn", chinese.c_str()));
    std::string stored = Desc(table.GetAt(47));
    EXPECT_EQ(62u, stored.size());  // 31 whole characters
    EXPECT_EQ(chinese.substr(0, 62), stored);

    // Edit copies byte by byte: at most 15 and 63 bytes, bytes 16 and 80 stay 0.
    ASSERT_TRUE(table.EditFilter("*.cn", "0123456789abcdefgh", desc70.c_str()));
    const FilterRecord& e = table.GetAt(47);
    EXPECT_EQ("0123456789abcde", Mask(e));
    EXPECT_EQ(std::string(63, 'd'), Desc(e));
    std::string data = Bytes(Filters(), "JunkFileFilters");
    EXPECT_EQ(0, data[47 * 81 + 16]);
    EXPECT_EQ(0, data[47 * 81 + 80]);
}

TEST_F(SettingsTest, DriveListIsUpperCasedOnLoadAndSortedOnChange) {
    PutText(Path(), "DriveList", "dc");
    DriveSelection drives;
    drives.LoadDriveList();
    EXPECT_EQ("DC", Text(Path(), "DriveList"));
    drives.SetDriveSelected("C:\\  ( SYSTEM ) ", TRUE);  // already there: only stored again, sorted
    EXPECT_EQ("CD", Text(Path(), "DriveList"));

    PutText(Path(), "DriveList", "D");
    drives.LoadDriveList();
    drives.SetDriveSelected("  c:\\  (  ) ", TRUE);
    EXPECT_EQ("CD", Text(Path(), "DriveList"));
    drives.SetDriveSelected("D:\\  ( DATA ) ", FALSE);
    EXPECT_EQ("C", Text(Path(), "DriveList"));

    PutText(Path(), "DriveList", "CDCC");
    drives.LoadDriveList();
    drives.SetDriveSelected("C", FALSE);  // every C goes
    EXPECT_EQ("D", Text(Path(), "DriveList"));

    char slots[78];
    memset(slots, 'z', sizeof slots);
    short count = -1;
    PutText(Path(), "DriveList", "CDN");
    drives.LoadDriveList();
    drives.ScanDrives(slots, count);
    EXPECT_EQ(3, count);
    EXPECT_STREQ("C:", slots);
    EXPECT_STREQ("D:", slots + 3);
    EXPECT_STREQ("N:", slots + 6);
    EXPECT_EQ(0, slots[9]);
    EXPECT_EQ(0, slots[77]);

    drives.RestoreDefaultDrives();
    EXPECT_EQ("CD", Text(Path(), "DriveList"));
}

TEST_F(SettingsTest, DriveItemTextFramesTheLabel) {
    EXPECT_EQ("D:\\  ( DATA ) ", DriveItemText("D:\\").str());
    EXPECT_EQ("C:\\  (  ) ", DriveItemText("C:\\").str());
    // A label that cannot be read shows empty, never bytes of another drive.
    DriveItemText("D:\\");
    EXPECT_EQ("Q:\\  (  ) ", DriveItemText("Q:\\").str());
}

TEST_F(SettingsTest, OverlongDriveListIsCutToTwentySixDistinctLetters) {
    PutText(Path(), "DriveList", "cCdDEFGHIJKLMNOPQRSTUVWXYZABzz");
    DriveSelection drives;
    drives.LoadDriveList();
    EXPECT_EQ("CDEFGHIJKLMNOPQRSTUVWXYZAB", Text(Path(), "DriveList"));
    char slots[78];
    short count = 0;
    drives.ScanDrives(slots, count);
    EXPECT_EQ(26, count);
    EXPECT_STREQ("B:", slots + 75);
}

TEST_F(SettingsTest, SafeFolders) {
    SafeFolderList safe;
    EXPECT_EQ(SAFE_FOLDER_DRIVE_ROOT, safe.AddSafeFolder("C:\\"));
    EXPECT_EQ(SAFE_FOLDER_NOT_FIXED, safe.AddSafeFolder("F:\\Data"));    // F: is a CD drive
    EXPECT_EQ(SAFE_FOLDER_NOT_FIXED, safe.AddSafeFolder("N:\\Shared"));  // N: is a network drive
    EXPECT_EQ(SAFE_FOLDER_ADDED, safe.AddSafeFolder("C:\\Temp Files "));
    EXPECT_EQ(SAFE_FOLDER_ALREADY_LISTED, safe.AddSafeFolder("C:\\Temp Files "));
    EXPECT_EQ(SAFE_FOLDER_ADDED, safe.AddSafeFolder("D:\\Keep"));
    EXPECT_EQ(3u, Dword(JunkEnvironment::SubKey("folders"), "D:\\Keep"));
    // The default value and a one-blank name are never folders.
    PutDword(JunkEnvironment::SubKey("folders"), "", 3);
    PutDword(JunkEnvironment::SubKey("folders"), " ", 3);

    CStringArray names;
    safe.ListSafeFolders(names);
    ASSERT_EQ(2, names.GetSize());
    EXPECT_EQ("C:\\Temp Files ", names[0].str());
    EXPECT_EQ("D:\\Keep", names[1].str());
    CStringArray scan;
    safe.ScanSafeFolders(scan);
    ASSERT_EQ(2, scan.GetSize());
    EXPECT_EQ("c:\\temp files", scan[0].str());
    EXPECT_EQ("d:\\keep", scan[1].str());

    safe.RemoveSafeFolder("D:\\Keep");
    safe.ListSafeFolders(names);
    EXPECT_EQ(1, names.GetSize());
}

TEST_F(SettingsTest, MonthsAreClampedAndOptionsToggle) {
    OtherScanOptions other;
    other.LoadOtherOptions();
    EXPECT_EQ(5u, other.SetMonths("3"));
    EXPECT_EQ(5u, Dword(Path(), "FFNumMonths"));
    EXPECT_EQ(100u, other.SetMonths("250"));
    EXPECT_EQ(100u, Dword(Path(), "FFNumMonths"));
    EXPECT_EQ(5u, other.SetMonths("abc"));
    EXPECT_EQ(12u, other.SetMonths("  12 months"));
    EXPECT_EQ(12u, other.FFNumMonths);

    other.ToggleOption("FindEmptyFiles");
    EXPECT_EQ(1u, Dword(Path(), "FindEmptyFiles"));
    other.ToggleOption("SkipReadOnlyFiles");
    EXPECT_EQ(0u, Dword(Path(), "SkipReadOnlyFiles"));

    // A stored month count outside the range stays as read.
    PutDword(Path(), "FFNumMonths", 300);
    OtherScanOptions again;
    again.LoadOtherOptions();
    EXPECT_EQ(300u, again.FFNumMonths);
    EXPECT_EQ(1u, again.FindEmptyFiles);
    EXPECT_EQ(100u, ClampMonths(long(again.FFNumMonths)));
}

TEST_F(SettingsTest, RemovalFlagsAreNormalisedInMemoryOnly) {
    PutDword(Path(), "SC_DirectDel", 1);
    PutDword(Path(), "SC_RecycleBin", 1);
    PutDword(Path(), "SC_MoveToFolder", 0);
    RemovalOptions r;
    r.LoadRemovalOptions();
    EXPECT_EQ(DWORD(REMOVAL_DELETE), r.Mode);
    EXPECT_EQ(1u, r.SC_DirectDel);
    EXPECT_EQ(0u, r.SC_RecycleBin);
    EXPECT_EQ(1u, Dword(Path(), "SC_RecycleBin"));  // not written back

    PutDword(Path(), "SC_DirectDel", 0);
    PutDword(Path(), "SC_RecycleBin", 0);
    r.LoadRemovalOptions();
    EXPECT_EQ(DWORD(REMOVAL_DELETE), r.Mode);
    EXPECT_EQ(1u, r.SC_DirectDel);

    PutDword(Path(), "SC_MoveToFolder", 1);
    PutText(Path(), "SC_StrFolderName", "D:\\Junk");
    r.LoadRemovalOptions();
    EXPECT_EQ(DWORD(REMOVAL_MOVE), r.Mode);
    EXPECT_EQ("D:\\Junk", r.SC_StrFolderName.str());

    int applied = 0;
    r.OnApplied = [&] { ++applied; };
    r.SelectRecycleBin();
    EXPECT_EQ(1, applied);
    EXPECT_EQ(DWORD(REMOVAL_RECYCLE), r.Mode);
    EXPECT_EQ(1u, Dword(Path(), "SC_RecycleBin"));
    EXPECT_EQ(0u, Dword(Path(), "SC_MoveToFolder"));
    r.SelectDirectDelete();
    EXPECT_EQ(1u, Dword(Path(), "SC_DirectDel"));
    EXPECT_EQ(0u, Dword(Path(), "SC_RecycleBin"));
}

TEST_F(SettingsTest, UsableMoveFolder) {
    TempTree tree("D:\\jk-settings-move");
    EXPECT_TRUE(MoveFolderUsable("D:\\jk-settings-move"));
    EXPECT_TRUE(MoveFolderUsable("  D:\\jk-settings-move "));
    EXPECT_FALSE(MoveFolderUsable("D:\\jk-settings-move\\"));
    EXPECT_FALSE(MoveFolderUsable("D:\\"));
    EXPECT_FALSE(MoveFolderUsable("D:\\jk-settings-missing"));
    EXPECT_FALSE(MoveFolderUsable("   "));
}

TEST_F(SettingsTest, LoadDefaultsKeepsTheSafeListAndDropsTheMoveFolder) {
    DriveSelection drives;
    FilterTable filters;
    OtherScanOptions other;
    RemovalOptions removal;
    SafeFolderList safe;
    drives.LoadDriveList();
    filters.LoadFilters();
    other.LoadOtherOptions();
    removal.LoadRemovalOptions();
    ASSERT_EQ(SAFE_FOLDER_ADDED, safe.AddSafeFolder("C:\\Keep Me"));
    drives.SetDriveSelected("D", FALSE);
    filters.AddFilter("*.zzz", "z");
    other.ToggleOption("FindEmptyFiles");
    other.SetMonths("7");
    removal.SetMoveFolder("D:\\Junk");
    removal.SelectMoveToFolder();

    RestoreJunkDefaults(drives, filters, other, removal);

    EXPECT_EQ("CD", Text(Path(), "DriveList"));
    EXPECT_EQ(46, filters.GetCount());
    ExpectDefaultTableStored();
    EXPECT_EQ(0u, Dword(Path(), "FindEmptyFiles"));
    EXPECT_EQ(90u, Dword(Path(), "FFNumMonths"));
    EXPECT_EQ(1u, Dword(Path(), "SC_RecycleBin"));
    EXPECT_EQ(0u, Dword(Path(), "SC_MoveToFolder"));
    EXPECT_FALSE(Exists(Path(), "SC_StrFolderName"));
    EXPECT_TRUE(removal.SC_StrFolderName.IsEmpty());
    CStringArray names;
    safe.ListSafeFolders(names);
    ASSERT_EQ(1, names.GetSize());
    EXPECT_EQ("C:\\Keep Me", names[0].str());
}

}  // namespace
