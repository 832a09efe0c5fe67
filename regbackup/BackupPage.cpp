#include "regbackup/BackupPage.h"

#include <ctime>
#include <vantor/DlgMainWnd.h>
#include <vantor/Registry.h>
#include <vantor/System.h>
#include <vantres/ids_backup.h>

#include "host/HostServices.h"
#include "regbackup/BackupMessages.h"
#include "regbackup/BackupPlatform.h"
#include "regbackup/BootDisk.h"
#include "regbackup/ExclusiveAccessDlg.h"
#include "regbackup/HiveBackup.h"
#include "regbackup/HiveTools.h"
#include "regbackup/LegacyHiveBackup.h"
#include "regbackup/SetRecords.h"
#include "regbackup/ToolFont.h"

BEGIN_MESSAGE_MAP(CBackupPage, CDlgChildWnd)
    ON_BN_CLICKED(IDC_BKP_BROWSE, OnBrowse)
    ON_BN_CLICKED(IDC_BKP_START, OnStart)
    ON_BN_CLICKED(IDC_BKP_BOOTDISK, OnBootDisk)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CBackupPage::CBackupPage() : CDlgChildWnd(IDD_BACKUP_PAGE, NULL) {}

BOOL CBackupPage::Create(CWnd* pParent) { return CDialog::Create(IDD_BACKUP_PAGE, pParent); }

void CBackupPage::DoDataExchange(CDataExchange* pDX)
{
    CDlgChildWnd::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BKP_LOCATION, m_location);
    DDX_Control(pDX, IDC_BKP_STATUS, m_status);
}

BOOL CBackupPage::OnInitDialog()
{
    CDlgChildWnd::OnInitDialog();
    CreateToolFont(m_font, 15, FW_NORMAL);
    SetFontOnChildren(*this, m_font);
    m_location.SetWindowText("");
    SetDlgItemText(IDC_BKP_INFO, LoadTextById(IDS_BKP_INFO));
    SetDlgItemText(IDC_BKP_LOCATION_LABEL, LoadTextById(IDS_BKP_LOCATION_LABEL));
    m_status.SetColors(RGB(45, 27, 144), RGB(255, 255, 255));
    SetStatus(LoadTextById(IDS_BKP_STATUS_IDLE));
    return TRUE;
}

void CBackupPage::SetStatus(LPCSTR text)
{
    m_status.SetWindowText(text);
    m_status.SetText(text);
}

void CBackupPage::OnBrowse()
{
    CString folder;
    if (!BackupPlatform().PickFolder(this, NULL, folder)) return;
    CFileStatus status;
    if (CFile::GetStatus(folder, status)) m_location.SetWindowText(folder);
}

void CBackupPage::OnStart()
{
    SetStatus(LoadTextById(IDS_BKP_STARTING));
    DispatchPendingMessages();
    CString location;
    m_location.GetWindowText(location);
    CWnd* mainWnd = GetParent();

    if (IsOsWinNT()) {
        CHiveBackup engine;
        engine.SetLocation(location);
        EnableBackupPrivileges();
        CExclusiveAccessDlg dialog(this);
        dialog.m_mode = 0;
        dialog.m_engine = &engine;
        dialog.DoModal();
        if (!dialog.m_done) return;  // cancelled: nothing was written
        // Only a complete set counts: anything less is reported and left out.
        if (!engine.SetWritten()) {
            ReportFailure(BackupFaultText(engine));
            return;
        }
        CRegistry registry(HKEY_CURRENT_USER);
        if (registry.Open(HKEY_CURRENT_USER, CDlgChildWnd::m_strSettingsPath, TRUE)) {
            registry.WriteDWORD("LastRegBackup", DWORD(time(NULL)));
            registry.Close();
        }
        if (mainWnd) mainWnd->SendMessage(WM_BACKUP_DONE, 0, 0);
        SetStatus(LoadTextById(IDS_BKP_DONE));
        return;
    }

    CLegacyHiveBackup engine;
    engine.SetLocation(location);
    if (!engine.Backup()) {
        ReportFailure(LoadTextById(engine.m_saved ? IDS_BKP_SET_FAILED : IDS_BKP_FAILED));
        return;
    }
    if (mainWnd) mainWnd->SendMessage(WM_BACKUP_DONE, 0, 0);
    SetStatus(LoadTextById(IDS_BKP_DONE));
}

void CBackupPage::ReportFailure(const CString& text)
{
    SetStatus(text);
    BackupPlatform().Ask(GetSafeHwnd(), text, NULL, MB_OK | MB_ICONSTOP);
}

void CBackupPage::OnBootDisk()
{
    CBootDiskMaker maker(this);
    maker.CreateBootDisk();
}

HBRUSH CBackupPage::OnCtlColor(CDC* pDC, CWnd*, UINT nCtlColor) { return ToolCtlColor(pDC, nCtlColor); }
