#include "junkclean/RemovalOptionsPage.h"

#include "host/HostServices.h"
#include "junkclean/PageLook.h"

#include <vantor/FolderDialog.h>
#include <vantres/ids_junk.h>

BEGIN_MESSAGE_MAP(CRemovalOptionsPage, CDlgChildWnd)
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_JKO_REM_DELETE, OnDelete)
    ON_BN_CLICKED(IDC_JKO_REM_MOVE, OnMove)
    ON_BN_CLICKED(IDC_JKO_REM_RECYCLE, OnRecycle)
    ON_BN_CLICKED(IDC_JKO_REM_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CRemovalOptionsPage::CRemovalOptionsPage() : CDlgChildWnd(IDD_JKO_REMOVAL, NULL) {
    m_removal.LoadRemovalOptions();
    m_removal.OnApplied = [this] { FollowOptions(); };
}

BOOL CRemovalOptionsPage::OnInitDialog() {
    CDlgChildWnd::OnInitDialog();
    m_removal.LoadRemovalOptions();
    PlaceFromTemplate(this, IDC_JKO_REM_HEADING, 7, 7, 238, 42);
    PlaceFromTemplate(this, IDC_JKO_REM_DELETE, 58, 61, 162, 27);
    PlaceFromTemplate(this, IDC_JKO_REM_RECYCLE, 58, 95, 162, 27);
    PlaceFromTemplate(this, IDC_JKO_REM_MOVE, 58, 129, 129, 27);
    PlaceFromTemplate(this, IDC_JKO_REM_FOLDER, 59, 147, 186, 23);
    PlaceFromTemplate(this, IDC_JKO_REM_BROWSE, 200, 128, 21, 14);
    m_browse.SubclassDlgItem(IDC_JKO_REM_BROWSE, this);
    LOGFONT lf;
    PageLogFont(lf, 16, FW_BOLD);
    m_heading.SubclassDlgItem(IDC_JKO_REM_HEADING, this);
    LOGFONT cf;
    PageLogFont(cf, 16, 0);
    m_font.CreateFontIndirect(&cf);
    SetFontOnChildren(this, &m_font);
    m_removal.ApplyRemovalOptions();
    m_heading.InitControl(LoadTextById(IDS_JKO_REM_HEADING), kHeadingColour, &lf, 16);
    return TRUE;
}

void CRemovalOptionsPage::MoveIcon(int id, int x, int y) {
    CWnd* icon = GetDlgItem(id);
    if (!icon) return;
    RECT r = {x, y, x + 1, y + 1};
    ::MapDialogRect(m_hWnd, &r);
    ::SetWindowPos(icon->m_hWnd, NULL, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CRemovalOptionsPage::FollowOptions() {
    if (!m_hWnd) return;
    const BOOL move = m_removal.Mode == REMOVAL_MOVE;
    if (CWnd* w = GetDlgItem(IDC_JKO_REM_BROWSE)) w->EnableWindow(move);
    if (CWnd* w = GetDlgItem(IDC_JKO_REM_FOLDER)) w->EnableWindow(move);
    CheckDlgButton(IDC_JKO_REM_DELETE, m_removal.SC_DirectDel ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_JKO_REM_MOVE, m_removal.SC_MoveToFolder ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_JKO_REM_RECYCLE, m_removal.SC_RecycleBin ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(IDC_JKO_REM_FOLDER, m_removal.SC_StrFolderName);
    // The icons stand at their places; the chosen mode's one steps to the right.
    MoveIcon(IDC_JKO_REM_DELETE_ICON, m_removal.Mode == REMOVAL_DELETE ? 25 : 18, 54);
    MoveIcon(IDC_JKO_REM_RECYCLE_ICON, m_removal.Mode == REMOVAL_RECYCLE ? 22 : 17, 91);
    MoveIcon(IDC_JKO_REM_MOVE_ICON, m_removal.Mode == REMOVAL_MOVE ? 23 : 18, 128);
    Invalidate();
}

HBRUSH CRemovalOptionsPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    return PageCtlColor(pDC, RGB(35, 63, 189));
}

void CRemovalOptionsPage::OnDelete() {
    m_removal.SelectDirectDelete();
}

void CRemovalOptionsPage::OnRecycle() {
    m_removal.SelectRecycleBin();
}

void CRemovalOptionsPage::TakeChosenFolder(const CString& path) {
    CFileStatus status;
    if (CFile::GetStatus(path, status)) {
        CString folder = path;
        folder.Trim();
        SetDlgItemText(IDC_JKO_REM_FOLDER, folder);
        m_removal.SetMoveFolder(folder);
    } else {
        m_removal.SelectRecycleBin();
    }
}

void CRemovalOptionsPage::OnBrowse() {
    CFolderDialog picker(m_removal.SC_StrFolderName, 0x37, this);
    if (picker.DoModal() != IDOK) return;
    TakeChosenFolder(picker.GetPathName());
}

void CRemovalOptionsPage::OnMove() {
    CString shown;
    GetDlgItemText(IDC_JKO_REM_FOLDER, shown);
    CFileStatus status;
    if (shown.IsEmpty() || !CFile::GetStatus(shown, status)) OnBrowse();
    // Chosen even after a cancelled browse: the next Delete checks the folder.
    m_removal.SelectMoveToFolder();
}
