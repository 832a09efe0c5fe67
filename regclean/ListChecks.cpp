#include "regclean/ListChecks.h"

#include "regclean/FileReference.h"
#include "regclean/PathText.h"
#include "regclean/RegKey.h"

#include <vantor/Registry.h>
#include <vantor/System.h>

#include <set>
#include <string>
#include <vector>

const char kSharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
const char kAppPathsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

namespace {

CString MachinePath(const char* subkey) { return CString("HKEY_LOCAL_MACHINE\\") + subkey; }

// A string value (REG_SZ or REG_EXPAND_SZ, not expanded); false otherwise.
bool ReadText(HKEY key, const char* name, CString& text)
{
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    std::vector<char> buffer(size_t(size) + 1, 0);
    if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS)
        return false;
    buffer[size_t(size)] = 0;
    text = buffer.data();
    return true;
}

std::vector<CString> SubkeyNames(HKEY key)
{
    std::vector<CString> names;
    for (DWORD index = 0;; ++index) {
        char name[260];
        DWORD size = sizeof name;
        LONG rc = ::RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) continue;
        if (rc != ERROR_SUCCESS) break;
        names.push_back(name);
    }
    return names;
}

// A value below HKEY_CLASSES_ROOT is kept under the machine's or the
// user's Software\Classes, which the software walks cover: listed there in
// this scan, it is not listed again.
void AddClassesFinding(ScanContext& ctx, const CString& subPath, const char* data)
{
    for (const char* stored : {"HKEY_LOCAL_MACHINE\\Software\\Classes\\", "HKEY_CURRENT_USER\\Software\\Classes\\"})
        if (ctx.walked.count(WalkedValue(stored + subPath, "", data))) return;
    ctx.sink.AddFinding("HKEY_CLASSES_ROOT\\" + subPath, "", data);
}

void CheckHelpKey(ScanContext& ctx, const char* subkey)
{
    HKEY machine = HKEY_LOCAL_MACHINE;
    CRegistry registry(machine);
    if (!registry.Open(HKEY_LOCAL_MACHINE, subkey, FALSE)) return;
    CStringArray names;
    registry.ListValues("", names);
    const CString keyPath = MachinePath(subkey);
    for (int i = 0; i < names.GetSize() && ctx.KeepGoing(); ++i) {
        CString folder;
        if (!registry.ReadString(names[i], folder)) continue;
        if (folder.GetLength() <= 4 || folder[1] != ':') continue;
        CString full = folder;
        if (!TextEndsWith(full, '\\')) full += "\\";
        full += names[i];
        if (ctx.files.TestFileReference(full) == kRefMissing) ctx.sink.AddFinding(keyPath, names[i], folder);
    }
}

}  // namespace

void CheckSharedDlls(ScanContext& ctx)
{
    HKEY machine = HKEY_LOCAL_MACHINE;
    CRegistry registry(machine);
    CStringArray names;
    registry.ListValues(kSharedDllsKey, names);
    const CString keyPath = MachinePath(kSharedDllsKey);
    for (int i = 0; i < names.GetSize() && ctx.KeepGoing(); ++i)
        if (ctx.files.TestFileReference(names[i]) == kRefMissing) ctx.sink.AddFinding(keyPath, names[i], "");
}

void CheckHelpFiles(ScanContext& ctx)
{
    CheckHelpKey(ctx, "Software\\Microsoft\\Windows\\HTML Help");
    if (ctx.KeepGoing()) CheckHelpKey(ctx, "Software\\Microsoft\\Windows\\Help");
}

