// Removal of ticked findings and the undo files it leaves: their exact
// bytes, their records, and the round trip through the system's registry
// editor that users rely on.
#include "regclean/FileProbe.h"
#include "regclean/FileReference.h"
#include "regclean/ComChecks.h"
#include "regclean/KeyWalker.h"
#include "regclean/Removal.h"
#include "regclean/UndoFormat.h"
#include "regclean/UndoStore.h"

#include "RegCleanTestSupport.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using rctest::HiddenList;
using rctest::KeySnapshot;
using rctest::ReadValue;
using testsupport::ReadFileBytes;
using testsupport::ScratchDir;
using testsupport::ScratchKey;

namespace {

const char kClass[] = "{C0FFEE21-5EED-4BAD-9A11-000000000021}";
const char kLibrary[] = "{C0FFEE22-5EED-4BAD-9A11-000000000022}";

class Removal : public ::testing::Test {
protected:
    void SetUp() override { rctest::LoadResources(); }
    std::string Path() const { return "HKEY_CURRENT_USER\\" + key.path(); }
    bool Has(const char* name) const { return testsupport::RegValueExists(HKEY_CURRENT_USER, key.path(), name); }

    KeySnapshot records{HKEY_CURRENT_USER, kUndoRecordsKey};
    ScratchKey key{"RegCleanUndo"};
    ScratchDir folder{"rc-undo"};
    HiddenList hidden;
};

TEST_F(Removal, TheUndoFileHoldsEveryValueAsItWasByteForByte)
{
    ScratchKey cls(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClass);
    HKEY server = cls.Sub("InprocServer32");
    rctest::SetText(server, "", "", "C:\\rc-gone\\s.dll");
    ::RegCloseKey(server);
    ScratchKey lib(HKEY_CLASSES_ROOT, std::string("TypeLib\\") + kLibrary);
    HKEY win32 = lib.Sub("1.0\\0\\win32");
    rctest::SetText(win32, "", "", "C:\\rc-gone\\l.tlb");
    ::RegCloseKey(win32);

    key.SetString("Rc \"quoted\" \\name", "C:\\rc-gone\\\"q\"\\a.exe");
    key.SetString("", "C:\\rc-gone\\def.exe");
    key.SetString("Expand", "%A%", REG_EXPAND_SZ);
    key.SetString("Long", "%SystemRoot%\\rc-gone\\long.dll", REG_EXPAND_SZ);
    rctest::SetValue(HKEY_CURRENT_USER, key.path(), "Multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
    key.SetString("Lines", "x\r\ny");
    const std::string path = Path();
    CListCtrl& list = hidden.list();
    hidden.AddRow(path, "Rc \"quoted\" \\name", "C:\\rc-gone\\\"q\"\\a.exe", true);
    hidden.AddRow(path, "", "C:\\rc-gone\\def.exe", true);
    hidden.AddRow(path, "Expand", "%A%", true);
    hidden.AddRow(path, "Long", "%SystemRoot%\\rc-gone\\long.dll", true);
    hidden.AddRow(path, "Multi", "a", true);
    hidden.AddRow(path, "Lines", "x", true);
    hidden.AddRow(path, "Gone", "C:\\rc-gone\\old.exe", true);  // removed by hand meanwhile
    hidden.AddRow(std::string("HKEY_CLASSES_ROOT\\CLSID\\") + kClass, "InprocServer32", "C:\\rc-gone\\s.dll", true);
    hidden.AddRow(std::string("HKEY_CLASSES_ROOT\\Typelib\\") + kLibrary, "1.0\\0\\WIN32\\", "C:\\RC-GONE\\L.TLB", true);

    RemovalOutcome outcome = RemoveCheckedFindings(list, folder.path().c_str());
    ASSERT_TRUE(outcome.written);
    EXPECT_EQ(9, outcome.removed);
    EXPECT_EQ(0, list.GetItemCount());
    const std::string expected = std::string("REGEDIT4\r\n") +
        "\r\n[" + path + "]\r\n\"Rc \\\"quoted\\\" \\\\name\"=\"C:\\\\rc-gone\\\\\\\"q\\\"\\\\a.exe\"\r\n" +
        "\r\n[" + path + "]\r\n@=\"C:\\\\rc-gone\\\\def.exe\"\r\n" +
        "\r\n[" + path + "]\r\n\"Expand\"=hex(2):25,41,25,00\r\n" +
        "\r\n[" + path + "]\r\n\"Long\"=hex(2):25,53,79,73,74,65,6d,52,6f,6f,74,25,5c,72,63,2d,67,6f,6e,65,5c,\\\r\n" +
        "  6c,6f,6e,67,2e,64,6c,6c,00\r\n" +
        "\r\n[" + path + "]\r\n\"Multi\"=hex(7):61,00,62,00,00\r\n" +
        "\r\n[" + path + "]\r\n\"Lines\"=hex(1):78,0d,0a,79,00\r\n" +
        "\r\n[" + path + "]\r\n\"Gone\"=\"C:\\\\rc-gone\\\\old.exe\"\r\n" +
        "\r\n[HKEY_CLASSES_ROOT\\CLSID\\" + kClass + "\\InprocServer32]\r\n@=\"C:\\\\rc-gone\\\\s.dll\"\r\n" +
        "\r\n[HKEY_CLASSES_ROOT\\Typelib\\" + kLibrary + "\\1.0\\0\\WIN32]\r\n@=\"C:\\\\rc-gone\\\\l.tlb\"\r\n";
    EXPECT_EQ(expected, ReadFileBytes(outcome.undoPath.str()));
    for (const char* name : {"Rc \"quoted\" \\name", "", "Expand", "Long", "Multi", "Lines"}) EXPECT_FALSE(Has(name)) << name;
    // Keys stay; only their values go.
    EXPECT_TRUE(testsupport::RegKeyExists(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClass + "\\InprocServer32"));
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClass + "\\InprocServer32", ""));
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CLASSES_ROOT, std::string("TypeLib\\") + kLibrary + "\\1.0\\0\\win32", ""));
    EXPECT_EQ(0u, testsupport::RegDword(HKEY_CURRENT_USER, kUndoRecordsKey, outcome.undoPath));
}

