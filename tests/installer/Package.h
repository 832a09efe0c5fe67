// The installer as an administrator drives it: msiexec on the package the
// build made, and where the installed product shows up (its folder, the
// Start menu, Add/Remove Programs).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace installertest {

// The packages the build wrote for the tests: this version and an older one
// made from the same source.
std::string CurrentPackage();
std::string OlderPackage();

// A property of a package's Property table ("" when missing).
std::string PackageProperty(const std::string& package, const char* name);
// Where an action stands in a package's InstallExecuteSequence (-1 when absent).
int ExecuteSequence(const std::string& package, const char* action);

// Runs msiexec with these arguments to its end; its exit code. shownWindow,
// when given, receives the title of a window that appeared meanwhile ("" when
// none did, as a quiet run promises).
DWORD RunMsiexec(const std::string& arguments, std::string* shownWindow = nullptr);

// Where the product installs, with no trailing backslash.
std::string InstallFolder();
// Where the product's Start-menu folder may be: Windows puts a per-machine
// product's shortcuts in the all-users menu, Wine in the installing user's.
std::vector<std::string> MenuFolders();
// The one of those that exists (the first when none does).
std::string MenuFolder();

// The Add/Remove Programs key of a product code, below HKEY_LOCAL_MACHINE.
std::string UninstallKey(const std::string& productCode);

// What a shortcut file points at, as the shell reads it back.
struct ShortcutTarget {
    bool loaded = false;
    std::string path;
    std::string arguments;
    std::string workingFolder;
};
ShortcutTarget ReadShortcut(const std::string& linkPath);

// Quietly removes whichever of the test packages' products is installed, so
// that a test starts from a machine without the product.
void RemoveInstalledProducts();

}  // namespace installertest
