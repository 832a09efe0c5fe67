// backup /backup, /list and /verify: verified sets with retention, the
// registered sets listed, and a damaged copy named by its hive.
#include "CliTestSupport.h"
#include "ToolhostRun.h"

#include "RegbackupTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testsupport;
using namespace clitest;

namespace {

const char kHiveKey[] = "Software\\ToolhostTests\\CliHive";

class BackupCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(hosttest::kSettingsPath) + "\\AdvRegBackup").c_str());
        rbtest::SetStringValue(HKEY_LOCAL_MACHINE, kHiveKey, "machine", "one");
        rbtest::SetStringValue(HKEY_CURRENT_USER, kHiveKey, "user", "two");
        m_hives.Add(std::string("\\REGISTRY\\MACHINE\\") + kHiveKey,
                    "\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\CLIHIVE");
        m_hives.Add("\\REGISTRY\\USER\\" + rbtest::UserSid() + "\\" + kHiveKey,
                    "\\Device\\HarddiskVolume1\\Documents and Settings\\a\\NTUSER.DAT");
    }
    void TearDown() override
    {
        RegDeleteTree(HKEY_LOCAL_MACHINE, kHiveKey);
        RegDeleteTree(HKEY_CURRENT_USER, kHiveKey);
    }

    // The info.arb paths the program recorded under its settings key.
    std::vector<std::string> Recorded()
    {
        std::vector<std::string> names;
        HKEY key = nullptr;
        const std::string path = std::string(hosttest::kSettingsPath) + "\\AdvRegBackup";
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
        char name[1024];
        for (DWORD i = 0;; ++i) {
            DWORD size = sizeof name;
            if (::RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            names.push_back(name);
        }
        ::RegCloseKey(key);
        return names;
    }

    hosttest::SavedSettingsKey m_settings;
    rbtest::HiveListSeed m_hives;
    ScratchDir m_sets{"cli-sets"};
    ScratchDir m_out{"cli-backup-out"};
};

// /keep prunes the sets of the folder it writes to: a set kept somewhere else
// (another location, a copy imported from another disk) is never deleted.
TEST_F(BackupCli, KeepLeavesSetsInOtherFoldersAlone)
{
    ScratchDir elsewhere("cli-sets-elsewhere");
    const std::string firstReport = m_out / "elsewhere.json";
    ASSERT_EQ(RunCli("backup /backup /location:" + elsewhere.path() + " /report:" + firstReport).exitCode, 0u);
    const std::string kept = ReadReport(firstReport)["set"]["info"];
    std::vector<std::string> infos;
    for (int run = 0; run < 2; ++run) {
        const std::string report = m_out / ("keep-one" + std::to_string(run) + ".json");
        const CliRun result = RunCli("backup /backup /location:" + m_sets.path() + " /keep:1 /report:" + report);
        EXPECT_EQ(result.exitCode, 0u) << result.output;
        const nlohmann::json body = ReadReport(report);
        infos.push_back(body["set"]["info"]);
        if (run == 0) EXPECT_TRUE(body["deleted_sets"].empty()) << body.dump(1);
        else EXPECT_EQ(body["deleted_sets"], nlohmann::json::array({infos[0]})) << body.dump(1);
    }
    EXPECT_TRUE(Exists(kept));
    const std::vector<std::string> recorded = Recorded();
    EXPECT_NE(std::find(recorded.begin(), recorded.end(), kept), recorded.end()) << "the set elsewhere lost its record";
    EXPECT_FALSE(Exists(infos[0]));
    EXPECT_TRUE(Exists(infos[1]));
}

