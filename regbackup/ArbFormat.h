// The info.arb index of a backup set, in both layouts: the NT line's header
// with one 1540-byte entry per hive copy, and the 9x line's 522-byte record.
// Reading checks everything against what was actually read, so a damaged or
// hostile file is simply invalid.
#pragma once

#include <afxwin.h>
#include <string>
#include <vector>

enum : DWORD {
    kArbDirSize = 260,
    kArbHeaderSize = 4 + kArbDirSize,  // count + system directory
    kArbFieldSize = 512,
    kArbEntrySize = 4 + 3 * kArbFieldSize,
    kArbLegacyFieldSize = 261,
    kArbLegacySize = 2 * kArbLegacyFieldSize,
    // No real machine loads more hives than this; a larger count is damage.
    kArbMaxEntries = 4096,
};

// One hive copy of an NT-line set.
struct ArbEntry {
    DWORD root = 0;     // 0x80000002 (HKEY_LOCAL_MACHINE) or 0x80000003 (HKEY_USERS)
    CString name;       // file name of the copy inside the set folder (Sys1, User1, ...)
    CString subkey;     // the hive's key below the root
    CString hiveFile;   // where the live hive lay when it was saved (information only)
};

struct ArbIndex {
    CString systemDir;
    std::vector<ArbEntry> entries;
};

// The 9x line's record: full paths of the two stored copies.
struct ArbLegacyRecord {
    CString sys;
    CString user;
};

// Root handle value as stored (and back).
DWORD RootToArb(HKEY root);
HKEY ArbToRoot(DWORD value);

// Exact bytes of info.arb; texts too long for their field are cut to fit.
std::string EncodeArbIndex(const ArbIndex& index);
std::string EncodeLegacyRecord(const ArbLegacyRecord& record);

// FALSE for anything that is not a well-formed index: a count the bytes
// cannot hold, a field without its NUL, an unknown root, a copy name that is
// empty or reaches outside the set folder.
BOOL DecodeArbIndex(const std::string& bytes, ArbIndex& index);
// FALSE unless at least 522 bytes were read, with both paths NUL-terminated
// and non-empty (extra bytes after the record are ignored).
BOOL DecodeLegacyRecord(const std::string& bytes, ArbLegacyRecord& record);

// Reads a whole small file; FALSE when it cannot be opened, is larger than
// maxSize or the read falls short.
BOOL ReadSmallFile(LPCSTR path, DWORD maxSize, std::string& bytes);
BOOL ReadArbIndex(LPCSTR path, ArbIndex& index);
BOOL ReadLegacyRecord(LPCSTR path, ArbLegacyRecord& record);

// Writes the file under a temporary name beside it and renames it into
// place, so that a crash or a full disk never leaves half an index.
BOOL WriteFileReplacing(LPCSTR path, const std::string& bytes);

// Drive + folder of a path, ending with "\" ("C:\sets\4-9-2005_15-45\").
// Split at whole characters: a double-byte name whose second byte is 0x5C
// stays in one piece.
CString FolderOfPath(LPCSTR path);
// "C:" of "C:\x\y"; empty for a path without a drive letter.
CString DriveOfPath(LPCSTR path);
