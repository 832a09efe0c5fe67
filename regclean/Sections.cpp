#include "regclean/Sections.h"

#include "host/HostServices.h"
#include "vantres/ids_regclean.h"

#include <vantor/Registry.h>

const char kSwitchKey[] = "Software\\Lumbrix\\Orvane\\RegCleanFix";

namespace {

const char* const kSwitchNames[kSectionCount] = {
    "Activex, OLE, COM Sections",
    "User Software Settings",
    "System Software Settings",
    "Shared DLL's Section",
    "Fonts Section",
    "Invalid File Assosiations",
    "Run Sections",
    "Sound and Appevents",
    "Uninstall Section",
    "Help Section",
    "Virtual Device Drivers and Services",
    "Application Paths",
};

bool ValidSection(int section) { return section >= 0 && section < kSectionCount; }

}  // namespace

const char* SectionSwitchName(int section)
{
    return ValidSection(section) ? kSwitchNames[section] : "";
}

UINT SectionTextId(int section) { return IDS_RC_SEC_FIRST + 2 * UINT(section); }
UINT SectionDescriptionId(int section) { return IDS_RC_SEC_FIRST + 2 * UINT(section) + 1; }

SectionSwitches ReadSectionSwitches()
{
    SectionSwitches switches(true);
    HKEY user = HKEY_CURRENT_USER;
    CRegistry registry(user);
    if (!registry.Open(HKEY_CURRENT_USER, kSwitchKey, FALSE)) return switches;
    for (int s = 0; s < kSectionCount; ++s) {
        DWORD value = 1;
        if (registry.VerifyValue(kSwitchNames[s]) && registry.ReadDWORD(kSwitchNames[s], value))
            switches.on[s] = value != 0;
    }
    registry.Close();
    return switches;
}

void WriteSectionSwitch(int section, bool on)
{
    if (!ValidSection(section)) return;
    HKEY user = HKEY_CURRENT_USER;
    CRegistry registry(user);
    if (!registry.Open(HKEY_CURRENT_USER, kSwitchKey, TRUE)) return;
    registry.WriteDWORD(kSwitchNames[section], on ? 1 : 0);
    registry.Close();
}

void FillSectionList(CListCtrl& list)
{
    for (int s = 0; s < kSectionCount; ++s) {
        CString text(LoadTextById(SectionTextId(s)));
        int row = list.InsertItem(s, text);
        list.SetItemText(row, 1, LoadTextById(SectionDescriptionId(s)));
    }
    HKEY user = HKEY_CURRENT_USER;
    CRegistry registry(user);
    bool open = registry.Open(HKEY_CURRENT_USER, kSwitchKey, TRUE) != 0;
    for (int s = 0; s < kSectionCount; ++s) {
        DWORD value = 1;
        if (open) {
            if (!registry.VerifyValue(kSwitchNames[s]) || !registry.ReadDWORD(kSwitchNames[s], value)) {
                value = 1;
                registry.WriteDWORD(kSwitchNames[s], 1);
            }
        }
        list.SetCheck(s, value != 0);
    }
    registry.Close();
}

void SaveSectionSwitch(CListCtrl& list, int row)
{
    if (!ValidSection(row)) return;
    WriteSectionSwitch(row, list.GetCheck(row) != FALSE);
}
