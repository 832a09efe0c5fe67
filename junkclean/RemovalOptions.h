// How the ticked results are removed: deleted, moved to the Recycle Bin or
// moved to a folder. Exactly one of the three flags is set at any time.
#pragma once

#include <afxwin.h>
#include <functional>

enum RemovalMode {
    REMOVAL_DELETE = 1,
    REMOVAL_RECYCLE = 2,
    REMOVAL_MOVE = 3,
};

class RemovalOptions {
public:
    void LoadRemovalOptions();
    void RestoreDefaultRemovalOptions();
    void SelectDirectDelete();
    void SelectRecycleBin();
    void SelectMoveToFolder();
    // Stores the three flags and lets the removal page follow them.
    void ApplyRemovalOptions();
    void SetMoveFolder(LPCSTR path);

    DWORD SC_DirectDel = 0;
    DWORD SC_RecycleBin = 1;
    DWORD SC_MoveToFolder = 0;
    CString SC_StrFolderName;
    DWORD Mode = REMOVAL_RECYCLE;

    // Called by ApplyRemovalOptions after storing (the page brings its controls in line).
    std::function<void()> OnApplied;

private:
    void Select(DWORD del, DWORD recycle, DWORD move, DWORD mode);
};

// A usable move folder: not empty after trimming, and a directory search for
// exactly that text finds it (so "D:\Junk\" and "D:\" do not count).
bool MoveFolderUsable(LPCSTR folder);
