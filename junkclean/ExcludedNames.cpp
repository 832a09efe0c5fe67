#include "junkclean/ExcludedNames.h"

#include <cstring>

// A listed path begins with its drive ("c:\...") and a colon stands nowhere
// else in a path, so an earlier path can occur in a later one only as its
// beginning. Looking up each beginning of the new path by hash gives the
// same answer as comparing it with every earlier path, at a cost that does
// not grow with the number of findings.

void ExcludedNames::Reset(const CStringArray& fragments) {
    Clear();
    for (int i = 0; i < fragments.GetSize(); ++i) {
        const std::string& f = fragments[i].str();
        m_fragments.push_back(f);
        const int index = int(m_fragments.size()) - 1;
        if (f.size() == 1) {
            m_oneByte.push_back(index);
        } else if (f.size() > 1) {
            m_byFirstByte[static_cast<unsigned char>(f[0])].push_back(index);
            const unsigned k = (unsigned(static_cast<unsigned char>(f[0])) << 8) | static_cast<unsigned char>(f[1]);
            m_pairBits[k >> 6] |= uint64_t(1) << (k & 63);
        }
    }
}

size_t ExcludedNames::CharLength(const std::string& text, size_t i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    return c >= 0x80 && i + 1 < text.size() && IsDBCSLeadByte(c) ? 2 : 1;
}

bool ExcludedNames::ContainsWhole(const std::string& text, const std::string& part) {
    size_t boundary = 0;
    for (size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) {
        while (boundary < p) boundary += CharLength(text, boundary);
        if (boundary == p) return true;
    }
    return false;
}

void ExcludedNames::Clear() {
    m_pairBits.assign(65536 / 64, 0);
    m_hashBits.assign(size_t(kHashBits / 64), 0);
    m_oneByte.clear();
    m_fragments.clear();
    for (auto& bucket : m_byFirstByte) bucket.clear();
    m_paths.clear();
    m_pathByHash.clear();
    m_odd.clear();
}

bool ExcludedNames::ContainsFragment(const std::string& text) const {
    for (const std::string& f : m_fragments)
        if (f.empty()) return true;  // an empty entry is found in every text
    const size_t n = text.size();
    for (int index : m_oneByte)
        if (ContainsWhole(text, m_fragments[size_t(index)])) return true;
    size_t boundary = 0;
    for (size_t i = 0; i + 1 < n; ++i) {
        // A match starts a character: never at the trail byte of a double-byte one.
        if (i < boundary) continue;
        boundary = i + CharLength(text, i);
        if (!PairMayStart(static_cast<unsigned char>(text[i]), static_cast<unsigned char>(text[i + 1]))) continue;
        for (int index : m_byFirstByte[static_cast<unsigned char>(text[i])]) {
            const std::string& f = m_fragments[size_t(index)];
            if (f.size() <= n - i && std::memcmp(text.data() + i, f.data(), f.size()) == 0) return true;
        }
    }
    return false;
}

bool ExcludedNames::ContainsListedPath(const std::string& text) const {
    if (m_paths.empty() && m_odd.empty()) return false;
    if (!DriveForm(text)) {
        for (const std::string& p : m_paths)
            if (ContainsWhole(text, p)) return true;
        for (const std::string& p : m_odd)
            if (ContainsWhole(text, p)) return true;
        return false;
    }
    uint64_t h = 0;
    for (size_t len = 1; len <= text.size(); ++len) {
        h = HashStep(h, static_cast<unsigned char>(text[len - 1]));
        if (!HashMayBeListed(h)) continue;
        auto range = m_pathByHash.equal_range(h);
        for (auto it = range.first; it != range.second; ++it) {
            const std::string& p = m_paths[it->second];
            if (p.size() == len && text.compare(0, len, p) == 0) return true;
        }
    }
    // Paths of another form (no drive colon at the start) fall back to the plain search.
    for (const std::string& p : m_odd)
        if (ContainsWhole(text, p)) return true;
    return false;
}

bool ExcludedNames::Contains(const std::string& lowerPath) const {
    return ContainsFragment(lowerPath) || ContainsListedPath(lowerPath);
}

void ExcludedNames::Add(const std::string& lowerPath) {
    if (!DriveForm(lowerPath)) {
        m_odd.push_back(lowerPath);
        return;
    }
    uint64_t h = 0;
    for (unsigned char c : lowerPath) h = HashStep(h, c);
    m_paths.push_back(lowerPath);
    m_pathByHash.emplace(h, m_paths.size() - 1);
    const uint64_t k = (h ^ (h >> 29)) & (kHashBits - 1);
    m_hashBits[k >> 6] |= uint64_t(1) << (k & 63);
}

bool ExcludedNames::EqualsAny(const std::string& text) const {
    for (const std::string& f : m_fragments)
        if (f == text) return true;
    uint64_t h = 0;
    for (unsigned char c : text) h = HashStep(h, c);
    auto range = m_pathByHash.equal_range(h);
    for (auto it = range.first; it != range.second; ++it)
        if (m_paths[it->second] == text) return true;
    for (const std::string& p : m_odd)
        if (p == text) return true;
    return false;
}
