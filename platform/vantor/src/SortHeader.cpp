#include <vantor/SortHeader.h>

#include "Handles.h"

using namespace vantor;

BEGIN_MESSAGE_MAP(CSortHeader, CHeaderCtrl)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CSortHeader::CSortHeader() : m_nSortColumn(-1), m_bAscending(TRUE) {}

CSortHeader::~CSortHeader() = default;

void CSortHeader::SetSortImage(int column, BOOL ascending)
{
    m_nSortColumn = column;
    m_bAscending = ascending ? TRUE : FALSE;
    if (m_hWnd) Invalidate(FALSE);
}

BOOL CSortHeader::OnEraseBkgnd(CDC* pDC) { return TRUE; }

void CSortHeader::PaintTo(HDC target)
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    {
        BufferedPaint buffer(target, client);
        const HDC dc = buffer.Dc();
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
        // The header paints into a DC it is given.
        DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);

        RECT item;
        if (m_nSortColumn >= 0 && m_nSortColumn < GetItemCount() &&
            SendMessage(HDM_GETITEMRECT, WPARAM(m_nSortColumn), reinterpret_cast<LPARAM>(&item)) &&
            item.right - item.left > 16) {
            // A small solid triangle, 9 wide and 5 high, at the column's right end.
            const int cx = item.right - 11, cy = (item.top + item.bottom) / 2;
            POINT points[3];
            if (m_bAscending) {
                points[0] = {cx - 4, cy + 2};
                points[1] = {cx + 4, cy + 2};
                points[2] = {cx, cy - 2};
            } else {
                points[0] = {cx - 4, cy - 2};
                points[1] = {cx + 4, cy - 2};
                points[2] = {cx, cy + 2};
            }
            GdiObject<HBRUSH> fill(::CreateSolidBrush(RGB(72, 104, 170)));
            GdiObject<HPEN> edge(::CreatePen(PS_SOLID, 1, RGB(72, 104, 170)));
            SelectGuard b(dc, fill), p(dc, edge);
            ::Polygon(dc, points, 3);
        }
    }
}

void CSortHeader::OnPaint()
{
    PAINTSTRUCT ps;
    HDC target = ::BeginPaint(m_hWnd, &ps);
    if (target) PaintTo(target);
    ::EndPaint(m_hWnd, &ps);
}

LRESULT CSortHeader::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    if (wParam) PaintTo(reinterpret_cast<HDC>(wParam));
    return 0;
}
