// Operating-system family, folder clean-up, string resources and the
// registry-path append.
#pragma once

#include <windows.h>
#include <afxstr.h>
#include <vantor/VantorApi.h>

// TRUE on the NT line of Windows, FALSE on the 9x line.
VANTOR_API BOOL IsOsWinNT();

// Flags of EraseFolderContents.
enum {
    ERASE_CONTENTS = 0,        // everything inside the folder, sub-folders included
    ERASE_FOLDER_TOO = 1,      // ... and then the folder itself
};

// Deletes everything inside `path` ("a:" and "C:\dir\" work as well as
// "C:\dir"), clearing read-only attributes on the way. Linked folders
// (reparse points) are unlinked, never walked. TRUE when everything went;
// FALSE for an empty path, a missing folder or anything left behind.
VANTOR_API BOOL EraseFolderContents(LPCSTR path, int flag);

// Text of string resource `id`, looked up through the framework's resource
// chain (so the resource library is searched while it is the resource
// source); empty when there is none. Stands beside Win32's LoadStringA.
VANTOR_API CString LoadStringA(UINT id);

// Appends a backslash and `subKey` to the registry path `path`, in place,
// without doubling a backslash; an empty path becomes `subKey`.
// Exported by ordinal 5 only, without a name.
extern "C" VANTOR_API void VantorAppendRegPath(CString& path, LPCSTR subKey);
