#include "Package.h"

#include <testsupport.h>

#include <msi.h>
#include <msiquery.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
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
std::string OtherArchitecturePackage() { return ProgramDir() + "installer-tests\\toolhost-other-arch.msi"; }

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

std::wstring SummaryText(const std::string& package, UINT property)
{
    MsiHandle summary;
    const std::wstring path(package.begin(), package.end());
    if (::MsiGetSummaryInformationW(0, path.c_str(), 0, &summary) != ERROR_SUCCESS) return L"";
    UINT type = 0;
    wchar_t text[512] = {};
    DWORD size = 512;
    if (::MsiSummaryInfoGetPropertyW(summary, property, &type, nullptr, nullptr, text, &size) != ERROR_SUCCESS ||
        type != VT_LPSTR)
        return L"";
    return text;
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

namespace {

BOOL CALLBACK AddChildText(HWND child, LPARAM texts)
{
    *reinterpret_cast<std::string*>(texts) += WindowText(child) + "\n";
    return TRUE;
}

bool IsMessageBox(HWND window)
{
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return std::string(name) == "#32770";
}

}  // namespace

DWORD RunMsiexecAnswering(const std::string& arguments, std::string* messages)
{
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    messages->clear();
    Process run("\"" + std::string(system) + "\\msiexec.exe\" " + arguments);
    if (!run.started()) return ERROR_FILE_NOT_FOUND;
    std::set<HWND> answered;
    WaitFor([&] {
        for (HWND window : VisibleWindows())
            if (IsMessageBox(window) && answered.insert(window).second) {
                ::EnumChildWindows(window, AddChildText, reinterpret_cast<LPARAM>(messages));
                ::PostMessageA(window, WM_COMMAND, IDOK, 0);
            }
        return !run.Running();
    }, 120000);
    return run.Wait(5000);
}

std::string InstallFolder() { return ShellFolder(CSIDL_PROGRAM_FILES) + "\\Vantor 2"; }
std::string OtherArchitectureInstallFolder() { return ShellFolder(CSIDL_PROGRAM_FILESX86) + "\\Vantor 2"; }
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

bool ProductInstalled(const std::string& productCode)
{
    return ::MsiQueryProductStateA(productCode.c_str()) == INSTALLSTATE_DEFAULT;
}

std::vector<MenuEntry> ChineseMenu()
{
    return {{u8"移除废弃文件", "sysclean", "toolhost.exe"},
            {u8"注册表清理和修复", "regclean", "toolhost.exe"},
            {u8"注册表备份", "backup", "toolhost.exe"},
            {u8"帮助", "", "toolhost.chm"}};
}

std::vector<MenuEntry> EnglishMenu()
{
    return {{"Remove Junk Files", "sysclean", "toolhost.exe"},
            {"Registry Cleanup and Repair", "regclean", "toolhost.exe"},
            {"Registry Backup", "backup", "toolhost.exe"},
            {"Help", "", "toolhost-en.chm"}};
}

bool EnglishPrefix()
{
    const char* locale = std::getenv("TOOLHOST_LANG");
    return locale && std::string(locale).rfind("en", 0) == 0;
}

std::vector<MenuEntry> UsersMenu() { return EnglishPrefix() ? EnglishMenu() : ChineseMenu(); }
std::vector<MenuEntry> OtherLanguageMenu() { return EnglishPrefix() ? ChineseMenu() : EnglishMenu(); }

namespace {

std::wstring Wide(const std::string& utf8)
{
    std::wstring wide(utf8.size() + 1, L'\0');
    wide.resize(::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &wide[0], static_cast<int>(wide.size())) - 1);
    return wide;
}

std::string Utf8(const wchar_t* wide)
{
    std::string utf8(4 * ::lstrlenW(wide) + 1, '\0');
    utf8.resize(::WideCharToMultiByte(CP_UTF8, 0, wide, -1, &utf8[0], static_cast<int>(utf8.size()), nullptr, nullptr) - 1);
    return utf8;
}

class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : m_handle(handle) {}
    ~FindHandle() { if (m_handle != INVALID_HANDLE_VALUE) ::FindClose(m_handle); }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

}  // namespace

std::vector<std::string> FolderContents(const std::string& folder)
{
    // Wide, so that names outside the ANSI code page show as they are.
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    FindHandle search(::FindFirstFileW(Wide(folder + "\\*").c_str(), &found));
    if (search.get() == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = Utf8(found.cFileName);
        if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileW(search.get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}

ShortcutTarget ReadShortcut(const std::string& linkPathUtf8)
{
    ShortcutTarget target;
    ComPtr<IShellLinkA> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link))))
        return target;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) return target;
    if (FAILED(file->Load(Wide(linkPathUtf8).c_str(), STGM_READ))) return target;
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

void RemoveMenuFolders()
{
    for (const std::string& menu : MenuFolders()) {
        for (const std::string& name : FolderContents(menu)) ::DeleteFileW(Wide(menu + "\\" + name).c_str());
        ::RemoveDirectoryW(Wide(menu).c_str());
    }
}

void RemoveInstalledProducts()
{
    for (const std::string& package : {OlderPackage(), CurrentPackage(), OtherArchitecturePackage()}) {
        const std::string code = PackageProperty(package, "ProductCode");
        if (!code.empty() && ProductInstalled(code)) RunMsiexec("/x " + code + " /qn");
    }
}

}  // namespace installertest
