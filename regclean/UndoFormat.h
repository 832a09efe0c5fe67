// Undo entries in the registry-export text (REGEDIT4) that the system's
// registry editor merges back: one key line and one value line per removed
// value, with the value's own type and bytes.
#pragma once

#include <afxwin.h>

#include <string>
#include <vector>

// The header every undo file starts with.
extern const char kUndoHeader[];  // "REGEDIT4\r\n"

// Texts of an entry that no merge could bring back (a key name holding a
// line break) stay in the file as a comment line starting with "; " and this
// mark.
extern const char kUndoUnmergeableMark[];

// Backslashes doubled, double quotes preceded by a backslash, CR and LF as
// "\r" and "\n"; a double-byte character is left whole.
CString EscapeRegText(const char* text);

// Whether the registry editor can merge an entry for this key back; when it
// cannot, the entry is written as a comment (the rest of the file merges)
// and the value must not be removed.
bool UndoEntryMergeable(const CString& keyPath);

// An entry for a value removed as a plain string (used when the value can
// no longer be read): empty line, "[key]", then "name"="data" or @="data"
// for a default value (empty name or a single blank); data holding control
// characters as hex(1):.
CString FormatUndoEntry(const CString& keyPath, const CString& valueName, const CString& data);

// An entry with the value's type and bytes: strings as "...", REG_EXPAND_SZ
// as hex(2):, REG_MULTI_SZ as hex(7):, binary as hex:, other types as
// hex(N):, long hex lines continued with "\". A string holding control
// characters or bytes after its terminator is written as hex(1): with every
// byte, so that it cannot break the file and comes back whole.
CString FormatUndoEntry(const CString& keyPath, const CString& valueName, DWORD type, const std::string& bytes);

// Whether a value name stands for the key's default value.
bool IsDefaultValueName(const CString& valueName);

// One value read back from an undo file.
struct UndoValue {
    CString KeyPath;
    CString ValueName;  // empty: the default value
    DWORD Type = REG_SZ;
    std::string Bytes;  // as the registry keeps them (strings with their terminator)
};

// Reads the entries of an undo file's text; false when it is not one.
bool ParseUndoText(const std::string& text, std::vector<UndoValue>& values);
