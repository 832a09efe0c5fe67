// "uninstall": the program removes what it wrote itself, in this order:
// the registry backup sets, the undo files of the registry cleaner, then the
// whole settings key. Nothing is shown and every step is tried whatever the
// one before it did.
#pragma once

void RemoveOwnData();

// Every backup set recorded for the user, files and folder; the NT form of
// the set list on the NT line, the 9x form otherwise.
void RemoveBackupSets();
// Every undo file still recorded (records whose file is gone are dropped by
// the listing); the records themselves stay.
void RemoveUndoFiles();
// The settings key below HKEY_CURRENT_USER with all its subkeys.
void RemoveSettingsKey();