TEST_F(BackupCli, BackupKeepTwoThreeTimesLeavesTheTwoNewestSets)
{
    std::vector<std::string> infos;
    for (int run = 0; run < 3; ++run) {
        const std::string report = m_out / ("backup" + std::to_string(run) + ".json");
        const CliRun result = RunCli("backup /backup /location:" + m_sets.path() + " /keep:2 /report:" + report);
        EXPECT_EQ(result.exitCode, 0u) << result.output;
        EXPECT_TRUE(result.windows.empty());
        const nlohmann::json body = ReadReport(report);
        ASSERT_TRUE(body.is_object()) << ReadFileBytes(report);
        ExpectReportHead(body, "backup", "backup", 0);
        const nlohmann::json& set = body["set"];
        EXPECT_EQ(set["complete"], true) << body.dump(1);
        ASSERT_EQ(set["hives"].size(), 2u) << body.dump(1);
        EXPECT_EQ(set["hives"][0]["name"], "Sys1");
        EXPECT_EQ(set["hives"][0]["key"], std::string("HKEY_LOCAL_MACHINE\\") + kHiveKey);
        EXPECT_EQ(set["hives"][1]["name"], "User1");
        for (const nlohmann::json& hive : set["hives"]) EXPECT_EQ(hive["verified"], true);
        infos.push_back(set["info"]);
        EXPECT_TRUE(Exists(infos.back()));
        if (run < 2) EXPECT_TRUE(body["deleted_sets"].empty()) << body.dump(1);
        else EXPECT_EQ(body["deleted_sets"], nlohmann::json::array({infos[0]}));
    }
    // The oldest set is gone with its folder; the two newest stay registered.
    const std::string oldestFolder = infos[0].substr(0, infos[0].rfind('\\'));
    EXPECT_FALSE(Exists(oldestFolder));
    EXPECT_TRUE(Exists(infos[1]));
    EXPECT_TRUE(Exists(infos[2]));
    std::vector<std::string> recorded = Recorded();
    std::sort(recorded.begin(), recorded.end());
    std::vector<std::string> expected = {infos[1], infos[2]};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(recorded, expected);

    // /list gives the registered sets, newest first.
    const std::string listReport = m_out / "list.json";
    const CliRun list = RunCli("backup /list /report:" + listReport);
    EXPECT_EQ(list.exitCode, 0u) << list.output;
    EXPECT_TRUE(list.windows.empty());
    const nlohmann::json listed = ReadReport(listReport)["sets"];
    ASSERT_EQ(listed.size(), 2u) << ReadFileBytes(listReport);
    EXPECT_EQ(listed[0]["info"], infos[2]);
    EXPECT_EQ(listed[1]["info"], infos[1]);
    EXPECT_EQ(listed[0]["date"].get<std::string>().size(), 25u) << listed.dump();  // 2026-12-08T16:31:00+01:00
}

TEST_F(BackupCli, IncompleteBackupDeletesNoOldSet)
{
    const std::string first = m_out / "first.json";
    ASSERT_EQ(RunCli("backup /backup /location:" + m_sets.path() + " /report:" + first).exitCode, 0u);
    const std::string older = ReadReport(first)["set"]["info"];

    // A listed hive that cannot be saved: the new set lacks it.
    m_hives.Add("\\REGISTRY\\ELSEWHERE\\CliGone", "\\Device\\HarddiskVolume1\\CliGone");
    const std::string report = m_out / "incomplete.json";
    const CliRun run = RunCli("backup /backup /location:" + m_sets.path() + " /keep:1 /report:" + report);
    EXPECT_EQ(run.exitCode, 3u) << run.output;
    EXPECT_TRUE(run.windows.empty());
    const nlohmann::json body = ReadReport(report);
    ExpectReportHead(body, "backup", "backup", 3);
    EXPECT_EQ(body["set"]["complete"], false) << body.dump(1);
    EXPECT_TRUE(body["deleted_sets"].empty()) << body.dump(1);
    EXPECT_TRUE(Exists(older));
    EXPECT_EQ(Recorded().size(), 2u);
}

// toolhost.exe runs as on Windows 98 while it lives: the 9x line's engine,
// its records under HKEY_LOCAL_MACHINE.
class Windows98Toolhost {
public:
    Windows98Toolhost() { rbtest::SetStringValue(HKEY_CURRENT_USER, kAppKey, "Version", "win98"); }
    ~Windows98Toolhost()
    {
        RegDeleteTree(HKEY_CURRENT_USER, kAppKey);
        RegDeleteTree(HKEY_LOCAL_MACHINE, std::string(hosttest::kSettingsPath) + "\\AdvRegBackup");
    }

private:
    static constexpr const char* kAppKey = "Software\\Wine\\AppDefaults\\toolhost.exe";
};

TEST_F(BackupCli, Windows98LineBacksUpListsAndVerifiesItsSets)
{
    Windows98Toolhost win98;
    const std::string report = m_out / "legacy.json";
    const CliRun made = RunCli("backup /backup /location:" + m_sets.path() + " /report:" + report);
    EXPECT_EQ(made.exitCode, 0u) << made.output;
    EXPECT_TRUE(made.windows.empty());
    const nlohmann::json set = ReadReport(report)["set"];
    EXPECT_EQ(set["complete"], true) << set.dump(1);
    ASSERT_EQ(set["hives"].size(), 2u) << set.dump(1);
    EXPECT_EQ(set["hives"][0]["name"], "Sys");
    EXPECT_EQ(set["hives"][0]["key"], "HKEY_LOCAL_MACHINE");
    EXPECT_EQ(set["hives"][1]["name"], "User");
    EXPECT_EQ(set["hives"][1]["key"], "HKEY_USERS");
    const std::string info = set["info"];

    const std::string listed = m_out / "legacy-list.json";
    EXPECT_EQ(RunCli("backup /list /report:" + listed).exitCode, 0u);
    const nlohmann::json sets = ReadReport(listed)["sets"];
    ASSERT_EQ(sets.size(), 1u) << sets.dump(1);
    EXPECT_EQ(sets[0]["info"], info);

    const std::string folder = info.substr(0, info.rfind('\\') + 1);
    std::string bytes = ReadFileBytes(folder + "Sys");
    ASSERT_GT(bytes.size(), 64u);
    bytes[bytes.size() / 3] ^= 0x01;
    ASSERT_TRUE(WriteFileBytes(folder + "Sys", bytes));
    const std::string verified = m_out / "legacy-verify.json";
    const CliRun verify = RunCli("backup /verify /report:" + verified);
    EXPECT_EQ(verify.exitCode, 3u) << verify.output;
    const nlohmann::json checked = ReadReport(verified)["sets"];
    ASSERT_EQ(checked.size(), 1u) << checked.dump(1);
    EXPECT_EQ(checked[0]["hives"][0]["verified"], false);
    EXPECT_EQ(checked[0]["hives"][1]["verified"], true);
}

