// The scan engine on real folders: reasons and their order, the age
// arithmetic, sizes, attributes, drive types, Stop, links and masks.
#include "JunkTestSupport.h"

#include "junkclean/ProtectedFiles.h"

#include <map>

using namespace junktest;

namespace {

::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new JunkEnvironment);

JunkScanOptions Off() {
    JunkScanOptions o;
    o.SkipReadOnlyFiles = 0;
    o.FindInvalidShortCuts = 0;
    return o;
}

struct Scan {
    Scan(const std::vector<const char*>& masks, JunkScanOptions options) {
        CStringArray m;
        for (const char* x : masks) m.Add(x);
        scanner.SetMasks(m);
        scanner.SetSafeFolders(CStringArray(), WindowsDirTail());
        scanner.SetOptions(options);
    }
    CollectSink& Root(const std::string& root) {
        std::atomic<bool> stop(false);
        scanner.Begin();
        scanner.WalkRoot(root.c_str(), sink, stop);
        scanner.End();
        return sink;
    }
    JunkScanner scanner;
    CollectSink sink;
};

TEST(EngineTest, EachFileOnceWithTheReasonOfTheFirstTest) {
    TempTree tree("C:\\toolhost-tests\\jk-eng-reason");
    ASSERT_TRUE(tree.File("x.tmp", 0));
    ASSERT_TRUE(tree.File("y.tmp", 10));
    JunkScanOptions o = Off();
    o.FindEmptyFiles = 1;
    Scan on({"*.tmp", "x.*", "*.*"}, o);
    CollectSink& a = on.Root(tree.path());
    EXPECT_EQ(1, a.CountOf(tree / "x.tmp"));
    EXPECT_EQ(JUNK_REASON_EMPTY, a.ReasonOf(tree / "x.tmp"));
    EXPECT_EQ(1, a.CountOf(tree / "y.tmp"));
    EXPECT_EQ(2u, a.rows.size());
    // The rows come in the order of the tests: the empty file before the masks.
    EXPECT_EQ(tree / "x.tmp", a.rows[0].path.str());

    Scan off({"*.tmp"}, Off());
    CollectSink& b = off.Root(tree.path());
    EXPECT_EQ(JUNK_REASON_MASK, b.ReasonOf(tree / "x.tmp"));
    EXPECT_EQ(2u, b.rows.size());
}

TEST(EngineTest, ListedPathKeepsLongerPathsOut) {
    TempTree tree("C:\\toolhost-tests\\jk-eng-prefix");
    ASSERT_TRUE(tree.File("a\\b.tmp", 5));
    ASSERT_TRUE(tree.File("a\\b.tmp.bak", 5));
    ASSERT_TRUE(tree.File("a\\c.bak", 5));
    Scan s({"*.tmp", "*.bak"}, Off());
    CollectSink& sink = s.Root(tree.path());
    EXPECT_EQ(0, sink.ReasonOf(tree / "a\\b.tmp"));
    EXPECT_EQ(-1, sink.ReasonOf(tree / "a\\b.tmp.bak"));
    EXPECT_EQ(0, sink.ReasonOf(tree / "a\\c.bak"));
}

