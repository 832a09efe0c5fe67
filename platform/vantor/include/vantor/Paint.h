// Bitmap painting, placement of controls and the suite's default font.
#pragma once

#include <afxwin.h>
#include <vantor/VantorApi.h>

// Copies `width` x `height` pixels from the bitmap's (0,0) to (x, y) of `dc`
// with raster operation `rop` (SRCCOPY, SRCAND, ...).
VANTOR_API void PaintBMP(CDC* dc, int x, int y, int width, int height, CBitmap* bitmap, DWORD rop);
// Stretches the whole bitmap into the rectangle (x, y, width, height).
VANTOR_API void PaintBMPStretch(CDC* dc, int x, int y, int width, int height, CBitmap* bitmap, DWORD rop);

// Moves and sizes a control; the numbers are pixels of the parent's client
// area (of the screen for a window without a parent).
VANTOR_API void SetControlsPos(CWnd* control, int left, int top, int width, int height);
// rect = (left, top, left + width, top + height).
VANTOR_API void SetCRectPos(CRect& rect, int left, int top, int width, int height);

// The same from dialog units, the units of the templates, so that a layout
// grows with the dialog font of each language: SetControlsPosDlu takes them
// in units of the dialog the control lies in (its parent; a parent that is
// no dialog takes them as pixels), SetCRectPos those of `dialog`.
VANTOR_API void SetControlsPosDlu(CWnd* control, int left, int top, int width, int height);
VANTOR_API void SetCRectPos(CWnd* dialog, CRect& rect, int left, int top, int width, int height);

// The suite's default font: the system's message font (so the right script
// and size for this system), proof quality. TRUE on success; on failure the
// description is left alone.
VANTOR_API BOOL ReadLogFont(LOGFONT& font);
