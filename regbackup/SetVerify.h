// Reading a backup set's hive copies back: each copy is decoded into a
// temporary file, which the copier checks against the length and checksum it
// wrote, and deleted again. A copy that does not decode cannot be restored.
#pragma once

#include <afxwin.h>
#include <vector>

// One hive copy of a set and whether it decoded intact.
struct HiveCheck {
    CString name;   // the copy's file name in the set folder (Sys1, User2, ...)
    CString key;    // the hive it holds ("HKEY_LOCAL_MACHINE\SOFTWARE")
    bool verified = false;
};

// TRUE when the copy at `copyPath` decodes intact. On failure GetLastError
// tells why (the copier's codes; ERROR_FILE_NOT_FOUND for a missing copy).
BOOL VerifyHiveCopy(LPCSTR copyPath);

// Checks every copy that the set's info.arb names (NT or 9x layout); `hives`
// gets one entry per copy, in index order. true only when the index reads and
// every copy decodes; false with `hives` empty when the index is unreadable.
bool VerifySetCopies(LPCSTR infoPath, std::vector<HiveCheck>& hives);

// "HKEY_LOCAL_MACHINE\SOFTWARE" for a root and its subkey.
CString HiveKeyText(HKEY root, const CString& subkey);
