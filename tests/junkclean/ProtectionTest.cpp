// Protected files and folders: the walk's skip fragments, the protected
// names on whole paths and the system file types, on real folders.
#include "JunkTestSupport.h"

#include "junkclean/ProtectedFiles.h"

#include <algorithm>

using namespace junktest;

namespace {

::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new JunkEnvironment);

// A scanner over one root with the masks given, every option off.
CollectSink Scan(const std::string& root, const std::vector<const char*>& masks,
                 const std::vector<const char*>& safe = {}, JunkScanOptions options = JunkScanOptions()) {
    CStringArray m, s;
    for (const char* x : masks) m.Add(x);
    for (const char* x : safe) s.Add(x);
    return ScanFolder(root, m, s, options);
}

JunkScanOptions Off() {
    JunkScanOptions o;
    o.SkipReadOnlyFiles = 0;
    o.FindInvalidShortCuts = 0;
    return o;
}

TEST(ProtectionTest, SkipFragmentsKeepFoldersOutOfTheWalk) {
    TempTree tree("C:\\toolhost-tests\\jk-prot-skip");
    ASSERT_TRUE(tree.File("data\\backup\\kept.tmp"));        // "\backup\" does not match the folder itself
    ASSERT_TRUE(tree.File("data\\backup\\old\\gone.tmp"));  // ... only what lies below it
    ASSERT_TRUE(tree.File("mychaos32data\\gone.tmp"));      // no leading "\": matches inside a name
    ASSERT_TRUE(tree.File("a\\SendTo\\gone.tmp"));          // case does not matter
    ASSERT_TRUE(tree.File("a\\sendtox\\gone.tmp"));         // plain substring
    ASSERT_TRUE(tree.File("a\\Microsoft Office\\gone.tmp"));
    ASSERT_TRUE(tree.File("plain\\listed.tmp"));
    CollectSink sink = Scan(tree.path(), {"*.tmp"}, {}, Off());
    std::vector<std::string> listed = sink.PathsBelow(tree.path());
    ASSERT_EQ(2u, listed.size());
    EXPECT_EQ(0, sink.ReasonOf(tree / "data\\backup\\kept.tmp"));
    EXPECT_EQ(0, sink.ReasonOf(tree / "plain\\listed.tmp"));
    // The skipped folders were not even entered.
    for (const std::string& f : sink.folders) {
        CString lowered(f.c_str());
        lowered.MakeLower();
        for (const char* skipped : {"backup\\old", "chaos32", "sendto", "microsoft office"})
            EXPECT_LT(lowered.Find(skipped), 0) << f;
    }
    EXPECT_NE(sink.folders.end(), std::find(sink.folders.begin(), sink.folders.end(), tree / "data\\backup"));
}

TEST(ProtectionTest, DriveRootFragmentsMatchFoldersDirectlyBelowARoot) {
    TempTree recycled("D:\\recycled"), recycledBin("D:\\RecycledBin"), inner("D:\\jk-prot-root");
    ASSERT_TRUE(recycled.File("a.tmp"));
    ASSERT_TRUE(recycledBin.File("a.tmp"));
    ASSERT_TRUE(inner.File("recycled\\a.tmp"));  // not below the root: walked
    CollectSink sink = Scan("D:", {"*.tmp"}, {}, Off());
    EXPECT_EQ(-1, sink.ReasonOf("D:\\recycled\\a.tmp"));
    EXPECT_EQ(-1, sink.ReasonOf("D:\\RecycledBin\\a.tmp"));
    EXPECT_EQ(0, sink.ReasonOf("D:\\jk-prot-root\\recycled\\a.tmp"));
}

TEST(ProtectionTest, WindowsSecurityFolderIsSkipped) {
    EXPECT_EQ("windows", WindowsDirTail().str());
    TempTree security("C:\\windows\\security\\jk-prot"), temp("C:\\windows\\temp\\jk-prot");
    ASSERT_TRUE(security.File("x.tmp"));
    ASSERT_TRUE(temp.File("~x.tmp"));
    CollectSink sink = Scan("C:\\windows", {"~*.*"}, {}, Off());
    EXPECT_EQ(0, sink.ReasonOf(temp / "~x.tmp"));
    EXPECT_EQ(-1, sink.ReasonOf(security / "x.tmp"));
    for (const std::string& f : sink.folders) {
        CString lowered(f.c_str());
        lowered.MakeLower();
        EXPECT_LT(lowered.Find("windows\\security"), 0) << f;
    }
}

