// The file-reference test against real files and the drives of the test
// prefix (C: and D: fixed, F: CD-ROM, N: network, A: floppy).
#include "regclean/FileProbe.h"
#include "regclean/FileReference.h"

#include "testsupport.h"

#include <gtest/gtest.h>

using testsupport::Ansi;
using testsupport::ScratchDir;

namespace {

class FileReferenceRules : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::MakeDirs(dir / "App Dir"));
        ASSERT_TRUE(testsupport::MakeDirs(dir / "Sub"));
        ASSERT_TRUE(testsupport::WriteFileBytes(dir / "App Dir\\app.exe", "MZ"));
        ASSERT_TRUE(testsupport::WriteFileBytes(dir / "lib.dll", "MZ"));
        ASSERT_TRUE(testsupport::WriteFileBytes(dir / "app.exe.bak", "x"));
        ASSERT_TRUE(testsupport::WriteFileBytes(dir / Ansi("测试程序.exe"), "MZ"));
        ::SetEnvironmentVariableA("RCTESTDIR", dir.path().c_str());
    }
    void TearDown() override { ::SetEnvironmentVariableA("RCTESTDIR", nullptr); }

    // Both probes: the scan's (answers kept, folders listed) and the plain
    // one; they must never disagree.
    int Test(const std::string& text)
    {
        FileProbe plain(false);
        int expected = FileReferenceTest(plain).TestFileReference(text.c_str());
        int cached = FileReferenceTest(scanProbe).TestFileReference(text.c_str());
        EXPECT_EQ(expected, cached) << "cached probe disagrees for " << text;
        return expected;
    }

    ScratchDir dir{"rc-ref"};
    FileProbe scanProbe;
};

TEST_F(FileReferenceRules, QuotedPathsWithArgumentsAndFilesFollowedByArguments)
{
    EXPECT_EQ(kRefFine, Test("\"" + (dir / "App Dir\\app.exe") + "\" /run"));
    EXPECT_EQ(kRefFine, Test((dir / "App Dir\\app.exe") + " -x -y"));
    EXPECT_EQ(kRefFine, Test((dir / "lib.dll") + ",0"));
    EXPECT_EQ(kRefMissing, Test("\"" + (dir / "App Dir\\gone.exe") + "\" /run"));
    EXPECT_EQ(kRefMissing, Test("C:\\rc-gone\\tool.exe -x"));
    // An opening quote without its partner cannot be judged.
    EXPECT_EQ(kRefUnsure, Test("\"C:\\rc-gone\\tool.exe -x"));
    // No drive root in the text: nothing to judge.
    EXPECT_EQ(kRefUnsure, Test("rundll32.exe shell32.dll,Control_RunDLL"));
}

TEST_F(FileReferenceRules, VariablesAreExpanded)
{
    EXPECT_EQ(kRefFine, Test("%RCTESTDIR%\\lib.dll"));
    EXPECT_EQ(kRefMissing, Test("%RCTESTDIR%\\gone.dll"));
    EXPECT_EQ(kRefMissing, Test("%SystemRoot%\\system32\\rc-gone.dll"));
    EXPECT_EQ(kRefFine, Test("%SystemRoot%\\system32\\kernel32.dll"));
    // The tracing folder is never reported, there or anywhere.
    EXPECT_EQ(kRefFine, Test("%windir%\\tracing\\x.log"));
    EXPECT_EQ(kRefFine, Test("C:\\rc-gone\\tracing\\x.log"));
}

TEST_F(FileReferenceRules, NetworkPathsAndDriveTypes)
{
    EXPECT_EQ(kRefFine, Test("\\\\server\\share\\gone.exe"));
    EXPECT_EQ(kRefFine, Test("  \\\\server\\share\\gone.exe"));
    EXPECT_EQ(kRefUnsure, Test("F:\\setup\\gone.exe"));   // CD-ROM
    EXPECT_EQ(kRefUnsure, Test("N:\\apps\\gone.exe"));    // network drive
    EXPECT_EQ(kRefFine, Test("A:\\gone.exe"));            // floppy: never judged
    EXPECT_EQ(kRefMissing, Test("D:\\rc-gone\\tool.exe"));  // the second fixed drive
    EXPECT_EQ(kRefUnsure, Test("Q:\\rc-gone\\tool.exe"));   // no such drive
}

TEST_F(FileReferenceRules, LengthLimits)
{
    EXPECT_EQ(kRefUnsure, Test("C:\\"));
    EXPECT_EQ(kRefUnsure, Test("C:"));
    std::string base = "C:\\rc-gone\\";
    std::string longest = base + std::string(259 - base.size() - 4, 'a') + ".exe";
    ASSERT_EQ(259u, longest.size());
    EXPECT_EQ(kRefMissing, Test(longest));
    EXPECT_EQ(kRefUnsure, Test(longest + "x"));  // 260 characters
}

