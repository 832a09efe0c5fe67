#include "RegbackupTestSupport.h"

#include <algorithm>
#include <sddl.h>
#include <shlwapi.h>
#include <vantor/DlgMainWnd.h>

namespace rbtest {

const char kSettingsPath[] = "Software\\ToolhostTests\\RegBackupSettings";
const char kTestKey[] = "Software\\ToolhostTests\\RegBackup";
const char kHiveListKey[] = "SYSTEM\\CurrentControlSet\\Control\\hivelist";

SettingsScope::SettingsScope() : m_saved(CDlgChildWnd::m_strSettingsPath.GetString())
{
    CDlgChildWnd::m_strSettingsPath = kSettingsPath;
    SHDeleteKeyA(HKEY_CURRENT_USER, kSettingsPath);
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, kSettingsPath);
}

SettingsScope::~SettingsScope()
{
    SHDeleteKeyA(HKEY_CURRENT_USER, kSettingsPath);
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, kSettingsPath);
    CDlgChildWnd::m_strSettingsPath = m_saved.c_str();
}

FakePlatform::FakePlatform() : m_previous(SetBackupPlatform(this)) {}

FakePlatform::~FakePlatform()
{
    SetBackupPlatform(m_previous);
    RemoveNewFiles();
}

void FakePlatform::RemoveNewFiles()
{
    for (const Replace& r : replaces) {
        DeleteFileA(r.newFile.c_str());
        DeleteFileA(r.oldFile.c_str());
    }
}

LONG FakePlatform::ReplaceKey(HKEY root, LPCSTR subKey, LPCSTR newFile, LPCSTR oldFile)
{
    replaces.push_back({root, subKey ? subKey : "", newFile ? newFile : "", oldFile ? oldFile : "",
                        testsupport::ReadFileBytes(newFile ? newFile : "")});
    return ERROR_SUCCESS;
}

BOOL FakePlatform::RequestRestart(UINT flags, DWORD reason)
{
    restarts.push_back({flags, reason});
    return TRUE;
}

int FakePlatform::ShellFormatDrive(HWND, UINT drive, UINT formatId, UINT options, int& result)
{
    formats.push_back({drive, formatId, options});
    if (formatLoad) return formatLoad;
    result = formatAnswer;
    return 0;
}

BOOL FakePlatform::WriteRawSector(LPCSTR device, const BYTE* data, DWORD size)
{
    rawDevices.push_back(device);
    rawBytes.assign(reinterpret_cast<const char*>(data), size);
    return TRUE;
}

int FakePlatform::Ask(HWND, LPCSTR text, LPCSTR, UINT type)
{
    questions.push_back(text ? text : "");
    questionTypes.push_back(type);
    return (type & 0xF) == MB_OK ? IDOK : answer;
}

BOOL FakePlatform::PickFolder(CWnd*, LPCSTR, CString& folder)
{
    if (folderToPick.empty()) return FALSE;
    folder = folderToPick.c_str();
    return TRUE;
}

BOOL FakePlatform::PickFile(CWnd*, LPCSTR filter, DWORD flags, CString& path)
{
    fileFilter = filter ? filter : "";
    fileFlags = flags;
    if (fileToPick.empty()) return FALSE;
    path = fileToPick.c_str();
    return TRUE;
}

HiveListSeed::HiveListSeed()
{
    HKEY key = CreateKeyPath(HKEY_LOCAL_MACHINE, kHiveListKey);
    char name[1024];
    BYTE data[2048];
    for (;;) {
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        if (RegEnumValueA(key, 0, name, &nameSize, NULL, &type, data, &dataSize) != ERROR_SUCCESS) break;
        m_before.push_back({name, std::string(reinterpret_cast<char*>(data), dataSize ? dataSize - 1 : 0)});
        RegDeleteValueA(key, name);
    }
    RegCloseKey(key);
}

