// Colours and small painting helpers shared by the suite's controls.
#pragma once

#include <windows.h>

namespace vantor {

// The suite's palette (the skin bitmaps of the resource library use the same).
const COLORREF kInk = RGB(28, 48, 112);           // caption text on light faces
const COLORREF kInkDisabled = RGB(150, 158, 172);
const COLORREF kBorder = RGB(140, 170, 215);
const COLORREF kBorderHot = RGB(58, 108, 190);
const COLORREF kBorderPressed = RGB(38, 82, 160);
const COLORREF kBorderDisabled = RGB(200, 207, 218);
const COLORREF kFaceTop = RGB(255, 255, 255);
const COLORREF kFaceBottom = RGB(222, 233, 250);
const COLORREF kHotTop = RGB(246, 250, 255);
const COLORREF kHotBottom = RGB(190, 214, 248);
const COLORREF kPressedTop = RGB(184, 208, 244);
const COLORREF kPressedBottom = RGB(210, 226, 250);
const COLORREF kDisabledFace = RGB(243, 245, 249);
const COLORREF kWindowTop = RGB(236, 243, 253);
const COLORREF kWindowBottom = RGB(214, 228, 249);

// a * (256 - weight) + b * weight, per channel; weight 0..256.
COLORREF Blend(COLORREF a, COLORREF b, int weight);

// Top-to-bottom gradient over `rect`.
void VerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom);
// Left-to-right gradient over `rect`.
void HorizontalGradient(HDC dc, const RECT& rect, COLORREF left, COLORREF right);
// The window background without a skin picture.
void PaintSoftGradient(HDC dc, const RECT& rect);

// A rounded box: gradient body inside a one-pixel border of radius `radius`.
// The corners outside the border are left as they were.
void RoundBox(HDC dc, const RECT& rect, int radius, COLORREF top, COLORREF bottom, COLORREF border);

// The brush the parent gives the control for `message` (WM_CTLCOLORBTN or
// WM_CTLCOLORSTATIC); the system face colour when the parent gives none.
HBRUSH ParentBrush(HWND control, HDC dc, UINT message);
// The colour of a solid brush; `fallback` for any other brush.
COLORREF BrushColour(HBRUSH brush, COLORREF fallback);

// The control's font, or the default GUI font.
HFONT ControlFont(HWND control);

// Whether keyboard cues (focus rectangles, mnemonic underlines) are on.
bool ShowFocusCues(HWND control);
bool ShowAccelCues(HWND control);

// Lays `colour` over `rect` at opacity `alpha` (0..255).
void Tint(HDC dc, const RECT& rect, COLORREF colour, BYTE alpha);

// Average brightness 0..255 of a bitmap part (sampled).
int Brightness(HBITMAP bitmap, const RECT& part);

}  // namespace vantor
