#include "junkclean/FileFiltersPage.h"

#include "host/HostServices.h"
#include "junkclean/FilterEditDlg.h"
#include "junkclean/PageLook.h"

#include <vantres/ids_junk.h>

BEGIN_MESSAGE_MAP(CFileFiltersPage, CDlgChildWnd)
    ON_WM_CTLCOLOR()
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_JKO_FLT_LIST, OnFilterChanged)
    ON_BN_CLICKED(IDC_JKO_ADD, OnAdd)
    ON_BN_CLICKED(IDC_JKO_EDIT, OnEdit)
    ON_BN_CLICKED(IDC_JKO_REMOVE, OnRemove)
END_MESSAGE_MAP()

namespace {
CString FieldText(const char* field, int size) {
    return CString(field, int(strnlen(field, size_t(size))));
}
}  // namespace

CFileFiltersPage::CFileFiltersPage() : CDlgChildWnd(IDD_JKO_FILTERS, NULL) {
    m_filters.LoadFilters();
}

BOOL CFileFiltersPage::OnInitDialog() {
    CDlgChildWnd::OnInitDialog();
    PlaceFromTemplate(this, 0, 0, 0, 252, 177);
    PlaceFromTemplate(this, IDC_JKO_FLT_HEADING, 5, 4, 241, 27);
    PlaceFromTemplate(this, IDC_JKO_FLT_LIST, 7, 41, 237, 105);
    LOGFONT lf;
    PageLogFont(lf, 15, FW_BOLD);
    m_heading.SubclassDlgItem(IDC_JKO_FLT_HEADING, this);
    m_heading.InitControl(LoadTextById(IDS_JKO_FLT_HEADING), kHeadingColour, &lf, 20);

    struct { CGuiButton* button; UINT id; UINT text; RECT rect; } buttons[] = {
        {&m_add, IDC_JKO_ADD, IDS_JKO_ADD, {45, 252, 111, 277}},
        {&m_edit, IDC_JKO_EDIT, IDS_JKO_EDIT, {156, 252, 222, 277}},
        {&m_remove, IDC_JKO_REMOVE, IDS_JKO_REMOVE, {267, 252, 348, 277}},
    };
    LOGFONT bf;
    PageLogFont(bf, 15, FW_NORMAL);
    m_buttonFont.CreateFontIndirect(&bf);
    for (auto& b : buttons) {
        b.button->Create(LoadTextById(b.text), 0x5001000B, b.rect, this, b.id);
        b.button->SetFont(&m_buttonFont);
    }

    m_list.SubclassDlgItem(IDC_JKO_FLT_LIST, this);
    m_list.SetExtendedStyle(0x125);
    m_list.SetFont(&m_buttonFont);  // the masks' descriptions are in this code page
    CRect client;
    m_list.GetClientRect(&client);
    m_list.InsertColumn(0, LoadTextById(IDS_JKO_FLT_COL_MASK), LVCFMT_LEFT, client.Width() / 4);
    m_list.InsertColumn(1, LoadTextById(IDS_JKO_FLT_COL_DESC), LVCFMT_LEFT, client.Width() * 3 / 4);
    FillFilters();
    return TRUE;
}

void CFileFiltersPage::FillFilters() {
    if (!m_list.m_hWnd) return;
    m_filling = true;
    if (m_filters.IsEmpty()) m_filters.SaveFilters();
    m_list.DeleteAllItems();
    for (int i = 0; i < m_filters.GetCount(); ++i) {
        const FilterRecord& r = m_filters.GetAt(i);
        int item = m_list.InsertItem(i, FieldText(r.mask, 16));
        m_list.SetItemText(item, 1, FieldText(r.description, 64));
        m_list.SetCheck(item, r.enabled != 0);
    }
    m_filling = false;
}

HBRUSH CFileFiltersPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    return PageCtlColor(pDC, kPageTextColour);
}

void CFileFiltersPage::OnFilterChanged(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    if (m_filling) return;
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    if (change->iItem < 0) return;
    // Every change, a mere selection too, stores the table again.
    m_filters.SetFilterEnabled(m_list.GetCheck(change->iItem), m_list.GetItemText(change->iItem, change->iSubItem));
    m_list.Invalidate();
}

int CFileFiltersPage::SelectedItem() const {
    return m_list.GetNextItem(-1, LVNI_SELECTED);
}

void CFileFiltersPage::OnAdd() {
    CFilterEditDlg dlg(this, LoadTextById(IDS_JKE_ADD_CAPTION), LoadTextById(IDS_JKE_PROMPT), false);
    if (dlg.DoModal() != IDOK) return;
    if (!m_filters.AddFilter(dlg.m_strMask, dlg.m_strDescription)) return;  // a duplicate goes silently
    m_filling = true;
    int item = m_list.InsertItem(m_list.GetItemCount(), dlg.m_strMask);
    m_list.SetItemText(item, 1, dlg.m_strDescription);
    m_list.SetCheck(item, TRUE);
    m_filling = false;
}

void CFileFiltersPage::OnEdit() {
    int item = SelectedItem();
    if (item < 0) return;
    CString mask = m_list.GetItemText(item, 0);
    CString description = m_list.GetItemText(item, 1);
    CFilterEditDlg dlg(this, LoadTextById(IDS_JKE_EDIT_CAPTION), LoadTextById(IDS_JKE_PROMPT), true, mask,
                       description);
    if (dlg.DoModal() != IDOK) return;
    if (dlg.m_strMask == mask && dlg.m_strDescription == description) return;
    m_filters.EditFilter(mask, dlg.m_strMask, dlg.m_strDescription);
    m_filling = true;
    m_list.SetItemText(item, 0, dlg.m_strMask);
    m_list.SetItemText(item, 1, dlg.m_strDescription);
    m_filling = false;
}

void CFileFiltersPage::OnRemove() {
    int item = SelectedItem();
    if (item < 0) return;
    if (!m_filters.RemoveFilter(m_list.GetItemText(item, 0))) return;
    m_filling = true;
    m_list.DeleteItem(item);
    m_filling = false;
    m_list.Invalidate();
}
