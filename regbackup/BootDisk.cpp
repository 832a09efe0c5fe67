#include "regbackup/BootDisk.h"

#include <vantor/FileCopy.h>
#include <vantor/System.h>
#include <vantres/ids_backup.h>

#include "host/HostServices.h"
#include "regbackup/BackupPlatform.h"
#include "regbackup/BootDiskWaitDlg.h"
#include "regbackup/HiveTools.h"

namespace {

// Boot code from offset 62 (BootSector.s): reads the root folder, finds
// "NTLDR      ", follows its FAT12 chain into 2000:0000 and jumps there; on
// failure it shows "Remove disks or other media." or "Disk error", then
// "Press any key to restart", and restarts on a key.
const BYTE kBootCode[] = {
    0xFA, 0x31, 0xC0, 0x8E, 0xD8, 0x8E, 0xC0, 0x8E, 0xD0, 0xBC, 0x00, 0x7C, 0xFB, 0xFC, 0x88, 0x16,
    0x24, 0x7C, 0xB8, 0x13, 0x00, 0xB9, 0x0E, 0x00, 0xBB, 0x00, 0x7E, 0xE8, 0x66, 0x00, 0xBF, 0x00,
    0x7E, 0xBA, 0xE0, 0x00, 0xBE, 0x23, 0x7D, 0xB9, 0x0B, 0x00, 0x57, 0xF3, 0xA6, 0x5F, 0x74, 0x0C,
    0x83, 0xC7, 0x20, 0x4A, 0x75, 0xEE, 0xBE, 0x2E, 0x7D, 0xE9, 0x8B, 0x00, 0x8B, 0x45, 0x1A, 0x50,
    0xB8, 0x01, 0x00, 0xB9, 0x09, 0x00, 0xBB, 0x00, 0x7E, 0xE8, 0x38, 0x00, 0x58, 0xBB, 0x00, 0x20,
    0x8E, 0xC3, 0x31, 0xDB, 0x50, 0x83, 0xC0, 0x1F, 0xB9, 0x01, 0x00, 0xE8, 0x26, 0x00, 0x58, 0x89,
    0xC6, 0xD1, 0xEE, 0x01, 0xC6, 0x8B, 0x94, 0x00, 0x7E, 0xA8, 0x01, 0x74, 0x03, 0xC1, 0xEA, 0x04,
    0x81, 0xE2, 0xFF, 0x0F, 0x89, 0xD0, 0x3D, 0xF8, 0x0F, 0x72, 0xD9, 0x8A, 0x16, 0x24, 0x7C, 0xEA,
    0x00, 0x00, 0x00, 0x20, 0x50, 0x51, 0x31, 0xD2, 0xBE, 0x12, 0x00, 0xF7, 0xF6, 0x88, 0xD1, 0xFE,
    0xC1, 0x88, 0xC6, 0x80, 0xE6, 0x01, 0xD1, 0xE8, 0x88, 0xC5, 0x8A, 0x16, 0x24, 0x7C, 0xBF, 0x05,
    0x00, 0xB8, 0x01, 0x02, 0xCD, 0x13, 0x73, 0x0C, 0x30, 0xE4, 0xCD, 0x13, 0x4F, 0x75, 0xF2, 0xBE,
    0x4F, 0x7D, 0xEB, 0x13, 0x59, 0x58, 0x40, 0x81, 0xC3, 0x00, 0x02, 0x75, 0x07, 0x8C, 0xC2, 0x80,
    0xC6, 0x10, 0x8E, 0xC2, 0xE2, 0xBE, 0xC3, 0xE8, 0x0C, 0x00, 0xBE, 0x5E, 0x7D, 0xE8, 0x06, 0x00,
    0x30, 0xE4, 0xCD, 0x16, 0xCD, 0x19, 0xAC, 0x08, 0xC0, 0x74, 0x09, 0xB4, 0x0E, 0xBB, 0x07, 0x00,
    0xCD, 0x10, 0xEB, 0xF2, 0xC3, 0x4E, 0x54, 0x4C, 0x44, 0x52, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20,
    0x0D, 0x0A, 0x52, 0x65, 0x6D, 0x6F, 0x76, 0x65, 0x20, 0x64, 0x69, 0x73, 0x6B, 0x73, 0x20, 0x6F,
    0x72, 0x20, 0x6F, 0x74, 0x68, 0x65, 0x72, 0x20, 0x6D, 0x65, 0x64, 0x69, 0x61, 0x2E, 0x0D, 0x0A,
    0x00, 0x0D, 0x0A, 0x44, 0x69, 0x73, 0x6B, 0x20, 0x65, 0x72, 0x72, 0x6F, 0x72, 0x0D, 0x0A, 0x00,
    0x50, 0x72, 0x65, 0x73, 0x73, 0x20, 0x61, 0x6E, 0x79, 0x20, 0x6B, 0x65, 0x79, 0x20, 0x74, 0x6F,
    0x20, 0x72, 0x65, 0x73, 0x74, 0x61, 0x72, 0x74, 0x0D, 0x0A, 0x00, 0x00,
};

void PutWord(std::string& s, size_t at, WORD v)
{
    s[at] = char(v & 0xFF);
    s[at + 1] = char(v >> 8);
}

void PutDword(std::string& s, size_t at, DWORD v)
{
    PutWord(s, at, WORD(v & 0xFFFF));
    PutWord(s, at + 2, WORD(v >> 16));
}

const char* const kBootFiles[] = {"ntldr", "ntdetect.com", "boot.ini", "bootsect.dos"};

}  // namespace

