// What the junk cleaner's tests share: the resource library as the resource
// source, a settings key of the test's own (so the real settings are never
// touched), COM for the shell-link object, and small file helpers.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "junkclean/JunkScanner.h"

namespace junktest {

// Registered once per test program: loads vantres.dll, points the settings
// path at HKCU\Software\ToolhostTests\junkclean-<pid>, initialises COM.
class JunkEnvironment : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;
    static std::string SettingsPath();  // below HKEY_CURRENT_USER
    static std::string SubKey(const char* name);
    // Empties the test's settings key (a first start).
    static void ClearSettings();
};

// Collects what a scan reports.
class CollectSink : public JunkScanSink {
public:
    void OnFolder(const CString& folder) override { folders.push_back(folder.str()); }
    void OnFinding(int row, const JunkFinding& f) override { rows.push_back(f); }
    // Reason of the row with this path (case-insensitive), -1 when not listed.
    int ReasonOf(const std::string& path) const;
    int CountOf(const std::string& path) const;
    std::vector<std::string> PathsBelow(const std::string& folder) const;
    std::vector<JunkFinding> rows;
    std::vector<std::string> folders;
};

// One scan of the folder `root` with the given masks and safe folders (lower
// case), read-only files included; broken shortcuts when `shortcuts` is set.
CollectSink ScanFolder(const std::string& root, const CStringArray& masks, const CStringArray& safeFolders,
                       bool shortcuts);
// The same with every option as given.
CollectSink ScanFolder(const std::string& root, const CStringArray& masks, const CStringArray& safeFolders,
                       const JunkScanOptions& options);

bool MakeFile(const std::string& path, DWORD size, DWORD attributes = 0);
// Size of a file, -1 as unsigned when it is missing.
DWORD ReadSize(const std::string& path);
bool SetAccessTime(const std::string& path, ULONGLONG fileTime);
ULONGLONG NowFileTime();
// A shortcut made through IShellLinkA; an empty target leaves the path unset.
bool MakeShortcut(const std::string& linkPath, const std::string& target, const std::string& description = "");
// A shortcut whose stored target starts with "%" (SetPath would expand or
// complete it, so the stored path is patched in place afterwards).
bool MakeVariableShortcut(const std::string& linkPath);
// A symbolic link to a folder: CreateSymbolicLinkA where it works, else the
// system's own ln run through its Unix path.
bool MakeFolderLink(const std::string& link, const std::string& target);
// Path the link reports through IShellLinkA::GetPath (raw, unresolved).
std::string LinkTarget(const std::string& linkPath);
// Whether the text is in the ANSI code page (UTF-8 literal given).
std::string A(const char* utf8);

// A folder tree for one test, removed at the end, read-only bits included.
class TempTree {
public:
    explicit TempTree(const std::string& path);
    ~TempTree();
    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& rel) const { return m_path + "\\" + rel; }
    bool File(const std::string& rel, DWORD size = 0, DWORD attributes = 0);
    bool Dir(const std::string& rel);

private:
    std::string m_path;
};

void RemoveTreeForce(const std::string& path);

// Runs one of the system's own programs (ln, rm, mkdir) through its Unix path
// and waits until done() holds.
bool RunUnixTool(const char* tool, const std::string& arguments, const std::function<bool()>& done);

}  // namespace junktest
