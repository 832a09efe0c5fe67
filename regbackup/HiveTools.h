// Small pieces of the hive save shared by both engines: privileges, the
// temporary names of saved hives, device paths, the hive-name split and the
// message dispatch that keeps a window painted during long steps.
#pragma once

#include <afxwin.h>

// Nonzero when SeBackupPrivilege, SeRestorePrivilege and SeShutdownPrivilege
// are all enabled for this process.
int EnableBackupPrivileges();

// Rewrites a device path from the hivelist into the system drive's form
// (\Device\HarddiskVolume1\WINDOWS\... -> C:\WINDOWS\...); a path with no
// known marker is left as it is.
void DeviceToDrivePath(CString& path);

// A name counter for GetTempFileNameA: seeded on first use, stepped before
// every name.
struct TempNameCounter {
    UINT value = 0;
    bool seeded = false;
    bool withRand = true; // "RBK" counters mix rand() into the seed, "RO" does not
};

TempNameCounter& BackupNameCounter();  // "RBK" names while backing up
TempNameCounter& RestoreNameCounter(); // "RBK" names while restoring
TempNameCounter& LegacyNameCounter();  // "RO" names

// Next temporary name in `folder` with `prefix` (the file is not created and
// one left over from before is deleted); `fallback` when no name can be formed.
CString MakeTempName(LPCSTR folder, LPCSTR prefix, TempNameCounter& counter, LPCSTR fallback);

// The short form of a path, or the path itself when there is none.
CString ShortPath(LPCSTR path);
// The system directory in short form, "." when it cannot be had.
CString ShortSystemDirectory();
// The Windows directory's "\temp" folder, created when missing, in short form.
CString LegacyTempFolder();

// Splits a hivelist name: "\REGISTRY\MACHINE\SOFTWARE" -> HKEY_LOCAL_MACHINE,
// "SOFTWARE"; "\REGISTRY\USER\<sid>" -> HKEY_USERS, "<sid>". The markers
// match in any letter case; the subkey keeps its case. A name naming neither
// root gives a null root and the name itself as subkey.
HKEY SplitHiveName(const CString& name, CString& subkey);

// Lets the window paint and take input between long steps: handles every
// message waiting for this thread and returns when the queue is empty.
void DispatchPendingMessages();

// The progress of a backup run, as its dialog shows it.
class BackupProgress {
public:
    virtual ~BackupProgress() = default;
    virtual void SetRange(int low, int high) = 0;
    virtual void SetPos(int pos) = 0;
    virtual void SetText(LPCSTR text) = 0;
};

// "%d%% Completed " after `done` of `count` hives (integer per cent).
CString CompletedText(int done, int count);

class CFileCopy;
// The one copier of the process that writes and reads the sets' hive copies.
CFileCopy& SetCopier();
