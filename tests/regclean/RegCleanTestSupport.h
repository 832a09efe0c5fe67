// Helpers of the registry cleaner's tests: the resource library, a sink
// that collects what the checks report, a hidden results list, and a
// snapshot that puts a settings key back as it was.
#pragma once

#include "regclean/FileProbe.h"
#include "regclean/FileReference.h"
#include "regclean/KeyWalker.h"
#include "regclean/ScanModel.h"
#include "regclean/Sections.h"

#include <afxmt.h>

#include <functional>
#include <string>
#include <vector>

namespace rctest {

// Loads vantres.dll beside the test and makes it the resource source, so
// that status texts and windows find their strings and templates.
void LoadResources();

// The text of a string resource, copied.
std::string Text(UINT id);

class CollectSink : public ScanSink {
public:
    CollectSink();
    ~CollectSink() override;
    CollectSink(const CollectSink&) = delete;
    CollectSink& operator=(const CollectSink&) = delete;
    void AddFinding(const char* keyPath, const char* valueName, const char* data) override;
    void ShowStatus(const char* text) override;
    int RowCount() const override;

    std::vector<RegistryFinding> Rows() const;
    std::vector<std::string> Statuses() const;
    // After this many rows the flags' KeepGoing is cleared, as Stop does.
    void StopAfter(ScanFlags* flags, int rows)
    {
        m_stopFlags = flags;
        m_stopAfter = rows;
    }

private:
    mutable CCriticalSection m_lock;
    std::vector<RegistryFinding> m_rows;
    std::vector<std::string> m_statuses;
    ScanFlags* m_stopFlags = nullptr;
    int m_stopAfter = -1;
};

// What a scan needs, the flags set to go on.
struct ScanRun {
    ScanFlags flags;
    CollectSink sink;
    FileProbe probe;
    FileReferenceTest files{probe};
    ScanContext ctx{flags, sink, files};
    ScanRun() { flags.KeepGoing = true; }
    // Runs the scan's steps with only `sections` on; the rows found.
    std::vector<RegistryFinding> Scan(std::initializer_list<int> sections);
};

int CountRows(const std::vector<RegistryFinding>& rows, const std::string& key, const std::string& name,
              const std::string& data);
// Rows whose key path starts with `prefix` (any case).
std::vector<RegistryFinding> RowsBelow(const std::vector<RegistryFinding>& rows, const std::string& prefix);
std::string Describe(const std::vector<RegistryFinding>& rows);

// A report-view list with check boxes and three columns in a hidden window.
class HiddenList {
public:
    HiddenList();
    ~HiddenList();
    CListCtrl& list() { return m_list; }
    int AddRow(const std::string& key, const std::string& name, const std::string& data, bool ticked);

private:
    HWND m_parent = nullptr;
    CListCtrl m_list;
};

// The values of one key (no subkeys), put back when it goes; the key is
// deleted first, so values added meanwhile go too.
class KeySnapshot {
public:
    KeySnapshot(HKEY root, const std::string& path);
    ~KeySnapshot();

private:
    struct Value {
        std::string name;
        DWORD type;
        std::string bytes;
    };
    HKEY m_root;
    std::string m_path;
    bool m_existed = false;
    std::vector<Value> m_values;
};

// A value's type and bytes; false when missing.
bool ReadValue(HKEY root, const std::string& path, const char* name, DWORD& type, std::string& bytes);
void SetValue(HKEY root, const std::string& path, const char* name, DWORD type, const std::string& bytes);
void SetText(HKEY root, const std::string& path, const char* name, const std::string& text, DWORD type = REG_SZ);
void DeleteValue(HKEY root, const std::string& path, const char* name);

}  // namespace rctest
