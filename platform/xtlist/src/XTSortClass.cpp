#include <xtlist/XTSortClass.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// While the list sorts, each row's item data points at one of these; the
// row's own data goes back afterwards.
struct SortRow {
    CString text;
    DWORD_PTR data;
    int order;
    double key;
    bool hasKey;
};

struct SortContext {
    XTSortType type;
    bool ascending;
};

int CompareKeys(const SortRow& a, const SortRow& b, XTSortType type)
{
    if (type == xtSortString) return CXTSortClass::Compare(a.text, b.text, xtSortString);
    // Texts the sort cannot read come first, among themselves as text.
    if (!a.hasKey || !b.hasKey) {
        if (a.hasKey != b.hasKey) return a.hasKey ? 1 : -1;
        return CXTSortClass::Compare(a.text, b.text, xtSortString);
    }
    return a.key < b.key ? -1 : a.key > b.key ? 1 : 0;
}

int CALLBACK CompareRows(LPARAM left, LPARAM right, LPARAM contextParam)
{
    const SortRow& a = *reinterpret_cast<const SortRow*>(left);
    const SortRow& b = *reinterpret_cast<const SortRow*>(right);
    const SortContext& context = *reinterpret_cast<const SortContext*>(contextParam);
    int result = CompareKeys(a, b, context.type);
    if (!context.ascending) result = -result;
    if (result == 0) result = a.order - b.order;  // equal rows keep their order
    return result;
}

bool StartsWithNoCase(const char* text, const char* word)
{
    for (; *word; ++text, ++word)
        if (std::tolower(static_cast<unsigned char>(*text)) != *word) return false;
    return true;
}

// Days since 1970-01-01 of a date of the Gregorian calendar.
long long DaysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = int(y - era * 400);
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

}  // namespace

CXTSortClass::CXTSortClass(CListCtrl* list, int column) : m_pList(list), m_nColumn(column) {}

void CXTSortClass::Sort(BOOL ascending, XTSortType type)
{
    if (!m_pList || !m_pList->m_hWnd || m_nColumn < 0) return;
    const int count = m_pList->GetItemCount();
    if (count < 2) return;

    std::vector<SortRow> rows(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        SortRow& row = rows[size_t(i)];
        row.text = m_pList->GetItemText(i, m_nColumn);
        row.data = m_pList->GetItemData(i);
        row.order = i;
        row.key = 0;
        row.hasKey = false;
        if (type == xtSortNumber) row.hasKey = ParseNumber(row.text, row.key) != FALSE;
        if (type == xtSortDateTime) row.hasKey = ParseDateTime(row.text, row.key) != FALSE;
    }
    for (int i = 0; i < count; ++i) m_pList->SetItemData(i, reinterpret_cast<DWORD_PTR>(&rows[size_t(i)]));

    SortContext context = {type, ascending != FALSE};
    m_pList->SortItems(&CompareRows, reinterpret_cast<DWORD_PTR>(&context));

    for (int i = 0; i < count; ++i) {
        const SortRow* row = reinterpret_cast<const SortRow*>(m_pList->GetItemData(i));
        m_pList->SetItemData(i, row ? row->data : 0);
    }
}

int CXTSortClass::Compare(const CString& a, const CString& b, XTSortType type)
{
    if (type != xtSortString) {
        double x = 0, y = 0;
        const BOOL hasX = type == xtSortNumber ? ParseNumber(a, x) : ParseDateTime(a, x);
        const BOOL hasY = type == xtSortNumber ? ParseNumber(b, y) : ParseDateTime(b, y);
        if (hasX && hasY) return x < y ? -1 : x > y ? 1 : 0;
        if (hasX != hasY) return hasX ? 1 : -1;
    }
    const int result = ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, -1, b, -1);
    if (result == 0) return a.Compare(b);  // the system could not compare: bytes
    return result - CSTR_EQUAL;
}

