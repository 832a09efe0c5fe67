// Running toolhost.exe for a test: its command line, the three tool windows
// by their captions, and the settings key saved around a test that changes it.
#pragma once

#include <testsupport.h>

#include <string>

namespace hosttest {

extern const char kSettingsPath[]; // below HKEY_CURRENT_USER

// "C:\...\toolhost.exe" args (the program path quoted).
std::string ToolhostCommand(const std::string& args);
std::string ToolhostPath();

// The instance names (window captions) in the program's code page.
std::string RegCleanTitle();
std::string BackupTitle();
std::string JunkCleanTitle();

// The top-level window of that caption belonging to process pid, or null.
HWND FindToolWindow(const std::string& title, DWORD pid);

// Closes a tool window the way a user does and waits for its process.
// Returns whether the process ended.
bool CloseTool(testsupport::Process& process, HWND window);

// Values of the settings key (made when missing), or of a subkey of it.
void SetSettingsString(const char* name, const std::string& data, const std::string& subKey = "");
void SetSettingsDword(const char* name, DWORD data, const std::string& subKey = "");

// Copies the settings key away on construction and puts it back (exactly as
// it was, or absent) on destruction.
class SavedSettingsKey {
public:
    SavedSettingsKey();
    ~SavedSettingsKey();
    SavedSettingsKey(const SavedSettingsKey&) = delete;
    SavedSettingsKey& operator=(const SavedSettingsKey&) = delete;

private:
    bool m_existed;
};

}  // namespace hosttest
