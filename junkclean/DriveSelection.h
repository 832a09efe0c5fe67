// The drives the junk scan walks ("DriveList": one upper-case letter each)
// and the table of the machine's fixed drives it is chosen from.
#pragma once

#include <afxwin.h>

#define DRIVE_SLOTS 26
#define DRIVE_SLOT_SIZE 3

class DriveSelection {
public:
    void EnumerateFixedDrives();
    void LoadDriveList();
    void SaveDriveList();
    void RestoreDefaultDrives();
    void SetDriveSelected(LPCSTR letterText, BOOL selected);
    // Slot i gets letter i of the list, ":" and a NUL; unused slots are zero.
    void ScanDrives(char entries[DRIVE_SLOTS * DRIVE_SLOT_SIZE], short& count) const;

    const CString& DriveText() const { return m_driveText; }
    void SetDriveText(LPCSTR text) { m_driveText = text; }
    bool IsSelected(char letter) const;
    int FixedCount() const { return m_fixedCount; }
    // "C:" of the i-th fixed drive.
    const char* FixedDrive(int i) const { return m_fixed[i]; }

private:
    CString FixedLetters() const;
    void WriteDriveList();
    CString m_driveText;
    char m_fixed[DRIVE_SLOTS][DRIVE_SLOT_SIZE] = {};
    int m_fixedCount = 0;
};