void CheckFonts(ScanContext& ctx)
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    ::GetVersionExA(&version);
    const bool nt = IsOsWinNT() || version.dwMajorVersion > 4;
    const char* subkey = nt ? "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts"
                            : "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Fonts";
    HKEY machine = HKEY_LOCAL_MACHINE;
    CRegistry registry(machine);
    if (!registry.Open(HKEY_LOCAL_MACHINE, subkey, FALSE)) return;
    CStringArray names;
    registry.ListValues("", names);
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    const CString keyPath = MachinePath(subkey);
    for (int i = 0; i < names.GetSize() && ctx.KeepGoing(); ++i) {
        CString data;
        if (!registry.ReadString(names[i], data)) continue;
        // Only bare file names: a font with a path of its own lives elsewhere.
        if (data.GetLength() < 4 || TextFindOneOf(data, ":\\") >= 0) continue;
        CString full = CString(windows) + "\\fonts\\" + data;
        full.Trim();
        full.MakeLower();
        if (ctx.files.TestFileReference(full) == kRefMissing) ctx.sink.AddFinding(keyPath, names[i], data);
    }
}

void CheckFileAssociations(ScanContext& ctx)
{
    const HKEY classes = HKEY_CLASSES_ROOT;
    std::set<std::string> checked;  // upper-cased ProgIDs whose commands were tested
    for (DWORD index = 0; ctx.KeepGoing(); ++index) {
        char name[260];
        DWORD size = sizeof name;
        LONG rc = ::RegEnumKeyExA(classes, index, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) continue;
        if (rc != ERROR_SUCCESS) break;
        if (name[0] != '.') continue;
        RegKey ext;
        if (ext.Open(classes, name, kReadAccess) != ERROR_SUCCESS) continue;
        CString progId;
        if (!ReadText(ext.get(), "", progId) || progId.Trim().IsEmpty()) continue;
        RegKey prog;
        if (prog.Open(classes, progId, kReadAccess) != ERROR_SUCCESS) {
            AddClassesFinding(ctx, name, progId);
            continue;
        }
        CString upper(progId);
        upper.MakeUpper();
        if (!checked.insert(upper.str()).second) continue;
        RegKey shell;
        if (shell.Open(prog.get(), "shell", kReadAccess) != ERROR_SUCCESS) continue;
        for (const CString& verb : SubkeyNames(shell.get())) {
            if (!ctx.KeepGoing()) break;
            RegKey command;
            if (command.Open(shell.get(), verb + "\\command", kReadAccess) != ERROR_SUCCESS) continue;
            CString line;
            if (!ReadText(command.get(), "", line) || line.IsEmpty()) continue;
            if (ctx.files.TestFileReference(line) == kRefMissing)
                AddClassesFinding(ctx, progId + "\\shell\\" + verb + "\\command", line);
        }
    }
}

void CheckAppPaths(ScanContext& ctx)
{
    RegKey paths;
    if (paths.Open(HKEY_LOCAL_MACHINE, kAppPathsKey, kReadAccess) != ERROR_SUCCESS) return;
    for (const CString& program : SubkeyNames(paths.get())) {
        if (!ctx.KeepGoing()) break;
        RegKey entry;
        if (entry.Open(paths.get(), program, kReadAccess) != ERROR_SUCCESS) continue;
        const CString keyPath = MachinePath(kAppPathsKey) + "\\" + program;
        for (const char* value : {"", "Path"}) {
            CString data;
            if (!ReadText(entry.get(), value, data) || data.IsEmpty()) continue;
            if (ctx.files.TestFileReference(data) == kRefMissing) ctx.sink.AddFinding(keyPath, value, data);
        }
    }
}

void CheckUninstallEntries(ScanContext& ctx)
{
    RegKey uninstall;
    if (uninstall.Open(HKEY_LOCAL_MACHINE, kUninstallKey, kReadAccess) != ERROR_SUCCESS) return;
    for (const CString& product : SubkeyNames(uninstall.get())) {
        if (!ctx.KeepGoing()) break;
        RegKey entry;
        if (entry.Open(uninstall.get(), product, kReadAccess) != ERROR_SUCCESS) continue;
        TestKeyValues(ctx, entry.get(), MachinePath(kUninstallKey) + "\\" + product);
    }
}
