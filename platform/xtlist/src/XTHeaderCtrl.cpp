#include <xtlist/XTHeaderCtrl.h>

BEGIN_MESSAGE_MAP(CXTHeaderCtrl, CHeaderCtrl)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CXTHeaderCtrl::CXTHeaderCtrl() : m_nSortColumn(-1), m_bAscending(TRUE) {}

CXTHeaderCtrl::~CXTHeaderCtrl() = default;

int CXTHeaderCtrl::SetSortImage(int column, BOOL ascending)
{
    const int before = m_nSortColumn;
    m_nSortColumn = column < 0 ? -1 : column;
    m_bAscending = ascending ? TRUE : FALSE;
    if (m_hWnd) Invalidate(FALSE);
    return before;
}

BOOL CXTHeaderCtrl::OnEraseBkgnd(CDC* pDC) { return TRUE; }

// Painted off screen: the header's own picture first, then the arrow.
void CXTHeaderCtrl::OnPaint()
{
    CPaintDC dc(this);
    PaintTo(&dc);
}

LRESULT CXTHeaderCtrl::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    if (wParam) PaintTo(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
    return 0;
}

void CXTHeaderCtrl::PaintTo(CDC* target)
{
    CRect client;
    GetClientRect(&client);
    CMemDC picture(target, client);
    picture.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    // The header paints into a DC it is given.
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(picture.m_hDC), 0);

    CRect item;
    if (m_nSortColumn < 0 || m_nSortColumn >= GetItemCount() || !GetItemRect(m_nSortColumn, &item) ||
        item.Width() <= 16)
        return;
    // A small solid triangle at the column's right end, up for ascending.
    const int cx = item.right - 11, cy = (item.top + item.bottom) / 2;
    const int tip = m_bAscending ? -2 : 2;
    const POINT points[3] = {{cx - 4, cy - tip}, {cx + 4, cy - tip}, {cx, cy + tip}};
    CBrush fill(RGB(72, 104, 170));
    CPen edge(PS_SOLID, 1, RGB(72, 104, 170));
    HGDIOBJ oldBrush = picture.SelectObject(&fill);
    HGDIOBJ oldPen = picture.SelectObject(&edge);
    picture.Polygon(points, 3);
    picture.SelectObject(oldPen);
    picture.SelectObject(oldBrush);
}
