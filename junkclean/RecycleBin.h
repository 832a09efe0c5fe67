// The Recycle Bin as the removal uses it: whether it will take a file, and
// the shell's "delete with undo" that never deletes for good on its own.
#pragma once

#include <afxwin.h>

#include <map>
#include <string>

// The shell operations take double-NUL-terminated lists in 520-byte buffers.
const size_t kShellBuffer = 520;
// path as such a list; false when it does not fit.
bool ShellPathList(char (&buffer)[kShellBuffer], LPCSTR path);

// RecycleFile: the shell would have deleted the file for good (no Recycle
// Bin took it); it was told no and the file is where it was.
const int kRecycleWouldDeleteForGood = -2;

// The shell's delete with undo, without a dialog. 0 when the file went to
// the Recycle Bin; kRecycleWouldDeleteForGood when the shell found it could
// not and asked (the question is declined on the spot); other values when
// it failed. A file that is still there afterwards never counts as recycled.
int RecycleFile(LPCSTR path);

// Whether the drive of path keeps a Recycle Bin. Network, removable and RAM
// drives do not: there the shell's "delete with undo" deletes for good.
bool HasRecycleBin(LPCSTR path);

// Whether the Recycle Bin will take a file, decided before the shell is
// asked to: the drive keeps a bin, the bin answers for the drive, it is not
// turned off there, and the file is not larger than it. The drive is looked
// at once per check object (a removal pass); the size for every file.
class RecycleBinCheck {
public:
    bool Takes(LPCSTR path);
    // The shell refused a file of this drive: the rest of it goes the same way.
    void MarkRefused(LPCSTR path);

private:
    struct Bin {
        bool usable = false;
        ULONGLONG capacity = 0;  // bytes; 0 = no limit known
    };
    static std::string RootOf(LPCSTR path);
    static Bin LookAt(const std::string& root);

    std::map<std::string, Bin> m_bins;
};