BOOL CXTSortClass::ParseNumber(const char* text, double& value)
{
    if (!text) return FALSE;
    const char* p = text;
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = false;
    if (*p == '-' || *p == '+') negative = *p++ == '-';
    double whole = 0;
    bool digits = false;
    // Group separators between digits: "1,234,567" and "1 234".
    for (;; ++p) {
        if (std::isdigit(static_cast<unsigned char>(*p))) {
            whole = whole * 10 + (*p - '0');
            digits = true;
        } else if ((*p == ',' || *p == ' ') && digits && std::isdigit(static_cast<unsigned char>(p[1]))) {
            continue;
        } else {
            break;
        }
    }
    if (*p == '.' && std::isdigit(static_cast<unsigned char>(p[1]))) {
        double scale = 0.1;
        for (++p; std::isdigit(static_cast<unsigned char>(*p)); ++p, scale /= 10) whole += (*p - '0') * scale;
        digits = true;
    }
    if (!digits) return FALSE;
    value = negative ? -whole : whole;
    return TRUE;
}

BOOL CXTSortClass::ParseDateTime(const char* text, double& value)
{
    if (!text) return FALSE;
    static const char* const months[12] = {"jan", "feb", "mar", "apr", "may", "jun",
                                           "jul", "aug", "sep", "oct", "nov", "dec"};
    int numbers[7] = {};
    int widths[7] = {};
    int count = 0, month = 0;
    char dateSeparator = 0;
    bool pm = false, am = false;
    for (const char* p = text; *p;) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (std::isdigit(c)) {
            long n = 0;
            int width = 0;
            for (; std::isdigit(static_cast<unsigned char>(*p)); ++p, ++width) n = n * 10 + (*p - '0');
            if (count < 7) {
                numbers[count] = int(n > 99999 ? 99999 : n);
                widths[count++] = width;
            }
            if (count == 1 && (*p == '-' || *p == '/' || *p == '.')) dateSeparator = *p;
            continue;
        }
        if (std::isalpha(c)) {
            for (int m = 0; m < 12 && !month; ++m)
                if (StartsWithNoCase(p, months[m])) month = m + 1;
            if (StartsWithNoCase(p, "pm")) pm = true;
            if (StartsWithNoCase(p, "am")) am = true;
            while (std::isalpha(static_cast<unsigned char>(*p))) ++p;
            continue;
        }
        ++p;
    }

    // Numbers not in the text are 0 (a date without a time is midnight).
    int year = 0, mon = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (month) {
        // "Wed May  6 07:08:09 2004", "6 May 2004 07:08": the year has four
        // digits, the first other number is the day, the rest the time.
        int others[7] = {}, n = 0, yearAt = -1;
        for (int i = 0; i < count; ++i)
            if (widths[i] == 4 && yearAt < 0) yearAt = i;
            else others[n++] = numbers[i];
        if (yearAt < 0 || n < 1) return FALSE;
        year = numbers[yearAt], mon = month, day = others[0];
        hour = others[1], minute = others[2], second = others[3];
    } else {
        if (count < 3) return FALSE;
        if (widths[0] == 4) {
            year = numbers[0], mon = numbers[1], day = numbers[2];  // 2004-05-06
        } else if (dateSeparator == '/') {
            mon = numbers[0], day = numbers[1], year = numbers[2];  // 5/6/2004
        } else {
            day = numbers[0], mon = numbers[1], year = numbers[2];  // 06.05.2004, 6-5-2004
        }
        if (widths[0] != 4 && widths[2] <= 2) year += year < 70 ? 2000 : 1900;
        hour = numbers[3], minute = numbers[4], second = numbers[5];
    }
    if (mon < 1 || mon > 12 || day < 1 || day > 31 || year < 1601) return FALSE;
    if (pm && hour < 12) hour += 12;
    if (am && hour == 12) hour = 0;
    if (hour > 23 || minute > 59 || second > 60) return FALSE;
    value = double(DaysFromCivil(year, mon, day)) * 86400.0 + hour * 3600.0 + minute * 60.0 + second;
    return TRUE;
}
