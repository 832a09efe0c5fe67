// The framed panel painted into a memory picture and read back pixel by
// pixel against the skin bitmaps of the resource library.
#include "host/HostServices.h"

#include <testsupport.h>
#include <vantres/ids_host.h>

#include <gtest/gtest.h>

#include <map>

namespace {

const COLORREF kMarker = RGB(255, 0, 255); // the canvas outside the panel
const COLORREF kWhite = RGB(255, 255, 255);

// A 24-bit picture in a memory DC.
class Canvas {
public:
    Canvas(int width, int height) : m_dc(::CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
        RECT all{0, 0, width, height};
        HBRUSH marker = ::CreateSolidBrush(kMarker);
        ::FillRect(m_dc, &all, marker);
        ::DeleteObject(marker);
    }
    ~Canvas()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    HDC dc() const { return m_dc; }
    COLORREF At(int x, int y) const { return ::GetPixel(m_dc, x, y); }

private:
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

// One skin bitmap of vantres.dll, read pixel by pixel.
class SkinBitmap {
public:
    explicit SkinBitmap(UINT id)
    {
        HMODULE vantres = ::GetModuleHandleA("vantres.dll");
        m_bitmap = HBITMAP(::LoadImageA(vantres, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        m_dc = ::CreateCompatibleDC(nullptr);
        m_old = ::SelectObject(m_dc, m_bitmap);
        BITMAP info{};
        ::GetObjectA(m_bitmap, sizeof info, &info);
        width = info.bmWidth;
        height = info.bmHeight;
    }
    ~SkinBitmap()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    bool Loaded() const { return m_bitmap != nullptr; }
    COLORREF At(int x, int y) const { return ::GetPixel(m_dc, x, y); }
    int width = 0, height = 0;

private:
    HBITMAP m_bitmap = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
};

class PanelFrame : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ::LoadLibraryA("vantres.dll"); }

    const SkinBitmap& Skin(UINT id)
    {
        auto it = m_skins.find(id);
        if (it == m_skins.end()) it = m_skins.emplace(id, std::make_unique<SkinBitmap>(id)).first;
        return *it->second;
    }

    void Paint(Canvas& canvas, const CRect& rect)
    {
        CDC dc;
        dc.Attach(canvas.dc());
        PaintPanelFrame(&dc, rect);
        dc.Detach();
    }

    // Every canvas pixel outside `rect` still shows the marker.
    void ExpectNothingOutside(const Canvas& canvas, int width, int height, const CRect& rect)
    {
        int stray = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (!rect.PtInRect(CPoint(x, y)) && canvas.At(x, y) != kMarker) ++stray;
        EXPECT_EQ(stray, 0) << "pixels drawn outside the panel";
    }