TEST_F(BackupCli, RelativeAndDoubleByteFoldersNameTheFolderTheAdministratorMeant)
{
    // Both last names end in 0x5C, the second byte of 俓 and 媆; neither folder exists yet.
    const std::string deep = m_out / Ansi("备份 俓\\媆");
    CliStart here;
    here.folder = m_out.path();
    const CliRun made = RunCli("backup /backup \"/location:" + deep + "\" /report:made.json", 120000, false, here);
    EXPECT_EQ(made.exitCode, 0u) << made.output;
    const std::string info = ReadReport(m_out / "made.json")["set"]["info"];
    EXPECT_EQ(info.find(Utf8(deep) + "\\"), 0u) << info;

    // The 9x line saves from the Windows folder: relative names still mean
    // the folder the run was started in, and the set is recorded in full.
    Windows98Toolhost win98;
    const CliRun legacy = RunCli("backup /backup /location:sets98 /report:legacy.json", 120000, false, here);
    EXPECT_EQ(legacy.exitCode, 0u) << legacy.output;
    const nlohmann::json body = ReadReport(m_out / "legacy.json");
    ASSERT_TRUE(body.is_object()) << "no report in the start folder";
    const std::string legacyInfo = body["set"]["info"];
    EXPECT_EQ(legacyInfo.find(m_out / "sets98\\"), 0u) << legacyInfo;
    EXPECT_TRUE(Exists(legacyInfo));
    const std::string listReport = m_out / "list.json";
    ASSERT_EQ(RunCli("backup /list /report:" + listReport).exitCode, 0u);
    const nlohmann::json sets = ReadReport(listReport)["sets"];
    ASSERT_EQ(sets.size(), 1u) << sets.dump(1);
    EXPECT_EQ(sets[0]["info"], legacyInfo);
}

TEST_F(BackupCli, VerifyNamesTheHiveWhoseCopyWasDamaged)
{
    const std::string first = m_out / "made.json";
    ASSERT_EQ(RunCli("backup /backup /location:" + m_sets.path() + " /report:" + first).exitCode, 0u);
    const std::string info = ReadReport(first)["set"]["info"];
    const std::string folder = info.substr(0, info.rfind('\\') + 1);

    const std::string good = m_out / "good.json";
    const CliRun clean = RunCli("backup /verify:\"" + info + "\" /report:" + good);
    EXPECT_EQ(clean.exitCode, 0u) << clean.output;
    EXPECT_EQ(ReadReport(good)["sets"][0]["complete"], true);

    // One flipped byte in the middle of the user hive's copy.
    std::string bytes = ReadFileBytes(folder + "User1");
    ASSERT_GT(bytes.size(), 64u);
    bytes[bytes.size() / 2] ^= 0x5A;
    ASSERT_TRUE(WriteFileBytes(folder + "User1", bytes));

    for (const std::string& args : {"backup /verify:" + info, std::string("backup /verify")}) {
        const std::string report = m_out / "verify.json";
        const CliRun run = RunCli(args + " /report:" + report);
        EXPECT_EQ(run.exitCode, 3u) << args << "\n" << run.output;
        EXPECT_TRUE(run.windows.empty());
        EXPECT_NE(run.output.find("User1"), std::string::npos) << run.output;
        const nlohmann::json sets = ReadReport(report)["sets"];
        ASSERT_EQ(sets.size(), 1u) << ReadFileBytes(report);
        EXPECT_EQ(sets[0]["info"], info);
        EXPECT_EQ(sets[0]["complete"], false);
        ASSERT_EQ(sets[0]["hives"].size(), 2u);
        EXPECT_EQ(sets[0]["hives"][0]["verified"], true);
        EXPECT_EQ(sets[0]["hives"][1]["name"], "User1");
        EXPECT_EQ(sets[0]["hives"][1]["verified"], false);
    }
    // Nothing was restored or deleted: the copy is still there as it was left.
    EXPECT_EQ(ReadFileBytes(folder + "User1"), bytes);
}

}  // namespace