TEST_F(Removal, AdjacentTickedRowsAreBothRemovedAndUntickedRowsStay)
{
    for (const char* name : {"One", "Two", "Three", "Four"}) key.SetString(name, std::string("C:\\rc-gone\\") + name + ".exe");
    CListCtrl& list = hidden.list();
    hidden.AddRow(Path(), "One", "C:\\rc-gone\\One.exe", true);
    hidden.AddRow(Path(), "Two", "C:\\rc-gone\\Two.exe", true);
    hidden.AddRow(Path(), "Three", "C:\\rc-gone\\Three.exe", false);
    hidden.AddRow(Path(), "Four", "C:\\rc-gone\\Four.exe", true);
    std::vector<std::string> statuses;
    RemovalOutcome outcome = RemoveCheckedFindings(list, folder.path().c_str(),
                                                   [&](const char* text) { statuses.push_back(text); });
    ASSERT_TRUE(outcome.written);
    EXPECT_EQ(3, outcome.removed);
    ASSERT_EQ(1, list.GetItemCount());
    EXPECT_EQ("Three", list.GetItemText(0, 1).str());
    EXPECT_FALSE(Has("One"));
    EXPECT_FALSE(Has("Two"));
    EXPECT_TRUE(Has("Three"));
    EXPECT_FALSE(Has("Four"));
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(testsupport::Ansi("找到无效键值的数目: 1"), statuses.back());
}

TEST_F(Removal, NothingTickedStillWritesAHeaderOnlyFileAndRecordsIt)
{
    key.SetString("Kept", "C:\\rc-gone\\kept.exe");
    hidden.AddRow(Path(), "Kept", "C:\\rc-gone\\kept.exe", false);
    RemovalOutcome outcome = RemoveCheckedFindings(hidden.list(), folder.path().c_str());
    ASSERT_TRUE(outcome.written);
    EXPECT_EQ("REGEDIT4\r\n", ReadFileBytes(outcome.undoPath.str()));
    EXPECT_TRUE(Has("Kept"));
    EXPECT_EQ(1, hidden.list().GetItemCount());
    EXPECT_TRUE(testsupport::RegValueExists(HKEY_CURRENT_USER, kUndoRecordsKey, outcome.undoPath));
}

TEST_F(Removal, NothingIsDeletedWhenTheUndoFileCannotBeWritten)
{
    key.SetString("Kept", "C:\\rc-gone\\kept.exe");
    hidden.AddRow(Path(), "Kept", "C:\\rc-gone\\kept.exe", true);
    RemovalOutcome outcome = RemoveCheckedFindings(hidden.list(), "Q:\\rc-nowhere\\");
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(0, outcome.removed);
    EXPECT_TRUE(Has("Kept"));
    EXPECT_EQ(1, hidden.list().GetItemCount());
    CStringArray paths;
    ListUndoRecords(paths);
    for (int i = 0; i < paths.GetSize(); ++i) EXPECT_EQ(-1, paths[i].Find("rc-nowhere"));
}

