// What a scan shares: the flags the window and the worker read and write
// without locks, the finding record, and the sink every check reports to.
#pragma once

#include <afxwin.h>

// One-byte flags, read and written by both threads without locks: the window
// only clears KeepGoing and reads Scanning.
struct ScanFlags {
    volatile bool Scanning = false;
    volatile bool KeepGoing = false;
    int WalkCounter = 0;  // keys walked since the status line last showed one
};

// One row of the results list.
struct RegistryFinding {
    CString KeyPath;    // "HKEY_CURRENT_USER\Software\..."
    CString ValueName;  // empty for a default value; a subkey or version path for COM rows
    CString Data;
};

// Where findings and status texts go: the results list and the status line
// of the window, or a collector in a test.
class ScanSink {
public:
    virtual ~ScanSink() = default;
    virtual void AddFinding(const char* keyPath, const char* valueName, const char* data) = 0;
    virtual void ShowStatus(const char* text) = 0;
    // Rows listed now (after the scan: what the count line shows).
    virtual int RowCount() const = 0;
    // Between the closing status and the count line: the window's controls
    // go back to idle here.
    virtual void ScanEnding() {}
};

// The results list of the window as a sink. Rows go in at FindingCount, so
// the order is the order of finding; the calls are plain window messages and
// work from the worker thread.
class ListFindingSink : public ScanSink {
public:
    ListFindingSink(HWND list, HWND status) : m_list(list), m_status(status) {}
    void AddFinding(const char* keyPath, const char* valueName, const char* data) override;
    void ShowStatus(const char* text) override;
    int RowCount() const override;
    void ResetCount() { m_findingCount = 0; }
    int FindingCount() const { return m_findingCount; }

private:
    HWND m_list;
    HWND m_status;
    int m_findingCount = 0;
};

// Root names of the key-path notation.
extern const char kRootClasses[];  // "HKEY_CLASSES_ROOT"
extern const char kRootMachine[];  // "HKEY_LOCAL_MACHINE"
extern const char kRootUser[];     // "HKEY_CURRENT_USER"
extern const char kRootUsers[];    // "HKEY_USERS"

// A COM row names a subkey (or a version path) in its value column: the value
// removed or shown is that subkey's default value.
bool IsComFindingKey(const CString& keyPath);
// The key a COM row stands for: key path + "\" + value column, without a
// doubled or trailing backslash.
CString ComFindingKey(const CString& keyPath, const CString& valueColumn);

// Splits a key path into its root and the subkey below it ("HKEY_USERS\..."
// included). The root name must stand at the start, in any case.
bool SplitKeyPath(const CString& keyPath, HKEY& root, CString& subkey);
