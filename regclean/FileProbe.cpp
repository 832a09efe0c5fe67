#include "regclean/FileProbe.h"

#include <cstring>

namespace {

std::string Upper(const char* text)
{
    std::string s(text ? text : "");
    if (!s.empty()) ::CharUpperBuffA(&s[0], DWORD(s.size()));
    return s;
}

bool IsSep(char c) { return c == '\\' || c == '/'; }

bool HasHighByte(const std::string& s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

// Names the system treats specially, whatever folder they stand in.
bool LooksLikeDevice(const std::string& name)
{
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "COM", "LPT", "CLOCK$"};
    for (const char* d : kDevices)
        if (name.compare(0, std::strlen(d), d) == 0) return true;
    return false;
}

// A name as the system looks it up: trailing blanks and dots go (only dots
// go inside a path, so a listing that keeps more only means more probes).
std::string LookupName(const std::string& upper, size_t from, size_t to)
{
    while (to > from && (upper[to - 1] == ' ' || upper[to - 1] == '.')) --to;
    return upper.substr(from, to - from);
}

// Names a listing cannot answer for: empty, "." and "..", wildcards,
// streams, short-name aliases, control characters, devices.
bool NeedsOwnProbe(const std::string& name)
{
    if (name.empty()) return true;
    for (char c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 32 || std::strchr("*?\"<>|:~", c)) return true;
    }
    return LooksLikeDevice(name);
}

// Index of the separator before position `end`, or npos.
size_t SepBefore(const std::string& s, size_t end)
{
    while (end > 0) {
        --end;
        if (IsSep(s[end])) return end;
    }
    return std::string::npos;
}

}  // namespace

FileProbe::FileProbe(bool cached) : m_cached(cached) {}

FileProbe::~FileProbe() = default;

void FileProbe::Reset()
{
    m_calls = 0;
    m_attributes.clear();
    m_listings.clear();
    m_driveTypes.clear();
}

DWORD FileProbe::RawAttributes(const std::string& upper)
{
    auto it = m_attributes.find(upper);
    if (it != m_attributes.end()) return it->second;
    ++m_calls;
    DWORD attributes = ::GetFileAttributesA(upper.c_str());
    m_attributes.emplace(upper, attributes);
    return attributes;
}

