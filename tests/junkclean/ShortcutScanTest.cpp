// Broken shortcuts, made through IShellLinkA and judged by the scan.
#include "JunkTestSupport.h"

#include "junkclean/ExcludedNames.h"
#include "junkclean/ProtectedFiles.h"
#include "junkclean/ShortcutTest.h"

using namespace junktest;

namespace {

::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new JunkEnvironment);

class ShortcutScanTest : public ::testing::Test {
protected:
    ShortcutScanTest() : tree("C:\\toolhost-tests\\jk-lnk") {}
    void SetUp() override {
        ASSERT_TRUE(tree.File("exists\\target.exe", 10));
        CStringArray names;
        AppendProtectedNames(names);
        excluded.Reset(names);
    }
    CollectSink ScanTree() { return ScanFolder(tree.path(), CStringArray(), CStringArray(), true); }
    TempTree tree;
    ExcludedNames excluded;
};

TEST_F(ShortcutScanTest, MissingTargetIsReportedOthersAreNot) {
    const std::string missing = tree / "nowhere\\gone.exe";
    ASSERT_TRUE(MakeShortcut(tree / "broken.lnk", missing));
    ASSERT_TRUE(MakeShortcut(tree / "fine.lnk", tree / "exists\\target.exe"));
    ASSERT_TRUE(MakeShortcut(tree / "folder.lnk", tree / "exists"));
    ASSERT_TRUE(MakeShortcut(tree / "network.lnk", "\\\\server\\share\\gone.exe"));
    ASSERT_TRUE(MakeShortcut(tree / "protected.lnk", tree / "nowhere\\win.ini"));
    ASSERT_TRUE(MakeShortcut(tree / "protected2.lnk", tree / "nowhere\\BOOT.INI"));
    ASSERT_TRUE(MakeShortcut(tree / "notprotected.lnk", tree / "nowhere\\boot.ini.bak"));
    ASSERT_TRUE(MakeShortcut(tree / "namespace.lnk", tree / "nowhere\\{20D04FE0-3AEA}\\x.exe"));
    ASSERT_TRUE(MakeShortcut(tree / "described.lnk", "", "only a description"));
    ASSERT_TRUE(tree.Dir("Administrative Tools"));
    ASSERT_TRUE(tree.Dir("my floppy"));
    ASSERT_TRUE(MakeShortcut(tree / "Administrative Tools\\tool.lnk", missing));
    ASSERT_TRUE(MakeShortcut(tree / "my floppy\\disk.lnk", missing));
    ASSERT_TRUE(MakeShortcut(tree / "old.pif", missing));
    // Targets that may only be offline: a mapped network drive whose server is
    // down, a CD not in the drive, a stick that is not plugged in.
    ASSERT_TRUE(MakeShortcut(tree / "mapped.lnk", "N:\\share\\gone.exe"));
    ASSERT_TRUE(MakeShortcut(tree / "cd.lnk", "F:\\setup\\gone.exe"));
    ASSERT_TRUE(MakeShortcut(tree / "unplugged.lnk", "Q:\\photos\\gone.jpg"));
    ASSERT_TRUE(MakeShortcut(tree / "otherdisk.lnk", "D:\\toolhost-tests-gone\\gone.exe"));
    ASSERT_TRUE(CopyFileA((tree / "broken.lnk").c_str(), (tree / "copy.pif").c_str(), FALSE));

    CollectSink sink = ScanTree();
    EXPECT_EQ(JUNK_REASON_SHORTCUT, sink.ReasonOf(tree / "broken.lnk"));
    EXPECT_EQ(JUNK_REASON_SHORTCUT, sink.ReasonOf(tree / "notprotected.lnk"));
    EXPECT_EQ(JUNK_REASON_SHORTCUT, sink.ReasonOf(tree / "copy.pif"));
    EXPECT_EQ(JUNK_REASON_SHORTCUT, sink.ReasonOf(tree / "otherdisk.lnk"));
    for (const char* quiet : {"fine.lnk", "folder.lnk", "network.lnk", "protected.lnk", "protected2.lnk",
                              "namespace.lnk", "described.lnk", "Administrative Tools\\tool.lnk", "my floppy\\disk.lnk",
                              "mapped.lnk", "cd.lnk", "unplugged.lnk"})
        EXPECT_EQ(-1, sink.ReasonOf(tree / quiet)) << quiet;
    // The .lnk files come first, then the .pif files.
    ASSERT_FALSE(sink.rows.empty());
    EXPECT_EQ(tree / "broken.lnk", sink.rows.front().path.str());
}

TEST_F(ShortcutScanTest, VariableTargetIsNotReported) {
    ASSERT_TRUE(MakeVariableShortcut(tree / "variable.lnk"));
    std::string stored = LinkTarget(tree / "variable.lnk");
    ASSERT_EQ('%', stored.empty() ? 0 : stored[0]) << stored;
    EXPECT_TRUE(ShortcutIsValid((tree / "variable.lnk").c_str(), excluded));
}

TEST_F(ShortcutScanTest, DriveRootTargets) {
    ASSERT_TRUE(MakeShortcut(tree / "root.lnk", "C:\\"));
    std::string stored = LinkTarget(tree / "root.lnk");
    if (stored.size() != 3) GTEST_SKIP() << "this shell-link object stores " << stored;
    // A directory search never finds a drive root, so the shortcut counts as broken.
    EXPECT_FALSE(ShortcutIsValid((tree / "root.lnk").c_str(), excluded));
}

TEST_F(ShortcutScanTest, LongPathExpansion) {
    ASSERT_TRUE(tree.File("Long Folder Name\\Some Long File.txt", 1));
    char shortPath[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameA((tree / "Long Folder Name\\Some Long File.txt").c_str(), shortPath, MAX_PATH), 0u);
    char longPath[MAX_PATH] = {};
    ExpandLongPath(shortPath, longPath);
    EXPECT_STREQ((tree / "Long Folder Name\\Some Long File.txt").c_str(), longPath);
    // Slashes are read as backslashes.
    std::string slashed = tree / "Long Folder Name/Some Long File.txt";
    ExpandLongPath(slashed.c_str(), longPath);
    EXPECT_STREQ((tree / "Long Folder Name\\Some Long File.txt").c_str(), longPath);
    // A path that does not exist stays as it is.
    ExpandLongPath("C:\\NOWHE~1\\X.TXT", longPath);
    EXPECT_STREQ("C:\\NOWHE~1\\X.TXT", longPath);
}

}  // namespace
