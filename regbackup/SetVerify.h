// Checks a backup set without restoring anything: every hive copy is
// decoded into a temporary file, checked and deleted again.
#pragma once

#include <afxwin.h>
#include <vector>

struct HiveCopyCheck {
    CString name;           // the copy's file name in the set ("Sys1", "User2"; "Sys", "User" on the 9x line)
    CString key;            // "HKEY_LOCAL_MACHINE\SOFTWARE"
    bool verified = false;  // the copy is there and decodes to what was saved
};

// Fills `hives` with one entry per copy the set's info.arb names (NT or 9x
// layout). True when the index could be read and every copy verified.
bool VerifySetCopies(LPCSTR infoPath, std::vector<HiveCopyCheck>& hives);