TEST(ProtectionTest, SafeFolderKeepsEveryFolderStartingWithItsPathOut) {
    TempTree tree("C:\\toolhost-tests\\jk-prot-safe");
    ASSERT_TRUE(tree.File("temp\\a.tmp"));
    ASSERT_TRUE(tree.File("temp2\\a.tmp"));
    ASSERT_TRUE(tree.File("tempfiles\\a.tmp"));
    ASSERT_TRUE(tree.File("other\\a.tmp"));
    CollectSink sink = Scan(tree.path(), {"*.tmp"}, {"c:\\toolhost-tests\\jk-prot-safe\\temp"}, Off());
    std::vector<std::string> listed = sink.PathsBelow(tree.path());
    ASSERT_EQ(1u, listed.size());
    EXPECT_EQ(0, sink.ReasonOf(tree / "other\\a.tmp"));
}

TEST(ProtectionTest, ProtectedNamesActOnTheWholePath) {
    TempTree tree("C:\\toolhost-tests\\jk-prot-names");
    ASSERT_TRUE(tree.File("samples\\x.tmp"));
    ASSERT_TRUE(tree.File("data\\sam.bak"));
    ASSERT_TRUE(tree.File("old\\system.bak"));
    ASSERT_TRUE(tree.File("x\\default.bak"));
    ASSERT_TRUE(tree.File("x\\UNINS000.DAT"));
    ASSERT_TRUE(tree.File("y\\Unins000.Dat"));
    ASSERT_TRUE(tree.File("x\\setup.inf"));  // "setup.in" covers it
    ASSERT_TRUE(tree.File("x\\desktop.ini.bak"));
    ASSERT_TRUE(tree.File("x\\listed.bak"));
    CollectSink sink = Scan(tree.path(), {"*.tmp", "*.bak", "*.dat", "*.inf"}, {}, Off());
    std::vector<std::string> listed = sink.PathsBelow(tree.path());
    ASSERT_EQ(1u, listed.size());
    EXPECT_EQ(0, sink.ReasonOf(tree / "x\\listed.bak"));
}

TEST(ProtectionTest, SystemFileTypes) {
    EXPECT_FALSE(IsOrdinaryFileType("C:\\x\\A.EXE"));
    EXPECT_FALSE(IsOrdinaryFileType("C:\\x\\a.Dll"));
    EXPECT_FALSE(IsOrdinaryFileType("a.tlb"));
    EXPECT_FALSE(IsOrdinaryFileType("C:\\x.y\\normal.dot"));
    for (const char* t : {"sys", "com", "ocx", "cpl", "drv"}) EXPECT_FALSE(IsOrdinaryFileType((std::string("f.") + t).c_str()));
    EXPECT_TRUE(IsOrdinaryFileType("C:\\x\\exe"));      // no dot
    EXPECT_TRUE(IsOrdinaryFileType("C:\\x\\a."));       // a dot and nothing after it
    EXPECT_TRUE(IsOrdinaryFileType("C:\\x.exe\\a"));    // the folder's dot does not count
    EXPECT_TRUE(IsOrdinaryFileType("C:\\x\\a.exe.bak"));
    EXPECT_TRUE(IsOrdinaryFileType("C:\\x\\a.exex"));
}

TEST(ProtectionTest, OldSystemTypeIsNotOldButMayBeEmpty) {
    TempTree tree("C:\\toolhost-tests\\jk-prot-old");
    ASSERT_TRUE(tree.File("a.exe"));
    ASSERT_TRUE(tree.File("b.txt"));
    ULONGLONG longAgo = NowFileTime() - 200 * kAgePeriod;
    ASSERT_TRUE(SetAccessTime(tree / "a.exe", longAgo));
    ASSERT_TRUE(SetAccessTime(tree / "b.txt", longAgo));
    JunkScanOptions o = Off();
    o.FindFilesBasedOnMonth = 1;
    o.FFNumMonths = 5;
    CollectSink sink = Scan(tree.path(), {}, {}, o);
    EXPECT_EQ(-1, sink.ReasonOf(tree / "a.exe"));
    EXPECT_EQ(JUNK_REASON_OLD, sink.ReasonOf(tree / "b.txt"));
    o.FindEmptyFiles = 1;
    sink = Scan(tree.path(), {}, {}, o);
    EXPECT_EQ(JUNK_REASON_EMPTY, sink.ReasonOf(tree / "a.exe"));
    EXPECT_EQ(JUNK_REASON_OLD, sink.ReasonOf(tree / "b.txt"));
}

}  // namespace
