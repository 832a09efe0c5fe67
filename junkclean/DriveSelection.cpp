#include "junkclean/DriveSelection.h"

#include "junkclean/SettingsKey.h"

#include <vantor/Registry.h>

namespace {

// A hand-edited list may be longer than the 26 slots of a scan: keep the
// first 26 different letters.
CString CutToSlots(const CString& text) {
    if (text.GetLength() <= DRIVE_SLOTS) return text;
    CString out;
    for (int i = 0; i < text.GetLength() && out.GetLength() < DRIVE_SLOTS; ++i)
        if (out.Find(text[i]) < 0) out += text[i];
    return out;
}

}  // namespace

void DriveSelection::EnumerateFixedDrives() {
    ZeroMemory(m_fixed, sizeof m_fixed);
    m_fixedCount = 0;
    DWORD mask = GetLogicalDrives();
    for (int bit = 0; bit < 26; ++bit) {
        if (!(mask & (1u << bit))) continue;
        char root[4] = {char('A' + bit), ':', '\\', 0};
        if (GetDriveTypeA(root) != DRIVE_FIXED) continue;
        m_fixed[m_fixedCount][0] = root[0];
        m_fixed[m_fixedCount][1] = ':';
        ++m_fixedCount;
    }
}

CString DriveSelection::FixedLetters() const {
    CString letters;
    for (int i = 0; i < m_fixedCount; ++i) letters += m_fixed[i][0];
    return letters;
}

void DriveSelection::WriteDriveList() {
    CRegistry reg(HKEY_CURRENT_USER);
    reg.Open(HKEY_CURRENT_USER, JunkSettingsPath(), TRUE);
    reg.WriteString("DriveList", m_driveText, FALSE);
    reg.Close();
}

void DriveSelection::LoadDriveList() {
    EnumerateFixedDrives();
    CString text = FixedLetters();
    {
        CRegistry reg(HKEY_CURRENT_USER);
        reg.Open(HKEY_CURRENT_USER, JunkSettingsPath(), TRUE);
        if (reg.VerifyValue("DriveList")) reg.ReadString("DriveList", text);
        reg.Close();
    }
    text.MakeUpper();
    m_driveText = CutToSlots(text);
    WriteDriveList();  // written back on every load, as read (not sorted)
}

void DriveSelection::SaveDriveList() {
    m_driveText.MakeUpper();
    // The list is short: a plain exchange sort keeps it in letter order.
    for (int i = 1; i < m_driveText.GetLength(); ++i)
        for (int j = 0; j < i; ++j)
            if (m_driveText[i] < m_driveText[j]) {
                char t = m_driveText[i];
                m_driveText.SetAt(i, m_driveText[j]);
                m_driveText.SetAt(j, t);
            }
    WriteDriveList();
}

void DriveSelection::RestoreDefaultDrives() {
    EnumerateFixedDrives();
    m_driveText = FixedLetters();
    m_driveText.MakeUpper();
    WriteDriveList();
}

bool DriveSelection::IsSelected(char letter) const {
    char upper[2] = {letter, 0};
    CharUpperBuffA(upper, 1);
    return m_driveText.Find(upper[0]) >= 0;
}

void DriveSelection::SetDriveSelected(LPCSTR letterText, BOOL selected) {
    CString text(letterText);
    text.TrimLeft();
    if (!text.IsEmpty()) {
        text = text.Left(1);
        text.MakeUpper();
        const char letter = text[0];
        if (selected && m_driveText.Find(letter) < 0) {
            m_driveText += letter;
            m_driveText.Trim();
        } else if (!selected) {
            m_driveText.Remove(letter);
        }
    }
    SaveDriveList();
}

void DriveSelection::ScanDrives(char entries[DRIVE_SLOTS * DRIVE_SLOT_SIZE], short& count) const {
    const int n = m_driveText.GetLength() < DRIVE_SLOTS ? m_driveText.GetLength() : DRIVE_SLOTS;
    count = short(n);
    ZeroMemory(entries, DRIVE_SLOTS * DRIVE_SLOT_SIZE);
    for (int i = 0; i < n; ++i) {
        entries[i * DRIVE_SLOT_SIZE] = m_driveText[i];
        entries[i * DRIVE_SLOT_SIZE + 1] = ':';
    }
}
