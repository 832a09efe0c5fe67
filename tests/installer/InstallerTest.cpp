// The MSI package under msiexec, as an administrator deploys it: quiet
// install, what lands where, the Start menu in the installing user's
// language, Add/Remove Programs, upgrade from an older package, the other
// architecture's package, and quiet removal, with the user's own data kept or
// removed as each of those promises. Run in the Chinese test prefix and in the
// English one.
#include "Package.h"

#include "../host/ToolhostRun.h"

#include <gtest/gtest.h>

#include <msi.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>

using namespace testsupport;
using namespace installertest;

namespace {

const char* const kInstalledFiles[] = {"toolhost.exe", "afxlite.dll", "vantor.dll", "vantres.dll",
                                       "QHTM.dll",     "toolhost.chm", "toolhost-en.chm"};

std::string Shortcut(const MenuEntry& entry) { return MenuFolder() + "\\" + entry.name + ".lnk"; }

// What the Start-menu folder holds: exactly these entries' shortcuts.
std::vector<std::string> ShortcutFiles(const std::vector<MenuEntry>& entries)
{
    std::vector<std::string> names;
    for (const MenuEntry& entry : entries) names.push_back(entry.name + ".lnk");
    std::sort(names.begin(), names.end());
    return names;
}

MenuEntry Entry(const std::vector<MenuEntry>& menu, const std::string& arguments)
{
    return *std::find_if(menu.begin(), menu.end(), [&](const MenuEntry& e) { return e.arguments == arguments; });
}

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
        // What a failed run left behind in a prefix that is kept (the
        // English one): shortcuts of no installed product.
        RemoveMenuFolders();
        ASSERT_FALSE(FileExists(InstallFolder())) << "a product is installed before the test";
        ASSERT_FALSE(FileExists(OtherArchitectureInstallFolder())) << "a product is installed before the test";
    }

    void TearDown() override
    {
        RemoveInstalledProducts();
        ::CoUninitialize();
    }

    // A quiet install, as deployment tools run it: exit code 0 and no window.
    void Install(const std::string& package, const std::string& properties = "")
    {
        std::string shown;
        const DWORD code = RunMsiexec("/i " + Quoted(package) + " /qn " + properties, &shown);
        EXPECT_EQ(shown, "") << "a window appeared";
        ASSERT_EQ(code, 0u);
    }
    std::string Installed(const std::string& name) const { return InstallFolder() + "\\" + name; }

    // The Start menu holds the user's shortcuts (or those given), each
    // opening its file of the given install folder, and nothing else.
    void ExpectMenuOpens(const std::string& folder, const std::vector<MenuEntry>& menu = UsersMenu())
    {
        EXPECT_EQ(FolderContents(MenuFolder()), ShortcutFiles(menu));
        for (const MenuEntry& entry : menu) {
            SCOPED_TRACE(entry.name);
            ShortcutTarget target = ReadShortcut(Shortcut(entry));
            ASSERT_TRUE(target.loaded);
            EXPECT_TRUE(SamePath(target.path, folder + "\\" + entry.target)) << target.path;
            EXPECT_EQ(target.arguments, entry.arguments);
            EXPECT_TRUE(SamePath(target.workingFolder, folder)) << target.workingFolder;
        }
    }

    void ExpectNoMenu()
    {
        for (const std::string& menu : MenuFolders()) {
            EXPECT_EQ(FolderContents(menu), std::vector<std::string>()) << menu;
            EXPECT_FALSE(FileExists(menu)) << menu;
        }
    }
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

// One package for every language: what Explorer shows of the file reads the
// same under any code page, and the package claims no language of its own, so
// Windows Installer speaks the machine's.
TEST(InstallerPackage, ThePackageIsLanguageNeutral)
{
    for (const std::string& package : {CurrentPackage(), OlderPackage(), OtherArchitecturePackage()}) {
        SCOPED_TRACE(package);
        EXPECT_EQ(SummaryText(package, PIDSI_SUBJECT), L"Vantor 2 System Maintenance Tools");
        const std::wstring languages = SummaryText(package, PIDSI_TEMPLATE);
        EXPECT_EQ(languages.substr(languages.find(L';')), L";0");
        EXPECT_EQ(PackageProperty(package, "ProductLanguage"), "0");
    }
}

