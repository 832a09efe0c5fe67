#include "regbackup/LocatePage.h"

#include <vantres/ids_backup.h>

#include "host/HostServices.h"
#include "regbackup/BackupMessages.h"
#include "regbackup/BackupPlatform.h"
#include "regbackup/SetImport.h"
#include "regbackup/SetRecords.h"
#include "regbackup/ToolFont.h"

BEGIN_MESSAGE_MAP(CLocatePage, CDlgChildWnd)
    ON_BN_CLICKED(IDC_BKL_BROWSE, OnImport)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CLocatePage::CLocatePage() : CDlgChildWnd(IDD_LOCATE_PAGE, NULL) {}

BOOL CLocatePage::Create(CWnd* pParent) { return CDialog::Create(IDD_LOCATE_PAGE, pParent); }

BOOL CLocatePage::OnInitDialog()
{
    CDlgChildWnd::OnInitDialog();
    CreateToolFont(m_font, 15, FW_NORMAL);
    SetFontOnChildren(*this, m_font);
    SetDlgItemText(IDC_BKL_INFO, LoadTextById(IDS_BKL_INFO));
    return TRUE;
}

void CLocatePage::OnImport() { ImportSet(); }

void CLocatePage::ImportSet()
{
    SetDlgItemText(IDC_BKL_LOG, "");
    const DWORD flags = OFN_FILEMUSTEXIST | OFN_NOTESTFILECREATE | OFN_EXPLORER | OFN_LONGNAMES |
                        OFN_DONTADDTORECENT | OFN_FORCESHOWHIDDEN;
    CString path;
    if (!BackupPlatform().PickFile(this, LoadTextById(IDS_BKL_FILTER), flags, path)) return;
    if (!PathExists(path)) return;
    SetDlgItemText(IDC_BKL_PATH, path);
    SetDlgItemText(IDC_BKL_LOG, LoadTextById(IDS_BKL_FOUND));

    CString log;
    const ImportResult result = ImportSetFile(RunningLine(), path, log);
    SetDlgItemText(IDC_BKL_LOG, log);
    CWnd* parent = GetParent();
    if (result == ImportResult::Imported && parent) parent->SendMessage(WM_SETS_CHANGED, 0, 0);
}

HBRUSH CLocatePage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    // The read-only log asks as a static; it is drawn like an edit box.
    if (nCtlColor == CTLCOLOR_STATIC && pWnd && pWnd->GetDlgCtrlID() == IDC_BKL_LOG)
        return ToolCtlColor(pDC, CTLCOLOR_EDIT);
    return ToolCtlColor(pDC, nCtlColor);
}
