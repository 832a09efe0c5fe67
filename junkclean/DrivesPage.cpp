#include "junkclean/DrivesPage.h"

#include "host/HostServices.h"
#include "junkclean/PageLook.h"

#include <vantres/ids_junk.h>

namespace {
// "驱动器" (drives) in the program's code page 936.
const char kDrivesColumn[] = "\xC7\xFD\xB6\xAF\xC6\xF7";
}  // namespace

BEGIN_MESSAGE_MAP(CDrivesPage, CDlgChildWnd)
    ON_WM_CTLCOLOR()
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_JKO_DRV_LIST, OnDriveChanged)
END_MESSAGE_MAP()

CString DriveItemText(const char* root) {
    char label[256] = {};
    if (!GetVolumeInformationA(root, label, 255, NULL, NULL, NULL, NULL, 0)) label[0] = 0;
    label[255] = 0;
    return CString(root) + "  ( " + label + " ) ";
}

CDrivesPage::CDrivesPage() : CDlgChildWnd(IDD_JKO_DRIVES, NULL) {
    m_drives.EnumerateFixedDrives();
    m_drives.SetDriveText("");
    m_drives.LoadDriveList();
}

BOOL CDrivesPage::OnInitDialog() {
    CDlgChildWnd::OnInitDialog();
    PlaceFromTemplate(this, 0, 0, 0, 252, 171);
    PlaceFromTemplate(this, IDC_JKO_DRV_LIST, 7, 34, 237, 111);
    PlaceFromTemplate(this, IDC_JKO_DRV_HEADING, 5, 4, 241, 20);
    LOGFONT lf;
    PageLogFont(lf, 16, FW_BOLD);
    m_heading.SubclassDlgItem(IDC_JKO_DRV_HEADING, this);
    m_heading.InitControl(LoadTextById(IDS_JKO_DRV_HEADING), kHeadingColour, &lf, 21);

    m_drives.LoadDriveList();
    m_list.SubclassDlgItem(IDC_JKO_DRV_LIST, this);
    m_list.SetExtendedStyle(0x125);
    LOGFONT cf;
    PageLogFont(cf, 15, 0);
    m_font.CreateFontIndirect(&cf);
    m_list.SetFont(&m_font);  // labels may be in this code page
    CRect client;
    m_list.GetClientRect(&client);
    m_list.InsertColumn(0, kDrivesColumn, LVCFMT_LEFT, client.Width());
    FillDrives();
    return TRUE;
}

void CDrivesPage::FillDrives() {
    if (!m_list.m_hWnd) return;
    m_filling = true;
    m_list.DeleteAllItems();
    m_drives.EnumerateFixedDrives();
    for (int i = 0; i < m_drives.FixedCount(); ++i) {
        CString root = CString(m_drives.FixedDrive(i)) + "\\";
        if (GetDriveTypeA(root) != DRIVE_FIXED) continue;
        int item = m_list.InsertItem(m_list.GetItemCount(), DriveItemText(root));
        m_list.SetCheck(item, m_drives.IsSelected(root[0]));
    }
    m_filling = false;
}

HBRUSH CDrivesPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    return PageCtlColor(pDC, kPageTextColour);
}

void CDrivesPage::OnDriveChanged(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    if (m_filling) return;
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    if (change->iItem < 0) return;
    CString text = m_list.GetItemText(change->iItem, change->iSubItem);
    m_drives.SetDriveSelected(text, m_list.GetCheck(change->iItem));
}
