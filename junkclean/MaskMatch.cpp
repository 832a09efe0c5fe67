#include "junkclean/MaskMatch.h"

#include <algorithm>

std::wstring LowerWide(LPCSTR name) {
    int n = MultiByteToWideChar(CP_ACP, 0, name, -1, NULL, 0);
    if (n <= 1) return std::wstring();
    std::wstring wide(size_t(n - 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name, -1, &wide[0], n);
    CharLowerBuffW(&wide[0], DWORD(wide.size()));
    return wide;
}

bool WildcardMatch(const wchar_t* mask, size_t maskLen, const wchar_t* name, size_t nameLen) {
    size_t m = 0, n = 0;
    size_t starMask = size_t(-1), starName = 0;
    while (n < nameLen) {
        if (m < maskLen && (mask[m] == L'?' || mask[m] == name[n])) {
            ++m;
            ++n;
        } else if (m < maskLen && mask[m] == L'*') {
            starMask = m++;
            starName = n;
        } else if (starMask != size_t(-1)) {
            // Let the last star take one more character and try again.
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < maskLen && mask[m] == L'*') ++m;
    return m == maskLen;
}

MaskMatcher::MaskMatcher(LPCSTR mask) {
    // The directory search drops blanks at the end of a pattern.
    CString text(mask);
    text.TrimRight();
    m_mask = LowerWide(text);
    if (m_mask.size() >= 2 && m_mask.compare(m_mask.size() - 2, 2, L".*") == 0) {
        m_hasDotStar = true;
        m_withoutDotStar = m_mask.substr(0, m_mask.size() - 2);
    }
}

bool MaskMatcher::Matches(const wchar_t* name, size_t length) const {
    if (m_mask.empty() || length == 0) return false;
    if (WildcardMatch(m_mask.data(), m_mask.size(), name, length)) return true;
    if (m_hasDotStar && std::find(name, name + length, L'.') == name + length)
        return WildcardMatch(m_withoutDotStar.data(), m_withoutDotStar.size(), name, length);
    return false;
}

size_t AppendLowerWide(LPCSTR name, std::vector<wchar_t>& buffer) {
    const size_t start = buffer.size();
    // Most names are plain ASCII: lower-cased here without the code-page round trip.
    size_t ascii = 0;
    while (name[ascii] && static_cast<unsigned char>(name[ascii]) < 0x80) ++ascii;
    if (!name[ascii]) {
        buffer.resize(start + ascii);
        for (size_t i = 0; i < ascii; ++i) {
            const char c = name[i];
            buffer[start + i] = wchar_t(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        }
        return ascii;
    }
    const int n = MultiByteToWideChar(CP_ACP, 0, name, -1, NULL, 0);
    if (n <= 1) return 0;
    buffer.resize(start + size_t(n));
    MultiByteToWideChar(CP_ACP, 0, name, -1, &buffer[start], n);
    buffer.pop_back();  // the NUL
    CharLowerBuffW(&buffer[start], DWORD(n - 1));
    return size_t(n - 1);
}

void MaskSet::Assign(const CStringArray& masks) {
    m_count = masks.GetSize();
    m_byExtension.clear();
    m_byName.clear();
    m_general.clear();
    for (int i = 0; i < masks.GetSize(); ++i) {
        MaskMatcher matcher(masks[i]);
        const std::wstring& m = matcher.Lowered();
        if (m.empty()) continue;  // finds nothing
        const bool wild = m.find_first_of(L"*?") != std::wstring::npos;
        if (!wild) {
            m_byName[m].push_back(i);
        } else if (m.size() > 2 && m[0] == L'*' && m[1] == L'.' && m.find_first_of(L"*?.", 2) == std::wstring::npos) {
            // "*.ext": exactly the names whose last extension is ext.
            m_byExtension[m.substr(2)].push_back(i);
        } else {
            m_general.emplace_back(i, matcher);
        }
    }
}

void MaskSet::Match(const wchar_t* name, size_t length, std::vector<int>& hits) const {
    if (length == 0) return;
    if (!m_byExtension.empty()) {
        size_t dot = length;
        while (dot > 0 && name[dot - 1] != L'.') --dot;
        if (dot > 0 && dot < length) {
            m_key.assign(name + dot, length - dot);
            auto it = m_byExtension.find(m_key);
            if (it != m_byExtension.end()) hits.insert(hits.end(), it->second.begin(), it->second.end());
        }
    }
    if (!m_byName.empty()) {
        m_key.assign(name, length);
        auto it = m_byName.find(m_key);
        if (it != m_byName.end()) hits.insert(hits.end(), it->second.begin(), it->second.end());
    }
    for (const auto& g : m_general)
        if (g.second.Matches(name, length)) hits.push_back(g.first);
}
