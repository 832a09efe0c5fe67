// Files and folders the junk scan never reports: folder fragments the walk
// does not enter, file-name fragments that are never listed, and the file
// types that count as system files.
#pragma once

#include <afxwin.h>

#define SKIP_FRAGMENT_COUNT 41
#define PROTECTED_NAME_COUNT 85
#define SYSTEM_FILE_TYPE_COUNT 9

extern const char* const kProtectedFileNames[PROTECTED_NAME_COUNT];
extern const char* const kSystemFileTypes[SYSTEM_FILE_TYPE_COUNT];

// The Windows directory without its drive root, lower-cased and trimmed
// ("windows" for C:\WINDOWS).
CString WindowsDirTail();

// Appends the 41 built-in skip fragments; fragment 16 is windowsTail + "\security".
void AppendSkipFragments(CStringArray& list, const CString& windowsTail);

// The protected names, in order.
void AppendProtectedNames(CStringArray& list);

// False when the extension of path is one of the system file types.
bool IsOrdinaryFileType(LPCSTR path);

// Whether the lower-cased, trimmed folder path contains any entry of skipFolders.
bool FolderIsSkipped(const CString& folderPath, const CStringArray& skipFolders);
