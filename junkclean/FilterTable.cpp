#include "junkclean/FilterTable.h"

#include "host/HostServices.h"
#include "junkclean/SettingsKey.h"

#include <vantor/Registry.h>
#include <vantres/ids_junk.h>

namespace {

struct DefaultFilter {
    const char* mask;
    BYTE enabled;
    UINT descriptionId;
};

const DefaultFilter kDefaultFilters[DEFAULT_FILTER_COUNT] = {
    {"*.swp", 1, IDS_FLT_TEMP},        {"*.~*", 1, IDS_FLT_TEMP},
    {"*.___", 1, IDS_FLT_TEMP},        {"*._dd", 1, IDS_FLT_TEMP},
    {"*.^", 1, IDS_FLT_TEMP},          {"*.tmp", 1, IDS_FLT_TEMP},
    {"*.temp", 1, IDS_FLT_TEMP},       {"*.---", 1, IDS_FLT_TEMP},
    {"*.$$$", 1, IDS_FLT_TEMP},        {"~*.*", 1, IDS_FLT_TEMP},
    {"*.??~", 1, IDS_FLT_TEMP},        {"*.db$", 1, IDS_FLT_TEMP},
    {"*.nch", 0, IDS_FLT_OUTLOOK_EXPRESS},
    {"*.pch", 0, IDS_FLT_VISUAL_STUDIO}, {"*.ncb", 0, IDS_FLT_VISUAL_STUDIO},
    {"*.ilk", 0, IDS_FLT_VISUAL_STUDIO}, {"*.exp", 0, IDS_FLT_VISUAL_STUDIO},
    {"*.ilc", 0, IDS_FLT_CPP_BUILDER}, {"*.ild", 0, IDS_FLT_CPP_BUILDER},
    {"*.ils", 0, IDS_FLT_CPP_BUILDER}, {"*.ilf", 0, IDS_FLT_CPP_BUILDER},
    {"*.tds", 0, IDS_FLT_CPP_BUILDER},
    {"iebak.dat", 1, IDS_FLT_IE_JUNK},
    {"ffastun.*", 1, IDS_FLT_FIND_FAST},
    {"chklist.*", 1, IDS_FLT_JUNK},    {"*.sik", 0, IDS_FLT_JUNK},
    {"*.gid", 1, IDS_FLT_HELP_INDEX},
    {"*.fts", 1, IDS_FLT_HELP_WORDLIST}, {"*.ftg", 1, IDS_FLT_HELP_WORDLIST},
    {"*.err", 1, IDS_FLT_ERROR},
    {"*.dmp", 1, IDS_FLT_MEMORY_DUMP},
    {"*.chk", 1, IDS_FLT_CHKDSK},
    {"*.diz", 0, IDS_FLT_DESCRIPTION},
    {"scandisk.log", 1, IDS_FLT_SCANDISK},
    {"*.prv", 1, IDS_FLT_BACKUP},      {"*.old", 1, IDS_FLT_BACKUP},
    {"*.bak", 1, IDS_FLT_BACKUP},
    {"*.nu3", 1, IDS_FLT_NORTON},
    {"system.1st", 0, IDS_FLT_DIAG_REGISTRY},
    {"suhdlog.dat", 1, IDS_FLT_DIAG},
    {"twain???.mtx", 1, IDS_FLT_TWAIN},
    {"modemdet.txt", 0, IDS_FLT_DIAG},
    {"thumbs.db", 1, IDS_FLT_THUMBNAILS},
    {"mscreate.dir", 1, IDS_FLT_SETUP_TEMP},
    {"*.wri", 0, IDS_FLT_README},      {"readme.txt", 0, IDS_FLT_README},
};

FilterRecord MakeRecord(BYTE enabled, LPCSTR mask, LPCSTR description) {
    FilterRecord r;
    ZeroMemory(&r, sizeof r);
    r.enabled = enabled;
    CopyTextLimited(r.mask, 15, mask);
    CopyTextLimited(r.description, 63, description);
    return r;
}

// The editing copy works byte for byte: the limit may cut a character.
void CopyBytes(char* dest, int maxBytes, LPCSTR text) {
    ZeroMemory(dest, size_t(maxBytes));
    for (int i = 0; i < maxBytes && text && text[i]; ++i) dest[i] = text[i];
}

}  // namespace

void CopyTextLimited(char* dest, int maxBytes, LPCSTR text) {
    ZeroMemory(dest, size_t(maxBytes) + 1);
    if (!text) return;
    int i = 0;
    while (text[i] && i < maxBytes) {
        if (IsDBCSLeadByte(BYTE(text[i])) && text[i + 1]) {
            if (i + 2 > maxBytes) break;  // the pair would not fit: end before it
            dest[i] = text[i];
            dest[i + 1] = text[i + 1];
            i += 2;
        } else {
            dest[i] = text[i];
            ++i;
        }
    }
}

