// The calls of the backup tool that touch the machine beyond files and the
// registry: handing hives to Windows for the next start, restarting, the
// shell's format dialog, raw writes to the floppy and the questions and
// pickers shown to the user. They sit behind one interface so that a test
// can watch what would have been done without restarting its own machine.
#pragma once

#include <afxwin.h>

class IBackupPlatform {
public:
    virtual ~IBackupPlatform() = default;

    // RegReplaceKeyA.
    virtual LONG ReplaceKey(HKEY root, LPCSTR subKey, LPCSTR newFile, LPCSTR oldFile) = 0;
    // ExitWindowsEx: the restart that puts a restored registry in place.
    virtual BOOL RequestRestart(UINT flags, DWORD reason) = 0;
    // SHFormatDrive through shell32, loaded for the call. Returns 0 and the
    // shell's answer in `result`, or 152 (no shell32) / 153 (no SHFormatDrive).
    virtual int ShellFormatDrive(HWND owner, UINT drive, UINT formatId, UINT options, int& result) = 0;
    // Writes `size` bytes at the start of the raw device; FALSE when the
    // device cannot be opened or the write falls short.
    virtual BOOL WriteRawSector(LPCSTR device, const BYTE* data, DWORD size) = 0;
    // A question or notice: the answer (IDYES, IDNO, IDOK ...).
    virtual int Ask(HWND owner, LPCSTR text, LPCSTR caption, UINT type) = 0;
    // The folder picker of the backup page; FALSE when nothing was chosen.
    virtual BOOL PickFolder(CWnd* owner, LPCSTR title, CString& folder) = 0;
    // The file dialog of the locate page; FALSE when nothing was chosen.
    virtual BOOL PickFile(CWnd* owner, LPCSTR filter, DWORD flags, CString& path) = 0;
};

// The calls in force: the real ones unless a replacement was installed.
IBackupPlatform& BackupPlatform();
// Installs a replacement (NULL puts the real calls back); returns the one
// that was in force before.
IBackupPlatform* SetBackupPlatform(IBackupPlatform* platform);
