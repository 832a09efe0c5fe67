// Refused command lines: exit code 2, the reason on the console (and in the
// report where one can be written), and nothing done.
#include "CliTestSupport.h"
#include "ToolhostRun.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

using namespace testsupport;
using namespace clitest;

namespace {

const char kSwitchKey[] = "Software\\Lumbrix\\Orvane\\RegCleanFix";

class CliUsage : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeDirs(m_junk.path());
        WriteFileBytes(m_junk / "left.tmp", "junk");
        hosttest::SetSettingsString("DriveList", "C");
        hosttest::SetSettingsDword("SC_DirectDel", 1);
        hosttest::SetSettingsDword("SC_RecycleBin", 0);
        hosttest::SetSettingsDword("SC_MoveToFolder", 0);
        ::RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(hosttest::kSettingsPath) + "\\AdvRegBackup").c_str());
    }

    // Whatever a refused line might have touched is as it was.
    void ExpectNothingDone(const std::string& line)
    {
        EXPECT_TRUE(Exists(m_junk / "left.tmp")) << line;
        EXPECT_EQ(RegString(HKEY_CURRENT_USER, hosttest::kSettingsPath, "DriveList"), "C") << line;
        EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, std::string(hosttest::kSettingsPath) + "\\AdvRegBackup"))
            << line;
        EXPECT_EQ(RegDword(HKEY_CURRENT_USER, kSwitchKey, "Fonts Section"), m_fontsSwitch) << line;
    }

    hosttest::SavedSettingsKey m_settings;
    ScratchDir m_junk{"cli-usage", "D:\\toolhost-tests"};
    ScratchDir m_out{"cli-usage-out"};
    DWORD m_fontsSwitch = RegDword(HKEY_CURRENT_USER, kSwitchKey, "Fonts Section");
};

TEST_F(CliUsage, BadSwitchesAndValuesExitTwoWithTheReasonAndChangeNothing)
{
    const std::string lines[] = {
        "sysclean /clean /drives:D /bogus",
        "sysclean /clean /drives:D /mode:shred",
        "sysclean /clean /drives:D /mode",
        "sysclean /clean /drives:D1",
        "sysclean /clean /drives:Q",  // no such drive
        "sysclean /clean /drives:D /drives:D",
        "sysclean /scan /clean /drives:D",
        "sysclean /clean /drives:D /keep:2",
        "sysclean /clean /drives:D extra",
        "sysclean /drives:D",  // no command
        "regclean /scan /sections:12",
        "sysclean /scan /sections:1 /drives:D",
        "regclean /scan /sections:7 /drives:D",
        "regclean /fix /sections:4,x",
        "regclean /scan:now",
        "backup /backup /keep:0",
        "backup /backup /keep:two",
        "backup /list /location:C:\\x",
        "backup /verify:C:\\toolhost-no-such-set\\info.arb",
        "/scan",
        "regclen /scan",  // a mistyped tool word: never "done"
        "uninstal /x",
    };
    for (const std::string& line : lines) {
        const CliRun run = RunCli(line);
        EXPECT_EQ(run.exitCode, 2u) << line << "\n" << run.output;
        EXPECT_NE(run.output.find("toolhost: "), std::string::npos) << line << "\n" << run.output;
        EXPECT_TRUE(run.windows.empty()) << line;
        ExpectNothingDone(line);
    }
}

TEST_F(CliUsage, RefusedLineIsReportedWhereTheReportCanBeWritten)
{
    const std::string report = m_out / "refused.json";
    const CliRun run = RunCli("sysclean /clean /drives:D /colour:red /report:" + report);
    EXPECT_EQ(run.exitCode, 2u) << run.output;
    EXPECT_NE(run.output.find("/colour:red"), std::string::npos) << run.output;
    const nlohmann::json body = ReadReport(report);
    ASSERT_TRUE(body.is_object()) << ReadFileBytes(report);
    ExpectReportHead(body, "sysclean", "clean", 2);
    EXPECT_NE(body["error"].get<std::string>().find("/colour:red"), std::string::npos);
    EXPECT_FALSE(body.contains("findings"));
    ExpectNothingDone("report");
}

TEST_F(CliUsage, FoldersThatCannotBeMadeOrWrittenStopTheRunBeforeAnyWork)
{
    // A file where a folder would have to go: nothing can be made below it.
    WriteFileBytes(m_out / "plain-file", "x");
    const std::string blocked = m_out / "plain-file\\sub";
    const std::string lines[] = {
        "sysclean /clean /drives:D /mode:move /to:" + blocked,
        "sysclean /clean /drives:D /mode:delete /report:" + blocked + "\\r.json",
        "sysclean /clean /drives:D /mode:delete /report:" + m_out.path(),  // a folder, not a file
        "backup /backup /location:" + blocked,
    };
    for (const std::string& line : lines) {
        const CliRun run = RunCli(line);
        EXPECT_EQ(run.exitCode, 2u) << line << "\n" << run.output;
        EXPECT_TRUE(run.windows.empty()) << line;
        ExpectNothingDone(line);
    }
    EXPECT_FALSE(Exists(blocked));
}

TEST_F(CliUsage, ReportsThatCannotBeWrittenOrReplacedStopTheRunBeforeAnyWork)
{
    // A report another program holds open cannot be replaced by the rename.
    const std::string busy = m_out / "busy.json";
    WriteFileBytes(busy, "{}");
    HANDLE held = ::CreateFileA(busy.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::vector<std::string> reports = {busy};
    // U:\locked is a read-only mount (scripts/make-test-prefix.sh) where mounting is allowed.
    const std::string probe = "U:\\locked\\probe";
    if (::CreateDirectoryA(probe.c_str(), nullptr))
        ::RemoveDirectoryA(probe.c_str());
    else
        reports.push_back("U:\\locked\\r.json");
    for (const std::string& report : reports) {
        const std::string line = "sysclean /clean /drives:D /mode:delete /report:" + report;
        const CliRun run = RunCli(line);
        EXPECT_EQ(run.exitCode, 2u) << line << "\n" << run.output;
        EXPECT_NE(run.output.find(report), std::string::npos) << run.output;
        EXPECT_TRUE(run.windows.empty()) << line;
        ExpectNothingDone(line);
    }
    ::CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(busy), "{}");
    if (reports.size() == 1) std::printf("U:\\locked takes writes here: the read-only folder was not tried\n");
}

TEST_F(CliUsage, UsageTextGoesToTheConsole)
{
    const CliRun all = RunCli("/?");
    EXPECT_EQ(all.exitCode, 0u);
    EXPECT_NE(all.output.find("toolhost regclean /scan"), std::string::npos) << all.output;
    EXPECT_NE(all.output.find("toolhost backup   /verify"), std::string::npos) << all.output;
    const CliRun one = RunCli("backup -?");
    EXPECT_EQ(one.exitCode, 0u);
    EXPECT_NE(one.output.find("/keep:N"), std::string::npos) << one.output;
    EXPECT_EQ(one.output.find("regclean"), std::string::npos) << one.output;
    EXPECT_TRUE(all.windows.empty());
    EXPECT_TRUE(one.windows.empty());
}

TEST_F(CliUsage, ToolWordWithoutSwitchesStillOpensTheWindow)
{
    // Also shows that the window probe of the other tests sees a tool window.
    for (const char* line : {"backup", "backup now"}) {
        const CliRun run = RunCli(line, 30000, true);
        ASSERT_FALSE(run.windows.empty()) << line;
        EXPECT_NE(run.windows[0].find(hosttest::BackupTitle()), std::string::npos) << run.windows[0];
    }
}

}  // namespace
