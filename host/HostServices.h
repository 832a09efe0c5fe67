// Services every tool of the program shares: string resources by number, the
// framed white panel, and the drawing objects of the control-colour handlers.
#pragma once

#include <afxwin.h>

// Text of string resource `id`, taken through the resource chain (so from
// vantres.dll while a tool runs); "" when there is none. The buffer belongs to
// the calling thread and stays valid until that thread's next call: the
// registry scan worker uses it too, so copy the text before calling again.
LPCSTR LoadTextById(UINT id);

// Paints a white panel with the skin's bitmap frame into `rect` of `dc`. The
// frame bitmaps are loaded on first use and kept for the run.
void PaintPanelFrame(CDC* dc, const CRect& rect);

// The drawing objects shared by all windows. They are made while the
// application object is built and released when the program ends; a window
// returns the white brush from its control-colour handler.
CBrush& SharedWhiteBrush(); // RGB(255,255,255)
CBrush& SharedBlueBrush();  // RGB(216,225,255)
CBrush& SharedPaleBrush();  // RGB(254,254,255)
CPen& SharedPalePen();      // solid, 1 pixel, RGB(254,254,255)

// Creates the shared drawing objects that are not there yet (the accessors
// above do the same on demand), and releases them all again.
void CreateSharedDrawingObjects();
void ReleaseSharedDrawingObjects();
