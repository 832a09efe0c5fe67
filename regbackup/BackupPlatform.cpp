#include "regbackup/BackupPlatform.h"

#include <shlobj.h>
#include <vantor/FolderDialog.h>

namespace {

typedef DWORD(WINAPI* FormatDriveFn)(HWND, UINT, UINT, UINT);

class RealPlatform : public IBackupPlatform {
public:
    LONG ReplaceKey(HKEY root, LPCSTR subKey, LPCSTR newFile, LPCSTR oldFile) override
    {
        return RegReplaceKeyA(root, subKey, newFile, oldFile);
    }

    BOOL RequestRestart(UINT flags, DWORD reason) override { return ExitWindowsEx(flags, reason); }

    int ShellFormatDrive(HWND owner, UINT drive, UINT formatId, UINT options, int& result) override
    {
        HMODULE shell = LoadLibraryA("shell32.dll");
        if (!shell) return 152;
        FormatDriveFn format = reinterpret_cast<FormatDriveFn>(GetProcAddress(shell, "SHFormatDrive"));
        if (!format) {
            FreeLibrary(shell);
            return 153;
        }
        result = int(format(owner, drive, formatId, options));
        FreeLibrary(shell);
        return 0;
    }

    BOOL WriteRawSector(LPCSTR device, const BYTE* data, DWORD size) override
    {
        HANDLE raw = CreateFileA(device, 0xD00F0000, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                                 FILE_FLAG_WRITE_THROUGH | FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, NULL);
        if (raw == INVALID_HANDLE_VALUE) return FALSE;
        DWORD written = 0;
        BOOL ok = WriteFile(raw, data, size, &written, NULL) && written == size;
        CloseHandle(raw);
        return ok;
    }

    int Ask(HWND owner, LPCSTR text, LPCSTR caption, UINT type) override
    {
        if (!caption) return AfxMessageBox(text, type);
        return MessageBoxA(owner, text, caption, type);
    }

    BOOL PickFolder(CWnd* owner, LPCSTR title, CString& folder) override
    {
        CFolderDialog dialog(title, 0x37, owner);
        if (dialog.DoModal() != IDOK) return FALSE;
        folder = dialog.GetPathName();
        return TRUE;
    }

    BOOL PickFile(CWnd* owner, LPCSTR filter, DWORD flags, CString& path) override
    {
        CFileDialog dialog(TRUE, NULL, NULL, flags, filter, owner);
        if (dialog.DoModal() != IDOK) return FALSE;
        path = dialog.GetPathName();
        return TRUE;
    }
};

RealPlatform g_real;
IBackupPlatform* g_current = &g_real;

}  // namespace

IBackupPlatform& BackupPlatform() { return *g_current; }

IBackupPlatform* SetBackupPlatform(IBackupPlatform* platform)
{
    IBackupPlatform* before = g_current;
    g_current = platform ? platform : &g_real;
    return before;
}