// `folderUpper` ends with a separator.
const FileProbe::Listing& FileProbe::ListingOf(const std::string& folderUpper)
{
    auto it = m_listings.find(folderUpper);
    if (it != m_listings.end()) return *it->second;
    auto listing = std::make_unique<Listing>();

    // A folder whose parent was listed without it is missing: no call.
    size_t sep = SepBefore(folderUpper, folderUpper.size() - 1);
    if (sep != std::string::npos) {
        std::string name = LookupName(folderUpper, sep + 1, folderUpper.size() - 1);
        if (!NeedsOwnProbe(name)) {
            const Listing& parent = ListingOf(folderUpper.substr(0, sep + 1));
            if (parent.listed && (!parent.exists || parent.names.count(name) == 0)) {
                listing->listed = true;
                return *m_listings.emplace(folderUpper, std::move(listing)).first->second;
            }
        }
    }

    if (folderUpper.find_first_of("*?<>\"|") == std::string::npos) {
        ++m_calls;
        WIN32_FIND_DATAA data;
        HANDLE find = ::FindFirstFileA((folderUpper + "*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            listing->listed = listing->exists = true;
            do {
                std::string name = Upper(data.cFileName);
                if (name != "." && name != "..") {
                    listing->names.insert(name);
                    // A name that ends in blanks or dots is also asked for without them.
                    listing->names.insert(LookupName(name, 0, name.size()));
                }
                if (data.cAlternateFileName[0]) listing->names.insert(Upper(data.cAlternateFileName));
            } while (::FindNextFileA(find, &data));
            ::FindClose(find);
        } else {
            // Path not found: the folder is missing. File not found: it is
            // there and empty (a drive root). Any other refusal (no right to
            // list it, not a folder) leaves each name to its own probe.
            DWORD error = ::GetLastError();
            listing->listed = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
            listing->exists = error == ERROR_FILE_NOT_FOUND;
        }
    }
    return *m_listings.emplace(folderUpper, std::move(listing)).first->second;
}

bool FileProbe::RuledOut(const std::string& upper)
{
    if (IsSep(upper.back())) {
        // A folder asked for with its separator: its own listing knows.
        size_t sep = SepBefore(upper, upper.size() - 1);
        if (sep == std::string::npos) return false;
        if (NeedsOwnProbe(LookupName(upper, sep + 1, upper.size() - 1))) return false;
        const Listing& self = ListingOf(upper);
        return self.listed && !self.exists;
    }
    size_t sep = SepBefore(upper, upper.size());
    if (sep == std::string::npos) return false;
    std::string name = LookupName(upper, sep + 1, upper.size());
    if (NeedsOwnProbe(name)) return false;
    const Listing& listing = ListingOf(upper.substr(0, sep + 1));
    return listing.listed && (!listing.exists || listing.names.count(name) == 0);
}

DWORD FileProbe::Attributes(const char* path)
{
    if (!m_cached) {
        ++m_calls;
        return ::GetFileAttributesA(path);
    }
    std::string upper = Upper(path);
    if (upper.empty()) return INVALID_FILE_ATTRIBUTES;
    auto it = m_attributes.find(upper);
    if (it != m_attributes.end()) return it->second;
    // Double-byte texts may hold a backslash as a trail byte: no folder
    // arithmetic on them.
    if (!HasHighByte(upper) && RuledOut(upper)) {
        m_attributes.emplace(upper, INVALID_FILE_ATTRIBUTES);
        return INVALID_FILE_ATTRIBUTES;
    }
    return RawAttributes(upper);
}

int FileProbe::ProbePath(const char* path)
{
    DWORD attributes = Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return -1;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
}

bool FileProbe::AnyPrefixIsFile(const std::string& candidate)
{
    if (!m_cached || HasHighByte(candidate)) {
        for (size_t length = candidate.size(); length >= 1; --length)
            if (ProbePath(candidate.substr(0, length).c_str()) == 1) return true;
        return false;
    }
    // Which prefix is found first does not change the answer, so they go
    // from the left, folder by folder: once a folder is missing, nothing
    // longer can exist, and a name its listing lacks needs no probe.
    std::string upper = Upper(candidate.c_str());
    const Listing* folder = nullptr;  // of the prefixes now looked at
    size_t folderEnd = 0;             // length of that folder's path
    std::string name;
    for (size_t length = 1; length <= upper.size(); ++length) {
        if (length >= 2 && IsSep(upper[length - 2])) {
            folderEnd = length - 1;
            folder = &ListingOf(upper.substr(0, folderEnd));
            if (folder->listed && !folder->exists) return false;
        }
        if (IsSep(upper[length - 1])) continue;  // a folder with its separator is never a file
        if (folder && folder->listed) {
            size_t end = length;
            while (end > folderEnd && (upper[end - 1] == ' ' || upper[end - 1] == '.')) --end;
            name.assign(upper, folderEnd, end - folderEnd);
            if (!NeedsOwnProbe(name) && folder->names.count(name) == 0) continue;
        }
        if (ProbePath(upper.substr(0, length).c_str()) == 1) return true;
    }
    return false;
}

UINT FileProbe::DriveType(const char* root)
{
    std::string key = Upper(root);
    if (m_cached) {
        auto it = m_driveTypes.find(key);
        if (it != m_driveTypes.end()) return it->second;
    }
    ++m_calls;
    UINT type = ::GetDriveTypeA(root);
    if (m_cached) m_driveTypes.emplace(key, type);
    return type;
}