    std::map<UINT, std::unique_ptr<SkinBitmap>> m_skins;
};

}  // namespace

TEST_F(PanelFrame, SkinBitmapsHaveTheirTileSizes)
{
    const struct {
        UINT id;
        int width, height;
    } sizes[] = {{IDB_PANEL_BOTTOM, 3, 3},    {IDB_PANEL_CORNER_BL, 5, 6}, {IDB_PANEL_CORNER_BR, 5, 5},
                 {IDB_PANEL_CORNER_TL, 5, 5}, {IDB_PANEL_CORNER_TR, 7, 7}, {IDB_PANEL_LEFT, 1, 2},
                 {IDB_PANEL_RIGHT, 3, 3},     {IDB_PANEL_TOP, 5, 1}};
    for (const auto& s : sizes) {
        const SkinBitmap& skin = Skin(s.id);
        ASSERT_TRUE(skin.Loaded()) << s.id;
        EXPECT_EQ(skin.width, s.width) << s.id;
        EXPECT_EQ(skin.height, s.height) << s.id;
    }
}

// Seven pixels wide: the top-right corner covers the whole top, the two
// bottom corners overlap each other and the edge tiles under them.
TEST_F(PanelFrame, SevenPixelPanelHasOverlappingCorners)
{
    const int W = 20, H = 32;
    const CRect rect(6, 4, 6 + 7, 4 + 20); // 7 x 20
    Canvas canvas(W, H);
    Paint(canvas, rect);
    ExpectNothingOutside(canvas, W, H, rect);

    const SkinBitmap& topRight = Skin(IDB_PANEL_CORNER_TR);
    const SkinBitmap& bottomLeft = Skin(IDB_PANEL_CORNER_BL);
    const SkinBitmap& bottomRight = Skin(IDB_PANEL_CORNER_BR);
    const SkinBitmap& left = Skin(IDB_PANEL_LEFT);
    const SkinBitmap& right = Skin(IDB_PANEL_RIGHT);
    auto at = [&](int x, int y) { return canvas.At(rect.left + x, rect.top + y); };
    const int h = rect.Height();

    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(at(x, y), topRight.At(x, y)) << "top-right corner " << x << "," << y;
    for (int y = 7; y < h - 6; ++y) {
        EXPECT_EQ(at(0, y), left.At(0, y % 2)) << "left edge row " << y;
        for (int x = 1; x < 4; ++x) EXPECT_EQ(at(x, y), kWhite) << "inside " << x << "," << y;
        for (int x = 4; x < 7; ++x) EXPECT_EQ(at(x, y), right.At(x - 4, y % 3)) << "right edge " << x << "," << y;
    }
    // Row h-6: the bottom-left corner's first row, then the right edge still.
    for (int x = 0; x < 5; ++x) EXPECT_EQ(at(x, h - 6), bottomLeft.At(x, 0));
    for (int x = 5; x < 7; ++x) EXPECT_EQ(at(x, h - 6), right.At(x - 4, (h - 6) % 3));
    // Below it the bottom-right corner lies over the bottom-left one.
    for (int y = h - 5; y < h; ++y) {
        for (int x = 0; x < 2; ++x) EXPECT_EQ(at(x, y), bottomLeft.At(x, y - (h - 6))) << x << "," << y;
        for (int x = 2; x < 7; ++x) EXPECT_EQ(at(x, y), bottomRight.At(x - 2, y - (h - 5))) << x << "," << y;
    }
}

// A wider panel shows every edge tile: top tiles of 5, bottom tiles of 3,
// left tiles of 2 and right tiles of 3, each only as many as fit whole.
TEST_F(PanelFrame, EdgesAreTiledBetweenTheCorners)
{
    const int W = 50, H = 40;
    const CRect rect(3, 5, 3 + 41, 5 + 31); // 41 x 31
    Canvas canvas(W, H);
    Paint(canvas, rect);
    ExpectNothingOutside(canvas, W, H, rect);

    const SkinBitmap& top = Skin(IDB_PANEL_TOP);
    const SkinBitmap& bottom = Skin(IDB_PANEL_BOTTOM);
    const SkinBitmap& left = Skin(IDB_PANEL_LEFT);
    const SkinBitmap& right = Skin(IDB_PANEL_RIGHT);
    const SkinBitmap& topLeft = Skin(IDB_PANEL_CORNER_TL);
    const SkinBitmap& bottomLeft = Skin(IDB_PANEL_CORNER_BL);
    auto at = [&](int x, int y) { return canvas.At(rect.left + x, rect.top + y); };
    const int w = rect.Width(), h = rect.Height();

    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(at(x, y), topLeft.At(x, y)) << "top-left corner";
    for (int x = 5; x < w - 7; ++x) EXPECT_EQ(at(x, 0), top.At(x % 5, 0)) << "top edge " << x;
    for (int y = 5; y < h - 6; ++y) EXPECT_EQ(at(0, y), left.At(0, y % 2)) << "left edge " << y;
    for (int y = 7; y < h - 5; ++y)
        for (int x = w - 3; x < w; ++x) EXPECT_EQ(at(x, y), right.At(x - (w - 3), y % 3)) << "right edge";
    for (int y = h - 3; y < h; ++y)
        for (int x = 5; x < w - 5; ++x) EXPECT_EQ(at(x, y), bottom.At(x % 3, y - (h - 3))) << "bottom edge";
    // 31 rows take 15 left tiles: the last row is the corner's alone.
    EXPECT_EQ(at(0, h - 1), bottomLeft.At(0, 5));
    // Inside the frame the panel is white.
    for (int y = 1; y < h - 6; ++y)
        for (int x = 5; x < w - 7; ++x) ASSERT_EQ(at(x, y), kWhite) << "inside " << x << "," << y;
}
