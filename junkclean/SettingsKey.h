// Where the junk cleaner keeps its settings: the suite's settings key under
// HKEY_CURRENT_USER and its two sub-keys.
#pragma once

#include <afxwin.h>

// Sub-keys of the settings key.
#define JUNK_SUBKEY_FILTERS "SrchFilters"
#define JUNK_SUBKEY_FOLDERS "folders"

// The settings key path below HKEY_CURRENT_USER.
CString JunkSettingsPath();
// The settings path with "\" and `subKey` appended (the shared library's path append).
CString JunkSubKeyPath(LPCSTR subKey);
