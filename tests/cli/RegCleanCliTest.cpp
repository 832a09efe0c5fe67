// regclean /scan and /fix as an administrator runs them: the seeded broken
// values are reported exactly, a scan changes nothing, a fix removes them
// and leaves an undo file that brings them back.
#include "CliTestSupport.h"
#include "ToolhostRun.h"

#include "regclean/UndoStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace testsupport;
using namespace clitest;

namespace {

// Section 7 walks HKEY_CURRENT_USER\AppEvents: a small part of the registry
// the tests can seed without anyone else's values in it.
const char kSeedPath[] = "AppEvents\\ToolhostCliTest";
const char kSeedKey[] = "HKEY_CURRENT_USER\\AppEvents\\ToolhostCliTest";
const char kUndoRecords[] = "Software\\Lumbrix\\Vantor 2\\RegCleanFix\\Undo Info";

struct Seeded {
    const char* name;
    DWORD type;
    const char* data;
};

const Seeded kBroken[] = {
    {"Startup Sound", REG_SZ, "C:\\toolhost-cli-gone\\chime.wav"},
    {"Expanded", REG_EXPAND_SZ, "C:\\toolhost-cli-gone\\sub\\tool.exe"},
    {"", REG_SZ, "D:\\toolhost-cli-gone\\default.dll"},  // the key's default value
};

class RegCleanCli : public ::testing::Test {
protected:
    void SeedBroken()
    {
        for (const Seeded& value : kBroken) m_key.SetString(value.name, value.data, value.type);
    }
    std::set<std::string> ReportedBelowSeed(const nlohmann::json& body)
    {
        std::set<std::string> rows;
        for (const nlohmann::json& row : body["findings"])
            rows.insert(row["key"].get<std::string>() + "|" + row["value"].get<std::string>() + "|" +
                        row["data"].get<std::string>());
        return rows;
    }
    std::set<std::string> Expected()
    {
        std::set<std::string> rows;
        for (const Seeded& value : kBroken) rows.insert(std::string(kSeedKey) + "|" + value.name + "|" + value.data);
        return rows;
    }
    bool ValueIs(const Seeded& value)
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSeedPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
        char data[512] = {};
        DWORD type = 0, size = sizeof data - 1;
        const bool ok = ::RegQueryValueExA(key, value.name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) ==
                        ERROR_SUCCESS;
        ::RegCloseKey(key);
        return ok && type == value.type && std::string(data) == value.data;
    }

    hosttest::SavedSettingsKey m_settings;
    ScratchKey m_key{HKEY_CURRENT_USER, kSeedPath};
    ScratchDir m_out{"cli-regclean"};
};

TEST_F(RegCleanCli, ScanListsExactlyTheBrokenValuesAndChangesNothing)
{
    SeedBroken();
    m_key.SetString("Healthy", ProgramDir() + "toolhost.exe");
    const std::string report = m_out / "scan.json";
    const CliRun run = RunCli("regclean /scan /sections:7 /report:" + report);
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    EXPECT_TRUE(run.windows.empty());
    const nlohmann::json body = ReadReport(report);
    ASSERT_TRUE(body.is_object()) << ReadFileBytes(report);
    ExpectReportHead(body, "regclean", "scan", 1);
    EXPECT_EQ(ReportedBelowSeed(body), Expected()) << body.dump(1);
    for (const Seeded& value : kBroken) EXPECT_TRUE(ValueIs(value)) << value.name;
    EXPECT_FALSE(body.contains("undo_file"));
}

TEST_F(RegCleanCli, HealthyKeyScansClean)
{
    m_key.SetString("Healthy", ProgramDir() + "toolhost.exe");
    const std::string report = m_out / "healthy.json";
    const CliRun run = RunCli("regclean /scan /sections:7 /report:" + report);
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_TRUE(run.windows.empty());
    EXPECT_TRUE(ReadReport(report)["findings"].empty()) << ReadFileBytes(report);
}

TEST_F(RegCleanCli, ConsoleLinesStayEnglishWhateverTheRunsLanguage)
{
    // Section 3 shows no key as it goes: the scan's closing status text would be its first line.
    for (const char* line : {"regclean /scan /sections:3", "regclean /scan /sections:7"}) {
        const CliRun run = RunCli(line);
        EXPECT_LE(run.exitCode, 1u) << line << "\n" << run.output;
        EXPECT_NE(run.output.find("Scanning the registry...\r\n"), std::string::npos) << run.output;
        const bool english = std::all_of(run.output.begin(), run.output.end(),
                                         [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        EXPECT_TRUE(english) << line << "\n" << run.output;
    }
}

TEST_F(RegCleanCli, FixRemovesThemAndTheRecordedUndoFileBringsThemBack)
{
    SeedBroken();
    const std::string report = m_out / "fix.json";
    const CliRun run = RunCli("REGCLEAN -FIX -Sections:7 -Report:" + report);
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_TRUE(run.windows.empty());
    for (const Seeded& value : kBroken) EXPECT_FALSE(ValueIs(value)) << value.name;

    const nlohmann::json body = ReadReport(report);
    ASSERT_TRUE(body.is_object()) << ReadFileBytes(report);
    ExpectReportHead(body, "regclean", "fix", 0);
    EXPECT_EQ(ReportedBelowSeed(body), Expected());
    for (const nlohmann::json& row : body["findings"]) EXPECT_EQ(row["removed"], true) << row.dump();
    ASSERT_TRUE(body["undo_file"].is_string()) << body.dump(1);
    const std::string undo = body["undo_file"];
    EXPECT_TRUE(Exists(undo));
    // Recorded, so the undo panel lists it.
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kUndoRecords, undo.c_str()));

    EXPECT_TRUE(MergeUndoFile(undo.c_str()));
    for (const Seeded& value : kBroken) EXPECT_TRUE(ValueIs(value)) << value.name;
    ::DeleteFileA(undo.c_str());
}

TEST_F(RegCleanCli, SecondRunWhileAScanIsGoingExitsFourAndRemovesNothing)
{
    SeedBroken();
    // Enough healthy values that the first scan is still walking when the second comes.
    HKEY busy = m_key.Sub("busy");
    const std::string healthy = ProgramDir() + "toolhost.exe";
    for (int i = 0; i < 80000; ++i)
        ::RegSetValueExA(busy, ("v" + std::to_string(i)).c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(healthy.c_str()), DWORD(healthy.size() + 1));
    ::RegCloseKey(busy);

    Process first(hosttest::ToolhostCommand("regclean /scan /sections:7"));
    ASSERT_TRUE(first.started());
    // The first run holds the tool's name while it lives (the test's look lets go at once).
    ASSERT_TRUE(WaitFor([] {
        HANDLE name = ::OpenSemaphoreA(SYNCHRONIZE, FALSE, hosttest::RegCleanTitle().c_str());
        if (name) ::CloseHandle(name);
        return name != nullptr;
    }, 30000));
    const std::string report = m_out / "second.json";
    const CliRun second = RunCli("regclean /fix /sections:7 /report:" + report);
    ASSERT_TRUE(first.Running()) << "the first scan ended before the second run could be told apart";
    EXPECT_EQ(second.exitCode, 4u) << second.output;
    EXPECT_TRUE(second.windows.empty());
    EXPECT_EQ(ReadReport(report)["exit_code"], 4);
    for (const Seeded& value : kBroken) EXPECT_TRUE(ValueIs(value)) << value.name;
    EXPECT_EQ(first.Wait(120000), 1u);
}

}  // namespace
