// File-name masks matched against the long name only, case-insensitively,
// with the directory search's wildcards: "*" any run of characters (also
// none), "?" exactly one character; "*.*" matches every name, and a mask
// ending in ".*" also matches names without a dot. Short 8.3 aliases never
// take part: "*.tmp" does not find report.tmpx.
#pragma once

#include <afxwin.h>

#include <string>
#include <unordered_map>
#include <vector>

class MaskMatcher {
public:
    explicit MaskMatcher(LPCSTR mask);
    // name: a long file name in the ANSI code page, already lower-cased wide.
    bool Matches(const std::wstring& lowerName) const { return Matches(lowerName.data(), lowerName.size()); }
    bool Matches(const wchar_t* lowerName, size_t length) const;
    const std::wstring& Lowered() const { return m_mask; }

private:
    std::wstring m_mask;          // lower-cased
    std::wstring m_withoutDotStar;  // the mask less its trailing ".*", when it has one
    bool m_hasDotStar = false;
};

// A list of masks matched together: "*.ext" masks are found by the name's
// extension and masks without wildcards by the whole name, so a file costs
// two look-ups and the few general masks, however long the list is.
class MaskSet {
public:
    void Assign(const CStringArray& masks);
    int Count() const { return m_count; }
    // Appends the index of every mask that matches lowerName (any order).
    void Match(const wchar_t* lowerName, size_t length, std::vector<int>& hits) const;

private:
    int m_count = 0;
    std::unordered_map<std::wstring, std::vector<int>> m_byExtension;
    std::unordered_map<std::wstring, std::vector<int>> m_byName;
    std::vector<std::pair<int, MaskMatcher>> m_general;
    mutable std::wstring m_key;
};

// A name in the ANSI code page as the lower-cased wide text the matcher takes.
std::wstring LowerWide(LPCSTR name);
// The same into a buffer of the caller's, appended; returns the length.
size_t AppendLowerWide(LPCSTR name, std::vector<wchar_t>& buffer);

bool WildcardMatch(const wchar_t* mask, size_t maskLen, const wchar_t* name, size_t nameLen);
