// The twelve sections: their switches in the registry, the order and the
// skipping of steps, and each section's check against its own seeded key.
#include "regclean/FileProbe.h"
#include "regclean/FileReference.h"
#include "regclean/ListChecks.h"
#include "regclean/RegistryScanner.h"
#include "regclean/Sections.h"

#include "RegCleanTestSupport.h"
#include "testsupport.h"
#include "vantres/ids_regclean.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

using rctest::CollectSink;
using rctest::CountRows;
using rctest::Describe;
using rctest::KeySnapshot;
using rctest::ScanRun;
using rctest::SetText;

namespace {

SectionSwitches Only(std::initializer_list<int> sections)
{
    SectionSwitches s(false);
    for (int n : sections) s.on[n] = true;
    return s;
}

// ---- switches ---------------------------------------------------------------

TEST(SectionSwitches, MissingSwitchesCountAsOnAndTheListWritesThem)
{
    rctest::LoadResources();
    KeySnapshot saved(HKEY_CURRENT_USER, kSwitchKey);
    testsupport::RegDeleteTree(HKEY_CURRENT_USER, kSwitchKey);
    SectionSwitches read = ReadSectionSwitches();
    for (int s = 0; s < kSectionCount; ++s) EXPECT_TRUE(read.on[s]) << s;

    rctest::HiddenList hidden;
    CListCtrl& list = hidden.list();
    list.DeleteColumn(2);
    FillSectionList(list);
    ASSERT_EQ(kSectionCount, list.GetItemCount());
    for (int s = 0; s < kSectionCount; ++s) {
        EXPECT_TRUE(list.GetCheck(s)) << s;
        EXPECT_EQ(1u, testsupport::RegDword(HKEY_CURRENT_USER, kSwitchKey, SectionSwitchName(s))) << s;
    }
    EXPECT_EQ(testsupport::Ansi("Activex，OLE，COM 部分"), list.GetItemText(0, 0).str());
    EXPECT_EQ(testsupport::Ansi("应用程序路径"), list.GetItemText(11, 0).str());
    EXPECT_EQ(rctest::Text(IDS_RC_SEC_HELP_DESC), list.GetItemText(9, 1).str());
    EXPECT_STREQ("Invalid File Assosiations", SectionSwitchName(kSecFileAssociations));
    EXPECT_STREQ("Shared DLL's Section", SectionSwitchName(kSecSharedDlls));
}

TEST(SectionSwitches, AreStoredAndReadBack)
{
    rctest::LoadResources();
    KeySnapshot saved(HKEY_CURRENT_USER, kSwitchKey);
    testsupport::RegDeleteTree(HKEY_CURRENT_USER, kSwitchKey);
    WriteSectionSwitch(kSecFonts, false);
    WriteSectionSwitch(kSecAppPaths, false);
    SectionSwitches read = ReadSectionSwitches();
    EXPECT_FALSE(read.on[kSecFonts]);
    EXPECT_FALSE(read.on[kSecAppPaths]);
    EXPECT_TRUE(read.on[kSecHelp]);

    rctest::HiddenList hidden;
    CListCtrl& list = hidden.list();
    FillSectionList(list);
    EXPECT_FALSE(list.GetCheck(kSecFonts));
    EXPECT_FALSE(list.GetCheck(kSecAppPaths));
    EXPECT_TRUE(list.GetCheck(kSecRun));
    // A box ticked by the user is stored at once.
    list.SetCheck(kSecFonts, TRUE);
    SaveSectionSwitch(list, kSecFonts);
    list.SetCheck(kSecRun, FALSE);
    SaveSectionSwitch(list, kSecRun);
    EXPECT_EQ(1u, testsupport::RegDword(HKEY_CURRENT_USER, kSwitchKey, "Fonts Section"));
    EXPECT_EQ(0u, testsupport::RegDword(HKEY_CURRENT_USER, kSwitchKey, "Run Sections"));
}

// ---- order and skipping --------------------------------------------------------

TEST(ScanSteps, TheSoftwareWalksStandInForRunUninstallHelpAndAppPaths)
{
    rctest::LoadResources();
    const std::string runKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    KeySnapshot savedRun(HKEY_CURRENT_USER, runKey);
    SetText(HKEY_CURRENT_USER, runKey, "RcTestRun", "C:\\rc-gone\\run\\starter.exe /min");

    {  // Both walks off: every list step runs, the Run key as the Run step names it.
        ScanRun run;
        std::vector<int> ran;
        RunScanSteps(run.ctx, Only({kSecRun, kSecUninstall, kSecHelp, kSecAppPaths}), &ran);
        EXPECT_EQ((std::vector<int>{kSecRun, kSecUninstall, kSecAppPaths, kSecHelp}), ran);
        EXPECT_EQ(1, CountRows(run.sink.Rows(), "HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                               "RcTestRun", "C:\\rc-gone\\run\\starter.exe /min"))
            << Describe(run.sink.Rows());
    }
    {  // The user walk on: the Run step goes, the machine's list steps stay.
        ScanRun run;
        std::vector<int> ran;
        RunScanSteps(run.ctx, Only({kSecUserSoftware, kSecRun, kSecUninstall, kSecHelp, kSecAppPaths}), &ran);
        EXPECT_EQ((std::vector<int>{kSecUserSoftware, kSecUninstall, kSecAppPaths, kSecHelp}), ran);
        const auto rows = run.sink.Rows();
        // Found once, by the walk, under the walk's own spelling of the key.
        EXPECT_EQ(1, CountRows(rows, "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                               "RcTestRun", "C:\\rc-gone\\run\\starter.exe /min"))
            << Describe(rows);
        EXPECT_EQ(0, CountRows(rows, "HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                               "RcTestRun", "C:\\rc-gone\\run\\starter.exe /min"));
    }
    {  // Both walks on: none of the four.
        ScanRun run;
        std::vector<int> ran;
        RunScanSteps(run.ctx, Only({kSecUserSoftware, kSecSystemSoftware, kSecRun, kSecUninstall, kSecHelp,
                                    kSecAppPaths}),
                     &ran);
        EXPECT_EQ((std::vector<int>{kSecUserSoftware, kSecSystemSoftware}), ran);
    }
}

TEST(ScanSteps, RunInTheirFixedOrderAndNotAtAllOnceStopped)
{
    ScanRun run;
    std::vector<int> ran;
    RunScanSteps(run.ctx, Only({kSecSharedDlls, kSecFonts, kSecFileAssociations, kSecSounds, kSecUninstall,
                                kSecHelp, kSecVxd, kSecAppPaths, kSecRun}),
                 &ran);
    EXPECT_EQ((std::vector<int>{kSecSharedDlls, kSecVxd, kSecRun, kSecSounds, kSecUninstall, kSecAppPaths, kSecFonts,
                                kSecHelp, kSecFileAssociations}),
              ran);
    ScanRun stopped;
    stopped.flags.KeepGoing = false;
    ran.clear();
    RunScanSteps(stopped.ctx, SectionSwitches(true), &ran);
    EXPECT_TRUE(ran.empty());
}

// ---- each section on its own key -----------------------------------------------

TEST(SectionChecks, SharedDllsReportMissingFilesWithEmptyData)
{
    const std::string key = kSharedDllsKey;
    KeySnapshot saved(HKEY_LOCAL_MACHINE, key);
    rctest::SetValue(HKEY_LOCAL_MACHINE, key, "C:\\rc-gone\\shared\\common.dll", REG_DWORD, std::string("\1\0\0\0", 4));
    rctest::SetValue(HKEY_LOCAL_MACHINE, key, "C:\\windows\\system32\\kernel32.dll", REG_DWORD,
                     std::string("\1\0\0\0", 4));
    ScanRun run;
    CheckSharedDlls(run.ctx);
    const auto rows = run.sink.Rows();
    EXPECT_EQ(1, CountRows(rows, "HKEY_LOCAL_MACHINE\\" + key, "C:\\rc-gone\\shared\\common.dll", "")) << Describe(rows);
    EXPECT_EQ(0, CountRows(rows, "HKEY_LOCAL_MACHINE\\" + key, "C:\\windows\\system32\\kernel32.dll", ""));
}

TEST(SectionChecks, FontsReportOnlyMissingBareFileNames)
{
    const std::string key = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
    KeySnapshot saved(HKEY_LOCAL_MACHINE, key);
    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string here = std::string(windows) + "\\Fonts\\rcherefont.ttf";
    ASSERT_TRUE(testsupport::WriteFileBytes(here, "font"));
    SetText(HKEY_LOCAL_MACHINE, key, "RcTest Gone (TrueType)", "rcgonefont.ttf");
    SetText(HKEY_LOCAL_MACHINE, key, "RcTest Here (TrueType)", "RCHEREFONT.TTF");
    // Data with a path of its own: joined to the fonts folder, each would
    // name a missing file there, but only bare names are judged.
    SetText(HKEY_LOCAL_MACHINE, key, "RcTest Pathed (TrueType)", "rc-gone\\pathed.ttf");
    SetText(HKEY_LOCAL_MACHINE, key, "RcTest Colon (TrueType)", "rcgone.ttf:pathed");
    ScanRun run;
    CheckFonts(run.ctx);
    ::DeleteFileA(here.c_str());
    const auto rows = run.sink.Rows();
    EXPECT_EQ(1, CountRows(rows, "HKEY_LOCAL_MACHINE\\" + key, "RcTest Gone (TrueType)", "rcgonefont.ttf"))
        << Describe(rows);
    for (const auto& row : rows) {
        EXPECT_NE("RcTest Here (TrueType)", row.ValueName.str());
        EXPECT_NE("RcTest Pathed (TrueType)", row.ValueName.str());
        EXPECT_NE("RcTest Colon (TrueType)", row.ValueName.str());
    }
    // The same texts as bare names of the fonts folder are missing files.
    char fontsFolder[MAX_PATH];
    std::snprintf(fontsFolder, sizeof fontsFolder, "%s\\fonts\\", windows);
    EXPECT_EQ(kRefMissing, TestFileReference((fontsFolder + std::string("rc-gone\\pathed.ttf")).c_str()));
    EXPECT_EQ(kRefMissing, TestFileReference((fontsFolder + std::string("rcgone.ttf:pathed")).c_str()));
}

TEST(SectionChecks, HelpFilesAreJudgedInTheirFolders)
{
    const std::string html = "Software\\Microsoft\\Windows\\HTML Help";
    const std::string help = "Software\\Microsoft\\Windows\\Help";
    KeySnapshot savedHtml(HKEY_LOCAL_MACHINE, html);
    KeySnapshot savedHelp(HKEY_LOCAL_MACHINE, help);
    SetText(HKEY_LOCAL_MACHINE, html, "rcgone.chm", "C:\\rc-gone\\help");
    SetText(HKEY_LOCAL_MACHINE, html, "notepad.exe", "C:\\windows");  // a file that is there
    SetText(HKEY_LOCAL_MACHINE, help, "rcgone.hlp", "C:\\rc-gone\\help\\");
    SetText(HKEY_LOCAL_MACHINE, help, "rcshort.hlp", "C:\\");  // folders of four characters or less are not judged
    ScanRun run;
    CheckHelpFiles(run.ctx);
    const auto rows = run.sink.Rows();
    EXPECT_EQ(1, CountRows(rows, "HKEY_LOCAL_MACHINE\\" + html, "rcgone.chm", "C:\\rc-gone\\help")) << Describe(rows);
    EXPECT_EQ(1, CountRows(rows, "HKEY_LOCAL_MACHINE\\" + help, "rcgone.hlp", "C:\\rc-gone\\help\\")) << Describe(rows);
    EXPECT_EQ(2u, rows.size()) << Describe(rows);
}

TEST(SectionChecks, SoundEventsAndDriverKeysAreWalked)
{
    testsupport::ScratchKey sound(HKEY_CURRENT_USER, "AppEvents\\Schemes\\Apps\\RcTest\\RcEvent\\.Current");
    sound.SetString("", "C:\\rc-gone\\sounds\\ding.wav");
    testsupport::ScratchKey vxd(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\VXD\\RcTestVxd");
    vxd.SetString("StaticVxD", "C:\\rc-gone\\vxd\\rc.vxd");
    ScanRun run;
    RunScanSteps(run.ctx, Only({kSecSounds, kSecVxd}));
    const auto rows = run.sink.Rows();
    EXPECT_EQ(1, CountRows(rows, "HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\RcTest\\RcEvent\\.Current", "",
                           "C:\\rc-gone\\sounds\\ding.wav"))
        << Describe(rows);
    EXPECT_EQ(1, CountRows(rows, "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\VXD\\RcTestVxd",
                           "StaticVxD", "C:\\rc-gone\\vxd\\rc.vxd"))
        << Describe(rows);
    testsupport::RegDeleteTree(HKEY_CURRENT_USER, "AppEvents\\Schemes\\Apps\\RcTest");
}

// ---- the three sections that judge associations, app paths and uninstall entries --

TEST(SectionChecks, FileAssociationsReportMissingProgIdsAndBrokenCommands)
{
    testsupport::ScratchKey goneExt(HKEY_CLASSES_ROOT, ".rctestgone");
    goneExt.SetString("", "RcTest.NoSuchProgId");
    testsupport::ScratchKey hereExt(HKEY_CLASSES_ROOT, ".rctesthere");
    hereExt.SetString("", "RcTest.HereProgId");
    testsupport::ScratchKey prog(HKEY_CLASSES_ROOT, "RcTest.HereProgId");
    HKEY open = prog.Sub("shell\\open\\command");
    const std::string broken = "\"C:\\rc-gone\\viewer\\viewer.exe\" \"%1\"";
    ::RegSetValueExA(open, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(broken.c_str()), DWORD(broken.size() + 1));
    ::RegCloseKey(open);
    HKEY edit = prog.Sub("shell\\edit\\command");
    const std::string fine = "C:\\windows\\notepad.exe %1";
    ::RegSetValueExA(edit, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(fine.c_str()), DWORD(fine.size() + 1));
    ::RegCloseKey(edit);

    ScanRun run;
    RunScanSteps(run.ctx, Only({kSecFileAssociations}));
    const auto rows = run.sink.Rows();
    EXPECT_EQ(1, CountRows(rows, "HKEY_CLASSES_ROOT\\.rctestgone", "", "RcTest.NoSuchProgId")) << Describe(rows);
    EXPECT_EQ(1, CountRows(rows, "HKEY_CLASSES_ROOT\\RcTest.HereProgId\\shell\\open\\command", "", broken))
        << Describe(rows);
    EXPECT_EQ(0u, rctest::RowsBelow(rows, "HKEY_CLASSES_ROOT\\.rctesthere").size());
    EXPECT_EQ(0u, rctest::RowsBelow(rows, "HKEY_CLASSES_ROOT\\RcTest.HereProgId\\shell\\edit").size());
}

TEST(SectionChecks, ACommandTheMachineWalkListedIsNotListedAgainUnderTheClassesRoot)
{
    testsupport::ScratchKey ext(HKEY_LOCAL_MACHINE, "Software\\Classes\\.rctestdup");
    ext.SetString("", "RcTest.DupProgId");
    testsupport::ScratchKey goneExt(HKEY_LOCAL_MACHINE, "Software\\Classes\\.rctestdupgone");
    goneExt.SetString("", "C:\\rc-gone\\dup\\progid.exe");
    testsupport::ScratchKey prog(HKEY_LOCAL_MACHINE, "Software\\Classes\\RcTest.DupProgId");
    HKEY open = prog.Sub("shell\\open\\command");
    const std::string broken = "\"C:\\rc-gone\\dup\\viewer.exe\" \"%1\"";
    SetText(open, "", "", broken);
    ::RegCloseKey(open);

    for (bool walked : {true, false}) {
        SCOPED_TRACE(walked ? "with the machine walk" : "without it");
        ScanRun run;
        RunScanSteps(run.ctx, walked ? Only({kSecSystemSoftware, kSecFileAssociations}) : Only({kSecFileAssociations}));
        const auto rows = run.sink.Rows();
        int commands = 0, progIds = 0;
        for (const auto& row : rows) {
            commands += row.Data.str() == broken;
            progIds += row.Data.str() == "C:\\rc-gone\\dup\\progid.exe";
        }
        EXPECT_EQ(1, commands) << Describe(rows);
        EXPECT_EQ(1, progIds) << Describe(rows);
        const std::string where = walked ? "HKEY_LOCAL_MACHINE\\Software\\Classes\\" : "HKEY_CLASSES_ROOT\\";
        EXPECT_EQ(1, CountRows(rows, where + "RcTest.DupProgId\\shell\\open\\command", "", broken)) << Describe(rows);
    }
}

TEST(SectionChecks, AppPathsReportMissingProgramsAndFolders)
{
    const std::string base = std::string(kAppPathsKey);
    testsupport::ScratchKey gone(HKEY_LOCAL_MACHINE, base + "\\rctestgone.exe");
    gone.SetString("", "C:\\rc-gone\\apppaths\\rctestgone.exe");
    gone.SetString("Path", "C:\\rc-gone\\apppaths\\bin.dir");
    testsupport::ScratchKey here(HKEY_LOCAL_MACHINE, base + "\\rctesthere.exe");
    here.SetString("", "C:\\windows\\notepad.exe");
    here.SetString("Path", "C:\\windows");
    ScanRun run;
    std::vector<int> ran;
    RunScanSteps(run.ctx, Only({kSecAppPaths}), &ran);
    EXPECT_EQ(std::vector<int>{kSecAppPaths}, ran);
    const auto rows = run.sink.Rows();
    const std::string path = "HKEY_LOCAL_MACHINE\\" + base + "\\rctestgone.exe";
    EXPECT_EQ(1, CountRows(rows, path, "", "C:\\rc-gone\\apppaths\\rctestgone.exe")) << Describe(rows);
    EXPECT_EQ(1, CountRows(rows, path, "Path", "C:\\rc-gone\\apppaths\\bin.dir")) << Describe(rows);
    EXPECT_EQ(0u, rctest::RowsBelow(rows, "HKEY_LOCAL_MACHINE\\" + base + "\\rctesthere.exe").size());
}

TEST(SectionChecks, UninstallEntriesHaveTheirStringValuesTested)
{
    const std::string base = std::string(kUninstallKey) + "\\RcTestGone";
    testsupport::ScratchKey entry(HKEY_LOCAL_MACHINE, base);
    entry.SetString("DisplayName", "Rc Test Program");
    entry.SetString("DisplayIcon", "C:\\rc-gone\\uninstall\\app.exe,0");
    entry.SetString("UninstallString", "\"C:\\rc-gone\\uninstall\\unins000.exe\" /x");
    entry.SetString("InstallLocation", "C:\\windows");
    ScanRun run;
    RunScanSteps(run.ctx, Only({kSecUninstall}));
    const auto rows = rctest::RowsBelow(run.sink.Rows(), "HKEY_LOCAL_MACHINE\\" + base);
    const std::string path = "HKEY_LOCAL_MACHINE\\" + base;
    EXPECT_EQ(1, CountRows(rows, path, "DisplayIcon", "C:\\rc-gone\\uninstall\\app.exe,0")) << Describe(rows);
    EXPECT_EQ(1, CountRows(rows, path, "UninstallString", "\"C:\\rc-gone\\uninstall\\unins000.exe\" /x"))
        << Describe(rows);
    EXPECT_EQ(2u, rows.size()) << Describe(rows);
}

}  // namespace
