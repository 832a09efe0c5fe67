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
// the name is taken there ("a (2).tmp"). 0 on success; nonzero, with the
// file left where it is, when every name is taken: a file already in the
// folder is never replaced.
int MoveFileToFolder(LPCSTR path, LPCSTR folder);
// The target path a move would use; empty when no free name is left.
CString MoveTargetFor(LPCSTR path, LPCSTR folder);
// Whether the drive of path keeps a Recycle Bin. Network, removable and RAM
// drives do not: there the shell's "delete with undo" deletes for good.
bool HasRecycleBin(LPCSTR path);

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
    // Recycle Bin mode, a ticked file on a drive without a Recycle Bin: may
    // such files be deleted for good? Asked once per pass; IDYES or IDNO.
    // A host that cannot ask keeps them.
    virtual int AskNoRecycleBin(LPCSTR /*path*/) { return IDNO; }
};

// Runs one pass of the given mode over list (column 0 holds the paths).
// Rows whose files are removed leave the list; the others stay.
void RunRemovalPass(DWORD mode, const CString& folder, CListCtrl& list, const JunkFindingStamps* stamps,
                    RemovalPassHost& host);
