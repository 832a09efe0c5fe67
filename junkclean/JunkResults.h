// The rows of the results list: how a finding becomes a row, and what the
// scan saw of each listed file (size and last write), so the removal can
// leave alone a file that changed since.
#pragma once

#include "junkclean/JunkScanner.h"

#include <afxmt.h>
#include <afxwin.h>

#include <string>
#include <unordered_map>

enum JunkColumn {
    JUNK_COL_PATH = 0,
    JUNK_COL_REASON = 1,
    JUNK_COL_SIZE = 2,
    JUNK_COL_CREATED = 3,
    JUNK_COL_ACCESSED = 4,
};

// Size and last write of each listed file, by lower-cased path.
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
    static std::string Key(LPCSTR path);
    mutable CCriticalSection m_lock;
    std::unordered_map<std::string, Stamp> m_stamps;
};

// The five columns of a results list, widths from the list's client width.
void SetupJunkColumns(CListCtrl& list);
// Inserts the row of a finding at index row (unticked).
void InsertJunkRow(CListCtrl& list, int row, const JunkFinding& finding, const CString& reasonText);
// A finding for an existing file as the directory search reports it; false when it is missing.
bool FindingForFile(LPCSTR path, int reason, JunkFinding& finding);

// Reports a scan into a results list and its status line.
class ListResultSink : public JunkScanSink {
public:
    ListResultSink(CListCtrl& list, CWnd* status, const CString* reasonTexts, JunkFindingStamps& stamps)
        : m_list(list), m_status(status), m_reasons(reasonTexts), m_stamps(stamps) {}
    void OnFolder(const CString& folder) override;
    void OnFinding(int row, const JunkFinding& finding) override;

private:
    CListCtrl& m_list;
    CWnd* m_status;
    const CString* m_reasons;
    JunkFindingStamps& m_stamps;
};
