#include "host/OwnDataRemoval.h"

#include <afxwin.h>
#include <shlwapi.h>
#include <vantor/DlgMainWnd.h>

// Deletes `path` below HKEY_CURRENT_USER, and then each key above it, while
// the key holds neither subkeys nor values: a maker's key shared with other
// programs stays as long as anything is in it.
void RemoveEmptyKeysUp(CString path)
{
    for (int slash = path.ReverseFind('\\'); slash > 0; slash = path.ReverseFind('\\')) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            DWORD subkeys = 1, values = 1;
            ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                               nullptr, nullptr);
            ::RegCloseKey(key);
            if (subkeys || values || ::RegDeleteKeyA(HKEY_CURRENT_USER, path) != ERROR_SUCCESS) return;
        }
        path = path.Left(slash);
        if (path.CompareNoCase("Software") == 0) return;
    }
}

void RemoveOwnData()
{
    RemoveBackupSets();
    RemoveUndoFiles();
    RemoveSettingsKey();
    RemoveSectionSwitches();
}

void RemoveSettingsKey()
{
    ::SHDeleteKeyA(HKEY_CURRENT_USER, CDlgChildWnd::m_strSettingsPath);
    RemoveEmptyKeysUp(CDlgChildWnd::m_strSettingsPath);
}