TEST_F(Installer, QuietInstallPutsFilesShortcutsAndEntryInPlace)
{
    Install(CurrentPackage());

    for (const char* name : kInstalledFiles) EXPECT_TRUE(FileExists(Installed(name))) << name;

    // The installing user's language names the shortcuts; the other
    // language's set is not there.
    ExpectMenuOpens(InstallFolder());

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
    const MenuEntry regclean = Entry(UsersMenu(), "regclean");
    const std::string link = MenuFolder() + "\\" + Ansi(regclean.name.c_str()) + ".lnk";
    run.lpFile = link.c_str();
    run.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(::ShellExecuteExA(&run));
    HWND window = WaitForWindow(Ansi(regclean.name.c_str()));
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

// A deployment for users of the other language: the administrator names it.
TEST_F(Installer, AnAdministratorChoosesTheStartMenuLanguage)
{
    Install(CurrentPackage(), EnglishPrefix() ? "MENULANGUAGE=2052" : "MENULANGUAGE=1033");
    ExpectMenuOpens(InstallFolder(), OtherLanguageMenu());

    ASSERT_EQ(RunMsiexec("/x " + Quoted(CurrentPackage()) + " /qn"), 0u);
    ExpectNoMenu();
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
    ExpectMenuOpens(InstallFolder());
    data.ExpectKept();

    // A repair as msiexec /fa does it (Wine's msiexec takes only this form).
    EXPECT_EQ(RunMsiexec("/i " + Quoted(CurrentPackage()) + " REINSTALL=ALL REINSTALLMODE=amus /qn"), 0u) << "repair";
    EXPECT_TRUE(FileExists(Installed("toolhost.exe")));
    ExpectMenuOpens(InstallFolder());
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
    ExpectNoMenu();
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, UninstallKey(m_code)));
    data.ExpectGone();
}

// One program per machine: either architecture's package replaces the other's
// in place, as a newer version does, so the Start menu always opens the
// program that is there and removing it leaves nothing behind.
TEST_F(Installer, EitherArchitectureReplacesTheOtherAndTheStartMenuFollows)
{
    struct Architecture {
        std::string package, code, folder;
    };
    const Architecture other{OtherArchitecturePackage(), PackageProperty(OtherArchitecturePackage(), "ProductCode"),
                             OtherArchitectureInstallFolder()};
    const Architecture own{CurrentPackage(), m_code, InstallFolder()};
    ASSERT_NE(other.code, own.code);
    Install(other.package);
    ASSERT_TRUE(ProductInstalled(other.code));
    ExpectMenuOpens(other.folder);
    UserData data;

    for (const auto& [installed, replaced] : {std::pair(own, other), std::pair(other, own)}) {
        SCOPED_TRACE(installed.package);
        Install(installed.package);
        EXPECT_TRUE(ProductInstalled(installed.code));
        EXPECT_FALSE(ProductInstalled(replaced.code)) << "both architectures installed";
        EXPECT_FALSE(FileExists(replaced.folder));
        ExpectMenuOpens(installed.folder);
        data.ExpectKept();
    }

    ASSERT_EQ(RunMsiexec("/x " + Quoted(OtherArchitecturePackage()) + " /qn"), 0u);
    EXPECT_FALSE(ProductInstalled(other.code));
    EXPECT_FALSE(FileExists(other.folder));
    ExpectNoMenu();
    data.ExpectGone();
}

// An older package never replaces a newer one of either architecture: it
// stops, saying why in the user's language (a double click shows it), and
// leaves the product as it was.
TEST_F(Installer, AnOlderPackageLeavesANewerOneOfEitherArchitecture)
{
    const std::string olderCode = PackageProperty(OlderPackage(), "ProductCode");
    const std::string message = EnglishPrefix() ? "A newer version of Vantor 2 is already installed."
                                                : Ansi(u8"已安装了更新版本的 Vantor 2。");
    for (const std::string& newer : {CurrentPackage(), OtherArchitecturePackage()}) {
        SCOPED_TRACE(newer);
        const std::string newerCode = PackageProperty(newer, "ProductCode");
        const std::string folder = newer == CurrentPackage() ? InstallFolder() : OtherArchitectureInstallFolder();
        Install(newer);

        std::string shown;
        EXPECT_EQ(RunMsiexecAnswering("/i " + Quoted(OlderPackage()), &shown), DWORD(ERROR_INSTALL_FAILURE));
        EXPECT_NE(shown.find(message), std::string::npos) << shown;
        EXPECT_FALSE(ProductInstalled(olderCode));
        EXPECT_TRUE(ProductInstalled(newerCode));
        EXPECT_TRUE(FileExists(folder + "\\toolhost.exe"));
        ExpectMenuOpens(folder);
        RemoveInstalledProducts();
    }
}
