#include "regclean/UndoPanel.h"

#include "regclean/PathText.h"
#include "regclean/UndoStore.h"

#include "host/HostServices.h"
#include "vantres/ids_regclean.h"

#include <vantor/Paint.h>

UndoPanel::UndoPanel(CWnd* pParent) : CDlgChildWnd(IDD_REGCLEAN_UNDO, pParent) {}

UndoPanel::~UndoPanel() = default;

BEGIN_MESSAGE_MAP(UndoPanel, CDlgChildWnd)
    ON_BN_CLICKED(IDC_RCU_MERGE, OnMerge)
    ON_BN_CLICKED(IDC_RCU_REMOVE, OnRemove)
    ON_WM_CTLCOLOR()
    ON_WM_SIZE()
END_MESSAGE_MAP()

void UndoPanel::DoDataExchange(CDataExchange* pDX)
{
    CDlgChildWnd::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RCU_LIST, m_list);
    DDX_Control(pDX, IDC_RCU_INFO, m_info);
    DDX_Control(pDX, IDC_RCU_MERGE, m_merge);
    DDX_Control(pDX, IDC_RCU_REMOVE, m_remove);
}

void UndoPanel::PlaceControls()
{
    // The panel may be given another size than its template: text on top,
    // the list below it, the two buttons along the bottom edge.
    CRect client;
    GetClientRect(&client);
    CRect unit(0, 0, 4, 8);
    ::MapDialogRect(m_hWnd, &unit);
    const int gap = unit.Width() * 4 / 4;
    const int buttonH = unit.Height() * 16 / 8;
    const int buttonW = unit.Width() * 110 / 4;
    const int infoH = unit.Height() * 28 / 8;
    const int width = client.Width() - 2 * gap;
    SetControlsPos(&m_info, gap, gap, width, infoH);
    const int listTop = gap + infoH + gap;
    const int buttonTop = client.Height() - gap - buttonH;
    SetControlsPos(&m_list, gap, listTop, width, buttonTop - gap - listTop);
    SetControlsPos(&m_merge, gap, buttonTop, buttonW, buttonH);
    SetControlsPos(&m_remove, client.Width() - gap - buttonW, buttonTop, buttonW, buttonH);
}

// The main window gives the panel its content area after creating it.
void UndoPanel::OnSize(UINT nType, int cx, int cy)
{
    CDlgChildWnd::OnSize(nType, cx, cy);
    if (m_list.m_hWnd) PlaceControls();
}

BOOL UndoPanel::OnInitDialog()
{
    CDlgChildWnd::OnInitDialog();
    PlaceControls();
    CRect list;
    m_list.GetClientRect(&list);
    const int u = list.Width() / 3;
    m_list.InsertColumn(0, LoadTextById(IDS_RCU_COL_DATE), LVCFMT_LEFT, 2 * u + 14);
    m_list.InsertColumn(1, LoadTextById(IDS_RCU_COL_FILE), LVCFMT_LEFT, u - 14);
    m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);  // 0x121
    RefillUndoList();
    return TRUE;
}

void UndoPanel::RefillUndoList()
{
    if (!m_list.m_hWnd) return;
    m_list.DeleteAllItems();
    CStringArray paths;
    ListUndoRecords(paths);
    for (int i = 0; i < paths.GetSize(); ++i) {
        const CString& path = paths[i];
        int slash = TextReverseFindChar(path, '\\');
        CString fileName = slash >= 0 ? path.Mid(slash + 1) : path;
        int row = m_list.InsertItem(i, UndoDateText(fileName));
        m_list.SetItemText(row, 1, path);
    }
}

int UndoPanel::SelectedRow() const
{
    // Several rows may be selected; the last one is meant.
    int last = -1;
    POSITION pos = m_list.GetFirstSelectedItemPosition();
    while (pos) last = m_list.GetNextSelectedItem(pos);
    return last;
}

CString UndoPanel::SelectedPath() const
{
    int row = SelectedRow();
    return row < 0 ? CString() : m_list.GetItemText(row, 1);
}

void UndoPanel::OnMerge()
{
    CString path = SelectedPath();
    if (path.IsEmpty()) return;
    bool merged = MergeUndoFile(path);
    AfxMessageBox(merged ? IDS_RCU_MERGE_OK : IDS_RCU_MERGE_FAILED, MB_ICONINFORMATION);
}

void UndoPanel::OnRemove()
{
    int row = SelectedRow();
    if (row < 0) return;
    CString path = m_list.GetItemText(row, 1);
    m_list.DeleteItem(row);
    DropUndoRecord(path);
}

HBRUSH UndoPanel::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    pDC->SetBkMode(TRANSPARENT);
    return SharedWhiteBrush();
}
