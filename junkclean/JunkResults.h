// The rows of the results list: how a finding becomes a row, and what the
// scan saw of each listed file (size and last write), so the removal can
// leave alone a file that changed since.
#pragma once

#include "junkclean/JunkRemoval.h"
#include "junkclean/JunkScanner.h"

#include <afxwin.h>
#include <xtlist/XTRowStore.h>

#include <unordered_map>
#include <vector>

enum JunkColumn {
    JUNK_COL_PATH = 0,
    JUNK_COL_REASON = 1,
    JUNK_COL_SIZE = 2,
    JUNK_COL_CREATED = 3,
    JUNK_COL_ACCESSED = 4,
};

// Size and last write of each listed file, by lower-cased path (kept as a
// 64-bit hash: the paths themselves are the results' to hold).
class JunkFindingStamps {
public:
    void Clear();
    void Record(const JunkFinding& finding);
    // True when the file is still as the scan listed it (same size, same last write).
    bool Unchanged(LPCSTR path) const;

private:
    struct Stamp {
        ULONGLONG size;
        FILETIME written;
    };
    static ULONGLONG Key(LPCSTR path);
    mutable CCriticalSection m_lock;
    std::unordered_map<ULONGLONG, Stamp> m_stamps;
};

// The five columns of a results list, widths from the list's client width.
void SetupJunkColumns(CListCtrl& list);
// Inserts the row of a finding at index row (unticked).
void InsertJunkRow(CListCtrl& list, int row, const JunkFinding& finding, const CString& reasonText);
// A finding for an existing file as the directory search reports it; false when it is missing.
bool FindingForFile(LPCSTR path, int reason, JunkFinding& finding);

// The texts of a finding's row, in column order, into a row store (unticked).
void AppendJunkRow(CXTRowStore& rows, const JunkFinding& finding, const CString& reasonText);

// Reports a scan into the row store the results list shows, and the folder
// being walked into a slot the window shows now and then: the scanning
// thread never waits for the window.
class StoreResultSink : public JunkScanSink {
public:
    StoreResultSink(CXTRowStore& rows, CXTLatestText& folder, const CString* reasonTexts, JunkFindingStamps& stamps)
        : m_rows(rows), m_folder(folder), m_reasons(reasonTexts), m_stamps(stamps) {}
    void OnFolder(const CString& folder) override { m_folder.Put(folder); }
    void OnFinding(int row, const JunkFinding& finding) override;

private:
    CXTRowStore& m_rows;
    CXTLatestText& m_folder;
    const CString* m_reasons;
    JunkFindingStamps& m_stamps;
};

// The rows of a row store as removal items: removed rows are only marked
// (the pass may run on another thread); Gone() then says which to drop.
class StoreRemovalItems : public RemovalItems {
public:
    explicit StoreRemovalItems(CXTRowStore& rows) : m_rows(rows), m_gone(size_t(rows.Count()), false) {}
    int Count() const override { return int(m_gone.size()); }
    bool Ticked(int i) const override { return m_rows.Ticked(i); }
    CString Path(int i) const override { return m_rows.Text(i, JUNK_COL_PATH); }
    void OnRemoved(int i, const CString&) override { m_gone[size_t(i)] = true; }
    void OnKept(int, const char*) override {}
    const std::vector<bool>& Gone() const { return m_gone; }

private:
    CXTRowStore& m_rows;
    std::vector<bool> m_gone;
};
