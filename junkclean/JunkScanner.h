// The junk scan: walks the chosen drives depth first and tests every file
// against the age, empty-file, shortcut and mask tests, reporting each
// finding once, with the reason of the first test that found it.
#pragma once

#include "junkclean/ExcludedNames.h"
#include "junkclean/MaskMatch.h"

#include <afxwin.h>

#include <atomic>
#include <vector>

// Reasons of a finding, in the order of the tests.
enum JunkReason {
    JUNK_REASON_MASK = 0,
    JUNK_REASON_SHORTCUT = 1,
    JUNK_REASON_OLD = 2,
    JUNK_REASON_EMPTY = 3,
};

// The month of the age test: 30 days and 9 hours, in file-time units.
const ULONGLONG kAgePeriod = 26244000000000ull;

struct JunkScanOptions {
    DWORD FindFilesBasedOnMonth = 0;
    DWORD FFNumMonths = 90;
    DWORD SkipReadOnlyFiles = 1;
    DWORD FindEmptyFiles = 0;
    DWORD FindInvalidShortCuts = 1;
};

struct JunkFinding {
    CString path;        // in the case the directory search reports it
    int reason = 0;
    ULONGLONG size = 0;
    FILETIME created{};
    FILETIME accessed{};
    FILETIME written{};
};

// Where the scan reports to. Called on the scanning thread.
class JunkScanSink {
public:
    virtual ~JunkScanSink() = default;
    virtual void OnFolder(const CString& folder) {}
    virtual void OnFinding(int row, const JunkFinding& finding) = 0;
};

class JunkScanner {
public:
    // Everything the walk takes from the settings, read once at its start.
    void SetDrives(const char* slots, short count);
    void SetMasks(const CStringArray& masks);
    // The user's safe folders (lower-cased, trimmed); the built-in fragments are added.
    void SetSafeFolders(const CStringArray& safeFolders, const CString& windowsTail);
    void SetOptions(const JunkScanOptions& options);
    // A folder the walk never enters, compared whole (the folder files are
    // moved to: they are not junk again). Empty for none.
    void SetKeptOutFolder(const CString& folder);
    // The present time for the age test; 0 reads the clock when the walk begins.
    void SetNow(ULONGLONG now) { m_fixedNow = now; }

    // Walks every selected fixed or network drive.
    void Run(JunkScanSink& sink, const std::atomic<bool>& stop);
    // Walks one folder (or drive "C:") and everything below it; the folder
    // itself is never compared with the skip list.
    void WalkRoot(const CString& root, JunkScanSink& sink, const std::atomic<bool>& stop);

    // Resets the findings, the skip list and the protected names (done by Run).
    void Begin();
    void End();

    DWORD TotalKB() const { return m_totalKB; }
    int FoundCount() const { return m_nextRow; }
    ULONGLONG AgeThreshold() const { return m_threshold; }

private:
    struct Entry {
        WIN32_FIND_DATAA data;
        size_t nameStart;   // the lower-cased wide name in m_names
        size_t nameLength;
    };
    void Visit(const CString& folder);
    bool IsKeptOut(const CString& folder) const;
    void ScanFolderFiles(const CString& folder);
    void AddJunkResult(const CString& folder, const WIN32_FIND_DATAA& entry, int reason);
    bool Stopped() const { return m_stop->load(std::memory_order_relaxed); }

    std::vector<CString> m_drives;
    CStringArray m_masks;
    MaskSet m_maskSet;
    // The files of the folder being tested, with their lower-cased names.
    std::vector<Entry> m_files;
    std::vector<wchar_t> m_names;
    std::vector<std::vector<size_t>> m_hitsByMask;
    std::vector<int> m_hits;
    CStringArray m_safeFolders;
    CString m_windowsTail;
    CStringArray m_skipFolders;
    CString m_keptOut;  // long path, lower-cased, no trailing separator
    ExcludedNames m_excluded;
    JunkScanOptions m_options;
    ULONGLONG m_fixedNow = 0;
    ULONGLONG m_threshold = 0;
    DWORD m_totalKB = 0;
    int m_nextRow = 0;
    JunkScanSink* m_sink = nullptr;
    const std::atomic<bool>* m_stop = nullptr;
};

// A folder as the walk spells it, for a whole comparison: the long path,
// lower-cased, without a trailing separator.
CString FolderKey(const CString& folder);

// Column texts of a result row.
CString JunkSizeText(ULONGLONG size);     // "0 KB" below 1,024 bytes, else "%d KB" of the low 32 bits
CString JunkTimeText(const FILETIME& ft);  // local "%H:%M %d-%m-%y", empty when it cannot be converted
