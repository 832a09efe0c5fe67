// Removing the ticked results: delete, Recycle Bin or move to a folder,
// row by row, asking before a file of a system type is touched.
#pragma once

#include "junkclean/RemovalOptions.h"

#include <afxwin.h>

class JunkFindingStamps;

// The shell's delete with undo: the file goes to the Recycle Bin without a
// dialog. 0 on success.
int RecycleFile(LPCSTR path);
// Moves the file into folder under its own name, or under a free one when
// the name is taken there ("a (2).tmp"). 0 on success.
int MoveFileToFolder(LPCSTR path, LPCSTR folder);
// The target path a move would use.
CString MoveTargetFor(LPCSTR path, LPCSTR folder);

// What a removal pass needs from the dialog that runs it.
class RemovalPassHost {
public:
    virtual ~RemovalPassHost() = default;
    virtual bool Running() const = 0;
    // Waits ms milliseconds, then dispatches this thread's pending messages.
    virtual void Pause(DWORD ms) = 0;
    // The system-file question: IDYES, IDNO or IDCANCEL.
    virtual int AskSystemFile(LPCSTR path, DWORD mode) = 0;
    // A file is about to be removed: the label, the counter and the bar follow.
    virtual void Progress(LPCSTR path) = 0;
};

// Runs one pass of the given mode over list (column 0 holds the paths).
// Rows whose files are removed leave the list; the others stay.
void RunRemovalPass(DWORD mode, const CString& folder, CListCtrl& list, const JunkFindingStamps* stamps,
                    RemovalPassHost& host);
