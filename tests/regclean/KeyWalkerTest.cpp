// The key walker on a seeded key: which values become rows, with exactly
// which key path, value name and data; what it never walks; and Stop.
#include "regclean/FileProbe.h"
#include "regclean/FileReference.h"
#include "regclean/KeyWalker.h"
#include "regclean/RegistryScanner.h"

#include "RegCleanTestSupport.h"
#include "TestThread.h"
#include "testsupport.h"
#include "vantres/ids_regclean.h"

#include <gtest/gtest.h>



using rctest::CollectSink;
using rctest::CountRows;
using rctest::Describe;
using testsupport::ScratchKey;

namespace {

const char kGone[] = "C:\\rc-gone\\walker\\tool.exe /x";

struct WalkRun : rctest::ScanRun {
    void Walk(const ScratchKey& key)
    {
        WalkKey(ctx, key.key(), "HKEY_CURRENT_USER\\" + CString(key.path().c_str()));
    }
};

TEST(KeyWalker, ReportsMissingStringAndExpandStringValuesWithTheirExactRows)
{
    ScratchKey key("RegCleanWalk");
    const std::string path = "HKEY_CURRENT_USER\\" + key.path();
    key.SetString("Gone", kGone);
    key.SetString("GoneExpand", "%SystemRoot%\\rc-gone\\walker.dll", REG_EXPAND_SZ);
    key.SetString("", "C:\\rc-gone\\walker\\default.exe");
    key.SetString("Here", "C:\\windows\\notepad.exe %1");
    key.SetString("Multi", kGone, REG_MULTI_SZ);
    key.SetBinary("Binary", kGone, DWORD(sizeof kGone));
    key.SetString("Short", "C:");
    key.SetString("Empty", "");
    key.SetDword("Number", 7);
    HKEY sub = key.Sub("Deeper\\Still");
    ::RegSetValueExA(sub, "Deep", 0, REG_SZ, reinterpret_cast<const BYTE*>(kGone), DWORD(sizeof kGone));
    ::RegCloseKey(sub);

    WalkRun run;
    run.Walk(key);
    const auto rows = run.sink.Rows();
    EXPECT_EQ(1, CountRows(rows, path, "Gone", kGone)) << Describe(rows);
    EXPECT_EQ(1, CountRows(rows, path, "GoneExpand", "%SystemRoot%\\rc-gone\\walker.dll")) << Describe(rows);
    EXPECT_EQ(1, CountRows(rows, path, "", "C:\\rc-gone\\walker\\default.exe")) << Describe(rows);
    EXPECT_EQ(1, CountRows(rows, path + "\\Deeper\\Still", "Deep", kGone)) << Describe(rows);
    EXPECT_EQ(4u, rows.size()) << Describe(rows);
}

TEST(KeyWalker, NeverWalksClassInterfaceTypeLibraryInstallerOrUninstallKeysInAnyCase)
{
    ScratchKey key("RegCleanWalkSkip");
    const std::string path = "HKEY_CURRENT_USER\\" + key.path();
    for (const char* skipped : {"CLSID\\{RC}", "Classes\\clsid", "INTERFACE\\{RC}", "TypeLib\\{RC}",
                                "Microsoft\\Windows\\CurrentVersion\\UNINSTALL\\Rc", "Software\\Corel\\Rc",
                                "Installer\\UserData\\Rc", "Installer\\Patches\\Rc"}) {
        HKEY sub = key.Sub(skipped);
        ::RegSetValueExA(sub, "Gone", 0, REG_SZ, reinterpret_cast<const BYTE*>(kGone), DWORD(sizeof kGone));
        ::RegCloseKey(sub);
    }
    // Near misses are walked.
    for (const char* walked : {"Installer\\Rc", "Corel", "Microsoft\\Windows\\CurrentVersion\\Run"}) {
        HKEY sub = key.Sub(walked);
        ::RegSetValueExA(sub, "Gone", 0, REG_SZ, reinterpret_cast<const BYTE*>(kGone), DWORD(sizeof kGone));
        ::RegCloseKey(sub);
    }
    WalkRun run;
    run.Walk(key);
    const auto rows = run.sink.Rows();
    EXPECT_EQ(3u, rows.size()) << Describe(rows);
    EXPECT_EQ(1, CountRows(rows, path + "\\Installer\\Rc", "Gone", kGone)) << Describe(rows);
    EXPECT_EQ(1, CountRows(rows, path + "\\Corel", "Gone", kGone)) << Describe(rows);
    EXPECT_EQ(1, CountRows(rows, path + "\\Microsoft\\Windows\\CurrentVersion\\Run", "Gone", kGone));
    EXPECT_TRUE(WalkerSkips("HKEY_LOCAL_MACHINE\\Software\\Classes\\ClSiD"));
}

TEST(KeyWalker, StopDuringALargeWalkEndsWithinOneValueAndTellsHowManyWereListed)
{
    rctest::LoadResources();
    ScratchKey key("RegCleanWalkLarge");
    for (int i = 0; i < 5000; ++i) {
        std::string data = "C:\\rc-gone\\large\\app" + std::to_string(i) + ".exe";
        key.SetString(("v" + std::to_string(i)).c_str(), data);
    }
    WalkRun run;
    run.sink.StopAfter(&run.flags, 25);  // Stop is pressed while the 25th row goes in
    testsupport::Thread worker([&] {
        run.Walk(key);
        ShowScanOutcome(run.flags, run.sink);
    });
    worker.join();
    EXPECT_EQ(25, run.sink.RowCount());
    const auto statuses = run.sink.Statuses();
    ASSERT_GE(statuses.size(), 2u);
    EXPECT_EQ(rctest::Text(IDS_RC_SCAN_ABORTED), statuses[statuses.size() - 2]);
    EXPECT_EQ(testsupport::Ansi("找到无效键值的数目: 25"), statuses.back());
}

TEST(KeyWalker, ShowsEveryThirdKeyOnTheStatusLine)
{
    ScratchKey key("RegCleanWalkStatus");
    for (int i = 0; i < 8; ++i) ::RegCloseKey(key.Sub("k" + std::to_string(i)));
    WalkRun run;
    run.Walk(key);
    // The key itself and its eight subkeys: nine keys, three shown.
    EXPECT_EQ(3u, run.sink.Statuses().size());
}

}  // namespace

namespace {

// Some keys answer every value index with an error instead of "no more
// items" (the performance-text key does under Wine): the walk must end.
TEST(KeyWalker, EndsOnKeysThatAnswerEveryIndexWithAnError)
{
    WalkRun run;
    HKEY perflib = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Perflib",
                                             0, KEY_READ, &perflib));
    volatile bool done = false;
    testsupport::Thread worker([&] {
        WalkKey(run.ctx, perflib, "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Perflib");
        done = true;
    });
    const bool ended = testsupport::WaitFor([&] { return done; }, 20000);
    if (!ended) run.flags.KeepGoing = false;  // let the thread go before failing
    worker.join();
    ::RegCloseKey(perflib);
    EXPECT_TRUE(ended);
}

}  // namespace
