// The installer as an administrator drives it: msiexec on the package the
// build made, and where the installed product shows up (its folder, the
// Start menu, Add/Remove Programs).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace installertest {

// The packages the build wrote for the tests: this version, an older one made
// from the same source, and this version for the other architecture.
std::string CurrentPackage();
std::string OlderPackage();
std::string OtherArchitecturePackage();

// A property of a package's Property table ("" when missing).
std::string PackageProperty(const std::string& package, const char* name);
// A text of a package's summary (PIDSI_SUBJECT, PIDSI_TEMPLATE...), as Windows
// reads it in any code page ("" when missing).
std::wstring SummaryText(const std::string& package, UINT property);
// Where an action stands in a package's InstallExecuteSequence (-1 when absent).
int ExecuteSequence(const std::string& package, const char* action);

// Runs msiexec with these arguments to its end; its exit code. shownWindow,
// when given, receives the title of a window that appeared meanwhile ("" when
// none did, as a quiet run promises).
DWORD RunMsiexec(const std::string& arguments, std::string* shownWindow = nullptr);
// Runs msiexec with its user interface as a user would, answering each
// message box it shows with OK; messages receives their texts.
DWORD RunMsiexecAnswering(const std::string& arguments, std::string* messages);

// Where the product installs, with no trailing backslash; and where the other
// architecture's package installs it (the 32-bit Program Files).
std::string InstallFolder();
std::string OtherArchitectureInstallFolder();
// Where the product's Start-menu folder may be: Windows puts a per-machine
// product's shortcuts in the all-users menu, Wine in the installing user's.
std::vector<std::string> MenuFolders();
// The one of those that exists (the first when none does).
std::string MenuFolder();

// The Add/Remove Programs key of a product code, below HKEY_LOCAL_MACHINE.
std::string UninstallKey(const std::string& productCode);
// Whether Windows Installer has the product installed.
bool ProductInstalled(const std::string& productCode);

// One Start-menu entry: its name (UTF-8, without ".lnk"), the tool word it
// passes ("" for the help) and the file it opens in the install folder.
struct MenuEntry {
    std::string name;
    std::string arguments;
    std::string target;
};
// The tools by their window titles and the help, in each language.
std::vector<MenuEntry> ChineseMenu();
std::vector<MenuEntry> EnglishMenu();
// The entries the installing user gets: English in a prefix made under an
// English locale (TOOLHOST_LANG), Chinese in the Chinese test prefix.
bool EnglishPrefix();
std::vector<MenuEntry> UsersMenu();
std::vector<MenuEntry> OtherLanguageMenu();

// The names (UTF-8) of what a folder holds; empty when it does not exist.
std::vector<std::string> FolderContents(const std::string& folder);

// What a shortcut file points at, as the shell reads it back.
struct ShortcutTarget {
    bool loaded = false;
    std::string path;
    std::string arguments;
    std::string workingFolder;
};
ShortcutTarget ReadShortcut(const std::string& linkPathUtf8);

// Deletes the Start-menu folders and the shortcuts in them, of any language.
void RemoveMenuFolders();

// Quietly removes whichever of the test packages' products is installed, so
// that a test starts from a machine without the product.
void RemoveInstalledProducts();

}  // namespace installertest