TEST(EngineTest, AgeArithmetic) {
    TempTree tree("C:\\toolhost-tests\\jk-eng-age");
    const ULONGLONG now = NowFileTime() / 10000000ull * 10000000ull;
    const ULONGLONG T = now - 5 * kAgePeriod;
    const ULONGLONG day = 864000000000ull;
    struct { const char* name; ULONGLONG atime; int reason; } cases[] = {
        {"at-t.txt", T, -1},
        {"one-unit-earlier.txt", T - 1, JUNK_REASON_OLD},
        {"years-earlier.txt", T - 4000 * day, JUNK_REASON_OLD},
        {"now.txt", now, -1},
        {"a-day-ahead.txt", now + day, -1},
        {"future-31-days.txt", now + 31 * day, JUNK_REASON_OLD},
    };
    for (auto& c : cases) {
        ASSERT_TRUE(tree.File(c.name, 3));
        ASSERT_TRUE(SetAccessTime(tree / c.name, c.atime));
    }
    // The file system keeps the time to the unit: the test depends on it.
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((tree / "one-unit-earlier.txt").c_str(), &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    FindClose(h);
    ASSERT_EQ(T - 1, (ULONGLONG(data.ftLastAccessTime.dwHighDateTime) << 32) | data.ftLastAccessTime.dwLowDateTime);

    JunkScanOptions o = Off();
    o.FindFilesBasedOnMonth = 1;
    o.FFNumMonths = 5;
    Scan s({}, o);
    s.scanner.SetNow(now);
    CollectSink& sink = s.Root(tree.path());
    EXPECT_EQ(T, s.scanner.AgeThreshold());
    for (auto& c : cases) EXPECT_EQ(c.reason, sink.ReasonOf(tree / c.name)) << c.name;
}

TEST(EngineTest, SizesAndTotal) {
    TempTree tree("C:\\toolhost-tests\\jk-eng-size");
    ASSERT_TRUE(tree.File("a.tmp", 1023));
    ASSERT_TRUE(tree.File("b.tmp", 1024));
    ASSERT_TRUE(tree.File("c.tmp", 5000));
    Scan s({"*.tmp"}, Off());
    CollectSink& sink = s.Root(tree.path());
    ASSERT_EQ(3u, sink.rows.size());
    EXPECT_EQ("0 KB", JunkSizeText(sink.rows[0].size).str());
    EXPECT_EQ("1 KB", JunkSizeText(sink.rows[1].size).str());
    EXPECT_EQ("4 KB", JunkSizeText(sink.rows[2].size).str());
    EXPECT_EQ(1u + 1u + 4u, s.scanner.TotalKB());
    // Only the low 32 bits count: 4 GiB shows "0 KB".
    EXPECT_EQ("0 KB", JunkSizeText(0x100000000ull).str());
    EXPECT_EQ("1 KB", JunkSizeText(0x100000400ull).str());
    // Times as the list shows them.
    FILETIME ft = sink.rows[0].created;
    SYSTEMTIME utc, local;
    FileTimeToSystemTime(&ft, &utc);
    SystemTimeToTzSpecificLocalTime(NULL, &utc, &local);
    char expected[32];
    wsprintfA(expected, "%02d:%02d %02d-%02d-%02d", local.wHour, local.wMinute, local.wDay, local.wMonth,
              local.wYear % 100);
    EXPECT_EQ(expected, JunkTimeText(ft).str());
    FILETIME old = {0, 0};
    EXPECT_EQ("", JunkTimeText(old).str());
}

TEST(EngineTest, ReadOnlyAndSystemFilesSkippedOnlyWhenAsked) {
    TempTree tree("C:\\toolhost-tests\\jk-eng-attr");
    ASSERT_TRUE(tree.File("ro.tmp", 1, FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(tree.File("sy.tmp", 1, FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(tree.File("hi.tmp", 1, FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(tree.File("ar.tmp", 1, FILE_ATTRIBUTE_ARCHIVE));
    JunkScanOptions skip = Off();
    skip.SkipReadOnlyFiles = 1;
    Scan a({"*.tmp"}, skip);
    CollectSink& s1 = a.Root(tree.path());
    EXPECT_EQ(-1, s1.ReasonOf(tree / "ro.tmp"));
    EXPECT_EQ(-1, s1.ReasonOf(tree / "sy.tmp"));
    EXPECT_EQ(0, s1.ReasonOf(tree / "hi.tmp"));
    EXPECT_EQ(0, s1.ReasonOf(tree / "ar.tmp"));
    Scan b({"*.tmp"}, Off());
    CollectSink& s2 = b.Root(tree.path());
    EXPECT_EQ(4u, s2.rows.size());
}

TEST(EngineTest, CdDrivePassedOverNetworkDriveWalked) {
    TempTree net("N:\\jk-eng-drives");
    ASSERT_TRUE(net.File("n.tmp", 1));
    TempTree cd("F:\\jk-eng-drives");
    const bool cdHasFile = cd.File("f.tmp", 1);
    EXPECT_TRUE(cdHasFile) << "the CD drive of the test prefix takes files";
    JunkScanner scanner;
    CStringArray masks;
    masks.Add("*.tmp");
    scanner.SetMasks(masks);
    scanner.SetSafeFolders(CStringArray(), WindowsDirTail());
    scanner.SetOptions(Off());
    const char slots[78] = "F:\0N:\0A:\0Q:";
    scanner.SetDrives(slots, 4);
    CollectSink sink;
    std::atomic<bool> stop(false);
    scanner.Run(sink, stop);
    EXPECT_EQ(0, sink.ReasonOf(net / "n.tmp"));
    if (cdHasFile) {
        EXPECT_EQ(-1, sink.ReasonOf(cd / "f.tmp"));
    }
    for (const JunkFinding& f : sink.rows) {
        EXPECT_NE('F', f.path[0]) << f.path.str();
        EXPECT_NE('A', f.path[0]) << f.path.str();
    }
    EXPECT_EQ(int(sink.rows.size()), scanner.FoundCount());
}

// Stops the walk at its first finding.
class StopAtFirst : public CollectSink {
public:
    explicit StopAtFirst(std::atomic<bool>& stop) : m_stop(stop) {}
    void OnFinding(int row, const JunkFinding& f) override {
        CollectSink::OnFinding(row, f);
        m_stop = true;
    }

private:
    std::atomic<bool>& m_stop;
};

TEST(EngineTest, StopEndsTheWalkWithinOneEntry) {
    TempTree tree("C:\\toolhost-tests\\jk-eng-stop");
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(tree.File("d" + std::to_string(i) + "\\x.tmp", 1));
    Scan s({"*.tmp"}, Off());
    std::atomic<bool> stop(false);
    StopAtFirst sink(stop);
    s.scanner.Begin();
    s.scanner.WalkRoot(tree.path().c_str(), sink, stop);
    s.scanner.End();
    EXPECT_EQ(1u, sink.rows.size());
    EXPECT_LE(sink.folders.size(), 1u);
}

TEST(EngineTest, LinkedFoldersAreNotFollowed) {
    TempTree outside("C:\\toolhost-tests\\jk-eng-link-outside");  // goes last, after the links to it
    TempTree tree("C:\\toolhost-tests\\jk-eng-link");
    ASSERT_TRUE(tree.File("sub\\a.tmp", 1));
    ASSERT_TRUE(outside.File("elsewhere.tmp", 1));
    // A link back to the tree's own top, and one to a folder outside it.
    ASSERT_TRUE(MakeFolderLink(tree / "sub\\loop", tree.path()));
    ASSERT_TRUE(MakeFolderLink(tree / "away", outside.path()));
    DWORD attrs = GetFileAttributesA((tree / "sub\\loop").c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attrs);
    ASSERT_TRUE(attrs & FILE_ATTRIBUTE_REPARSE_POINT);
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((tree / "sub\\loop\\sub\\a.tmp").c_str()));  // the link does lead back

    Scan s({"*.tmp"}, Off());
    CollectSink& sink = s.Root(tree.path());
    ASSERT_EQ(1u, sink.rows.size());
    EXPECT_EQ(tree / "sub\\a.tmp", sink.rows[0].path.str());
    EXPECT_EQ(1u, sink.folders.size());
}

TEST(EngineTest, MasksMatchTheLongNameOnly) {
    TempTree tree("C:\\toolhost-tests\\jk-eng-masks");
    // One folder each: a listed path keeps every longer path that starts with it out.
    const char* files[] = {"report.tmpx", "a.tmp", "B.TMP", "ffastun", "ffastun.ffa", "ffastunx",
                           "twain123.mtx", "twain12.mtx", "~abc", "~x.doc", "readme", "notes.txt~",
                           "x.ab~", "x.abc~"};
    std::map<std::string, std::string> where;
    int n = 0;
    for (const char* f : files) {
        where[f] = "d" + std::to_string(n++) + "\\" + f;
        ASSERT_TRUE(tree.File(where[f], 1));
    }
    Scan s({"*.tmp", "ffastun.*", "twain???.mtx", "~*.*", "*.??~"}, Off());
    CollectSink& sink = s.Root(tree.path());
    for (const char* listed : {"a.tmp", "B.TMP", "ffastun", "ffastun.ffa", "twain123.mtx", "~abc", "~x.doc", "x.ab~"})
        EXPECT_EQ(0, sink.ReasonOf(tree / where[listed])) << listed;
    for (const char* not_listed : {"report.tmpx", "ffastunx", "twain12.mtx", "readme", "notes.txt~", "x.abc~"})
        EXPECT_EQ(-1, sink.ReasonOf(tree / where[not_listed])) << not_listed;

    // A name in this code page is matched as well, case-insensitively.
    TempTree cn("C:\\toolhost-tests\\jk-eng-masks-cn");
    const std::string chinese = A("临时文件.TMP"), other = A("报告.tmpx");
    ASSERT_TRUE(cn.File(chinese, 1));
    ASSERT_TRUE(cn.File(other, 1));
    Scan c({"*.tmp"}, Off());
    CollectSink& cs = c.Root(cn.path());
    EXPECT_EQ(0, cs.ReasonOf(cn / chinese));
    EXPECT_EQ(-1, cs.ReasonOf(cn / other));

    // "*.*" finds every file, with or without a dot.
    Scan all({"*.*"}, Off());
    EXPECT_EQ(sizeof files / sizeof files[0], all.Root(tree.path()).rows.size());
}

TEST(EngineTest, EverythingOffReportsNothing) {
    TempTree tree("C:\\toolhost-tests\\jk-eng-off");
    ASSERT_TRUE(tree.File("a.tmp", 0));
    ASSERT_TRUE(MakeShortcut(tree / "broken.lnk", "C:\\toolhost-tests\\nowhere\\gone.exe"));
    Scan s({}, Off());
    EXPECT_EQ(0u, s.Root(tree.path()).rows.size());
    EXPECT_EQ(0u, s.scanner.TotalKB());
}

// The folder files are moved to is never walked while the move mode is
// chosen: what was moved there is not junk to be moved again. It is compared
// whole, however it was written; a folder whose name only begins the same is
// walked.
TEST(EngineTest, TheMoveFolderIsNotWalked) {
    TempTree tree("C:\\toolhost-tests\\jk-eng-moved");
    ASSERT_TRUE(tree.File("a.tmp", 1));
    ASSERT_TRUE(tree.File("Moved\\a.tmp", 1));
    ASSERT_TRUE(tree.File("Moved\\inner\\b.tmp", 1));
    ASSERT_TRUE(tree.File("Moved2\\c.tmp", 1));
    for (const std::string& given : {tree / "Moved", tree / "moved\\", "  " + tree / "MOVED" + " "}) {
        Scan s({"*.tmp"}, Off());
        s.scanner.SetKeptOutFolder(given.c_str());
        CollectSink& sink = s.Root(tree.path());
        EXPECT_EQ(0, sink.ReasonOf(tree / "a.tmp")) << given;
        EXPECT_EQ(-1, sink.ReasonOf(tree / "Moved\\a.tmp")) << given;
        EXPECT_EQ(-1, sink.ReasonOf(tree / "Moved\\inner\\b.tmp")) << given;
        EXPECT_EQ(0, sink.ReasonOf(tree / "Moved2\\c.tmp")) << given;
        EXPECT_EQ(2u, sink.rows.size()) << given;
    }
    // Without a move folder it is walked like any other.
    Scan s({"*.tmp"}, Off());
    s.scanner.SetKeptOutFolder(CString());
    EXPECT_EQ(4u, s.Root(tree.path()).rows.size());
}

}  // namespace
