// The checks that go through one fixed key each: shared DLLs, help files,
// fonts, file associations, application paths and uninstall entries.
#pragma once

#include "regclean/KeyWalker.h"

extern const char kSharedDllsKey[];  // below HKEY_LOCAL_MACHINE
extern const char kAppPathsKey[];
extern const char kUninstallKey[];

// Section 3: each value name of SharedDlls is a file.
void CheckSharedDlls(ScanContext& ctx);
// Section 9: the HTML help key, then the help key; names are help files,
// values their folders.
void CheckHelpFiles(ScanContext& ctx);
// Section 4: bare font file names below the Windows fonts folder.
void CheckFonts(ScanContext& ctx);
// Section 5: ".ext" keys naming a ProgID that has no key, and the commands
// of the ProgIDs that do exist.
void CheckFileAssociations(ScanContext& ctx);
// Section 11: the default value and "Path" of each App Paths entry.
void CheckAppPaths(ScanContext& ctx);
// Section 8: the string values of each Uninstall entry.
void CheckUninstallEntries(ScanContext& ctx);
