#include "junkclean/JunkResults.h"

#include "host/HostServices.h"

#include <vantres/ids_junk.h>

void JunkFindingStamps::Clear() {
    CSingleLock hold(&m_lock, TRUE);
    m_stamps.clear();
}

ULONGLONG JunkFindingStamps::Key(LPCSTR path) {
    CString lower(path);
    lower.MakeLower();
    // FNV-1a over the bytes.
    ULONGLONG hash = 14695981039346656037ull;
    for (const char* p = lower.GetString(); *p; ++p) {
        hash ^= static_cast<unsigned char>(*p);
        hash *= 1099511628211ull;
    }
    return hash;
}

void JunkFindingStamps::Record(const JunkFinding& finding) {
    const ULONGLONG key = Key(finding.path);
    CSingleLock hold(&m_lock, TRUE);
    m_stamps[key] = Stamp{finding.size, finding.written};
}

bool JunkFindingStamps::Unchanged(LPCSTR path) const {
    Stamp seen;
    const ULONGLONG key = Key(path);
    {
        CSingleLock hold(&m_lock, TRUE);
        auto it = m_stamps.find(key);
        if (it == m_stamps.end()) return false;  // not listed by a scan: never touched
        seen = it->second;
    }
    WIN32_FILE_ATTRIBUTE_DATA now;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &now)) return false;
    const ULONGLONG size = (ULONGLONG(now.nFileSizeHigh) << 32) | now.nFileSizeLow;
    return size == seen.size && now.ftLastWriteTime.dwLowDateTime == seen.written.dwLowDateTime &&
           now.ftLastWriteTime.dwHighDateTime == seen.written.dwHighDateTime;
}

void SetupJunkColumns(CListCtrl& list) {
    CRect client;
    list.GetClientRect(&client);
    const int w = client.Width() / 5 + 1;
    const UINT headings[5] = {IDS_JK_COL_PATH, IDS_JK_COL_REASON, IDS_JK_COL_SIZE, IDS_JK_COL_CREATED,
                              IDS_JK_COL_ACCESSED};
    const int widths[5] = {3 * w, w + 9, w, w, w};
    for (int i = 0; i < 5; ++i) {
        CString heading = LoadTextById(headings[i]);
        list.InsertColumn(i, heading, LVCFMT_LEFT, widths[i]);
    }
}

void InsertJunkRow(CListCtrl& list, int row, const JunkFinding& finding, const CString& reasonText) {
    const int index = list.InsertItem(row, finding.path);
    if (index < 0) return;
    list.SetItemText(index, JUNK_COL_REASON, reasonText);
    list.SetItemText(index, JUNK_COL_SIZE, JunkSizeText(finding.size));
    list.SetItemText(index, JUNK_COL_CREATED, JunkTimeText(finding.created));
    list.SetItemText(index, JUNK_COL_ACCESSED, JunkTimeText(finding.accessed));
}

bool FindingForFile(LPCSTR path, int reason, JunkFinding& finding) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path, &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    finding.path = path;
    finding.reason = reason;
    finding.size = (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    finding.created = data.ftCreationTime;
    finding.accessed = data.ftLastAccessTime;
    finding.written = data.ftLastWriteTime;
    return true;
}

void AppendJunkRow(CXTRowStore& rows, const JunkFinding& finding, const CString& reasonText) {
    const CString size = JunkSizeText(finding.size);
    const CString created = JunkTimeText(finding.created);
    const CString accessed = JunkTimeText(finding.accessed);
    const char* texts[5] = {finding.path, reasonText, size, created, accessed};
    rows.Append(texts);
}

void StoreResultSink::OnFinding(int, const JunkFinding& finding) {
    m_stamps.Record(finding);
    AppendJunkRow(m_rows, finding, m_reasons[finding.reason & 3]);
}
