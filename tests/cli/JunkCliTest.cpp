// sysclean /scan and /clean on a seeded drive: exactly the junk is found and
// removed in each mode; protected and safe-listed files never appear; the
// drives given for a run are not stored; a second start beside the open
// window does nothing.
#include "CliTestSupport.h"
#include "ToolhostRun.h"
#include "../junkclean/UnusableTrash.h"

#include <gtest/gtest.h>

#include <map>

using namespace testsupport;
using namespace clitest;

namespace {

const char kTree[] = "D:\\toolhost-tests\\cli-junk";

class JunkCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Stored settings the runs start from: drive C only, empty files
        // count, shortcuts are left out, the Recycle Bin is the stored mode.
        hosttest::SetSettingsString("DriveList", "C");
        hosttest::SetSettingsDword("FindEmptyFiles", 1);
        hosttest::SetSettingsDword("FindInvalidShortCuts", 0);
        hosttest::SetSettingsDword("FindFilesBasedOnMonth", 0);
        hosttest::SetSettingsDword("SkipReadOnlyFiles", 1);
        hosttest::SetSettingsDword("SC_DirectDel", 0);
        hosttest::SetSettingsDword("SC_RecycleBin", 1);
        hosttest::SetSettingsDword("SC_MoveToFolder", 0);
        hosttest::SetSettingsDword((std::string(kTree) + "\\safe").c_str(), 3, "folders");

        MakeDirs(std::string(kTree) + "\\sub\\deeper");
        MakeDirs(std::string(kTree) + "\\sendto");
        MakeDirs(std::string(kTree) + "\\safe");
        Seed("a.tmp", "12345");
        Seed("sub\\b.bak", "0123456789");
        Seed("sub\\deeper\\~c.doc", "abc");
        Seed("empty.dat", "");
        // Never listed: a protected name, a protected place, a safe folder, no junk at all.
        Seed("win386.swp", "swap");
        Seed("sendto\\old.bak", "kept");
        Seed("safe\\x.tmp", "mine");
        Seed("keep.txt", "text");
    }
    void TearDown() override { RemoveTree(kTree); }

    static std::string P(const std::string& rel) { return std::string(kTree) + "\\" + rel; }
    static void Seed(const std::string& rel, const std::string& bytes) { WriteFileBytes(P(rel), bytes); }

    // path (lower-cased) -> the report's row
    static std::map<std::string, nlohmann::json> Rows(const nlohmann::json& body)
    {
        std::map<std::string, nlohmann::json> rows;
        for (const nlohmann::json& row : body["findings"]) {
            std::string path = row["path"];
            for (char& c : path) c = char(::tolower(static_cast<unsigned char>(c)));
            rows[path] = row;
        }
        return rows;
    }
    static std::string Lower(std::string text)
    {
        for (char& c : text) c = char(::tolower(static_cast<unsigned char>(c)));
        return text;
    }
    void ExpectJunkFound(const nlohmann::json& body)
    {
        const auto rows = Rows(body);
        const std::map<std::string, std::pair<std::string, int>> expected = {
            {Lower(P("a.tmp")), {"mask", 5}},
            {Lower(P("sub\\b.bak")), {"mask", 10}},
            {Lower(P("sub\\deeper\\~c.doc")), {"mask", 3}},
            {Lower(P("empty.dat")), {"empty", 0}},
        };
        EXPECT_EQ(rows.size(), expected.size()) << body.dump(1);
        for (const auto& entry : expected) {
            auto row = rows.find(entry.first);
            ASSERT_NE(row, rows.end()) << entry.first << "\n" << body.dump(1);
            EXPECT_EQ(row->second["reason"], entry.second.first) << entry.first;
            EXPECT_EQ(row->second["size"], entry.second.second) << entry.first;
        }
    }
    void ExpectNeverListedStay()
    {
        for (const char* rel : {"win386.swp", "sendto\\old.bak", "safe\\x.tmp", "keep.txt"})
            EXPECT_TRUE(Exists(P(rel))) << rel;
    }
    bool AnyJunkLeft()
    {
        for (const char* rel : {"a.tmp", "sub\\b.bak", "sub\\deeper\\~c.doc", "empty.dat"})
            if (Exists(P(rel))) return true;
        return false;
    }

    hosttest::SavedSettingsKey m_settings;
    ScratchDir m_out{"cli-junk-out"};
};

