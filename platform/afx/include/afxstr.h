// CString and CStringArray: the framework's 8-bit text types.
// Header-only so that every module works with the same layout and a test can
// use them without the framework DLL. Case conversion goes through
// CharLowerBuffA/CharUpperBuffA, which respect the ANSI code page, so the
// trail bytes of Chinese (code page 936) texts are never changed.
#pragma once

#include <windows.h>
#include <cstdarg>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#ifdef AFXLITE_BUILD
#define AFX_API __declspec(dllexport)
#else
#define AFX_API __declspec(dllimport)
#endif

class CString {
public:
    CString() = default;
    CString(const char* text) : m_s(text ? text : "") {}
    CString(const char* text, int length) : m_s(text ? text : "", text ? size_t(length) : 0) {}
    CString(char ch, int repeat = 1) : m_s(size_t(repeat > 0 ? repeat : 0), ch) {}
    CString(const std::string& text) : m_s(text) {}

    int GetLength() const { return int(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    operator const char*() const { return m_s.c_str(); }
    const char* GetString() const { return m_s.c_str(); }
    const std::string& str() const { return m_s; }

    char GetAt(int i) const { return m_s[size_t(i)]; }
    char operator[](int i) const { return m_s[size_t(i)]; }
    void SetAt(int i, char ch) { m_s[size_t(i)] = ch; }

    CString& operator=(const char* text) { m_s = text ? text : ""; return *this; }
    CString& operator=(char ch) { m_s.assign(1, ch); return *this; }
    CString& operator+=(const char* text) { if (text) m_s += text; return *this; }
    CString& operator+=(const CString& text) { m_s += text.m_s; return *this; }
    CString& operator+=(char ch) { m_s += ch; return *this; }
    void Append(const char* text, int length) { m_s.append(text, size_t(length)); }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
    friend CString operator+(const CString& a, const char* b) { return CString(a.m_s + (b ? b : "")); }
    friend CString operator+(const char* a, const CString& b) { return CString((a ? a : "") + b.m_s); }
    friend CString operator+(const CString& a, char b) { return CString(a.m_s + b); }
    friend CString operator+(char a, const CString& b) { return CString(std::string(1, a) + b.m_s); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CString& a, const char* b) { return a.m_s == (b ? b : ""); }
    friend bool operator==(const char* a, const CString& b) { return b == a; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator!=(const char* a, const CString& b) { return !(b == a); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_s < b.m_s; }

    // Byte-wise comparison, like strcmp.
    int Compare(const char* other) const { return std::strcmp(m_s.c_str(), other ? other : ""); }
    // Compares the upper-cased copies, so the order does not depend on the C locale.
    int CompareNoCase(const char* other) const {
        CString a(*this), b(other);
        a.MakeUpper();
        b.MakeUpper();
        return a.Compare(b);
    }

    // Searches match whole characters only: in double-byte code pages (936
    // and others) the second byte of a character may equal '\\' or a letter,
    // and a match there would cut the character in half.
    int Find(char ch, int start = 0) const {
        if (start < 0 || size_t(start) > m_s.size()) return -1;
        return FindAtBoundary(std::string(1, ch), size_t(start));
    }
    int Find(const char* sub, int start = 0) const {
        if (!sub || start < 0 || size_t(start) > m_s.size()) return -1;
        return FindAtBoundary(sub, size_t(start));
    }
    int ReverseFind(char ch) const {
        int last = -1;
        for (size_t i = 0; i < m_s.size(); i = NextChar(i))
            if (m_s[i] == ch) last = int(i);
        return last;
    }
    int FindOneOf(const char* set) const {
        const CString chars(set);
        for (size_t i = 0; i < m_s.size(); i = NextChar(i)) {
            const size_t n = NextChar(i) - i;
            for (size_t j = 0; j < chars.m_s.size(); j = chars.NextChar(j))
                if (chars.NextChar(j) - j == n && m_s.compare(i, n, chars.m_s, j, n) == 0) return int(i);
        }
        return -1;
    }

    CString Mid(int first) const { return Mid(first, GetLength()); }
    CString Mid(int first, int count) const {
        if (first < 0) first = 0;
        if (count < 0) count = 0;
        if (size_t(first) >= m_s.size()) return CString();
        return CString(m_s.substr(size_t(first), size_t(count)));
    }
    CString Left(int count) const { return Mid(0, count); }
    CString Right(int count) const {
        if (count <= 0) return CString();
        if (size_t(count) >= m_s.size()) return *this;
        return CString(m_s.substr(m_s.size() - size_t(count)));
    }

    CString& MakeLower() {
        if (!m_s.empty()) CharLowerBuffA(&m_s[0], DWORD(m_s.size()));
        return *this;
    }
    CString& MakeUpper() {
        if (!m_s.empty()) CharUpperBuffA(&m_s[0], DWORD(m_s.size()));
        return *this;
    }

    CString& TrimLeft() {
        size_t i = 0;
        while (i < m_s.size() && IsBlank(m_s[i])) ++i;
        m_s.erase(0, i);
        return *this;
    }
    CString& TrimRight() {
        size_t n = m_s.size();
        while (n > 0 && IsBlank(m_s[n - 1])) --n;
        m_s.erase(n);
        return *this;
    }
    CString& Trim() { return TrimRight().TrimLeft(); }

    // Replaces every occurrence; returns how many were replaced.
    int Replace(const char* from, const char* to) {
        if (!from || !*from) return 0;
        const std::string f(from), t(to ? to : "");
        int count = 0;
        for (int p = FindAtBoundary(f, 0); p >= 0; p = FindAtBoundary(f, size_t(p) + t.size())) {
            m_s.replace(size_t(p), f.size(), t);
            ++count;
        }
        return count;
    }
    int Replace(char from, char to) {
        int count = 0;
        for (size_t i = 0; i < m_s.size(); i = NextChar(i))
            if (m_s[i] == from && NextChar(i) == i + 1) { m_s[i] = to; ++count; }
        return count;
    }
    int Remove(char ch) {
        std::string kept;
        kept.reserve(m_s.size());
        int count = 0;
        for (size_t i = 0; i < m_s.size();) {
            const size_t next = NextChar(i);
            if (next == i + 1 && m_s[i] == ch) ++count;
            else kept.append(m_s, i, next - i);
            i = next;
        }
        m_s.swap(kept);
        return count;
    }
    int Insert(int index, const char* text) {
        if (index < 0) index = 0;
        if (size_t(index) > m_s.size()) index = GetLength();
        m_s.insert(size_t(index), text ? text : "");
        return GetLength();
    }
    int Delete(int index, int count = 1) {
        if (index >= 0 && size_t(index) < m_s.size() && count > 0) m_s.erase(size_t(index), size_t(count));
        return GetLength();
    }

    void Format(const char* format, ...) {
        va_list args;
        va_start(args, format);
        FormatV(format, args);
        va_end(args);
    }
    void FormatV(const char* format, va_list args) {
        va_list copy;
        va_copy(copy, args);
        int n = std::vsnprintf(nullptr, 0, format, copy);
        va_end(copy);
        if (n < 0) { m_s.clear(); return; }
        std::string out(size_t(n) + 1, '\0');
        std::vsnprintf(&out[0], out.size(), format, args);
        out.resize(size_t(n));
        m_s.swap(out);
    }

    // A writable buffer of at least minLength characters plus the NUL; call
    // ReleaseBuffer afterwards (with -1 the text ends at the first NUL).
    char* GetBuffer(int minLength = 0) {
        if (minLength > 0 && size_t(minLength) > m_s.size()) m_s.resize(size_t(minLength));
        return &m_s[0];
    }
    char* GetBufferSetLength(int length) {
        m_s.resize(size_t(length > 0 ? length : 0));
        return &m_s[0];
    }
    void ReleaseBuffer(int newLength = -1) {
        if (newLength < 0) newLength = int(std::strlen(m_s.c_str()));
        if (size_t(newLength) > m_s.size()) newLength = GetLength();
        m_s.resize(size_t(newLength));
    }

    // Text of a string resource, looked up through the framework's resource chain.
    AFX_API BOOL LoadString(UINT id);

private:
    // The index after the character that starts at i: a lead byte of the
    // ANSI code page takes its trail byte with it (when there is one).
    size_t NextChar(size_t i) const {
        const unsigned char c = static_cast<unsigned char>(m_s[i]);
        if (c >= 0x80 && i + 1 < m_s.size() && m_s[i + 1] != '\0' && IsDBCSLeadByte(c)) return i + 2;
        return i + 1;
    }
    // The first match of `sub` at or after `start` that begins a character.
    int FindAtBoundary(const std::string& sub, size_t start) const {
        size_t boundary = 0;  // walks whole characters up to each candidate
        for (size_t p = m_s.find(sub, start); p != std::string::npos; p = m_s.find(sub, p + 1)) {
            while (boundary < p) boundary = NextChar(boundary);
            if (boundary == p) return int(p);
        }
        return -1;
    }
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
    std::string m_s;
};

// True when the text's last character, not merely its last byte, is a
// backslash (the second byte of a double-byte character can be 0x5C).
inline bool EndsWithBackslash(const CString& text) {
    return !text.IsEmpty() && text.ReverseFind('\\') == text.GetLength() - 1;
}

class CStringArray {
public:
    int GetSize() const { return int(m_items.size()); }
    int GetCount() const { return int(m_items.size()); }
    int GetUpperBound() const { return int(m_items.size()) - 1; }
    bool IsEmpty() const { return m_items.empty(); }
    void SetSize(int size) { m_items.resize(size_t(size > 0 ? size : 0)); }
    int Add(const CString& item) { m_items.push_back(item); return int(m_items.size()) - 1; }
    const CString& GetAt(int i) const { return m_items[size_t(i)]; }
    CString& ElementAt(int i) { return m_items[size_t(i)]; }
    void SetAt(int i, const CString& item) { m_items[size_t(i)] = item; }
    const CString& operator[](int i) const { return m_items[size_t(i)]; }
    CString& operator[](int i) { return m_items[size_t(i)]; }
    void InsertAt(int i, const CString& item) { m_items.insert(m_items.begin() + i, item); }
    void RemoveAt(int i, int count = 1) { m_items.erase(m_items.begin() + i, m_items.begin() + i + count); }
    void RemoveAll() { m_items.clear(); }
    void Append(const CStringArray& other) { m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end()); }

private:
    std::vector<CString> m_items;
};
