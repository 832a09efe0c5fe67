#include "Package.h"

#include <testsupport.h>

#include <msi.h>
#include <msiquery.h>
#include <objbase.h>
#include <shlobj.h>

#include <set>

using namespace testsupport;

namespace installertest {

namespace {

// Closes an MSIHANDLE when it goes.
class MsiHandle {
public:
    explicit MsiHandle(MSIHANDLE handle = 0) : m_handle(handle) {}
    ~MsiHandle() { if (m_handle) ::MsiCloseHandle(m_handle); }
    MsiHandle(const MsiHandle&) = delete;
    MsiHandle& operator=(const MsiHandle&) = delete;
    MSIHANDLE* operator&() { return &m_handle; }
    operator MSIHANDLE() const { return m_handle; }

private:
    MSIHANDLE m_handle = 0;
};

template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { if (m_ptr) m_ptr->Release(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    Interface** operator&() { return &m_ptr; }
    Interface* operator->() const { return m_ptr; }
    explicit operator bool() const { return m_ptr != nullptr; }

private:
    Interface* m_ptr = nullptr;
};

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return "";
    return path;
}

}  // namespace

std::string CurrentPackage() { return ProgramDir() + "installer-tests\\toolhost.msi"; }
std::string OlderPackage() { return ProgramDir() + "installer-tests\\toolhost-older.msi"; }

namespace {

// The first row of a query on a package, or 0 when it has none.
MSIHANDLE FirstRow(const std::string& package, const std::string& query)
{
    MsiHandle database;
    if (::MsiOpenDatabaseA(package.c_str(), MSIDBOPEN_READONLY, &database) != ERROR_SUCCESS) return 0;
    MsiHandle view;
    if (::MsiDatabaseOpenViewA(database, query.c_str(), &view) != ERROR_SUCCESS) return 0;
    if (::MsiViewExecute(view, 0) != ERROR_SUCCESS) return 0;
    MSIHANDLE record = 0;
    if (::MsiViewFetch(view, &record) != ERROR_SUCCESS) return 0;
    return record;
}

}  // namespace

std::string PackageProperty(const std::string& package, const char* name)
{
    MsiHandle record(FirstRow(package, std::string("SELECT `Value` FROM `Property` WHERE `Property`='") + name + "'"));
    char value[512] = {};
    DWORD size = sizeof value;
    if (!record || ::MsiRecordGetStringA(record, 1, value, &size) != ERROR_SUCCESS) return "";
    return value;
}

int ExecuteSequence(const std::string& package, const char* action)
{
    MsiHandle record(
        FirstRow(package, std::string("SELECT `Sequence` FROM `InstallExecuteSequence` WHERE `Action`='") + action + "'"));
    return record ? ::MsiRecordGetInteger(record, 1) : -1;
}

namespace {

BOOL CALLBACK AddVisibleWindow(HWND window, LPARAM windows)
{
    if (::IsWindowVisible(window)) reinterpret_cast<std::set<HWND>*>(windows)->insert(window);
    return TRUE;
}

std::set<HWND> VisibleWindows()
{
    std::set<HWND> windows;
    ::EnumWindows(AddVisibleWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

}  // namespace

DWORD RunMsiexec(const std::string& arguments, std::string* shownWindow)
{
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    const std::string command = "\"" + std::string(system) + "\\msiexec.exe\" " + arguments;
    if (!shownWindow) return RunProgram(command, 120000);

    shownWindow->clear();
    const std::set<HWND> before = VisibleWindows();
    Process run(command);
    if (!run.started()) return ERROR_FILE_NOT_FOUND;
    WaitFor([&] {
        for (HWND window : VisibleWindows())
            if (!before.count(window)) {
                *shownWindow = WindowText(window);
                if (shownWindow->empty()) *shownWindow = "(untitled)";
                return true;
            }
        return !run.Running();
    }, 120000);
    // A window waiting for someone would hold the run for ever.
    return run.Wait(shownWindow->empty() ? 120000 : 5000);
}

std::string InstallFolder() { return ShellFolder(CSIDL_PROGRAM_FILES) + "\\Vantor 2"; }
std::vector<std::string> MenuFolders()
{
    return {ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Vantor 2", ShellFolder(CSIDL_PROGRAMS) + "\\Vantor 2"};
}

std::string MenuFolder()
{
    for (const std::string& folder : MenuFolders())
        if (FileExists(folder)) return folder;
    return MenuFolders().front();
}

std::string UninstallKey(const std::string& productCode)
{
    return "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + productCode;
}

ShortcutTarget ReadShortcut(const std::string& linkPath)
{
    ShortcutTarget target;
    ComPtr<IShellLinkA> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link))))
        return target;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) return target;
    wchar_t wide[MAX_PATH] = {};
    ::MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
    if (FAILED(file->Load(wide, STGM_READ))) return target;
    char text[MAX_PATH] = {};
    link->GetPath(text, MAX_PATH, nullptr, 0);
    target.path = text;
    text[0] = '\0';
    link->GetArguments(text, MAX_PATH);
    target.arguments = text;
    text[0] = '\0';
    link->GetWorkingDirectory(text, MAX_PATH);
    target.workingFolder = text;
    target.loaded = true;
    return target;
}

void RemoveInstalledProducts()
{
    for (const std::string& package : {OlderPackage(), CurrentPackage()}) {
        const std::string code = PackageProperty(package, "ProductCode");
        if (!code.empty() && RegKeyExists(HKEY_LOCAL_MACHINE, UninstallKey(code))) RunMsiexec("/x " + code + " /qn");
    }
}

}  // namespace installertest