TEST_F(JunkCli, ScanFindsExactlyTheJunkOfTheGivenDriveAndChangesNothing)
{
    const std::string report = m_out / "scan.json";
    const CliRun run = RunCli("sysclean /scan /drives:d /report:" + report);
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    EXPECT_TRUE(run.windows.empty());
    // The one-line summary for whoever started it.
    EXPECT_NE(run.output.find("toolhost sysclean /scan: found something (exit code 1)."), std::string::npos)
        << run.output;
    const nlohmann::json body = ReadReport(report);
    ASSERT_TRUE(body.is_object()) << ReadFileBytes(report);
    ExpectReportHead(body, "sysclean", "scan", 1);
    ExpectJunkFound(body);
    for (const char* rel : {"a.tmp", "sub\\b.bak", "sub\\deeper\\~c.doc", "empty.dat"}) EXPECT_TRUE(Exists(P(rel)));
    ExpectNeverListedStay();
    // The drives were for this run only.
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, hosttest::kSettingsPath, "DriveList"), "C");
}

TEST_F(JunkCli, CleanInEachModeRemovesExactlyTheFindings)
{
    struct Mode {
        const char* args;
        const char* action;
    };
    // Made by the run, both levels; the last name ends in 0x5C, the second byte of 俓.
    const std::string moved = m_out / Ansi("moved here\\俓");
    const Mode modes[] = {
        {"/mode:delete", "deleted"},
        {"/mode:recycle", "recycled"},
        {"", "recycled"},  // the stored mode
        {"/mode:move \"/to:" , "moved"},
    };
    for (const Mode& mode : modes) {
        SetUp();
        std::string args = mode.args;
        if (args.find("/to:") != std::string::npos) args += moved + "\"";
        const std::string report = m_out / "clean.json";
        const CliRun run = RunCli("sysclean /clean /drives:D " + args + " /report:" + report);
        EXPECT_EQ(run.exitCode, 0u) << args << "\n" << run.output;
        EXPECT_TRUE(run.windows.empty()) << args;
        const nlohmann::json body = ReadReport(report);
        ASSERT_TRUE(body.is_object()) << ReadFileBytes(report);
        ExpectReportHead(body, "sysclean", "clean", 0);
        ExpectJunkFound(body);
        for (const nlohmann::json& row : body["findings"]) {
            EXPECT_EQ(row["action"], mode.action) << args << " " << row.dump();
            if (std::string(mode.action) == "moved") {
                ASSERT_TRUE(row["to"].is_string()) << row.dump();
                const std::string to = row["to"];
                EXPECT_EQ(Lower(to).find(Lower(Utf8(moved))), 0u) << to;
                EXPECT_TRUE(Exists(Ansi(to.c_str()))) << to;
            }
        }
        EXPECT_FALSE(AnyJunkLeft()) << args;
        ExpectNeverListedStay();
        EXPECT_EQ(RegDword(HKEY_CURRENT_USER, hosttest::kSettingsPath, "SC_RecycleBin"), 1u) << args;
        EXPECT_EQ(RegDword(HKEY_CURRENT_USER, hosttest::kSettingsPath, "SC_MoveToFolder"), 0u) << args;
    }
}

