// The MSI package under msiexec, as an administrator deploys it: quiet
// install, what lands where, the Start menu, Add/Remove Programs, upgrade from
// an older package and quiet removal, with the user's own data kept or
// removed as each of those promises.
#include "Package.h"

#include "../host/ToolhostRun.h"

#include <gtest/gtest.h>

#include <msi.h>
#include <objbase.h>
#include <shellapi.h>

using namespace testsupport;
using namespace installertest;

namespace {

const char* const kInstalledFiles[] = {"toolhost.exe", "afxlite.dll", "vantor.dll", "vantres.dll",
                                       "QHTM.dll",     "toolhost.chm", "toolhost-en.chm"};

struct ToolShortcut {
    std::string name;  // the tool's window title
    const char* word;
};

std::vector<ToolShortcut> ToolShortcuts()
{
    return {{hosttest::JunkCleanTitle(), "sysclean"},
            {hosttest::RegCleanTitle(), "regclean"},
            {hosttest::BackupTitle(), "backup"}};
}

std::string HelpShortcut() { return MenuFolder() + "\\" + Ansi(u8"帮助") + ".lnk"; }

// Paths compared as Windows does: any case, with or without a final backslash.
bool SamePath(std::string a, std::string b)
{
    for (std::string* path : {&a, &b})
        if (!path->empty() && path->back() == '\\') path->pop_back();
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// A backup set, an undo file and a setting of the user, each recorded where
// the program records it.
class UserData {
public:
    UserData() : m_dir("installer-user-data")
    {
        m_set = m_dir / "12-05-2023_09-41";
        MakeDirs(m_set);
        // An NT-line set holding no hives: the count, then the system folder.
        std::string info(4 + 260, '\0');
        const char systemDir[] = "C:\\windows\\system32";
        info.replace(4, sizeof systemDir - 1, systemDir);
        WriteFileBytes(info_path(), info);
        hosttest::SetSettingsDword(info_path().c_str(), 0, "AdvRegBackup");
        m_undo = m_dir / "1700000000.reg";
        WriteFileBytes(m_undo, "REGEDIT4\r\n");
        hosttest::SetSettingsDword(m_undo.c_str(), 0, "RegCleanFix\\Undo Info");
        hosttest::SetSettingsString("SC_StrFolderName", "C:\\kept by the installer");
    }

    std::string info_path() const { return m_set + "\\info.arb"; }

    void ExpectKept() const
    {
        EXPECT_EQ(RegString(HKEY_CURRENT_USER, hosttest::kSettingsPath, "SC_StrFolderName"), "C:\\kept by the installer");
        EXPECT_TRUE(FileExists(info_path())) << "the backup set";
        EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, std::string(hosttest::kSettingsPath) + "\\AdvRegBackup",
                                   info_path().c_str()));
        EXPECT_TRUE(FileExists(m_undo)) << "the undo file";
    }

    void ExpectGone() const
    {
        EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, hosttest::kSettingsPath)) << "the settings";
        EXPECT_FALSE(FileExists(m_set)) << "the backup set";
        EXPECT_FALSE(FileExists(m_undo)) << "the undo file";
    }

private:
    ScratchDir m_dir;
    std::string m_set;
    std::string m_undo;
};

class ProcessHandle {
public:
    explicit ProcessHandle(HANDLE handle) : m_handle(handle) {}
    ~ProcessHandle() { if (m_handle) ::CloseHandle(m_handle); }
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

class Installer : public ::testing::Test {
protected:
    hosttest::SavedSettingsKey m_saved;
    std::string m_code = PackageProperty(CurrentPackage(), "ProductCode");
    std::string m_version = PackageProperty(CurrentPackage(), "ProductVersion");

    void SetUp() override
    {
        ::CoInitialize(nullptr);
        ASSERT_FALSE(m_code.empty()) << CurrentPackage();
        RemoveInstalledProducts();
        ASSERT_FALSE(FileExists(InstallFolder())) << "a product is installed before the test";
    }

    void TearDown() override
    {
        RemoveInstalledProducts();
        ::CoUninitialize();
    }

    // A quiet install, as deployment tools run it: exit code 0 and no window.
    void Install(const std::string& package)
    {
        std::string shown;
        const DWORD code = RunMsiexec("/i " + Quoted(package) + " /qn", &shown);
        EXPECT_EQ(shown, "") << "a window appeared";
        ASSERT_EQ(code, 0u);
    }
    std::string Installed(const char* name) const { return InstallFolder() + "\\" + name; }
};

}  // namespace

// Windows refuses a deferred action outside the install script, and the
// removal's condition needs the search done first.
TEST(InstallerPackage, UserDataRemovalRunsInTheScriptBeforeTheFilesGo)
{
    for (const std::string& package : {CurrentPackage(), OlderPackage()}) {
        SCOPED_TRACE(package);
        const int removal = ExecuteSequence(package, "RemoveUserData");
        EXPECT_LT(ExecuteSequence(package, "AppSearch"), ExecuteSequence(package, "InstallInitialize"));
        EXPECT_GT(removal, ExecuteSequence(package, "InstallInitialize"));
        EXPECT_LT(removal, ExecuteSequence(package, "RemoveFiles"));
        EXPECT_GT(ExecuteSequence(package, "RemoveExistingProducts"), ExecuteSequence(package, "InstallFinalize"));
    }
}

