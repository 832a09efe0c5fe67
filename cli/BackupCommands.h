// backup /backup, /list and /verify: the backup page's engines, the set
// verifier, and retention of the newest sets.
#pragma once

#include "cli/CliContext.h"

#include <afxwin.h>
#include <string>
#include <vector>

// A registered set with what orders it: the date its folder is named by,
// then when its info.arb was written.
struct SetListing {
    CString info;
    ULONGLONG named = 0;    // local file time of the folder's date (the info.arb's when unnamed)
    ULONGLONG written = 0;  // last write of info.arb
    std::string date;       // ISO 8601
};

// The registered valid sets of the running line, newest first.
std::vector<SetListing> ListSetsNewestFirst();
