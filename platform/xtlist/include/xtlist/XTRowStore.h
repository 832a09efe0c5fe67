// CXTRowStore: the rows a results list shows, held once, in memory: a text
// per column and a tick per row. One thread (a scan worker) may append
// while the window thread reads; everything else happens on the window
// thread while nobody appends.
#pragma once

#include <windows.h>

#include <afxmt.h>
#include <afxwin.h>

#include <cstdint>
#include <vector>

class CXTRowStore {
public:
    explicit CXTRowStore(int columns);
    CXTRowStore(const CXTRowStore&) = delete;
    CXTRowStore& operator=(const CXTRowStore&) = delete;

    int Columns() const { return m_columns; }
    // Appends a row (unticked); texts holds one text per column (null: empty).
    void Append(const char* const* texts);
    int Count() const;
    void Clear();

    CString Text(int row, int column) const;
    // Copies a cell into buffer (size bytes, always terminated); the length copied.
    int CopyText(int row, int column, char* buffer, int size) const;
    bool Ticked(int row) const;
    // row -1: every row.
    void SetTicked(int row, bool ticked);
    int TickedCount() const;

    // Drops the rows whose flag is set (gone has one flag per row).
    void RemoveRows(const std::vector<bool>& gone);
    // Orders the rows by the text of one column, as the list's text sort
    // compares (case ignored, the user's language order); equal rows keep
    // their order.
    void SortByColumn(int column, bool ascending);

    // Memory held for the rows and their texts.
    size_t BytesUsed() const;

private:
    struct Cell {
        uint32_t offset;  // into m_text, NUL-terminated
    };
    const char* CellText(size_t row, int column) const { return &m_text[m_cells[row * m_columns + column].offset]; }
    uint32_t Store(const char* text, int column);

    const int m_columns;
    mutable CCriticalSection m_lock;
    std::vector<char> m_text;
    std::vector<Cell> m_cells;     // m_columns per row
    std::vector<uint8_t> m_ticks;  // one per row
};

// The latest of a run of texts that one thread gives (the folder or key a
// scan is in) and another shows now and then: only the last one counts.
class CXTLatestText {
public:
    void Put(const char* text)
    {
        CSingleLock hold(&m_lock, TRUE);
        m_text = text ? text : "";
        m_fresh = true;
    }
    // True, with the text, when one came since the last call.
    bool Take(CString& text)
    {
        CSingleLock hold(&m_lock, TRUE);
        if (!m_fresh) return false;
        text = m_text;
        m_fresh = false;
        return true;
    }
    void Drop()
    {
        CSingleLock hold(&m_lock, TRUE);
        m_fresh = false;
    }

private:
    CCriticalSection m_lock;
    CString m_text;
    bool m_fresh = false;
};
