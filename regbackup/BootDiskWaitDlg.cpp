#include "regbackup/BootDiskWaitDlg.h"

#include <vantor/Paint.h>
#include <vantres/ids_backup.h>

#include "host/HostServices.h"
#include "regbackup/ToolFont.h"
#include "regbackup/BootDisk.h"
#include "regbackup/HiveTools.h"

BEGIN_MESSAGE_MAP(CBootDiskWaitDlg, CDialog)
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CBootDiskWaitDlg::CBootDiskWaitDlg(CWnd* pParent) : CDialog(IDD_BOOTDISK_WAIT, pParent) {}

BOOL CBootDiskWaitDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    LOGFONTA font = {};
    if (!ReadLogFont(font)) {
        font.lfHeight = 15;
        font.lfWeight = FW_NORMAL;
        font.lfCharSet = DEFAULT_CHARSET;
        lstrcpyA(font.lfFaceName, "Tahoma");
    }
    m_font.CreateFontIndirect(&font);
    CWnd* text = GetDlgItem(IDC_BKW_TEXT);
    if (text) {
        text->SetFont(&m_font);
        text->SetWindowText(m_strMessage);
    }
    // The copying starts once the notice is on the screen.
    SetTimer(1, 1);
    return TRUE;
}

void CBootDiskWaitDlg::OnTimer(UINT_PTR id)
{
    if (id != 1) return;
    KillTimer(1);
    ShowWindow(SW_SHOW);
    UpdateWindow();
    DispatchPendingMessages();
    m_nCopied = CopyBootFiles(m_strFrom, m_strTo);
    m_font.DeleteObject();
    EndDialog(IDOK);
}

HBRUSH CBootDiskWaitDlg::OnCtlColor(CDC* pDC, CWnd*, UINT nCtlColor) { return ToolCtlColor(pDC, nCtlColor); }
