// Removing the ticked results: delete, Recycle Bin or move to a folder,
// row by row, asking before a file of a system type is touched.
#pragma once

#include "junkclean/RecycleBin.h"
#include "junkclean/RemovalOptions.h"

#include <afxwin.h>

class JunkFindingStamps;

// Moves the file into folder under its own name, or under a free one when
// the name is taken there ("a (2).tmp"). 0 on success; nonzero, with the
// file left where it is, when every name is taken: a file already in the
// folder is never replaced.
int MoveFileToFolder(LPCSTR path, LPCSTR folder);
// The target path a move would use; empty when no free name is left.
CString MoveTargetFor(LPCSTR path, LPCSTR folder);

// The findings a removal pass works through: a window's results, or a
// plain collection. Indexes stay as they are for the whole pass; a removed
// item is only reported, the collection decides when it leaves.
class RemovalItems {
public:
    virtual ~RemovalItems() = default;
    virtual int Count() const = 0;
    virtual bool Ticked(int i) const = 0;
    virtual CString Path(int i) const = 0;
    // The file is gone (movedTo: where it went in move mode, else empty).
    virtual void OnRemoved(int i, const CString& movedTo) = 0;
    // A ticked file stays; why: "missing", "changed", "declined", "in move
    // folder" (moving it would only rename it), "no recycle
    // bin" (the Recycle Bin would not take it and the user kept what would be
    // deleted for good) or "failed".
    virtual void OnKept(int i, const char* why) = 0;
};

// What a removal pass needs from whoever runs it (the progress dialog, or a
// host without a window, which may pass no time at all).
class RemovalPassHost {
public:
    virtual ~RemovalPassHost() = default;
    virtual bool Running() const = 0;
    // Every wait of the pass: the dialog sleeps ms milliseconds, then
    // dispatches this thread's pending messages.
    virtual void Pause(DWORD ms) = 0;
    // The system-file question: IDYES, IDNO or IDCANCEL.
    virtual int AskSystemFile(LPCSTR path, DWORD mode) = 0;
    // A file is about to be removed: the label, the counter and the bar follow.
    virtual void Progress(LPCSTR path) = 0;
    // Recycle Bin mode, a ticked file the Recycle Bin will not take (a drive
    // without one, a bin turned off or unusable, a file larger than it): may
    // such files be deleted for good? Asked once per pass; IDYES or IDNO.
    // A host that cannot ask keeps them.
    virtual int AskNoRecycleBin(LPCSTR /*path*/) { return IDNO; }
};

// Runs one pass of the given mode over the ticked items, in order. Items
// the pass does not reach (Cancel, the host stopped) get no call.
void RunRemovalPass(DWORD mode, const CString& folder, RemovalItems& items, const JunkFindingStamps* stamps,
                    RemovalPassHost& host);

// The rows of a report list (column 0 holds the paths) as removal items: a
// removed row leaves the list at once. Usable from another thread (every
// call is a message to the list).
class ListRemovalItems : public RemovalItems {
public:
    explicit ListRemovalItems(CListCtrl& list) : m_list(list), m_count(list.GetItemCount()) {}
    int Count() const override { return m_count; }
    bool Ticked(int i) const override;
    CString Path(int i) const override;
    void OnRemoved(int i, const CString& movedTo) override;
    void OnKept(int, const char*) override {}

private:
    // Rows before i that left the list have moved i up by as many.
    int Row(int i) const { return i - m_gone; }
    CListCtrl& m_list;
    int m_count;
    int m_gone = 0;
};
