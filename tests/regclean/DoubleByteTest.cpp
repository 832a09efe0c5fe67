// Double-byte names (code page 936) whose second byte is "\" (俓 is 82 5C,
// 媆 is 8B 5C) in the paths and keys the cleaner judges: only real
// separators cut them.
#include "regclean/FileProbe.h"
#include "regclean/FileReference.h"
#include "regclean/KeyWalker.h"
#include "regclean/ListChecks.h"

#include "RegCleanTestSupport.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using rctest::CountRows;
using rctest::Describe;
using rctest::KeySnapshot;
using rctest::SetText;
using testsupport::Ansi;
using testsupport::ScratchDir;
using testsupport::ScratchKey;

namespace {

using rctest::ScanRun;

class DoubleByteNames : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::MakeDirs(dir / Ansi("俓")));
        ASSERT_TRUE(testsupport::MakeDirs(dir / Ansi("资料媆")));
        ASSERT_TRUE(testsupport::WriteFileBytes(dir / Ansi("俓\\here.exe"), "MZ"));
        ASSERT_TRUE(testsupport::WriteFileBytes(dir / Ansi("资料媆\\help.chm"), "ITSF"));
    }
    ScratchDir dir{"rc-dbcs"};
};

TEST_F(DoubleByteNames, TheWalkerReportsTheMissingFileAndNotTheOneThatIsThere)
{
    ScratchKey key("RegCleanDoubleByte");
    key.SetString("Here", dir / Ansi("俓\\here.exe") + " /x");
    key.SetString("Gone", dir / Ansi("俓\\gone.exe") + " /x");
    // A key whose name only looks like it holds "\clsid" byte by byte.
    HKEY sub = key.Sub(Ansi("俓clsid"));
    SetText(sub, "", "Gone", dir / Ansi("资料媆\\gone.dll"));
    ::RegCloseKey(sub);
    ScanRun run;
    const std::string path = "HKEY_CURRENT_USER\\" + key.path();
    WalkKey(run.ctx, key.key(), path.c_str());
    const auto rows = run.sink.Rows();
    EXPECT_EQ(1, CountRows(rows, path, "Gone", dir / Ansi("俓\\gone.exe") + " /x")) << Describe(rows);
    EXPECT_EQ(1, CountRows(rows, path + "\\" + Ansi("俓clsid"), "Gone", dir / Ansi("资料媆\\gone.dll")))
        << Describe(rows);
    EXPECT_EQ(2u, rows.size()) << Describe(rows);
}

TEST_F(DoubleByteNames, HelpFilesAndFontsInSuchFoldersAndNamesAreJudgedWhole)
{
    const std::string html = "Software\\Microsoft\\Windows\\HTML Help";
    const std::string fonts = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
    KeySnapshot savedHtml(HKEY_LOCAL_MACHINE, html);
    KeySnapshot savedFonts(HKEY_LOCAL_MACHINE, fonts);
    // The folder ends in 媆: its last byte is not a separator.
    SetText(HKEY_LOCAL_MACHINE, html, "help.chm", dir / Ansi("资料媆"));
    SetText(HKEY_LOCAL_MACHINE, html, "gone.chm", dir / Ansi("资料媆"));
    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string here = std::string(windows) + "\\Fonts\\" + Ansi("媆体.ttf");
    ASSERT_TRUE(testsupport::WriteFileBytes(here, "font"));
    SetText(HKEY_LOCAL_MACHINE, fonts, "RcTest Here", Ansi("媆体.ttf"));
    SetText(HKEY_LOCAL_MACHINE, fonts, "RcTest Gone", Ansi("俓体.ttf"));
    ScanRun run;
    CheckHelpFiles(run.ctx);
    CheckFonts(run.ctx);
    ::DeleteFileA(here.c_str());
    const auto rows = run.sink.Rows();
    EXPECT_EQ(1, CountRows(rows, "HKEY_LOCAL_MACHINE\\" + html, "gone.chm", dir / Ansi("资料媆"))) << Describe(rows);
    EXPECT_EQ(0, CountRows(rows, "HKEY_LOCAL_MACHINE\\" + html, "help.chm", dir / Ansi("资料媆"))) << Describe(rows);
    EXPECT_EQ(1, CountRows(rows, "HKEY_LOCAL_MACHINE\\" + fonts, "RcTest Gone", Ansi("俓体.ttf"))) << Describe(rows);
    EXPECT_EQ(0, CountRows(rows, "HKEY_LOCAL_MACHINE\\" + fonts, "RcTest Here", Ansi("媆体.ttf"))) << Describe(rows);
}

}  // namespace
