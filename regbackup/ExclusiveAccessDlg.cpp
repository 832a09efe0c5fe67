#include "regbackup/ExclusiveAccessDlg.h"

#include <vantor/Paint.h>
#include <vantor/System.h>
#include <vantres/ids_backup.h>

#include "host/HostServices.h"
#include "regbackup/ToolFont.h"
#include "regbackup/HiveBackup.h"

namespace {

const char kExplanation[] =
    "Registry Backup requires exclusive access to System Registry. Backup Process may take few minutes to "
    "complete. During backup process your computer will slowdown.\r\nPlease close all programs and press "
    "\"Start\" to start backing up System Registry.";

}  // namespace

BEGIN_MESSAGE_MAP(CExclusiveAccessDlg, CDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CExclusiveAccessDlg::CExclusiveAccessDlg(CWnd* pParent)
    : CDialog(IDD_EXCLUSIVE_ACCESS, pParent), m_mode(0), m_busy(false), m_done(false), m_engine(NULL)
{
}

void CExclusiveAccessDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, m_btnStart);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_BKX_PROGRESS, m_progress);
    DDX_Control(pDX, IDC_BKX_EXPLANATION, m_explanation);
    DDX_Control(pDX, IDC_BKX_STATUS, m_status);
}

BOOL CExclusiveAccessDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // A caption of its own: a second start of the tool looks for the main
    // window by its caption and must not find this dialog instead.
    SetWindowText(LoadTextById(IDS_BKX_CAPTION));
    // The template's own font has no Chinese glyphs on every system.
    CreateToolFont(m_controlFont, 15, FW_NORMAL);
    SetFontOnChildren(*this, m_controlFont);

    LOGFONTA font = {};
    font.lfHeight = 16;
    font.lfWeight = 500;
    lstrcpyA(font.lfFaceName, "Arial");
    m_font.CreateFontIndirect(&font);
    m_explanation.SetFont(&m_font);
    if (m_mode == 0) m_explanation.SetWindowText(kExplanation);

    m_btnStart.SetWindowText("&Start");
    m_btnCancel.SetWindowText("&Cancel");

    m_progress.SetRange(0, 2);
    m_progress.SetPos(0);
    m_progress.SetBitmap(IDB_PROGRESS_CELL, TRUE);

    m_status.SetWindowText("Press start to continue");
    return TRUE;
}

void CExclusiveAccessDlg::OnOK()
{
    // Start pressed twice (the run dispatches messages) must not start a second run.
    if (m_busy) return;
    if (IsOsWinNT() && m_engine) {
        m_busy = true;
        m_btnStart.EnableWindow(FALSE);
        m_btnCancel.EnableWindow(FALSE);
        m_engine->Run(m_progress, m_status);
        m_busy = false;
    }
    m_done = true;
    m_font.DeleteObject();
    EndDialog(IDOK);
}

void CExclusiveAccessDlg::OnCancel()
{
    // The run dispatches messages; closing the dialog under it would pull the
    // window from under the progress texts.
    if (m_busy) return;
    m_done = false;
    m_font.DeleteObject();
    EndDialog(IDCANCEL);
}

HBRUSH CExclusiveAccessDlg::OnCtlColor(CDC* pDC, CWnd*, UINT nCtlColor) { return ToolCtlColor(pDC, nCtlColor); }
