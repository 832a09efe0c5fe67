// The registry record of backup sets: one DWORD value per set under the
// settings key's "AdvRegBackup", named by the full path of its info.arb.
// The NT line keeps it under HKEY_CURRENT_USER, the 9x line under
// HKEY_LOCAL_MACHINE.
#pragma once

#include <afxwin.h>

enum class BackupLine { NT, Legacy };

// The settings key below the root (shared with the rest of the suite).
CString SettingsKeyPath();
HKEY SetRecordRoot(BackupLine line);

// Adds (or keeps) the value naming infoPath.
BOOL RecordSet(BackupLine line, LPCSTR infoPath);

// The recorded info.arb paths for which `valid` holds; the values of the
// others are deleted, so a set removed behind the tool's back drops out.
typedef BOOL (*SetCheck)(LPCSTR infoPath, void* context);
void ListRecordedSets(BackupLine line, CStringArray& out, SetCheck valid, void* context);

// TRUE when a file or folder is there.
BOOL PathExists(LPCSTR path);
