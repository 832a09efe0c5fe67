#include "regbackup/RestorePage.h"

#include <vantres/ids_backup.h>

#include "host/HostServices.h"
#include "regbackup/BackupPlatform.h"
#include "regbackup/HiveBackup.h"
#include "regbackup/LegacyHiveBackup.h"
#include "regbackup/RestoreList.h"
#include "regbackup/SetImport.h"
#include "regbackup/ToolFont.h"

BEGIN_MESSAGE_MAP(CRestorePage, CDlgChildWnd)
    ON_BN_CLICKED(IDC_BKR_RESTORE, OnRestore)
    ON_BN_CLICKED(IDC_BKR_DELETE, OnDeleteSet)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CRestorePage::CRestorePage() : CDlgChildWnd(IDD_RESTORE_PAGE, NULL) {}

BOOL CRestorePage::Create(CWnd* pParent) { return CDialog::Create(IDD_RESTORE_PAGE, pParent); }

void CRestorePage::DoDataExchange(CDataExchange* pDX)
{
    CDlgChildWnd::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BKR_LIST, m_list);
}

BOOL CRestorePage::OnInitDialog()
{
    CDlgChildWnd::OnInitDialog();
    CreateToolFont(m_font, 15, FW_NORMAL);
    SetFontOnChildren(*this, m_font);
    SetDlgItemText(IDC_BKR_INFO, LoadTextById(IDS_BKR_INFO));
    SetupRestoreColumns(m_list);
    FillList();
    return TRUE;
}

void CRestorePage::FillList()
{
    CStringArray sets;
    ListSetsOfRunningLine(sets);
    FillRestoreList(m_list, sets);
}

void CRestorePage::OnRestore()
{
    CString infoPath;
    if (!LastSelectedSet(m_list, infoPath)) return;
    IBackupPlatform& platform = BackupPlatform();
    if (platform.Ask(GetSafeHwnd(), LoadTextById(IDS_BKR_RESTORE_CONFIRM), NULL,
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDNO)
        return;

    if (RunningLine() == BackupLine::NT) {
        CHiveBackup engine;
        if (engine.Restore(infoPath)) return;
        // Nothing was handed to Windows; say why when the set itself is at fault.
        const RestoreFault fault = engine.LastRestoreFault();
        if (fault == RestoreFault::NoPrivilege)
            platform.Ask(GetSafeHwnd(), LoadTextById(IDS_BKR_NO_PRIVILEGE), NULL, MB_OK | MB_ICONSTOP);
        else if (fault != RestoreFault::None)
            platform.Ask(GetSafeHwnd(), LoadTextById(IDS_BKR_SET_DAMAGED), NULL, MB_OK | MB_ICONSTOP);
        return;
    }
    CLegacyHiveBackup engine;
    if (!engine.Restore(infoPath))
        platform.Ask(GetSafeHwnd(), LoadTextById(IDS_BKR_SET_DAMAGED), NULL, MB_OK | MB_ICONSTOP);
}

void CRestorePage::OnDeleteSet()
{
    CString infoPath;
    if (!LastSelectedSet(m_list, infoPath)) return;
    if (BackupPlatform().Ask(GetSafeHwnd(), LoadTextById(IDS_BKR_DELETE_CONFIRM), NULL,
                             MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDNO)
        return;
    DeleteSetOfRunningLine(infoPath);
    FillList();
    // The home view shows the count.
    if (CWnd* parent = GetParent()) parent->Invalidate();
}

HBRUSH CRestorePage::OnCtlColor(CDC* pDC, CWnd*, UINT nCtlColor) { return ToolCtlColor(pDC, nCtlColor); }