HiveListSeed::~HiveListSeed()
{
    HKEY key = CreateKeyPath(HKEY_LOCAL_MACHINE, kHiveListKey);
    char name[1024];
    for (;;) {
        DWORD nameSize = sizeof name;
        if (RegEnumValueA(key, 0, name, &nameSize, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
        RegDeleteValueA(key, name);
    }
    for (auto& v : m_before)
        RegSetValueExA(key, v.first.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.second.c_str()),
                       DWORD(v.second.size() + 1));
    RegCloseKey(key);
}

void HiveListSeed::Add(const std::string& name, const std::string& devicePath)
{
    SetStringValue(HKEY_LOCAL_MACHINE, kHiveListKey, name.c_str(), devicePath);
}

std::string UserSid()
{
    HANDLE token = NULL;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    BYTE buffer[512];
    DWORD size = 0;
    std::string sid;
    if (GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)) {
        LPSTR text = NULL;
        if (ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text)) {
            sid = text;
            LocalFree(text);
        }
    }
    CloseHandle(token);
    return sid;
}

HKEY CreateKeyPath(HKEY root, const std::string& path)
{
    HKEY key = NULL;
    RegCreateKeyExA(root, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
    return key;
}

void SetStringValue(HKEY root, const std::string& path, const char* name, const std::string& data)
{
    HKEY key = CreateKeyPath(root, path);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), DWORD(data.size() + 1));
    RegCloseKey(key);
}

bool SaveKeyTo(HKEY root, const std::string& path, const std::string& file)
{
    DeleteFileA(file.c_str());
    HKEY key = NULL;
    if (RegOpenKeyExA(root, path.c_str(), 0, READ_CONTROL, &key) != ERROR_SUCCESS) return false;
    bool ok = RegSaveKeyA(key, file.c_str(), NULL) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

void SeedBlobHive(HiveListSeed& seed, const std::string& leaf, size_t bytes)
{
    const std::string path = std::string(kTestKey) + "\\Complete\\" + leaf;
    HKEY key = CreateKeyPath(HKEY_LOCAL_MACHINE, path);
    if (!key) return;
    std::string data(bytes, '\0');
    for (size_t i = 0; i < bytes; ++i) data[i] = char((i * 7 + leaf.size()) & 0xFF);
    RegSetValueExA(key, "blob", 0, REG_BINARY, reinterpret_cast<const BYTE*>(data.data()), DWORD(data.size()));
    RegCloseKey(key);
    seed.Add("\\REGISTRY\\MACHINE\\" + path, "\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\" + leaf);
}

unsigned long long FreeBytes(const std::string& path)
{
    ULARGE_INTEGER free = {}, total = {};
    return GetDiskFreeSpaceExA(path.c_str(), &free, &total, NULL) ? free.QuadPart : 0;
}

unsigned long long TotalBytes(const std::string& path)
{
    ULARGE_INTEGER free = {}, total = {};
    return GetDiskFreeSpaceExA(path.c_str(), &free, &total, NULL) ? total.QuadPart : 0;
}

bool SmallDriveThere()
{
    const unsigned long long total = TotalBytes("U:\\");
    return total > 0 && total <= 16ull * 1024 * 1024;
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& mask)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\" + mask).c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string SystemDir()
{
    char buffer[MAX_PATH] = {};
    GetSystemDirectoryA(buffer, MAX_PATH);
    return buffer;
}

std::string TempFileName(const std::string& stem)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + stem;
}

void ClearSetRecords()
{
    const std::string key = std::string(kSettingsPath) + "\\AdvRegBackup";
    SHDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
}

std::vector<std::string> RecordedSets(HKEY root)
{
    std::vector<std::string> names;
    HKEY key = NULL;
    const std::string path = std::string(kSettingsPath) + "\\AdvRegBackup";
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    char name[2048];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumValueA(key, i, name, &size, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
        names.push_back(name);
    }
    RegCloseKey(key);
    return names;
}

struct tm At(int day, int month, int year, int hour, int minute)
{
    struct tm t = {};
    t.tm_mday = day;
    t.tm_mon = month - 1;
    t.tm_year = year - 1900;
    t.tm_hour = hour;
    t.tm_min = minute;
    return t;
}

}  // namespace rbtest

namespace {

// The tool's texts come from the resource library, as in the program.
struct ResourceLibrary {
    ResourceLibrary() : module(LoadLibraryA("vantres.dll")) {}
    HMODULE module;
} g_resources;

}  // namespace
