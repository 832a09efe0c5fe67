// The restore page's list: one row per valid recorded set with the date and
// time its folder is named by and the path of its info.arb.
#pragma once

#include <afxwin.h>

// Columns "Backup Date", "Backup Time", "Backup Path" and the list's look.
void SetupRestoreColumns(CListCtrl& list);
// Replaces the rows with one per path, in order.
void FillRestoreList(CListCtrl& list, const CStringArray& infoPaths);
// The info.arb path of the last selected row; FALSE when none is selected.
BOOL LastSelectedSet(const CListCtrl& list, CString& infoPath);
