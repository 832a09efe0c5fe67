// The junk filter table: file-name masks that count as junk, stored as one
// binary value of 81-byte records under the "SrchFilters" sub-key.
#pragma once

#include <afxwin.h>
#include <vector>

#pragma pack(push, 1)
struct FilterRecord {
    BYTE enabled;          // 1 = scanned, 0 = listed but not scanned
    char mask[16];         // at most 15 bytes, NUL-terminated, rest zero
    char description[64];  // at most 63 bytes, NUL-terminated, rest zero
};
#pragma pack(pop)
static_assert(sizeof(FilterRecord) == 81, "a stored filter record is 81 bytes");

#define FILTER_RECORD_SIZE 81
#define DEFAULT_FILTER_COUNT 46

// Copies at most maxBytes bytes of text, never splitting a double-byte
// character, into dest (maxBytes + 1 bytes, zero-filled first).
void CopyTextLimited(char* dest, int maxBytes, LPCSTR text);

// Both masks trimmed and lower-cased, then compared exactly.
bool SameMask(LPCSTR a, LPCSTR b);

class FilterTable {
public:
    void LoadFilters();
    void SaveFilters();
    bool AddFilter(LPCSTR mask, LPCSTR description);
    bool RemoveFilter(LPCSTR mask);
    bool SetFilterEnabled(BOOL enabled, LPCSTR mask);
    bool EditFilter(LPCSTR oldMask, LPCSTR newMask, LPCSTR newDescription);
    void RestoreDefaultFilters();
    void EnabledMasks(CStringArray& masks) const;

    int GetCount() const { return int(m_records.size()); }
    const FilterRecord& GetAt(int i) const { return m_records[size_t(i)]; }
    bool IsEmpty() const { return m_records.empty(); }

    // The 46 default rows, descriptions taken from the resource library now.
    static void BuildDefaults(std::vector<FilterRecord>& records);

private:
    int FindMask(LPCSTR mask) const;
    void SaveIfEmpty();
    std::vector<FilterRecord> m_records;
};
