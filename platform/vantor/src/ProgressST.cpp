#include <vantor/ProgressST.h>

#include "Handles.h"
#include "Skin.h"

using namespace vantor;

BEGIN_MESSAGE_MAP(CProgressST, CProgressCtrl)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CProgressST::CProgressST() = default;

CProgressST::~CProgressST() = default;

void CProgressST::SetRange(int lo, int hi)
{
    if (!m_hWnd) return;
    CProgressCtrl::SetRange(lo, hi);
    Invalidate(FALSE);
}

void CProgressST::SetPos(int pos)
{
    if (!m_hWnd) return;
    CProgressCtrl::SetPos(pos);
    Invalidate(FALSE);
}

BOOL CProgressST::SetBitmap(UINT id, BOOL repaint)
{
    m_cell.DeleteObject();
    const BOOL ok = m_cell.LoadBitmap(id);
    if (m_hWnd) {
        Invalidate(FALSE);
        if (repaint) UpdateWindow();
    }
    return ok;
}

namespace {

RECT Inside(HWND wnd)
{
    RECT r;
    ::GetClientRect(wnd, &r);
    InflateRect(&r, -2, -2);  // the frame and a white gap
    return r;
}

}  // namespace

int CProgressST::FilledWidth() const
{
    if (!m_hWnd) return 0;
    // The control keeps range and position: callers may set them either way.
    const int lo = int(SendMessage(PBM_GETRANGE, TRUE, 0));
    const int hi = int(SendMessage(PBM_GETRANGE, FALSE, 0));
    const int pos = int(SendMessage(PBM_GETPOS));
    const RECT inside = Inside(m_hWnd);
    const int width = inside.right - inside.left;
    if (hi <= lo || width <= 0) return 0;
    if (pos <= lo) return 0;
    if (pos >= hi) return width;
    return int((long long)(pos - lo) * width / (hi - lo));
}

BOOL CProgressST::OnEraseBkgnd(CDC* pDC) { return TRUE; }

void CProgressST::PaintTo(HDC target)
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    {
        BufferedPaint buffer(target, client);
        const HDC dc = buffer.Dc();
        GdiObject<HBRUSH> white(::CreateSolidBrush(RGB(255, 255, 255)));
        ::FillRect(dc, &client, white);
        GdiObject<HBRUSH> frame(::CreateSolidBrush(IsWindowEnabled() ? kBorder : kBorderDisabled));
        ::FrameRect(dc, &client, frame);

        const RECT inside = Inside(m_hWnd);
        const int filled = FilledWidth();
        const int height = inside.bottom - inside.top;
        if (filled > 0 && height > 0) {
            RECT done = {inside.left, inside.top, inside.left + filled, inside.bottom};
            BITMAP info = {};
            if (m_cell.m_hObject && m_cell.GetBitmap(&info) && info.bmWidth > 0 && info.bmHeight > 0) {
                MemoryDC source(dc);
                SelectGuard select(source, m_cell.m_hObject);
                const int saved = ::SaveDC(dc);
                ::IntersectClipRect(dc, done.left, done.top, done.right, done.bottom);
                const int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
                for (int x = done.left; x < done.right; x += info.bmWidth) {
                    if (info.bmHeight == height)
                        ::BitBlt(dc, x, done.top, info.bmWidth, height, source, 0, 0, SRCCOPY);
                    else
                        ::StretchBlt(dc, x, done.top, info.bmWidth, height, source, 0, 0, info.bmWidth,
                                     info.bmHeight, SRCCOPY);
                }
                ::SetStretchBltMode(dc, oldMode);
                ::RestoreDC(dc, saved);
            } else {
                VerticalGradient(dc, done, RGB(176, 210, 252), RGB(42, 92, 182));
            }
            if (!IsWindowEnabled()) Tint(dc, done, RGB(255, 255, 255), 140);
        }
    }
}

void CProgressST::OnPaint()
{
    PAINTSTRUCT ps;
    HDC target = ::BeginPaint(m_hWnd, &ps);
    if (target) PaintTo(target);
    ::EndPaint(m_hWnd, &ps);
}

LRESULT CProgressST::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    if (wParam) PaintTo(reinterpret_cast<HDC>(wParam));
    return 0;
}
