#include "regclean/FileProbe.h"

#include <cstring>

namespace {

// Longer texts keep their answers for their own spelling: near MAX_PATH the
// system refuses a text that its folded form would fit.
const size_t kSharedLimit = 240;

bool IsAscii(const std::string& s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::string UpperAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return s;
}

std::string UpperAnsi(const char* text)
{
    std::string s(text ? text : "");
    if (!s.empty()) ::CharUpperBuffA(&s[0], DWORD(s.size()));
    return s;
}

// Names the system treats specially, whatever folder they stand in.
bool LooksLikeDevice(const std::string& upper, size_t from)
{
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "COM", "LPT", "CLOCK$"};
    for (const char* d : kDevices)
        if (upper.compare(from, std::strlen(d), d) == 0) return true;
    return false;
}

// A name that a folder listing answers for exactly: printable ASCII without
// wildcards, stream or short-name marks, not "." or "..", no trailing dot
// or blank, no device name.
bool PlainName(const std::string& upper, size_t from, size_t to)
{
    if (to <= from) return false;
    for (size_t i = from; i < to; ++i) {
        unsigned char c = static_cast<unsigned char>(upper[i]);
        if (c < 32 || c >= 127 || std::strchr("*?\"<>|:~/", c)) return false;
    }
    if (upper[to - 1] == '.' || upper[to - 1] == ' ') return false;
    return !LooksLikeDevice(upper, from);
}

// "X:\" followed by plain names, one "\" between them, perhaps one at the
// end: the system looks such a path up as it is written.
bool IsLookupForm(const std::string& upper)
{
    if (upper.size() < 3 || upper[0] < 'A' || upper[0] > 'Z' || upper[1] != ':' || upper[2] != '\\') return false;
    size_t start = 3;
    while (start < upper.size()) {
        size_t sep = upper.find('\\', start);
        size_t end = sep == std::string::npos ? upper.size() : sep;
        if (!PlainName(upper, start, end)) return false;
        if (sep == std::string::npos) break;
        start = sep + 1;
    }
    return true;
}

// A name as listed, and as a lookup would match it once trailing dots and
// blanks are gone (more names only mean more probes).
void AddListedName(std::unordered_set<std::string>& names, const char* name)
{
    std::string upper = UpperAnsi(name);
    if (upper.empty() || upper == "." || upper == "..") return;
    names.insert(upper);
    size_t end = upper.size();
    while (end > 0 && (upper[end - 1] == ' ' || upper[end - 1] == '.')) --end;
    names.insert(upper.substr(0, end));
}

}  // namespace

FileProbe::FileProbe(bool cached) : m_cached(cached) {}

FileProbe::~FileProbe() = default;

void FileProbe::Reset()
{
    m_calls = 0;
    m_shared.clear();
    m_own.clear();
    m_listings.clear();
    m_driveTypes.clear();
}

DWORD FileProbe::Call(const char* path)
{
    ++m_calls;
    return ::GetFileAttributesA(path);
}

bool FileProbe::SharedKey(const std::string& raw, std::string& key)
{
    if (raw.empty() || raw.size() >= kSharedLimit || !IsAscii(raw)) return false;
    key = UpperAscii(raw);
    if (IsLookupForm(key)) return true;
    // The system forms the full path before it looks anything up.
    char full[MAX_PATH];
    DWORD n = ::GetFullPathNameA(raw.c_str(), MAX_PATH, full, nullptr);
    if (n == 0 || n >= MAX_PATH) return false;
    key = UpperAscii(full);
    return IsAscii(key) && IsLookupForm(key);
}

const FileProbe::Listing& FileProbe::ListingOf(const std::string& folder)
{
    auto it = m_listings.find(folder);
    if (it != m_listings.end()) return *it->second;
    auto listing = std::make_unique<Listing>();

    // A folder whose parent was listed without it is missing: no call.
    bool known = false;
    if (folder.size() > 3) {
        size_t sep = folder.rfind('\\', folder.size() - 2);
        const Listing& parent = ListingOf(folder.substr(0, sep + 1));
        if (parent.listed && (!parent.exists || !parent.names.count(folder.substr(sep + 1, folder.size() - sep - 2)))) {
            listing->listed = true;
            known = true;
        }
    }
    if (!known) {
        ++m_calls;
        WIN32_FIND_DATAA data;
        HANDLE find = ::FindFirstFileA((folder + "*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            listing->listed = listing->exists = true;
            do {
                AddListedName(listing->names, data.cFileName);
                AddListedName(listing->names, data.cAlternateFileName);
            } while (::FindNextFileA(find, &data));
            ::FindClose(find);
        } else {
            // Path not found: the folder is missing. File not found: it is
            // there and empty (a drive root). Any other refusal (no right to
            // list it, a drive not ready) leaves each name to its own probe.
            DWORD error = ::GetLastError();
            listing->listed = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
            listing->exists = error == ERROR_FILE_NOT_FOUND;
        }
    }
    return *m_listings.emplace(folder, std::move(listing)).first->second;
}

bool FileProbe::RuledOut(const std::string& key)
{
    // A folder asked for with its "\" is looked for by its name as well.
    size_t end = key.size();
    if (key[end - 1] == '\\') --end;
    if (end <= 3) return false;  // a drive root
    size_t sep = key.rfind('\\', end - 1);
    const Listing& folder = ListingOf(key.substr(0, sep + 1));
    return folder.listed && (!folder.exists || !folder.names.count(key.substr(sep + 1, end - sep - 1)));
}

DWORD FileProbe::Attributes(const char* path)
{
    if (!m_cached) return Call(path);
    const std::string raw(path ? path : "");
    std::string key;
    if (!SharedKey(raw, key)) {
        auto it = m_own.find(raw);
        if (it != m_own.end()) return it->second;
        return m_own.emplace(raw, Call(raw.c_str())).first->second;
    }
    auto it = m_shared.find(key);
    if (it != m_shared.end()) return it->second;
    // Ruled-out texts are not kept: the listing answers them again at once.
    if (RuledOut(key)) return INVALID_FILE_ATTRIBUTES;
    return m_shared.emplace(key, Call(raw.c_str())).first->second;
}

int FileProbe::ProbePath(const char* path)
{
    DWORD attributes = Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return -1;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
}

bool FileProbe::AnyPrefixIsFile(const std::string& candidate)
{
    // The plain question for every length; kept answers and listings make
    // most of them free.
    for (size_t length = candidate.size(); length >= 1; --length)
        if (ProbePath(candidate.substr(0, length).c_str()) == 1) return true;
    return false;
}

UINT FileProbe::DriveType(const char* root)
{
    if (!m_cached) {
        ++m_calls;
        return ::GetDriveTypeA(root);
    }
    std::string key(root ? root : "");
    if (IsAscii(key)) key = UpperAscii(key);
    auto it = m_driveTypes.find(key);
    if (it != m_driveTypes.end()) return it->second;
    ++m_calls;
    return m_driveTypes.emplace(key, ::GetDriveTypeA(root)).first->second;
}
