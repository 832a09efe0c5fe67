// File-system probes of the file-reference test. Within one scan a path is
// asked about at most once, and a path whose folder is missing, or whose
// folder's listing holds no entry of that name, is known to be missing
// without a call of its own. The file system is taken as it is when the
// scan runs.
//
// Every answer is the one GetFileAttributesA gives for the text as written.
// Texts share an answer only when the system looks them up as the same
// path: the full path it forms from them ("." and ".." folded, "/" made
// "\", trailing dots and blanks of the last name dropped), when that is a
// drive path of plain ASCII names; any other text (double-byte names, short
// names, devices, streams, long texts) keeps its answer for its own spelling.
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
        std::unordered_set<std::string> names;  // upper-cased
    };
    DWORD Call(const char* path);
    // The spelling under which `raw` shares its answer; false when it keeps
    // it for its own spelling.
    bool SharedKey(const std::string& raw, std::string& key);
    // `folder` is a shared key ending with "\".
    const Listing& ListingOf(const std::string& folder);
    // Whether a shared key is missing by the listings of its folders alone.
    bool RuledOut(const std::string& key);

    bool m_cached;
    unsigned long long m_calls = 0;
    std::unordered_map<std::string, DWORD> m_shared;  // by shared key
    std::unordered_map<std::string, DWORD> m_own;     // by the text as written
    std::unordered_map<std::string, std::unique_ptr<Listing>> m_listings;
    std::unordered_map<std::string, UINT> m_driveTypes;
};
