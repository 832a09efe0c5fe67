// File-system probes of the file-reference test. Within one scan each
// distinct path is asked about at most once: the answers are kept, and a
// path whose folder is missing, or whose folder's listing holds no entry of
// that name, is known to be missing without a call of its own. The file
// system is taken as it is when the scan runs.
#pragma once

#include <windows.h>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

class FileProbe {
public:
    // cached false: every question goes to the file system (the plain rules,
    // for comparison).
    explicit FileProbe(bool cached = true);
    ~FileProbe();
    FileProbe(const FileProbe&) = delete;
    FileProbe& operator=(const FileProbe&) = delete;

    // GetFileAttributesA of the path, or INVALID_FILE_ATTRIBUTES.
    DWORD Attributes(const char* path);
    // -1 missing, 0 a folder, 1 a file.
    int ProbePath(const char* path);
    // Whether any of the first 1..length characters of `candidate` name an
    // existing file (a file followed by arguments counts).
    bool AnyPrefixIsFile(const std::string& candidate);
    // GetDriveTypeA of "X:\".
    UINT DriveType(const char* root);

    // Forgets every answer: the next scan sees the file system afresh.
    void Reset();
    // File-system calls made since the last Reset.
    unsigned long long Calls() const { return m_calls; }
    bool Cached() const { return m_cached; }

private:
    struct Listing {
        bool listed = false;  // false: the folder could not be listed, probe each name
        bool exists = false;  // listed: whether the folder is there at all
        std::unordered_set<std::string> names;  // upper-cased long and short names
    };
    DWORD RawAttributes(const std::string& upper);
    const Listing& ListingOf(const std::string& folderUpper);
    // Whether the path can be ruled out by the listings of its folders alone.
    bool RuledOut(const std::string& upper);

    bool m_cached;
    unsigned long long m_calls = 0;
    std::unordered_map<std::string, DWORD> m_attributes;
    std::unordered_map<std::string, std::unique_ptr<Listing>> m_listings;
    std::unordered_map<std::string, UINT> m_driveTypes;
};
