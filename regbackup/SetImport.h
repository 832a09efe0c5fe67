// Importing a backup set found elsewhere: the locate page's command once
// the user has chosen an info.arb.
#pragma once

#include <afxwin.h>

#include "regbackup/SetRecords.h"

enum class ImportResult {
    AlreadyListed,  // the path is recorded already (in any letter case)
    Damaged,        // the set does not hold what its index names
    Imported,       // recorded: it shows in the restore list
};

// Records the set at `infoPath` for the running line and gives the text the
// process log shows afterwards.
ImportResult ImportSetFile(BackupLine line, LPCSTR infoPath, CString& log);

// The line this Windows is of.
BackupLine RunningLine();

// The recorded, valid sets of the running line, and deletion of one.
void ListSetsOfRunningLine(CStringArray& out);
BOOL DeleteSetOfRunningLine(LPCSTR infoPath);
