// "uninstall": the program removes what it wrote itself, in this order:
// the registry backup sets, the undo files of the registry cleaner (and their
// folder when it is left empty), the whole settings key, then the registry
// cleaner's section switches; maker's keys left empty go too. Nothing is
// shown and every step is tried whatever the one before it did.
#pragma once

#include <afxwin.h>

void RemoveOwnData();

// Every backup set recorded for the user, files and folder; the NT form of
// the set list on the NT line, the 9x form otherwise.
void RemoveBackupSets();
// Every undo file still recorded (records whose file is gone are dropped by
// the listing); the records themselves stay.
void RemoveUndoFiles();
// The settings key below HKEY_CURRENT_USER with all its subkeys.
void RemoveSettingsKey();
// The registry cleaner's section switches, kept outside the settings key.
void RemoveSectionSwitches();
// Deletes the key `path` below HKEY_CURRENT_USER and the keys above it (up to
// "Software"), each only while it holds neither subkeys nor values.
void RemoveEmptyKeysUp(CString path);