TEST_F(Installer, QuietInstallPutsFilesShortcutsAndEntryInPlace)
{
    Install(CurrentPackage());

    for (const char* name : kInstalledFiles) EXPECT_TRUE(FileExists(Installed(name))) << name;

    for (const ToolShortcut& tool : ToolShortcuts()) {
        SCOPED_TRACE(tool.word);
        ShortcutTarget target = ReadShortcut(MenuFolder() + "\\" + tool.name + ".lnk");
        ASSERT_TRUE(target.loaded);
        EXPECT_TRUE(SamePath(target.path, Installed("toolhost.exe"))) << target.path;
        EXPECT_EQ(target.arguments, tool.word);
        EXPECT_TRUE(SamePath(target.workingFolder, InstallFolder())) << target.workingFolder;
    }
    ShortcutTarget help = ReadShortcut(HelpShortcut());
    ASSERT_TRUE(help.loaded);
    EXPECT_TRUE(SamePath(help.path, Installed("toolhost.chm"))) << help.path;

    const std::string entry = UninstallKey(m_code);
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, entry, "DisplayName"), "Vantor 2");
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, entry, "Publisher"), "Lumbrix");
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, entry, "DisplayVersion"), m_version);
    // Add/Remove Programs shows the icon the installer keeps for the product.
    char icon[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    EXPECT_EQ(::MsiGetProductInfoA(m_code.c_str(), "ProductIcon", icon, &size), 0u);
    EXPECT_EQ(::ExtractIconExA(icon, -1, nullptr, nullptr, 0), 1u) << "icon of the entry: " << icon;

    // The Start-menu shortcut opens the installed program's tool window.
    SHELLEXECUTEINFOA run{};
    run.cbSize = sizeof run;
    const std::string link = MenuFolder() + "\\" + hosttest::RegCleanTitle() + ".lnk";
    run.lpFile = link.c_str();
    run.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(::ShellExecuteExA(&run));
    HWND window = WaitForWindow(hosttest::RegCleanTitle());
    ASSERT_NE(window, nullptr) << "no window titled like the shortcut";
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    ProcessHandle tool(::OpenProcess(SYNCHRONIZE, FALSE, pid));
    ASSERT_TRUE(tool.get());
    // The program records where it was started from.
    const std::string started = RegString(HKEY_CURRENT_USER, hosttest::kSettingsPath, "OVN Path");
    EXPECT_TRUE(SamePath(started, Installed("toolhost.exe"))) << started;
    // Ended before the product goes: a running program keeps its file.
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(tool.get(), 15000), WAIT_OBJECT_0);
}

TEST_F(Installer, UpgradeFromOlderPackageAndRepairKeepTheUsersData)
{
    const std::string olderCode = PackageProperty(OlderPackage(), "ProductCode");
    ASSERT_NE(olderCode, m_code);
    Install(OlderPackage());
    ASSERT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, UninstallKey(olderCode)));
    UserData data;

    Install(CurrentPackage());
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, UninstallKey(olderCode))) << "the older product stays listed";
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, UninstallKey(m_code), "DisplayVersion"), m_version);
    for (const char* name : kInstalledFiles) EXPECT_TRUE(FileExists(Installed(name))) << name;
    EXPECT_TRUE(ReadShortcut(MenuFolder() + "\\" + hosttest::BackupTitle() + ".lnk").loaded);
    data.ExpectKept();

    // A repair as msiexec /fa does it (Wine's msiexec takes only this form).
    EXPECT_EQ(RunMsiexec("/i " + Quoted(CurrentPackage()) + " REINSTALL=ALL REINSTALLMODE=amus /qn"), 0u) << "repair";
    EXPECT_TRUE(FileExists(Installed("toolhost.exe")));
    data.ExpectKept();
}

TEST_F(Installer, QuietUninstallRemovesTheProductAndTheUsersData)
{
    Install(CurrentPackage());
    UserData data;

    std::string shown;
    const DWORD code = RunMsiexec("/x " + Quoted(CurrentPackage()) + " /qn", &shown);
    EXPECT_EQ(shown, "") << "a window appeared";
    ASSERT_EQ(code, 0u);
    for (const char* name : kInstalledFiles) EXPECT_FALSE(FileExists(Installed(name))) << name;
    EXPECT_FALSE(FileExists(InstallFolder()));
    for (const std::string& menu : MenuFolders()) {
        for (const ToolShortcut& tool : ToolShortcuts())
            EXPECT_FALSE(FileExists(menu + "\\" + tool.name + ".lnk")) << tool.word;
        EXPECT_FALSE(FileExists(menu + "\\" + Ansi(u8"帮助") + ".lnk"));
        EXPECT_FALSE(FileExists(menu)) << menu;
    }
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, UninstallKey(m_code)));
    data.ExpectGone();
}
