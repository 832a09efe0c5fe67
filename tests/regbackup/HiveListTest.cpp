// The hive list: how hivelist names and device paths are read, and what a
// run over seeded hives shows while it saves them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "RegbackupTestSupport.h"
#include "regbackup/HiveBackup.h"
#include "regbackup/HiveTools.h"

using namespace rbtest;
using testsupport::ScratchDir;

namespace {

class RecordingProgress : public BackupProgress {
public:
    void SetRange(int low, int high) override { ranges.push_back({low, high}); }
    void SetPos(int pos) override { positions.push_back(pos); }
    void SetText(LPCSTR text) override { texts.push_back(text); }
    std::vector<std::pair<int, int>> ranges;
    std::vector<int> positions;
    std::vector<std::string> texts;
};

std::string Split(const char* name, HKEY& root)
{
    CString subkey;
    root = SplitHiveName(name, subkey);
    return subkey.GetString();
}

std::string DrivePath(const char* device)
{
    CString path(device);
    DeviceToDrivePath(path);
    return path.GetString();
}

}  // namespace

TEST(HiveList, NamesSplitIntoRootAndSubkeyInAnyCase)
{
    HKEY root = NULL;
    EXPECT_EQ(Split("\\REGISTRY\\MACHINE\\SOFTWARE", root), "SOFTWARE");
    EXPECT_EQ(root, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(Split("\\registry\\Machine\\System", root), "System");  // case of the subkey kept
    EXPECT_EQ(root, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(Split("\\REGISTRY\\USER\\S-1-5-21-1-2-3-1000", root), "S-1-5-21-1-2-3-1000");
    EXPECT_EQ(root, HKEY_USERS);
    EXPECT_EQ(Split("\\REGISTRY\\USER\\S-1-5-21-1-2-3-1000_Classes", root), "S-1-5-21-1-2-3-1000_Classes");
    EXPECT_EQ(root, HKEY_USERS);
    EXPECT_EQ(Split("\\Registry\\uSeR\\.DEFAULT", root), ".DEFAULT");
    EXPECT_EQ(root, HKEY_USERS);
    // Only the first marker counts: a machine key named "User" stays a machine key.
    EXPECT_EQ(Split("\\REGISTRY\\MACHINE\\SOFTWARE\\User\\X", root), "SOFTWARE\\User\\X");
    EXPECT_EQ(root, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(Split("\\REGISTRY\\OTHER\\HARDWARE", root), "\\REGISTRY\\OTHER\\HARDWARE");
    EXPECT_EQ(root, (HKEY)NULL);
}

TEST(HiveList, DevicePathsBecomeSystemDrivePaths)
{
    const std::string system = SystemDir();  // C:\windows\system32 here
    const std::string drive = system.substr(0, 2);
    char folder[_MAX_DIR];
    _splitpath(system.c_str(), NULL, folder, NULL, NULL);  // "\windows\"

    EXPECT_EQ(DrivePath("\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\SOFTWARE"),
              drive + "\\WINDOWS\\system32\\config\\SOFTWARE");
    EXPECT_EQ(DrivePath("\\Device\\HarddiskVolume1\\Documents and Settings\\user1\\NTUSER.DAT"),
              drive + "\\Documents and Settings\\user1\\NTUSER.DAT");
    EXPECT_EQ(DrivePath("\\Device\\HarddiskVolume2\\Dokumente und Einstellungen\\anna\\NTUSER.DAT"),
              drive + "\\Dokumente und Einstellungen\\anna\\NTUSER.DAT");
    // The NT 4 profile folder below the Windows folder.
    const std::string profile = std::string("\\Device\\HarddiskVolume1") + folder + "Profiles\\user1\\ntuser.dat";
    EXPECT_EQ(DrivePath(profile.c_str()), drive + folder + "Profiles\\user1\\ntuser.dat");
    // The system folder is looked for first, wherever the documents marker stands.
    EXPECT_EQ(DrivePath("\\Device\\X\\Documents\\WINDOWS\\SYSTEM32\\a"), drive + "\\WINDOWS\\SYSTEM32\\a");
    EXPECT_EQ(DrivePath("\\Device\\HarddiskVolume1\\Elsewhere\\hive"), "\\Device\\HarddiskVolume1\\Elsewhere\\hive");
    EXPECT_EQ(DrivePath(""), "");
}

namespace {

// The unique number GetTempFileNameA put into a name: RBK<hex>.TMP.
UINT UniqueOf(const CString& name)
{
    const std::string text = name.GetString();
    const size_t at = text.rfind("RBK");
    if (at == std::string::npos) return 0x10000;
    return UINT(strtoul(text.substr(at + 3, 4).c_str(), NULL, 16));
}

UINT Stepped(UINT value) { return (value + ((value & 2) ? 5 : 3)) & 0xFFFF; }

}  // namespace

TEST(HiveList, TempNamesAreSeededFromTheClockAndStepped)
{
    ScratchDir dir("rb-tempnames");
    // Seeded on first use from rand() and the tick count; the seed itself is
    // stepped before the first name.
    srand(4711);
    const UINT r = UINT(rand());
    srand(4711);
    TempNameCounter counter;
    const DWORD tickBefore = GetTickCount();
    const CString first = MakeTempName(dir.path().c_str(), "RBK", counter, "fallback");
    const DWORD tickAfter = GetTickCount();
    ASSERT_TRUE(counter.seeded);
    ASSERT_EQ(std::string(first).find(dir.path() + "\\RBK"), 0u) << first;
    const UINT u1 = UniqueOf(first);
    bool seedFits = false;
    for (DWORD tick = tickBefore; tick <= tickAfter && !seedFits; ++tick) seedFits = Stepped((r + tick) & 0xFFFF) == u1;
    EXPECT_TRUE(seedFits) << "first number " << u1 << " is not (rand() + GetTickCount()) & 0xFFFF stepped once";

    // Each further name steps by 3 while bit 1 of the number is clear, else by 5.
    UINT previous = u1;
    std::vector<UINT> steps;
    for (int i = 0; i < 6; ++i) {
        const CString next = MakeTempName(dir.path().c_str(), "RBK", counter, "fallback");
        const UINT u = UniqueOf(next);
        EXPECT_EQ(u, Stepped(previous)) << "after " << previous;
        steps.push_back((u - previous) & 0xFFFF);
        previous = u;
    }
    // Both steps occur within a few names.
    EXPECT_NE(std::find(steps.begin(), steps.end(), 3u), steps.end());
    EXPECT_NE(std::find(steps.begin(), steps.end(), 5u), steps.end());

    // The "RO" counter is seeded from the tick count alone.
    TempNameCounter legacy{0, false, false};
    const DWORD roBefore = GetTickCount();
    const CString ro = MakeTempName(dir.path().c_str(), "RO", legacy, "fallback");
    const DWORD roAfter = GetTickCount();
    const UINT uro = UINT(strtoul(std::string(ro).substr(std::string(ro).rfind("RO") + 2, 4).c_str(), NULL, 16));
    bool roFits = false;
    for (DWORD tick = roBefore; tick <= roAfter && !roFits; ++tick) roFits = Stepped(tick & 0xFFFF) == uro;
    EXPECT_TRUE(roFits) << ro;

    // A leftover file of the next name is removed so that RegSaveKeyA can create it.
    TempNameCounter peek = counter;
    const CString next = MakeTempName(dir.path().c_str(), "RBK", peek, "fallback");
    ASSERT_TRUE(testsupport::WriteFileBytes(next.GetString(), "old"));
    const CString second = MakeTempName(dir.path().c_str(), "RBK", counter, "fallback");
    EXPECT_EQ(std::string(second), std::string(next));
    EXPECT_FALSE(testsupport::FileExists(second.GetString()));
    EXPECT_EQ(std::string(MakeTempName("Q:\\no\\such\\folder", "RBK", counter, "fallback")), "fallback");
}

TEST(HiveList, RunOverThreeHivesShowsItsProgress)
{
    SettingsScope settings;
    ScratchDir sets("rb-progress");
    const std::string base = std::string(kTestKey) + "\\Progress";
    for (const char* name : {"\\One", "\\Two"}) SetStringValue(HKEY_LOCAL_MACHINE, base + name, "v", "machine");
    SetStringValue(HKEY_CURRENT_USER, base + "\\Three", "v", "user");
    HiveListSeed seed;
    seed.Add("\\REGISTRY\\MACHINE\\" + base + "\\One", "\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\ONE");
    seed.Add("\\REGISTRY\\MACHINE\\" + base + "\\Two", "\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\TWO");
    seed.Add("\\REGISTRY\\USER\\" + UserSid() + "\\" + base + "\\Three",
             "\\Device\\HarddiskVolume1\\Documents and Settings\\user1\\NTUSER.DAT");

    CHiveBackup engine;
    engine.SetLocation(sets.path().c_str());
    RecordingProgress progress;
    engine.Run(progress);

    ASSERT_EQ(progress.ranges.size(), 1u);
    EXPECT_EQ(progress.ranges[0], std::make_pair(0, 3));
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(progress.texts, (std::vector<std::string>{"Number of Keys to Backup 3", "33% Completed ",
                                                        "66% Completed ", "100% Completed "}));
    EXPECT_EQ(engine.SavedCount(), 3);
    EXPECT_TRUE(engine.SetWritten());
    // The saved hives' temporary files are gone from the system folder.
    for (const HiveRecord& record : engine.m_records) EXPECT_FALSE(testsupport::FileExists(record.tempFile.GetString()));

    SHDeleteKeyA(HKEY_LOCAL_MACHINE, kTestKey);
    SHDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
}

namespace {

// Whether each named privilege is enabled in this process's token.
std::vector<bool> PrivilegesEnabled(const std::vector<const char*>& names)
{
    std::vector<bool> enabled(names.size(), false);
    HANDLE token = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return enabled;
    DWORD size = 0;
    GetTokenInformation(token, TokenPrivileges, NULL, 0, &size);
    std::vector<BYTE> buffer(size ? size : 1);
    if (GetTokenInformation(token, TokenPrivileges, buffer.data(), size, &size)) {
        const TOKEN_PRIVILEGES* list = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
        for (size_t n = 0; n < names.size(); ++n) {
            LUID luid;
            if (!LookupPrivilegeValueA(NULL, names[n], &luid)) continue;
            for (DWORD i = 0; i < list->PrivilegeCount; ++i) {
                const LUID_AND_ATTRIBUTES& p = list->Privileges[i];
                if (p.Luid.LowPart == luid.LowPart && p.Luid.HighPart == luid.HighPart)
                    enabled[n] = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
            }
        }
    }
    CloseHandle(token);
    return enabled;
}

void SetPrivileges(const std::vector<const char*>& names, DWORD attributes)
{
    HANDLE token = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) return;
    for (const char* name : names) {
        TOKEN_PRIVILEGES p = {};
        p.PrivilegeCount = 1;
        p.Privileges[0].Attributes = attributes;
        if (LookupPrivilegeValueA(NULL, name, &p.Privileges[0].Luid)) AdjustTokenPrivileges(token, FALSE, &p, sizeof p, NULL, NULL);
    }
    CloseHandle(token);
}

const std::vector<const char*> kNeeded = {"SeBackupPrivilege", "SeRestorePrivilege", "SeShutdownPrivilege"};

}  // namespace

// Run in a child process of its own (see below): the first call of the
// process must find the rights off and leave them on.
TEST(HiveListChild, PrivilegesAreEnabledInTheToken)
{
    if (!getenv("TOOLHOST_PRIVILEGE_CHILD")) GTEST_SKIP() << "runs as the child of PrivilegesForBackupRestoreAndRestart";
    SetPrivileges(kNeeded, 0);
    ASSERT_EQ(PrivilegesEnabled(kNeeded), (std::vector<bool>{false, false, false})) << "the rights could not be turned off";
    EXPECT_EQ(EnableBackupPrivileges(), 1);
    EXPECT_EQ(PrivilegesEnabled(kNeeded), (std::vector<bool>{true, true, true}));
    // Once enabled, a second call only opens the token.
    EXPECT_EQ(EnableBackupPrivileges(), 1);
}

TEST(HiveList, PrivilegesForBackupRestoreAndRestartAreEnabled)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(NULL, self, MAX_PATH);
    SetEnvironmentVariableA("TOOLHOST_PRIVILEGE_CHILD", "1");
    const DWORD code = testsupport::RunProgram(std::string("\"") + self + "\" --gtest_filter=HiveListChild.*", 60000);
    SetEnvironmentVariableA("TOOLHOST_PRIVILEGE_CHILD", NULL);
    EXPECT_EQ(code, 0u) << "the child's checks failed";
}