TEST_F(Removal, TwoRemovalsInOneSecondGetFilesOfTheirOwn)
{
    CString first, second;
    // Retry across a second boundary so both really fall into one second.
    for (int attempt = 0; attempt < 5; ++attempt) {
        time_t before = time(nullptr);
        first = WriteUndoFile("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\"=\"1\"\r\n", folder.path().c_str());
        second = WriteUndoFile("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\B]\r\n\"b\"=\"2\"\r\n", folder.path().c_str());
        if (time(nullptr) == before) break;
    }
    ASSERT_FALSE(first.IsEmpty());
    ASSERT_FALSE(second.IsEmpty());
    EXPECT_NE(first, second);
    EXPECT_NE(std::string::npos, ReadFileBytes(first.str()).find("\"a\"=\"1\""));
    EXPECT_NE(std::string::npos, ReadFileBytes(second.str()).find("\"b\"=\"2\""));
    CString firstName = first.Mid(first.ReverseFind('\\') + 1);
    CString secondName = second.Mid(second.ReverseFind('\\') + 1);
    EXPECT_FALSE(UndoDateText(secondName).IsEmpty());
    EXPECT_EQ(UndoDateText(firstName), UndoDateText(secondName));
    CStringArray paths;
    ListUndoRecords(paths);
    int found = 0;
    for (int i = 0; i < paths.GetSize(); ++i) found += (paths[i] == first || paths[i] == second);
    EXPECT_EQ(2, found);
}

TEST_F(Removal, RecordsWhoseFileWasDeletedByHandGoAtTheNextListingAndDropDeletesBoth)
{
    CString gone = WriteUndoFile("REGEDIT4\r\n", folder.path().c_str());
    CString kept = WriteUndoFile("REGEDIT4\r\n", folder.path().c_str());
    ASSERT_TRUE(::DeleteFileA(gone));
    CStringArray paths;
    ListUndoRecords(paths);
    bool sawGone = false, sawKept = false;
    for (int i = 0; i < paths.GetSize(); ++i) {
        sawGone |= paths[i] == gone;
        sawKept |= paths[i] == kept;
    }
    EXPECT_FALSE(sawGone);
    EXPECT_TRUE(sawKept);
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, kUndoRecordsKey, gone));
    DropUndoRecord(kept);
    EXPECT_FALSE(testsupport::FileExists(kept.str()));
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, kUndoRecordsKey, kept));
}

TEST(UndoStore, DatesComeFromTheFileNameAndTheFolderLiesInTheDocuments)
{
    time_t t = 1700000000;
    char expected[64];
    strftime(expected, sizeof expected, "%H:%M %d-%m-%y", localtime(&t));
    EXPECT_EQ(expected, UndoDateText("1700000000.reg").str());
    EXPECT_EQ(expected, UndoDateText("1700000000_2.reg").str());
    EXPECT_EQ("", UndoDateText("noextension").str());
    CString folder = UndoFolder();
    EXPECT_NE(-1, folder.Find("\\Vantor\\RegCleanUndo\\"));
    EXPECT_TRUE(testsupport::FileExists(folder.str()));
}