std::string BootSectorImage()
{
    std::string s(kBootSectorSize, '\0');
    s[0] = char(0xEB);
    s[1] = 0x3C;
    s[2] = char(0x90);
    s.replace(3, 8, "MSDOS5.0");
    PutWord(s, 11, 512);    // bytes per sector
    s[13] = 1;              // sectors per cluster
    PutWord(s, 14, 1);      // reserved sectors
    s[16] = 2;              // FATs
    PutWord(s, 17, 224);    // root entries
    PutWord(s, 19, 2880);   // sectors
    s[21] = char(0xF0);     // media
    PutWord(s, 22, 9);      // sectors per FAT
    PutWord(s, 24, 18);     // sectors per track
    PutWord(s, 26, 2);      // heads
    PutDword(s, 28, 0);     // hidden sectors
    s[38] = 0x29;           // extended boot signature
    PutDword(s, 39, 0xE028179C);
    s.replace(43, 11, "NO NAME    ");
    s.replace(54, 8, "FAT12   ");
    s.replace(62, sizeof kBootCode, reinterpret_cast<const char*>(kBootCode), sizeof kBootCode);
    s[510] = 0x55;
    s[511] = char(0xAA);
    return s;
}

void FormatArguments(bool isNT, int mode, int quick, UINT& formatId, UINT& options)
{
    if (isNT) {
        formatId = 0;
        options = quick == 0 ? 1 : 0;
        return;
    }
    formatId = mode == 1 ? 3 : mode == 2 ? 5 : UINT(mode);
    options = UINT(quick);
}

int MapFormatResult(int r, bool isNT)
{
    switch (r) {
    case 0: return isNT ? 0 : -1;
    case -3: return -3;
    case -2: return -2;
    case -1: return isNT ? -2 : -3;
    case 6: return 0;
    default: return r;
    }
}

int FormatFloppy(HWND owner, int drive, int mode, int quick)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    const bool isNT = (GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT) || IsOsWinNT();
    char root[8];
    wsprintfA(root, "%c:\\", 'A' + drive);
    if (GetDriveTypeA(root) != DRIVE_REMOVABLE) return -4;

    UINT formatId = 0, options = 0;
    FormatArguments(isNT, mode, quick, formatId, options);
    int r = 0;
    const int loaded = BackupPlatform().ShellFormatDrive(owner, UINT(drive), formatId, options, r);
    if (loaded != 0) return loaded;
    return MapFormatResult(r, isNT);
}

int CopyBootFiles(LPCSTR from, LPCSTR to)
{
    CFileCopy copier;
    int copied = 0;
    for (const char* name : kBootFiles) {
        const CString source = CString(from) + name;
        if (GetFileAttributesA(source) == INVALID_FILE_ATTRIBUTES) continue;
        if (copier.CopyFileNow(source, CString(to) + name)) ++copied;
        DispatchPendingMessages();
    }
    return copied;
}

CBootDiskMaker::CBootDiskMaker(CWnd* owner) : m_owner(owner) {}

CBootDiskMaker::Outcome CBootDiskMaker::CreateBootDisk(bool withNotice)
{
    const bool isNT = IsOsWinNT() != FALSE;
    HWND owner = m_owner ? m_owner->GetSafeHwnd() : NULL;
    const CString caption = LoadTextById(IDS_BOOTDISK_CAPTION);
    const CString text = LoadTextById(isNT ? IDS_BOOTDISK_PROMPT_NT : IDS_BOOTDISK_PROMPT_9X);
    if (BackupPlatform().Ask(owner, text, caption, MB_YESNO | MB_ICONINFORMATION) == IDNO) return Outcome::Declined;

    const int formatted = FormatFloppy(owner, m_drive, 0, 0);
    if (formatted == -4) return Outcome::NotRemovable;
    if (formatted == 152 || formatted == 153) return Outcome::NoShell;
    // On the 9x line the user makes the disk bootable in the format dialog.
    if (!isNT) return Outcome::Formatted;
    if (formatted < 0) return Outcome::FormatFailed;

    char drive[4] = {char('a' + m_drive), ':', 0, 0};
    EraseFolderContents(drive, 0);
    char device[8];
    wsprintfA(device, "\\\\.\\%c:", 'A' + m_drive);
    const std::string sector = BootSectorImage();
    BackupPlatform().WriteRawSector(device, reinterpret_cast<const BYTE*>(sector.data()), kBootSectorSize);

    char target[4] = {char('A' + m_drive), ':', '\\', 0};
    if (withNotice) {
        CBootDiskWaitDlg notice(m_owner);
        notice.m_strMessage = LoadTextById(IDS_BOOTDISK_COPYING);
        notice.m_strFrom = m_bootFilesFrom;
        notice.m_strTo = target;
        notice.DoModal();
    } else {
        CopyBootFiles(m_bootFilesFrom, target);
    }
    return Outcome::Made;
}
