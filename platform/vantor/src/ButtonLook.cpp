#include "ButtonLook.h"

#include <vector>

#include "Handles.h"
#include "Skin.h"

namespace vantor {

void TrackMouseLeave(HWND control)
{
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = control;
    TrackMouseEvent(&track);
}

void MakeOwnerDraw(HWND button)
{
    LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
    if ((style & BS_TYPEMASK) == BS_OWNERDRAW) return;
    // The button reads its type at every paint: a repaint shows the new look.
    SetWindowLongPtrA(button, GWL_STYLE, (style & ~LONG_PTR(BS_TYPEMASK)) | BS_OWNERDRAW);
    InvalidateRect(button, NULL, FALSE);
}

bool KeepOwnerDraw(WPARAM& style)
{
    const bool isDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    style = (style & ~WPARAM(BS_TYPEMASK)) | BS_OWNERDRAW;
    return isDefault;
}

void DrawCaption(HDC dc, HWND button, const RECT& area, COLORREF colour, UINT itemState)
{
    const int length = GetWindowTextLengthA(button);
    if (length <= 0) return;
    std::vector<char> text(size_t(length) + 1);
    GetWindowTextA(button, text.data(), length + 1);

    const LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    switch (style & BS_CENTER) {
    case BS_LEFT: format |= DT_LEFT; break;
    case BS_RIGHT: format |= DT_RIGHT; break;
    default: format |= DT_CENTER; break;
    }
    if ((itemState & ODS_NOACCEL) || !ShowAccelCues(button)) format |= DT_HIDEPREFIX;

    SelectGuard font(dc, ControlFont(button));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, colour);
    RECT r = area;
    DrawTextA(dc, text.data(), length, &r, format);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

void DrawFocus(HDC dc, const RECT& rect, UINT itemState)
{
    if (!(itemState & ODS_FOCUS) || (itemState & ODS_NOFOCUSRECT)) return;
    RECT r = rect;
    InflateRect(&r, -3, -3);
    if (r.right <= r.left || r.bottom <= r.top) return;
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &r);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

void PaintParentBackground(HWND button, HDC dc, const RECT& rect)
{
    HBRUSH brush = ParentBrush(button, dc, WM_CTLCOLORBTN);
    LOGBRUSH info = {};
    if (GetObjectA(brush, sizeof(info), &info) && info.lbStyle != BS_HOLLOW) {
        FillRect(dc, &rect, brush);
        return;
    }
    // A transparent control: let the parent erase its own background under us.
    HWND parent = GetParent(button);
    POINT origin = {0, 0};
    MapWindowPoints(button, parent, &origin, 1);
    POINT old;
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SetViewportOrgEx(dc, old.x, old.y, NULL);
}

}  // namespace vantor