// Seed, scan, tick all, Delete, merge the undo file with the registry
// editor: every removed value is back with its type and bytes.
TEST_F(Removal, RoundTripThroughTheRegistryEditorBringsEveryValueBack)
{
    ScratchKey cls(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClass);
    HKEY server = cls.Sub("InprocServer32");
    rctest::SetText(server, "", "", "C:\\rc-gone\\round\\server.dll");
    rctest::SetText(server, "", "ThreadingModel", "Both");
    ::RegCloseKey(server);
    key.SetString("Plain", "\"C:\\rc-gone\\round\\app.exe\" /run");
    key.SetString("", "C:\\rc-gone\\round\\default.exe");
    key.SetString("Expand", "%SystemRoot%\\rc-gone\\round\\expand.dll", REG_EXPAND_SZ);
    key.SetString(testsupport::Ansi("中文名").c_str(), testsupport::Ansi("C:\\rc-gone\\round\\程序.exe"));
    key.SetString("Lines", "C:\\rc-gone\\round\\a.exe\r\nsecond line");
    HKEY deep = key.Sub("Sub Key");
    rctest::SetText(deep, "", "Quoted \"name\"", "C:\\rc-gone\\round\\\"odd\"\\x.exe");
    ::RegCloseKey(deep);
    key.SetString("Healthy", "C:\\windows\\notepad.exe");

    struct Snapshot {
        HKEY root;
        std::string path, name;
        DWORD type;
        std::string bytes;
    };
    std::vector<Snapshot> before;
    auto remember = [&](HKEY root, const std::string& path, const std::string& name) {
        Snapshot s{root, path, name, 0, {}};
        ASSERT_TRUE(ReadValue(root, path, name.c_str(), s.type, s.bytes)) << path << " " << name;
        before.push_back(s);
    };
    remember(HKEY_CURRENT_USER, key.path(), "Plain");
    remember(HKEY_CURRENT_USER, key.path(), "");
    remember(HKEY_CURRENT_USER, key.path(), "Expand");
    remember(HKEY_CURRENT_USER, key.path(), testsupport::Ansi("中文名"));
    remember(HKEY_CURRENT_USER, key.path(), "Lines");
    remember(HKEY_CURRENT_USER, key.path() + "\\Sub Key", "Quoted \"name\"");
    remember(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClass + "\\InprocServer32", "");

    ScanFlags flags;
    flags.KeepGoing = true;
    ListFindingSink sink(hidden.list().m_hWnd, nullptr);
    FileProbe probe;
    FileReferenceTest files(probe);
    ScanContext ctx{flags, sink, files};
    WalkKey(ctx, key.key(), Path().c_str());
    ComLists lists;
    CheckClasses(ctx, lists);
    // Only the rows seeded here are ticked: the prefix has findings of its own.
    CListCtrl& list = hidden.list();
    int ours = 0;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        CString path = list.GetItemText(row, 0);
        bool mine = path.Find(key.path().c_str()) >= 0 || path.Find(kClass) >= 0;
        list.SetCheck(row, mine);
        ours += mine;
    }
    ASSERT_EQ(7, ours);
    RemovalOutcome outcome = RemoveCheckedFindings(list, folder.path().c_str());
    ASSERT_TRUE(outcome.written);
    for (const Snapshot& s : before) {
        DWORD type;
        std::string bytes;
        EXPECT_FALSE(ReadValue(s.root, s.path, s.name.c_str(), type, bytes)) << s.path << " " << s.name;
    }
    EXPECT_TRUE(Has("Healthy"));
    EXPECT_FALSE(UndoFileIsMerged(outcome.undoPath));

    ASSERT_TRUE(MergeUndoFile(outcome.undoPath, 60000));
    for (const Snapshot& s : before) {
        DWORD type = 0;
        std::string bytes;
        ASSERT_TRUE(ReadValue(s.root, s.path, s.name.c_str(), type, bytes)) << s.path << " " << s.name;
        EXPECT_EQ(s.type, type) << s.name;
        EXPECT_EQ(s.bytes, bytes) << s.name;
    }
    EXPECT_EQ("Both", testsupport::RegString(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClass + "\\InprocServer32",
                                             "ThreadingModel"));
    // A value changed after the merge is noticed by the read-back.
    key.SetString("Expand", "%SystemRoot%\\rc-gone\\round\\expand.dll", REG_SZ);
    EXPECT_FALSE(UndoFileIsMerged(outcome.undoPath));
}

