// The names a scan never lists: the protected name fragments, and every path
// listed so far in this walk. A lower-cased path that contains any of them
// (starting at a whole character) is not listed again.
#pragma once

#include <afxwin.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class ExcludedNames {
public:
    ExcludedNames() { Clear(); }
    // Empties the list and starts it with the given fragments.
    void Reset(const CStringArray& fragments);
    void Clear();
    // Whether lowerPath contains a fragment or an earlier listed path.
    bool Contains(const std::string& lowerPath) const;
    // Appends a listed path.
    void Add(const std::string& lowerPath);
    // Whether text equals one of the entries as a whole.
    bool EqualsAny(const std::string& text) const;
    size_t Count() const { return m_fragments.size() + m_paths.size() + m_odd.size(); }

private:
    bool ContainsFragment(const std::string& text) const;
    bool ContainsListedPath(const std::string& text) const;
    static bool DriveForm(const std::string& path) {
        return path.size() >= 2 && path[1] == ':' && path.find(':', 2) == std::string::npos;
    }
    static uint64_t HashStep(uint64_t h, unsigned char c) { return h * 1099511628211ull + c + 1; }
    // Bytes of the character at i (2 for a double-byte character of the ANSI code page).
    static size_t CharLength(const std::string& text, size_t i);
    // Whether part occurs in text starting at a whole character.
    static bool ContainsWhole(const std::string& text, const std::string& part);

    // Quick answers first: a set bit says "maybe", a clear bit "surely not".
    bool PairMayStart(unsigned char a, unsigned char b) const {
        const unsigned k = (unsigned(a) << 8) | b;
        return (m_pairBits[k >> 6] >> (k & 63)) & 1;
    }
    bool HashMayBeListed(uint64_t h) const {
        const uint64_t k = (h ^ (h >> 29)) & (kHashBits - 1);
        return (m_hashBits[k >> 6] >> (k & 63)) & 1;
    }
    static const uint64_t kHashBits = uint64_t(1) << 22;

    std::vector<std::string> m_fragments;
    // Fragments by their first byte, so a path is compared only where it can match.
    std::vector<int> m_byFirstByte[256];
    std::vector<int> m_oneByte;             // fragments of a single byte
    std::vector<uint64_t> m_pairBits;       // first two bytes of every longer fragment
    std::vector<uint64_t> m_hashBits;       // hashes of the listed paths
    std::vector<std::string> m_paths;
    std::unordered_multimap<uint64_t, size_t> m_pathByHash;  // hash of a listed path -> its index
    std::vector<std::string> m_odd;  // listed paths without the drive form, searched plainly
};