TEST_F(JunkCli, RecycleModeKeepsAFileOnADriveWithoutRecycleBin)
{
    // N: is a network drive: the shell would delete for good what it cannot recycle.
    ScratchDir share("cli-junk-share", "N:\\toolhost-tests");
    WriteFileBytes(share / "remote.tmp", "remote");
    const std::string report = m_out / "network.json";
    const CliRun run = RunCli("sysclean /clean /drives:DN /mode:recycle /report:" + report);
    EXPECT_EQ(run.exitCode, 3u) << run.output;
    EXPECT_TRUE(Exists(share / "remote.tmp"));
    EXPECT_FALSE(AnyJunkLeft());
    const auto rows = Rows(ReadReport(report));
    auto remote = rows.find(Lower(share / "remote.tmp"));
    ASSERT_NE(remote, rows.end()) << ReadFileBytes(report);
    EXPECT_EQ(remote->second["action"], "kept");
    EXPECT_EQ(remote->second["why"], "no Recycle Bin on this drive");
    EXPECT_EQ(rows.size(), 5u);
}

// A Recycle Bin that cannot take the files (the prefix's trash unusable):
// nothing is deleted for good, every finding is kept and says why, exit 3.
TEST_F(JunkCli, RecycleModeKeepsWhatTheRecycleBinCannotTake)
{
    const std::string report = m_out / "refused.json";
    CliRun run;
    {
        junktest::UnusableTrash trash;
        ASSERT_TRUE(trash.Ready()) << "the trash could not be made unusable";
        run = RunCli("sysclean /clean /drives:D /mode:recycle /report:" + report);
    }
    EXPECT_EQ(run.exitCode, 3u) << run.output;
    EXPECT_TRUE(run.windows.empty());
    for (const char* rel : {"a.tmp", "sub\\b.bak", "sub\\deeper\\~c.doc", "empty.dat"})
        EXPECT_TRUE(Exists(P(rel))) << rel;
    const nlohmann::json body = ReadReport(report);
    ExpectReportHead(body, "sysclean", "clean", 3);
    ExpectJunkFound(body);
    for (const nlohmann::json& row : body["findings"]) {
        EXPECT_EQ(row["action"], "kept") << row.dump();
        EXPECT_EQ(row["why"], "the Recycle Bin cannot take this file") << row.dump();
    }
}

// Moving into a folder on a scanned drive: what is already in that folder
// is not junk to be moved (and renamed) again.
TEST_F(JunkCli, MoveModeLeavesTheMoveFolderAlone)
{
    MakeDirs(P("moved"));
    Seed("moved\\old.tmp", "moved before");
    const std::string report = m_out / "move.json";
    const CliRun run = RunCli("sysclean /clean /drives:D /mode:move \"/to:" + P("Moved") + "\" /report:" + report);
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    const nlohmann::json body = ReadReport(report);
    ExpectJunkFound(body);  // exactly the junk outside the folder
    EXPECT_EQ(ReadFileBytes(P("moved\\old.tmp")), "moved before");
    EXPECT_FALSE(Exists(P("moved\\old (2).tmp")));
    EXPECT_TRUE(Exists(P("moved\\a.tmp")));
    EXPECT_FALSE(AnyJunkLeft());
}

TEST_F(JunkCli, SecondCleanBesideTheOpenWindowExitsFourAndDoesNothing)
{
    Process window(hosttest::ToolhostCommand("sysclean"));
    ASSERT_TRUE(window.started());
    HWND hwnd = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (hwnd = hosttest::FindToolWindow(hosttest::JunkCleanTitle(), window.id())); },
                        30000));
    const std::string report = m_out / "busy.json";
    const CliRun run = RunCli("sysclean /clean /drives:D /mode:delete /report:" + report);
    EXPECT_EQ(run.exitCode, 4u) << run.output;
    EXPECT_TRUE(run.windows.empty());
    EXPECT_EQ(ReadReport(report)["exit_code"], 4);
    for (const char* rel : {"a.tmp", "sub\\b.bak", "sub\\deeper\\~c.doc", "empty.dat"}) EXPECT_TRUE(Exists(P(rel)));
    EXPECT_TRUE(hosttest::CloseTool(window, hwnd));
}

}  // namespace