// Names and texts that would break a naive file: line breaks, quotes,
// backslashes and other control characters in names and in data texts, a
// string with bytes after its terminator, double-byte characters whose
// second byte is "\", and a key whose name no merge can express.
TEST_F(Removal, AwkwardNamesAndTextsComeBackThroughTheRegistryEditor)
{
    using testsupport::Ansi;
    const std::string lines = "Line\r\nBreak \"q\" \\ back\tx\x01y";
    const std::string nul = std::string("C:\\rc-gone\\round\\nul.exe\0tail\0", 30);
    const std::string dbcsName = Ansi("俓媆名");
    const std::string dbcsData = Ansi("C:\\rc-gone\\俓\\媆.exe");
    key.SetString(lines.c_str(), "C:\\rc-gone\\round\\lines.exe");
    rctest::SetValue(HKEY_CURRENT_USER, key.path(), "Nul", REG_SZ, nul);
    key.SetString(dbcsName.c_str(), dbcsData);
    const std::string badKey = key.path() + "\\Bad\nKey";
    rctest::SetText(HKEY_CURRENT_USER, badKey, "Kept", "C:\\rc-gone\\round\\kept.exe");
    ASSERT_TRUE(testsupport::RegValueExists(HKEY_CURRENT_USER, badKey, "Kept"));

    struct Snapshot {
        std::string name;
        DWORD type;
        std::string bytes;
    };
    std::vector<Snapshot> before;
    for (const std::string& name : {lines, std::string("Nul"), dbcsName}) {
        Snapshot s{name, 0, {}};
        ASSERT_TRUE(ReadValue(HKEY_CURRENT_USER, key.path(), name.c_str(), s.type, s.bytes)) << name;
        before.push_back(s);
    }
    // Values that can no longer be read come back from the data column.
    const std::string fallbackName = "Gone\r\n\"name\"";
    const std::string fallbackData = "C:\\rc-gone\\\"x\"\r\ny\x02";
    const std::string plainFallback = Ansi("C:\\rc-gone\\\"俓\"\\z.exe");

    auto finding = [](const std::string& key, const std::string& name, const std::string& data) {
        RegistryFinding f;
        f.KeyPath = key.c_str();
        f.ValueName = name.c_str();
        f.Data = data.c_str();
        return f;
    };
    const std::vector<RegistryFinding> chosen = {
        finding(Path(), lines, "C:\\rc-gone\\round\\lines.exe"),
        finding(Path(), "Nul", "C:\\rc-gone\\round\\nul.exe"),
        finding(Path(), dbcsName, dbcsData),
        finding(Path(), fallbackName, fallbackData),
        finding(Path(), "Plain fallback", plainFallback),
        finding("HKEY_CURRENT_USER\\" + badKey, "Kept", "C:\\rc-gone\\round\\kept.exe"),
    };
    std::vector<bool> removed;
    RemovalOutcome outcome = RemoveFindings(chosen, folder.path().c_str(), removed);
    ASSERT_TRUE(outcome.written);
    EXPECT_EQ((std::vector<bool>{true, true, true, true, true, false}), removed);
    for (const Snapshot& s : before) EXPECT_FALSE(Has(s.name.c_str())) << s.name;
    // Its entry could not be merged back: the value stays, is reported as
    // not removed, and the file says so in a comment.
    EXPECT_TRUE(testsupport::RegValueExists(HKEY_CURRENT_USER, badKey, "Kept"));
    const std::string text = ReadFileBytes(outcome.undoPath.str());
    EXPECT_NE(std::string::npos, text.find(std::string("; ") + kUndoUnmergeableMark)) << text;
    EXPECT_EQ(std::string::npos, text.find("Bad\nKey")) << "a raw line break in the file";

    ASSERT_TRUE(MergeUndoFile(outcome.undoPath, 60000)) << text;
    for (const Snapshot& s : before) {
        DWORD type = 0;
        std::string bytes;
        ASSERT_TRUE(ReadValue(HKEY_CURRENT_USER, key.path(), s.name.c_str(), type, bytes)) << s.name;
        EXPECT_EQ(s.type, type) << s.name;
        EXPECT_EQ(s.bytes, bytes) << s.name;
    }
    EXPECT_EQ(fallbackData, testsupport::RegString(HKEY_CURRENT_USER, key.path(), fallbackName.c_str()));
    EXPECT_EQ(plainFallback, testsupport::RegString(HKEY_CURRENT_USER, key.path(), "Plain fallback"));
    testsupport::RegDeleteTree(HKEY_CURRENT_USER, badKey);
}

TEST(UndoFormat, ParsesWhatItWrites)
{
    std::string text = kUndoHeader;
    text += FormatUndoEntry("HKEY_CURRENT_USER\\K", "n\"x\\", REG_SZ, std::string("v\\\"\0", 4)).str();
    text += FormatUndoEntry("HKEY_CURRENT_USER\\K", "", REG_DWORD, std::string("\x01\x02\0\0", 4)).str();
    text += FormatUndoEntry("HKEY_CURRENT_USER\\K", "b", REG_BINARY, std::string(100, '\x7f')).str();
    std::vector<UndoValue> values;
    ASSERT_TRUE(ParseUndoText(text, values));
    ASSERT_EQ(3u, values.size());
    EXPECT_EQ("n\"x\\", values[0].ValueName.str());
    EXPECT_EQ(std::string("v\\\"\0", 4), values[0].Bytes);
    EXPECT_EQ(DWORD(REG_DWORD), values[1].Type);
    EXPECT_EQ(std::string("\x01\x02\0\0", 4), values[1].Bytes);
    EXPECT_EQ(std::string(100, '\x7f'), values[2].Bytes);
    EXPECT_NE(std::string::npos, text.find("\"b\"=hex:7f,"));
}

}  // namespace
