// The twelve sections of the registry cleaner: their list texts, their
// switches under HKEY_CURRENT_USER, and the section list of the window.
#pragma once

#include <afxwin.h>

enum Section {
    kSecCom = 0,         // classes, type libraries, interfaces
    kSecUserSoftware,    // walk HKEY_CURRENT_USER\Software
    kSecSystemSoftware,  // walk HKEY_LOCAL_MACHINE\Software
    kSecSharedDlls,
    kSecFonts,
    kSecFileAssociations,
    kSecRun,
    kSecSounds,
    kSecUninstall,
    kSecHelp,
    kSecVxd,
    kSecAppPaths,
    kSectionCount
};

// Key of the switches, below HKEY_CURRENT_USER.
extern const char kSwitchKey[];

// The switch value name of a section (fixed English texts).
const char* SectionSwitchName(int section);
UINT SectionTextId(int section);
UINT SectionDescriptionId(int section);

struct SectionSwitches {
    bool on[kSectionCount];
    SectionSwitches(bool all = true)
    {
        for (bool& b : on) b = all;
    }
};

// The switches as stored; a missing switch counts as on (nothing is written).
SectionSwitches ReadSectionSwitches();
void WriteSectionSwitch(int section, bool on);

// Inserts the twelve rows (list text, description) and ticks each from its
// switch, writing 1 for a switch that is missing.
void FillSectionList(CListCtrl& list);
// Stores the check box of one row of the section list.
void SaveSectionSwitch(CListCtrl& list, int row);
