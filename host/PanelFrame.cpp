// The framed white panel: edge tiles along the four sides, then the four
// corner pieces over them, drawn off screen and copied in one step.
#include "host/HostServices.h"

#include <vantor/Paint.h>
#include <vantres/ids_host.h>

namespace {

struct PanelSkin {
    CBitmap bottom;   // 3 x 3
    CBitmap cornerBL; // 5 x 6
    CBitmap cornerBR; // 5 x 5
    CBitmap cornerTL; // 5 x 5
    CBitmap cornerTR; // 7 x 7
    CBitmap left;     // 1 x 2
    CBitmap right;    // 3 x 3
    CBitmap top;      // 5 x 1
};

// Loaded on the first paint and kept for the run.
PanelSkin& Skin()
{
    static PanelSkin skin;
    static bool loaded = false;
    if (!loaded) {
        loaded = true;
        skin.bottom.LoadBitmap(IDB_PANEL_BOTTOM);
        skin.cornerBL.LoadBitmap(IDB_PANEL_CORNER_BL);
        skin.cornerBR.LoadBitmap(IDB_PANEL_CORNER_BR);
        skin.cornerTL.LoadBitmap(IDB_PANEL_CORNER_TL);
        skin.cornerTR.LoadBitmap(IDB_PANEL_CORNER_TR);
        skin.left.LoadBitmap(IDB_PANEL_LEFT);
        skin.right.LoadBitmap(IDB_PANEL_RIGHT);
        skin.top.LoadBitmap(IDB_PANEL_TOP);
    }
    return skin;
}

}  // namespace

void PaintPanelFrame(CDC* dc, const CRect& rect)
{
    const int left = rect.left, top = rect.top;
    const int width = rect.Width(), height = rect.Height();
    if (width <= 0 || height <= 0) return;
    PanelSkin& skin = Skin();

    // The off-screen picture keeps the target's coordinates, so everything
    // below is placed exactly as it lands on the target.
    CDC mem;
    if (!mem.CreateCompatibleDC(dc)) return;
    CBitmap picture;
    if (!picture.CreateCompatibleBitmap(dc, width, height)) return;
    HGDIOBJ oldBitmap = mem.SelectObject(&picture);
    ::SetViewportOrgEx(mem.GetSafeHdc(), -left, -top, nullptr);

    mem.FillSolidRect(left, top, width, height, RGB(255, 255, 255));
    for (int k = 0; k < width / 5; ++k)
        PaintBMP(&mem, left + 5 * k, top, 5, 1, &skin.top, SRCCOPY);
    for (int k = 0; k < height / 2; ++k)
        PaintBMP(&mem, left, top + 2 * k, 1, 2, &skin.left, SRCCOPY);
    for (int k = 0; k < width / 3; ++k)
        PaintBMP(&mem, left + 3 * k, top + height - 3, 3, 3, &skin.bottom, SRCCOPY);
    for (int k = 0; k < height / 3; ++k)
        PaintBMP(&mem, left + width - 3, top + 3 * k, 3, 3, &skin.right, SRCCOPY);
    PaintBMP(&mem, left, top, 5, 5, &skin.cornerTL, SRCCOPY);
    PaintBMP(&mem, left + width - 7, top, 7, 7, &skin.cornerTR, SRCCOPY);
    PaintBMP(&mem, left, top + height - 6, 5, 6, &skin.cornerBL, SRCCOPY);
    PaintBMP(&mem, left + width - 5, top + height - 5, 5, 5, &skin.cornerBR, SRCCOPY);

    dc->BitBlt(left, top, width, height, &mem, left, top, SRCCOPY);
    mem.SelectObject(oldBitmap);
}
