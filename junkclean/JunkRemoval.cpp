#include "junkclean/JunkRemoval.h"

#include "junkclean/JunkResults.h"
#include "junkclean/JunkScanner.h"
#include "junkclean/ProtectedFiles.h"
#include "junkclean/ShortcutTest.h"

#include <shellapi.h>

#include <cstring>

namespace {

// Names tried for a file moved into a folder that has one of its name.
const int kMoveNames = 1000;

struct ModeTimes {
    DWORD firstPause;
    DWORD secondPause;
};

ModeTimes TimesOf(DWORD mode) {
    switch (mode) {
    case REMOVAL_DELETE: return {144, 100};
    case REMOVAL_RECYCLE: return {100, 1};
    default: return {100, 10};
    }
}

// 0 when the file went; kRecycleWouldDeleteForGood, or another value on failure.
int Remove(DWORD mode, const CString& path, const CString& folder, CString& movedTo) {
    switch (mode) {
    case REMOVAL_DELETE: return DeleteFileA(path) ? 0 : -1;
    case REMOVAL_RECYCLE: return RecycleFile(path);
    case REMOVAL_MOVE: movedTo = MoveTargetFor(path, folder); return MoveFileToFolder(path, folder);
    default: return -1;
    }
}

// Whether path lies directly in folder: moving it there would only rename it.
bool InFolder(const CString& path, const CString& folder) {
    const int slash = path.ReverseFind('\\');
    return slash > 0 && FolderKey(path.Left(slash)) == FolderKey(folder);
}

}  // namespace

CString MoveTargetFor(LPCSTR path, LPCSTR folder) {
    CString base(folder);
    if (!EndsWithBackslash(base)) base += '\\';
    CString name(path);
    int slash = name.ReverseFind('\\');
    if (slash >= 0) name = name.Mid(slash + 1);
    CString target = base + name;
    // The shell here overwrites a file of the same name instead of renaming
    // the newcomer, so a free name is chosen first: "a (2).tmp", "a (3).tmp"...
    if (GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES) return target;
    CString stem = name, ext;
    int dot = name.ReverseFind('.');
    if (dot > 0) {
        stem = name.Left(dot);
        ext = name.Mid(dot);
    }
    for (int n = 2; n < kMoveNames; ++n) {
        CString candidate;
        candidate.Format("%s%s (%d)%s", base.GetString(), stem.GetString(), n, ext.GetString());
        if (GetFileAttributesA(candidate) == INVALID_FILE_ATTRIBUTES) return candidate;
    }
    return CString();  // every name taken: the file stays where it is
}

int MoveFileToFolder(LPCSTR path, LPCSTR folder) {
    char from[kShellBuffer], to[kShellBuffer];
    const CString target = MoveTargetFor(path, folder);
    if (target.IsEmpty() || !ShellPathList(from, path) || !ShellPathList(to, target)) return -1;
    WIN32_FILE_ATTRIBUTE_DATA before;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &before)) return -1;
    SHFILEOPSTRUCTA op;
    ZeroMemory(&op, sizeof op);
    op.hwnd = NULL;
    op.wFunc = FO_MOVE;
    op.pFrom = from;
    op.pTo = to;
    op.fFlags = FOF_SILENT | FOF_RENAMEONCOLLISION | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOCONFIRMMKDIR |
                FOF_NOERRORUI | FOF_WANTNUKEWARNING;
    int rc = SHFileOperationA(&op);
    if (rc == 0 && op.fAnyOperationsAborted) rc = -1;
    // The shell may answer 0 for a move that stopped halfway (a target drive
    // that filled up): only a file that left its place and arrived whole
    // counts. A partial copy under the free name chosen above is ours to remove.
    WIN32_FILE_ATTRIBUTE_DATA after;
    const bool arrived = GetFileAttributesExA(target, GetFileExInfoStandard, &after) &&
                         after.nFileSizeHigh == before.nFileSizeHigh && after.nFileSizeLow == before.nFileSizeLow;
    const bool left = GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES;
    if (left && arrived) return rc;
    if (!left) {
        SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(target);
    }
    return rc != 0 ? rc : -1;
}

void RunRemovalPass(DWORD mode, const CString& folder, RemovalItems& items, const JunkFindingStamps* stamps,
                    RemovalPassHost& host) {
    if (mode < REMOVAL_DELETE || mode > REMOVAL_MOVE) return;
    const ModeTimes times = TimesOf(mode);
    RecycleBinCheck bin;
    int noBinAnswer = 0;  // asked at the first file the Recycle Bin will not take
    // Such a file would be deleted for good: only with the user's word.
    auto mayDeleteForGood = [&](const CString& path) {
        if (!noBinAnswer) noBinAnswer = host.AskNoRecycleBin(path) == IDYES ? IDYES : IDNO;
        return noBinAnswer == IDYES;
    };
    const int count = items.Count();
    for (int i = 0; i < count && host.Running(); ++i) {
        host.Pause(times.firstPause);
        host.Pause(times.firstPause);
        if (!host.Running()) return;
        bool declined = false;
        if (items.Ticked(i)) {
            const CString path = items.Path(i);
            // A file saved again since the scan is not junk any more: it keeps its row.
            if (!PathFound(path)) {
                items.OnKept(i, "missing");
            } else if (stamps && !stamps->Unchanged(path)) {
                items.OnKept(i, "changed");
            } else if (mode == REMOVAL_MOVE && InFolder(path, folder)) {
                items.OnKept(i, "in move folder");
            } else {
                const bool forGood = mode == REMOVAL_RECYCLE && !bin.Takes(path);
                int answer = forGood && !mayDeleteForGood(path) ? IDNO : IDYES;
                if (mode == REMOVAL_DELETE) SetFileAttributesA(path, FILE_ATTRIBUTE_ARCHIVE);
                if (answer == IDYES && !IsOrdinaryFileType(path)) answer = host.AskSystemFile(path, mode);
                if (answer == IDCANCEL) return;
                if (answer == IDNO) {
                    declined = true;
                    items.OnKept(i, forGood && noBinAnswer == IDNO ? "no recycle bin" : "declined");
                } else {
                    host.Progress(path);
                    host.Pause(times.secondPause);
                    host.Pause(times.secondPause);
                    if (!host.Running()) return;
                    CString movedTo;
                    if (stamps && !stamps->Unchanged(path)) {
                        items.OnKept(i, "changed");
                    } else {
                        int rc = Remove(forGood ? DWORD(REMOVAL_DELETE) : mode, path, folder, movedTo);
                        if (rc == kRecycleWouldDeleteForGood) {
                            // The shell found no bin for it after all; the rest of its drive goes the same way.
                            bin.MarkRefused(path);
                            if (mayDeleteForGood(path)) rc = Remove(REMOVAL_DELETE, path, folder, movedTo);
                        }
                        if (rc == 0)
                            items.OnRemoved(i, movedTo);
                        else
                            items.OnKept(i, rc == kRecycleWouldDeleteForGood ? "no recycle bin" : "failed");
                    }
                }
            }
        }
        if (mode == REMOVAL_DELETE && !declined) host.Pause(144);
    }
}

bool ListRemovalItems::Ticked(int i) const { return m_list.GetCheck(Row(i)) != FALSE; }

CString ListRemovalItems::Path(int i) const { return m_list.GetItemText(Row(i), JUNK_COL_PATH); }

void ListRemovalItems::OnRemoved(int i, const CString&) {
    m_list.DeleteItem(Row(i));
    ++m_gone;
}
