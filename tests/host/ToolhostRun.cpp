#include "ToolhostRun.h"

#include <shlwapi.h>

using namespace testsupport;

namespace hosttest {

const char kSettingsPath[] = "Software\\Lumbrix\\Vantor 2";
static const char kSavedPath[] = "Software\\ToolhostTests\\host-saved-settings";

std::string ToolhostPath()
{
    return ProgramDir() + "toolhost.exe";
}

std::string ToolhostCommand(const std::string& args)
{
    return "\"" + ToolhostPath() + "\" " + args;
}

std::string RegCleanTitle() { return Ansi(u8"注册表清理和修复"); }
std::string BackupTitle() { return Ansi(u8"注册表备份"); }
std::string JunkCleanTitle() { return Ansi(u8"移除废弃文件"); }

HWND FindToolWindow(const std::string& title, DWORD pid)
{
    for (HWND w = ::FindWindowExA(nullptr, nullptr, nullptr, title.c_str()); w;
         w = ::FindWindowExA(nullptr, w, nullptr, title.c_str())) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner == pid) return w;
    }
    return nullptr;
}

bool CloseTool(Process& process, HWND window)
{
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    if (process.Wait(10000) != STILL_ACTIVE) return true;
    ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return process.Wait(10000) != STILL_ACTIVE;
}

namespace {

void SetSettingsValue(const std::string& subKey, const char* name, DWORD type, const void* data, DWORD size)
{
    const std::string path = subKey.empty() ? std::string(kSettingsPath) : std::string(kSettingsPath) + "\\" + subKey;
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
}

}  // namespace

void SetSettingsString(const char* name, const std::string& data, const std::string& subKey)
{
    SetSettingsValue(subKey, name, REG_SZ, data.c_str(), DWORD(data.size() + 1));
}

void SetSettingsDword(const char* name, DWORD data, const std::string& subKey)
{
    SetSettingsValue(subKey, name, REG_DWORD, &data, sizeof data);
}

SavedSettingsKey::SavedSettingsKey() : m_existed(RegKeyExists(HKEY_CURRENT_USER, kSettingsPath))
{
    ::SHDeleteKeyA(HKEY_CURRENT_USER, kSavedPath);
    if (!m_existed) return;
    HKEY saved = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kSavedPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &saved, nullptr) ==
        ERROR_SUCCESS) {
        ::SHCopyKeyA(HKEY_CURRENT_USER, kSettingsPath, saved, 0);
        ::RegCloseKey(saved);
    }
}

SavedSettingsKey::~SavedSettingsKey()
{
    ::SHDeleteKeyA(HKEY_CURRENT_USER, kSettingsPath);
    if (m_existed) {
        HKEY settings = nullptr;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &settings,
                              nullptr) == ERROR_SUCCESS) {
            ::SHCopyKeyA(HKEY_CURRENT_USER, kSavedPath, settings, 0);
            ::RegCloseKey(settings);
        }
    }
    ::SHDeleteKeyA(HKEY_CURRENT_USER, kSavedPath);
}

}  // namespace hosttest
