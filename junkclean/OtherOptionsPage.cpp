#include "junkclean/OtherOptionsPage.h"

#include "host/HostServices.h"
#include "junkclean/PageLook.h"

#include <vantres/ids_junk.h>

BEGIN_MESSAGE_MAP(COtherOptionsPage, CDlgChildWnd)
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_JKO_OTH_BY_MONTH, OnByMonth)
    ON_BN_CLICKED(IDC_JKO_OTH_SHORTCUTS, OnShortcuts)
    ON_BN_CLICKED(IDC_JKO_OTH_SKIP_READONLY, OnSkipReadOnly)
    ON_BN_CLICKED(IDC_JKO_OTH_EMPTY, OnEmpty)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

COtherOptionsPage::COtherOptionsPage() : CDlgChildWnd(IDD_JKO_OTHER, NULL) {
    m_options.LoadOtherOptions();
}

BOOL COtherOptionsPage::OnInitDialog() {
    CDlgChildWnd::OnInitDialog();
    PlaceFromTemplate(this, 0, 0, 0, 252, 177);
    PlaceFromTemplate(this, IDC_JKO_OTH_HEADING, 18, 9, 212, 14);
    PlaceFromTemplate(this, IDC_JKO_OTH_BY_MONTH, 21, 45, 183, 12);
    PlaceFromTemplate(this, IDC_JKO_OTH_MONTHS, 205, 45, 27, 12);
    PlaceFromTemplate(this, IDC_JKO_OTH_MONTHS_LABEL, 33, 62, 144, 11);
    PlaceFromTemplate(this, IDC_JKO_OTH_SKIP_READONLY, 21, 81, 189, 12);
    PlaceFromTemplate(this, IDC_JKO_OTH_EMPTY, 21, 105, 204, 12);
    PlaceFromTemplate(this, IDC_JKO_OTH_SHORTCUTS, 21, 129, 215, 12);
    PlaceFromTemplate(this, IDC_JKO_OTH_GROUP, 9, 33, 233, 120);
    m_options.FFNumMonths = ClampMonths(long(m_options.FFNumMonths));
    ShowOptions();
    LOGFONT lf;
    PageLogFont(lf, 16, 0);
    m_font.CreateFontIndirect(&lf);
    SetFontOnChildren(this, &m_font);
    m_heading.SubclassDlgItem(IDC_JKO_OTH_HEADING, this);
    m_heading.InitControl(LoadTextById(IDS_JKO_OTH_HEADING), kHeadingColour, &lf, 21);
    return TRUE;
}

void COtherOptionsPage::ShowOptions() {
    if (!m_hWnd) return;
    CheckDlgButton(IDC_JKO_OTH_BY_MONTH, m_options.FindFilesBasedOnMonth ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_JKO_OTH_SHORTCUTS, m_options.FindInvalidShortCuts ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_JKO_OTH_SKIP_READONLY, m_options.SkipReadOnlyFiles ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_JKO_OTH_EMPTY, m_options.FindEmptyFiles ? BST_CHECKED : BST_UNCHECKED);
    CString months;
    months.Format("%d", int(m_options.FFNumMonths));
    SetDlgItemText(IDC_JKO_OTH_MONTHS, months);
    if (CWnd* edit = GetDlgItem(IDC_JKO_OTH_MONTHS)) edit->EnableWindow(m_options.FindFilesBasedOnMonth == 1);
}

HBRUSH COtherOptionsPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    return PageCtlColor(pDC, kPageTextColour);
}

void COtherOptionsPage::OnByMonth() {
    // The months are read from the edit box here only, on every click of the box.
    CString text;
    GetDlgItemText(IDC_JKO_OTH_MONTHS, text);
    DWORD months = m_options.SetMonths(text);
    CString shown;
    shown.Format("%d", int(months));
    SetDlgItemText(IDC_JKO_OTH_MONTHS, shown);
    m_options.ToggleOption("FindFilesBasedOnMonth");
    if (CWnd* edit = GetDlgItem(IDC_JKO_OTH_MONTHS)) edit->EnableWindow(m_options.FindFilesBasedOnMonth == 1);
    CheckDlgButton(IDC_JKO_OTH_BY_MONTH, m_options.FindFilesBasedOnMonth ? BST_CHECKED : BST_UNCHECKED);
}

void COtherOptionsPage::OnShortcuts() {
    m_options.ToggleOption("FindInvalidShortCuts");
    CheckDlgButton(IDC_JKO_OTH_SHORTCUTS, m_options.FindInvalidShortCuts ? BST_CHECKED : BST_UNCHECKED);
}

void COtherOptionsPage::OnSkipReadOnly() {
    m_options.ToggleOption("SkipReadOnlyFiles");
    CheckDlgButton(IDC_JKO_OTH_SKIP_READONLY, m_options.SkipReadOnlyFiles ? BST_CHECKED : BST_UNCHECKED);
}

void COtherOptionsPage::OnEmpty() {
    m_options.ToggleOption("FindEmptyFiles");
    CheckDlgButton(IDC_JKO_OTH_EMPTY, m_options.FindEmptyFiles ? BST_CHECKED : BST_UNCHECKED);
}

void COtherOptionsPage::OnClose() {
    m_options.SaveAllOtherOptions();
    Default();
}
