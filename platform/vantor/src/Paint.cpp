#include <vantor/Paint.h>

#include "Handles.h"

namespace {

bool Usable(CDC* dc, CBitmap* bitmap) { return dc && dc->m_hDC && bitmap && bitmap->m_hObject; }

}  // namespace

void PaintBMP(CDC* dc, int x, int y, int width, int height, CBitmap* bitmap, DWORD rop)
{
    if (!Usable(dc, bitmap)) return;
    vantor::MemoryDC source(dc->m_hDC);
    if (!source.Valid()) return;
    vantor::SelectGuard select(source, bitmap->m_hObject);
    ::BitBlt(dc->m_hDC, x, y, width, height, source, 0, 0, rop);
}

void PaintBMPStretch(CDC* dc, int x, int y, int width, int height, CBitmap* bitmap, DWORD rop)
{
    if (!Usable(dc, bitmap)) return;
    BITMAP info = {};
    if (!::GetObjectA(bitmap->m_hObject, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return;
    vantor::MemoryDC source(dc->m_hDC);
    if (!source.Valid()) return;
    vantor::SelectGuard select(source, bitmap->m_hObject);
    if (info.bmWidth == width && info.bmHeight == height) {
        ::BitBlt(dc->m_hDC, x, y, width, height, source, 0, 0, rop);
        return;
    }
    // Halftone keeps stretched skins smooth; it needs the brush origin reset.
    const int oldMode = ::SetStretchBltMode(dc->m_hDC, HALFTONE);
    POINT oldOrigin;
    ::SetBrushOrgEx(dc->m_hDC, 0, 0, &oldOrigin);
    ::StretchBlt(dc->m_hDC, x, y, width, height, source, 0, 0, info.bmWidth, info.bmHeight, rop);
    ::SetStretchBltMode(dc->m_hDC, oldMode);
    ::SetBrushOrgEx(dc->m_hDC, oldOrigin.x, oldOrigin.y, NULL);
}

void SetControlsPos(CWnd* control, int left, int top, int width, int height)
{
    if (!control || !control->m_hWnd) return;
    ::SetWindowPos(control->m_hWnd, NULL, left, top, width < 0 ? 0 : width, height < 0 ? 0 : height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetCRectPos(CRect& rect, int left, int top, int width, int height)
{
    rect.SetRect(left, top, left + width, top + height);
}

void SetCRectPos(CWnd* dialog, CRect& rect, int left, int top, int width, int height)
{
    SetCRectPos(rect, left, top, width, height);
    if (dialog && dialog->m_hWnd) ::MapDialogRect(dialog->m_hWnd, &rect);
}

void SetControlsPosDlu(CWnd* control, int left, int top, int width, int height)
{
    if (!control || !control->m_hWnd) return;
    RECT r = {left, top, left + width, top + height};
    if (HWND parent = ::GetParent(control->m_hWnd)) ::MapDialogRect(parent, &r);
    SetControlsPos(control, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

BOOL ReadLogFont(LOGFONT& font)
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    LOGFONTA found = {};
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) &&
        metrics.lfMessageFont.lfFaceName[0]) {
        found = metrics.lfMessageFont;
    } else if (!::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(found), &found) || !found.lfFaceName[0]) {
        return FALSE;
    }
    if (found.lfHeight == 0) found.lfHeight = -12;
    found.lfQuality = PROOF_QUALITY;
    font = found;
    return TRUE;
}
