// The emergency boot floppy: the shell's format dialog for drive A:, then,
// on the NT line, a FAT12 boot sector that starts NTLDR and the NT boot
// files copied from C:\.
#pragma once

#include <afxwin.h>
#include <string>

enum : DWORD { kBootSectorSize = 512 };

// The 512-byte boot sector of a 1.44 MB floppy that loads NTLDR.
std::string BootSectorImage();

// Formats drive `drive` (0 = A:) with the shell's dialog. -4 when the drive
// is not removable, 152 / 153 when the shell has no format call, else the
// dialog's outcome: 0 done, -1 (9x) done, -2 / -3 cancelled or failed.
int FormatFloppy(HWND owner, int drive, int mode, int quick);
// The arguments SHFormatDrive gets on each line, and what its answer means.
void FormatArguments(bool isNT, int mode, int quick, UINT& formatId, UINT& options);
int MapFormatResult(int shellResult, bool isNT);

// Copies those of ntldr, ntdetect.com, boot.ini and bootsect.dos that exist
// in `from` (ending with "\") to `to`; returns how many were copied.
int CopyBootFiles(LPCSTR from, LPCSTR to);

// The boot-disk command of the backup page.
class CBootDiskMaker {
public:
    // How far the last run got.
    enum class Outcome { Declined, NotRemovable, NoShell, FormatFailed, Formatted, Made };

    explicit CBootDiskMaker(CWnd* owner);
    // The whole command; withNotice shows the wait notice while the boot
    // files are copied (a test copies without it).
    Outcome CreateBootDisk(bool withNotice = true);

    int m_drive = 0;                 // 0 = A:
    CString m_bootFilesFrom = "C:\\";

private:
    CWnd* m_owner;
};
