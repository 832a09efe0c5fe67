#include "Skin.h"

#include "Handles.h"

namespace vantor {

COLORREF Blend(COLORREF a, COLORREF b, int weight)
{
    if (weight < 0) weight = 0;
    if (weight > 256) weight = 256;
    auto mix = [weight](int x, int y) { return (x * (256 - weight) + y * weight) >> 8; };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

namespace {

void Gradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to, ULONG mode)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    TRIVERTEX v[2] = {};
    v[0].x = rect.left;
    v[0].y = rect.top;
    v[0].Red = COLOR16(GetRValue(from) << 8);
    v[0].Green = COLOR16(GetGValue(from) << 8);
    v[0].Blue = COLOR16(GetBValue(from) << 8);
    v[1].x = rect.right;
    v[1].y = rect.bottom;
    v[1].Red = COLOR16(GetRValue(to) << 8);
    v[1].Green = COLOR16(GetGValue(to) << 8);
    v[1].Blue = COLOR16(GetBValue(to) << 8);
    GRADIENT_RECT g = {0, 1};
    if (!GradientFill(dc, v, 2, &g, 1, mode)) {
        // No gradients on this display: the average colour instead.
        GdiObject<HBRUSH> brush(CreateSolidBrush(Blend(from, to, 128)));
        FillRect(dc, &rect, brush);
    }
}

}  // namespace

void VerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom)
{
    Gradient(dc, rect, top, bottom, GRADIENT_FILL_RECT_V);
}

void HorizontalGradient(HDC dc, const RECT& rect, COLORREF left, COLORREF right)
{
    Gradient(dc, rect, left, right, GRADIENT_FILL_RECT_H);
}

void PaintSoftGradient(HDC dc, const RECT& rect) { VerticalGradient(dc, rect, kWindowTop, kWindowBottom); }

void RoundBox(HDC dc, const RECT& rect, int radius, COLORREF top, COLORREF bottom, COLORREF border)
{
    if (rect.right - rect.left < 2 || rect.bottom - rect.top < 2) return;
    // Regions live in device units; the DC may paint with an offset origin.
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    LPtoDP(dc, corners, 2);
    GdiObject<HRGN> region(
        CreateRoundRectRgn(corners[0].x, corners[0].y, corners[1].x + 1, corners[1].y + 1, 2 * radius, 2 * radius));
    if (!region.Get()) return;
    const int saved = SaveDC(dc);
    ExtSelectClipRgn(dc, region, RGN_AND);
    VerticalGradient(dc, rect, top, bottom);
    RestoreDC(dc, saved);
    // FrameRgn takes logical coordinates again: shift the region back.
    OffsetRgn(region, rect.left - corners[0].x, rect.top - corners[0].y);
    GdiObject<HBRUSH> pen(CreateSolidBrush(border));
    FrameRgn(dc, region, pen, 1, 1);
}

HBRUSH ParentBrush(HWND control, HDC dc, UINT message)
{
    HWND parent = GetParent(control);
    HBRUSH brush = parent ? reinterpret_cast<HBRUSH>(SendMessageA(parent, message, reinterpret_cast<WPARAM>(dc),
                                                                  reinterpret_cast<LPARAM>(control)))
                          : NULL;
    return brush ? brush : GetSysColorBrush(COLOR_BTNFACE);
}

COLORREF BrushColour(HBRUSH brush, COLORREF fallback)
{
    LOGBRUSH info = {};
    if (brush && GetObjectA(brush, sizeof(info), &info) && info.lbStyle == BS_SOLID) return info.lbColor;
    return fallback;
}

HFONT ControlFont(HWND control)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool ShowFocusCues(HWND control)
{
    return !(SendMessageA(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

bool ShowAccelCues(HWND control)
{
    return !(SendMessageA(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL);
}

void Tint(HDC dc, const RECT& rect, COLORREF colour, BYTE alpha)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top || alpha == 0) return;
    MemoryDC one(dc);
    GdiObject<HBITMAP> pixel(CreateCompatibleBitmap(dc, 1, 1));
    if (!one.Valid() || !pixel.Get()) return;
    SelectGuard select(one, pixel);
    SetPixel(one, 0, 0, colour);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, 0};
    AlphaBlend(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, one, 0, 0, 1, 1, blend);
}

int Brightness(HBITMAP bitmap, const RECT& part)
{
    MemoryDC dc(NULL);
    if (!dc.Valid() || !bitmap) return 255;
    SelectGuard select(dc, bitmap);
    long sum = 0, count = 0;
    const int w = part.right - part.left, h = part.bottom - part.top;
    for (int iy = 0; iy < 8; ++iy)
        for (int ix = 0; ix < 8; ++ix) {
            COLORREF c = GetPixel(dc, part.left + (2 * ix + 1) * w / 16, part.top + (2 * iy + 1) * h / 16);
            if (c == CLR_INVALID) continue;
            sum += (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
            ++count;
        }
    return count ? int(sum / count) : 255;
}

}  // namespace vantor
