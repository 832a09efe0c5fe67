#include "junkclean/SafeFoldersPage.h"

#include "host/HostServices.h"
#include "junkclean/PageLook.h"

#include <vantor/FolderDialog.h>
#include <vantres/ids_junk.h>

BEGIN_MESSAGE_MAP(CSafeFoldersPage, CDlgChildWnd)
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_JKO_ADD, OnAdd)
    ON_BN_CLICKED(IDC_JKO_REMOVE, OnRemove)
END_MESSAGE_MAP()

CSafeFoldersPage::CSafeFoldersPage() : CDlgChildWnd(IDD_JKO_FOLDERS, NULL) {}

BOOL CSafeFoldersPage::OnInitDialog() {
    CDlgChildWnd::OnInitDialog();
    PlaceFromTemplate(this, 0, 0, 0, 252, 171);
    PlaceFromTemplate(this, IDC_JKO_FLD_HEADING, 5, 4, 241, 18);
    PlaceFromTemplate(this, IDC_JKO_FLD_LIST, 7, 35, 237, 112);
    LOGFONT lf;
    PageLogFont(lf, 16, 0);
    m_font.CreateFontIndirect(&lf);
    m_heading.SubclassDlgItem(IDC_JKO_FLD_HEADING, this);
    m_heading.InitControl(LoadTextById(IDS_JKO_FLD_HEADING), kHeadingColour, &lf, 21);

    RECT add = {86, 241, 162, 266}, remove = {226, 241, 307, 266};
    m_buttons[0].Create(LoadTextById(IDS_JKO_ADD), 0x5001000B, add, this, IDC_JKO_ADD);
    m_buttons[2].Create(LoadTextById(IDS_JKO_REMOVE), 0x5001000B, remove, this, IDC_JKO_REMOVE);

    m_list.SubclassDlgItem(IDC_JKO_FLD_LIST, this);
    m_list.SetExtendedStyle(0x121);
    CRect client;
    m_list.GetClientRect(&client);
    m_list.InsertColumn(0, LoadTextById(IDS_JKO_FLD_COLUMN), LVCFMT_LEFT, client.Width() - 1);
    m_buttons[0].SetFont(&m_font);
    m_buttons[2].SetFont(&m_font);
    m_list.SetFont(&m_font);
    FillFolders();
    return TRUE;
}

void CSafeFoldersPage::FillFolders() {
    if (!m_list.m_hWnd) return;
    m_list.DeleteAllItems();
    CStringArray names;
    m_safe.ListSafeFolders(names);
    for (int i = 0; i < names.GetSize(); ++i) m_list.InsertItem(i, names[i]);
}

HBRUSH CSafeFoldersPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    return PageCtlColor(pDC, kPageTextColour);
}

SafeFolderResult CSafeFoldersPage::AddFolder(const CString& path) {
    SafeFolderResult result = m_safe.AddSafeFolder(path);
    if (result == SAFE_FOLDER_DRIVE_ROOT)
        AfxMessageBox(LoadTextById(IDS_JKO_FLD_DRIVE_ROOT), MB_ICONINFORMATION);
    else if (result == SAFE_FOLDER_ADDED)
        m_list.InsertItem(m_list.GetItemCount(), path);
    return result;
}

void CSafeFoldersPage::OnAdd() {
    CFolderDialog picker(NULL, 0x37, this);
    if (picker.DoModal() != IDOK) return;
    AddFolder(picker.GetPathName());
}

void CSafeFoldersPage::OnRemove() {
    int item = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (item < 0) return;
    m_safe.RemoveSafeFolder(m_list.GetItemText(item, 0));
    m_list.DeleteItem(item);
}
