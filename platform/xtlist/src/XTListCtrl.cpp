#include <xtlist/XTListCtrl.h>

CXTListCtrl::CXTListCtrl() : m_nSortColumn(-1), m_bSortAscending(TRUE) {}

CXTListCtrl::~CXTListCtrl() = default;

BOOL CXTListCtrl::SubclassHeader()
{
    if (!m_hWnd || m_header.m_hWnd) return FALSE;
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    return header ? m_header.SubclassWindow(header) : FALSE;
}

void CXTListCtrl::SortColumn(int column, BOOL ascending, XTSortType type)
{
    if (!m_hWnd || column < 0) return;
    CXTSortClass sorter(this, column);
    sorter.Sort(ascending, type);
    m_nSortColumn = column;
    m_bSortAscending = ascending ? TRUE : FALSE;
    if (m_header.m_hWnd) m_header.SetSortImage(column, ascending);
}

void CXTListCtrl::CheckAll(BOOL check)
{
    const int count = GetItemCount();
    for (int i = 0; i < count; ++i) SetCheck(i, check);
}
