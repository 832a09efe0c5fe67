#include <xtlist/XTRowStore.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>

CXTRowStore::CXTRowStore(int columns) : m_columns(columns > 0 ? columns : 1) { m_text.push_back('\0'); }

uint32_t CXTRowStore::Store(const char* text, int column)
{
    if (!text || !*text) return 0;  // offset 0 holds the empty text
    // A run of rows with the same text in a column (a key's values, a
    // reason) keeps the text once.
    const size_t rows = m_ticks.size();
    if (rows > 0) {
        const uint32_t last = m_cells[(rows - 1) * m_columns + column].offset;
        if (std::strcmp(&m_text[last], text) == 0) return last;
    }
    const uint32_t offset = uint32_t(m_text.size());
    m_text.insert(m_text.end(), text, text + std::strlen(text) + 1);
    return offset;
}

void CXTRowStore::Append(const char* const* texts)
{
    CSingleLock hold(&m_lock, TRUE);
    for (int c = 0; c < m_columns; ++c) {
        const uint32_t offset = Store(texts[c], c);
        m_cells.push_back(Cell{offset});
    }
    m_ticks.push_back(0);
}

int CXTRowStore::Count() const
{
    CSingleLock hold(&m_lock, TRUE);
    return int(m_ticks.size());
}

void CXTRowStore::Clear()
{
    CSingleLock hold(&m_lock, TRUE);
    // The room goes back too: the next scan may find far fewer.
    std::vector<char>(1, '\0').swap(m_text);
    std::vector<Cell>().swap(m_cells);
    std::vector<uint8_t>().swap(m_ticks);
}

CString CXTRowStore::Text(int row, int column) const
{
    CSingleLock hold(&m_lock, TRUE);
    if (row < 0 || size_t(row) >= m_ticks.size() || column < 0 || column >= m_columns) return CString();
    return CString(CellText(size_t(row), column));
}

int CXTRowStore::CopyText(int row, int column, char* buffer, int size) const
{
    if (!buffer || size <= 0) return 0;
    CSingleLock hold(&m_lock, TRUE);
    buffer[0] = '\0';
    if (row < 0 || size_t(row) >= m_ticks.size() || column < 0 || column >= m_columns) return 0;
    const char* text = CellText(size_t(row), column);
    int length = int(std::strlen(text));
    if (length > size - 1) length = size - 1;
    std::memcpy(buffer, text, size_t(length));
    buffer[length] = '\0';
    return length;
}

bool CXTRowStore::Ticked(int row) const
{
    CSingleLock hold(&m_lock, TRUE);
    return row >= 0 && size_t(row) < m_ticks.size() && m_ticks[size_t(row)] != 0;
}

void CXTRowStore::SetTicked(int row, bool ticked)
{
    CSingleLock hold(&m_lock, TRUE);
    if (row < 0)
        std::fill(m_ticks.begin(), m_ticks.end(), uint8_t(ticked ? 1 : 0));
    else if (size_t(row) < m_ticks.size())
        m_ticks[size_t(row)] = ticked ? 1 : 0;
}

int CXTRowStore::TickedCount() const
{
    CSingleLock hold(&m_lock, TRUE);
    return int(std::count(m_ticks.begin(), m_ticks.end(), uint8_t(1)));
}

void CXTRowStore::RemoveRows(const std::vector<bool>& gone)
{
    CSingleLock hold(&m_lock, TRUE);
    // The kept rows' texts move to a fresh store, so what went frees its room.
    std::vector<char> text;
    std::vector<Cell> cells;
    std::vector<uint8_t> ticks;
    text.swap(m_text);
    cells.swap(m_cells);
    ticks.swap(m_ticks);
    m_text.assign(1, '\0');
    for (size_t row = 0; row < ticks.size(); ++row) {
        if (row < gone.size() && gone[row]) continue;
        for (int c = 0; c < m_columns; ++c) {
            const uint32_t offset = Store(&text[cells[row * m_columns + c].offset], c);
            m_cells.push_back(Cell{offset});
        }
        m_ticks.push_back(ticks[row]);
    }
}

void CXTRowStore::SortByColumn(int column, bool ascending)
{
    if (column < 0 || column >= m_columns) return;
    CSingleLock hold(&m_lock, TRUE);
    const size_t rows = m_ticks.size();
    // The comparison of the list's text sort (the system compares in
    // Unicode): each text is converted once, not at every comparison.
    std::vector<std::wstring> keys(rows);
    for (size_t row = 0; row < rows; ++row) {
        const char* text = CellText(row, column);
        const int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
        if (length <= 1) continue;
        keys[row].resize(size_t(length - 1));
        ::MultiByteToWideChar(CP_ACP, 0, text, -1, &keys[row][0], length);
    }
    auto compare = [&](size_t a, size_t b) {
        int result = ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, keys[a].c_str(), -1, keys[b].c_str(), -1);
        result = result == 0 ? std::strcmp(CellText(a, column), CellText(b, column)) : result - CSTR_EQUAL;
        return ascending ? result < 0 : result > 0;
    };
    std::vector<size_t> order(rows);
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), compare);

    std::vector<Cell> cells(m_cells.size());
    std::vector<uint8_t> ticks(rows);
    for (size_t to = 0; to < rows; ++to) {
        const size_t from = order[to];
        std::copy_n(&m_cells[from * m_columns], m_columns, &cells[to * m_columns]);
        ticks[to] = m_ticks[from];
    }
    m_cells.swap(cells);
    m_ticks.swap(ticks);
}

size_t CXTRowStore::BytesUsed() const
{
    CSingleLock hold(&m_lock, TRUE);
    return m_text.capacity() + m_cells.capacity() * sizeof(Cell) + m_ticks.capacity();
}
