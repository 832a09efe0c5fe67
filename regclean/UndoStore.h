// Undo files and their records: every removal is kept as a REGEDIT4 file in
// the documents folder and recorded under HKEY_CURRENT_USER, so that the
// undo panel can list it, merge it back and drop it.
#pragma once

#include <afxwin.h>

// Key of the undo records below HKEY_CURRENT_USER: one DWORD value per
// file, named by the file's full path.
extern const char kUndoRecordsKey[];

// The documents folder + "\Vantor\RegCleanUndo\", made when missing; the
// current folder when it cannot be made. Always ends with "\".
CString UndoFolder();
// Removes that folder, and the "Vantor" folder above it, when they are empty.
void RemoveEmptyUndoFolder();

// Writes `text` into a new file of `folder` and records it. The file gets a
// name of its own: the seconds since 1970, ".reg", and when a removal of the
// same second already took that name, "_2", "_3", ... before ".reg". Returns
// the path once the file is written and closed and its record stands; an
// empty text (and no file, no record) when that could not be done.
CString WriteUndoFile(const CString& text, const CString& folder);
CString WriteUndoFile(const CString& text);

// The recorded undo files; records whose file is gone are dropped first.
void ListUndoRecords(CStringArray& paths);

// "%H:%M %d-%m-%y" of the seconds in front of the first "." of a file name;
// empty when the name has no ".".
CString UndoDateText(const char* fileName);

// Deletes the record, then the file.
void DropUndoRecord(const char* path);

// Whether every value of the undo file is in the registry with the type and
// bytes the file gives. False for a file that cannot be read.
bool UndoFileIsMerged(const char* path);

// Merges the file with the system's registry editor ("regedit.exe /s"),
// waits for it to end (at most timeoutMs, dispatching this thread's
// messages meanwhile) and reads the values back: true only when they are all
// there.
bool MergeUndoFile(const char* path, DWORD timeoutMs = 60000);