TEST_F(FileReferenceRules, ProgramsThatKeepTheirOwnFiles)
{
    EXPECT_EQ(kRefFine, Test("C:\\Program Files\\Outlook Express\\gone.exe"));
    EXPECT_EQ(kRefFine, Test("C:\\Program Files\\Microsoft Office\\gone.exe"));
    EXPECT_EQ(kRefFine, Test("C:\\WINDOWS\\Microsoft.NET\\Framework\\gone.dll"));
    EXPECT_EQ(kRefUnsure, Test("C:\\Program Files\\McAfee\\gone.exe"));
    EXPECT_EQ(kRefFine, Test("C:\\Program Files\\Norton\\navw32.exe"));
    EXPECT_EQ(kRefFine, Test("C:\\rc-gone\\a.exe;C:\\rc-gone\\b.exe"));
    EXPECT_EQ(kRefFine, Test("C:\\rc-gone\\*.tmp"));
    EXPECT_EQ(kRefFine, Test("C:\\rc-gone\\a.exe | more"));
}

TEST_F(FileReferenceRules, FoldersAndNamesWithoutExtension)
{
    EXPECT_EQ(kRefFine, Test("C:\\Program Files"));
    EXPECT_EQ(kRefFine, Test(dir / "Sub"));
    EXPECT_EQ(kRefFine, Test((dir / "Sub") + "\\"));
    // A missing name without a dot is not taken for a file.
    EXPECT_EQ(kRefUnsure, Test("C:\\rc-gone\\noextension"));
    // A folder followed by arguments is no file either.
    EXPECT_EQ(kRefUnsure, Test((dir / "Sub") + " /x"));
}

TEST_F(FileReferenceRules, AwkwardSpellingsGiveTheSameAnswerAsThePlainRules)
{
    const std::string app = dir / "App Dir\\app.exe";
    for (const std::string& text : {
             app + "  ", app + ". .", app + ".", dir.path() + "\\App Dir\\..\\App Dir\\app.exe",
             dir.path() + "\\\\App Dir\\\\app.exe", std::string("C:/windows/notepad.exe"),
             std::string("c:\\WINDOWS\\NOTEPAD.EXE"), std::string("C:\\windows.\\notepad.exe /x"),
             std::string("C:\\windows \\notepad.exe"), std::string("C:\\windows\\ notepad.exe"),
             std::string("C:\\rc-gone\\..\\windows\\notepad.exe"), std::string("C:\\windows\\nul.exe"),
             std::string("C:\\windows\\notepad.exe:stream"), std::string("C:\\PROGRA~1\\gone.exe"),
             dir / "app.exe", dir / "app.exe.ba", dir / "App Dir\\app.ex", dir / Ansi("测试程序.exe"),
             dir / Ansi("测试程序.exe /q"), dir / Ansi("不存在.exe"), std::string("C:\\windows\\system32\\"),
             std::string("C:\\rc-gone\\"), std::string("C:\\rc-gone\\a.b\\c.exe"),
         })
        Test(text);
    EXPECT_EQ(kRefFine, Test(dir / Ansi("测试程序.exe /q")));
    EXPECT_EQ(kRefMissing, Test(dir / Ansi("不存在.exe")));
}

TEST_F(FileReferenceRules, EachDistinctPathIsProbedAtMostOnceAndMissingFoldersCostNothing)
{
    // 200 missing programs in 200 missing folders of one existing folder:
    // the plain rules probe every prefix of each, the scan's probe lists
    // the folder once.
    FileProbe plain(false);
    FileReferenceTest plainTest(plain);
    FileReferenceTest scanTest(scanProbe);
    for (int i = 0; i < 200; ++i) {
        std::string text = dir.path() + "\\Gone App " + std::to_string(i) + "\\bin\\tool" + std::to_string(i) +
                           ".exe -x";
        ASSERT_EQ(kRefMissing, plainTest.TestFileReference(text.c_str()));
        ASSERT_EQ(kRefMissing, scanTest.TestFileReference(text.c_str()));
    }
    EXPECT_GT(plain.Calls(), 200u * 30u);
    EXPECT_LT(scanProbe.Calls(), 200u) << "calls: " << scanProbe.Calls();
    // The same texts again are answered from what is known.
    unsigned long long before = scanProbe.Calls();
    for (int i = 0; i < 200; ++i) {
        std::string text = dir.path() + "\\Gone App " + std::to_string(i) + "\\bin\\tool" + std::to_string(i) +
                           ".exe -x";
        scanTest.TestFileReference(text.c_str());
    }
    EXPECT_EQ(before, scanProbe.Calls());
    // A new scan sees files made meanwhile.
    ASSERT_TRUE(testsupport::MakeDirs(dir / "Gone App 7\\bin"));
    ASSERT_TRUE(testsupport::WriteFileBytes(dir / "Gone App 7\\bin\\tool7.exe", "MZ"));
    scanProbe.Reset();
    EXPECT_EQ(kRefFine, scanTest.TestFileReference((dir.path() + "\\Gone App 7\\bin\\tool7.exe -x").c_str()));
}

TEST(DriveRoots, AreTheDrivesOfThePrefix)
{
    const CStringArray& roots = DriveRoots();
    bool c = false, f = false;
    for (int i = 0; i < roots.GetSize(); ++i) {
        if (roots[i] == "C:\\") c = true;
        if (roots[i] == "F:\\") f = true;
        EXPECT_NE(CString("Z:\\"), roots[i]);
    }
    EXPECT_TRUE(c);
    EXPECT_TRUE(f);
}

}  // namespace
