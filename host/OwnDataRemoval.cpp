#include "host/OwnDataRemoval.h"

#include <afxwin.h>
#include <shlwapi.h>
#include <vantor/DlgMainWnd.h>

void RemoveOwnData()
{
    RemoveBackupSets();
    RemoveUndoFiles();
    RemoveSettingsKey();
}

void RemoveSettingsKey()
{
    ::SHDeleteKeyA(HKEY_CURRENT_USER, CDlgChildWnd::m_strSettingsPath);
}