bool SameMask(LPCSTR a, LPCSTR b) {
    CString x(a), y(b);
    x.Trim();
    y.Trim();
    x.MakeLower();
    y.MakeLower();
    return x == y;
}

void FilterTable::BuildDefaults(std::vector<FilterRecord>& records) {
    records.clear();
    for (const DefaultFilter& f : kDefaultFilters) {
        CString description = LoadTextById(f.descriptionId);  // copied: the text buffer is shared
        records.push_back(MakeRecord(f.enabled, f.mask, description));
    }
}

void FilterTable::LoadFilters() {
    bool good = false;
    std::vector<BYTE> buffer;
    DWORD size = 0;
    {
        CRegistry reg(HKEY_CURRENT_USER);
        reg.Open(HKEY_CURRENT_USER, JunkSubKeyPath(JUNK_SUBKEY_FILTERS), TRUE);
        if (reg.VerifyValue("JunkFileFiltersS") && reg.ReadDWORD("JunkFileFiltersS", size) &&
            size >= FILTER_RECORD_SIZE && size % FILTER_RECORD_SIZE == 0 && reg.VerifyValue("JunkFileFilters")) {
            buffer.assign(size_t(size) + FILTER_RECORD_SIZE, 0);
            good = reg.Read("JunkFileFilters", buffer.data(), size) != FALSE;
        }
        reg.Close();
    }
    m_records.clear();
    if (!good) {
        SaveFilters();
        return;
    }
    const DWORD count = size / FILTER_RECORD_SIZE;
    for (DWORD i = 0; i < count; ++i) {
        FilterRecord r;
        CopyMemory(&r, buffer.data() + size_t(i) * FILTER_RECORD_SIZE, FILTER_RECORD_SIZE);
        m_records.push_back(r);
    }
}

void FilterTable::SaveFilters() {
    if (m_records.empty()) BuildDefaults(m_records);
    const DWORD size = DWORD(m_records.size()) * FILTER_RECORD_SIZE;
    CRegistry reg(HKEY_CURRENT_USER);
    reg.Open(HKEY_CURRENT_USER, JunkSubKeyPath(JUNK_SUBKEY_FILTERS), TRUE);
    reg.Write("JunkFileFilters", m_records.data(), size);
    reg.WriteDWORD("JunkFileFiltersS", size);
    reg.Close();
}

void FilterTable::SaveIfEmpty() {
    if (m_records.empty()) SaveFilters();
}

int FilterTable::FindMask(LPCSTR mask) const {
    for (size_t i = 0; i < m_records.size(); ++i) {
        char stored[17] = {};
        CopyMemory(stored, m_records[i].mask, 16);
        if (SameMask(stored, mask)) return int(i);
    }
    return -1;
}

bool FilterTable::AddFilter(LPCSTR mask, LPCSTR description) {
    SaveIfEmpty();
    if (FindMask(mask) >= 0) return false;
    m_records.push_back(MakeRecord(1, mask, description));
    SaveFilters();
    return true;
}

bool FilterTable::RemoveFilter(LPCSTR mask) {
    SaveIfEmpty();
    int i = FindMask(mask);
    if (i < 0) return false;
    m_records.erase(m_records.begin() + i);
    SaveFilters();  // an emptied table brings the default rows back
    return true;
}

bool FilterTable::SetFilterEnabled(BOOL enabled, LPCSTR mask) {
    SaveIfEmpty();
    int i = FindMask(mask);
    if (i < 0) return false;
    m_records[size_t(i)].enabled = enabled ? 1 : 0;
    SaveFilters();
    return true;
}

bool FilterTable::EditFilter(LPCSTR oldMask, LPCSTR newMask, LPCSTR newDescription) {
    SaveIfEmpty();
    int i = FindMask(oldMask);
    if (i < 0) return false;
    FilterRecord& r = m_records[size_t(i)];
    CopyBytes(r.mask + 0, 15, newMask);  // bytes 1..15 of the record; byte 16 stays 0
    r.mask[15] = 0;
    CopyBytes(r.description, 63, newDescription);
    r.description[63] = 0;
    SaveFilters();
    return true;
}

void FilterTable::RestoreDefaultFilters() {
    m_records.clear();
    SaveFilters();
}

void FilterTable::EnabledMasks(CStringArray& masks) const {
    masks.RemoveAll();
    for (const FilterRecord& r : m_records) {
        if (!r.enabled) continue;
        char stored[17] = {};
        CopyMemory(stored, r.mask, 16);
        masks.Add(CString(stored));
    }
}
