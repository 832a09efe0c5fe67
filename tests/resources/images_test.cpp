// Skin bitmaps, icons, cursors and the animation: present in language 2052,
// 24 bits per pixel, of the sizes the painters tile and place them at, and
// usable by the system calls that show them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "vantres_library.h"

using restest::VantresLibrary;

namespace {

struct BitmapSpec {
    WORD id;
    LONG width, height;  // 0: any size
};

// Sizes fixed by the code that draws them: the panel frame tiles, the
// progress cell, pictures placed with a fixed size and the two-look faces.
const BitmapSpec kBitmaps[] = {
    {251, 3, 3}, {252, 5, 6}, {253, 5, 5}, {254, 5, 5}, {255, 7, 7}, {256, 1, 2}, {257, 3, 3}, {259, 5, 1},
    {3022, 9, 11},
    {136, 0, 0}, {141, 0, 0}, {306, 0, 0},
    {223, 150, 31}, {224, 150, 36}, {225, 150, 36}, {226, 150, 36}, {227, 150, 36}, {2016, 150, 40},
    {268, 180, 28}, {269, 180, 28}, {270, 180, 28}, {271, 180, 28},
    {9011, 180, 28}, {9012, 180, 28}, {9013, 180, 28}, {9014, 180, 28},
    {2017, 28, 14},
    {232, 150, 150}, {302, 14, 15}, {325, 0, 0}, {328, 423, 32}, {329, 423, 32}, {2096, 141, 121},
    {239, 21, 20}, {240, 21, 24}, {241, 21, 20},
};

}  // namespace

TEST(VantresImages, BitmapsAre24BitsOfTheirSizes) {
    VantresLibrary lib;
    ASSERT_NE(lib.get(), nullptr);
    for (const BitmapSpec& want : kBitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(want.id));
        DWORD size = 0;
        const BYTE* data = restest::FindChinese(lib.get(), MAKEINTRESOURCEA(2) /* RT_BITMAP */,
                                                MAKEINTRESOURCEA(want.id), &size);
        ASSERT_NE(data, nullptr) << "not in language 2052";
        ASSERT_GE(size, sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER info;
        std::memcpy(&info, data, sizeof(info));
        EXPECT_EQ(info.biBitCount, 24);
        EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));
        LONG stride = (info.biWidth * 3 + 3) & ~3L;
        EXPECT_GE(size, sizeof(info) + static_cast<DWORD>(stride * (info.biHeight < 0 ? -info.biHeight : info.biHeight)));
        if (want.width) {
            EXPECT_EQ(info.biWidth, want.width);
            EXPECT_EQ(info.biHeight, want.height);
        }
        // What the painters do with it.
        HBITMAP bitmap = LoadBitmapA(lib.get(), MAKEINTRESOURCEA(want.id));
        ASSERT_NE(bitmap, nullptr);
        BITMAP object;
        ASSERT_TRUE(GetObjectA(bitmap, sizeof(object), &object));
        EXPECT_EQ(object.bmWidth, info.biWidth);
        DeleteObject(bitmap);
    }
}

TEST(VantresImages, PanelTilesJoinIntoOneFrame) {
    // Edges and corners are cut from one frame: the border colour of the top
    // and left tiles is the colour the corners carry on those edges.
    VantresLibrary lib;
    ASSERT_NE(lib.get(), nullptr);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    auto pixel = [&](WORD id, int x, int y) {
        HBITMAP bitmap = LoadBitmapA(lib.get(), MAKEINTRESOURCEA(id));
        HGDIOBJ old = SelectObject(dc, bitmap);
        COLORREF c = GetPixel(dc, x, y);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        return c;
    };
    COLORREF top = pixel(259, 2, 0);
    COLORREF left = pixel(256, 0, 1);
    EXPECT_EQ(top, left);
    EXPECT_EQ(pixel(254, 4, 0), top);    // top-left corner runs into the top edge
    EXPECT_EQ(pixel(254, 0, 4), left);   // and into the left edge
    EXPECT_EQ(pixel(255, 0, 0), top);    // top-right corner starts on the top edge
    EXPECT_EQ(pixel(252, 0, 0), left);   // bottom-left corner starts on the left edge
    EXPECT_EQ(pixel(251, 1, 0), top);    // bottom and right edges carry the same border
    EXPECT_EQ(pixel(257, 0, 1), top);
    EXPECT_NE(top, RGB(255, 255, 255)) << "the frame must show on the white panel";
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

TEST(VantresImages, IconsAndCursorsLoadInBothSizes) {
    VantresLibrary lib;
    ASSERT_NE(lib.get(), nullptr);
    for (WORD id : {128, 210, 236, 2009, 2010}) {
        SCOPED_TRACE("icon " + std::to_string(id));
        EXPECT_NE(restest::FindChinese(lib.get(), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, MAKEINTRESOURCEA(id)),
                  nullptr);
        for (int side : {32, 16}) {
            HICON icon = static_cast<HICON>(LoadImageA(lib.get(), MAKEINTRESOURCEA(id), IMAGE_ICON, side, side, 0));
            ASSERT_NE(icon, nullptr) << side;
            ICONINFO info;
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP bitmap;
            GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
            EXPECT_EQ(bitmap.bmWidth, side);
            if (info.hbmColor) DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
    for (WORD id : {1000, 2108}) {
        SCOPED_TRACE("cursor " + std::to_string(id));
        EXPECT_NE(restest::FindChinese(lib.get(), MAKEINTRESOURCEA(12) /* RT_GROUP_CURSOR */, MAKEINTRESOURCEA(id)),
                  nullptr);
        HCURSOR cursor = LoadCursorA(lib.get(), MAKEINTRESOURCEA(id));
        ASSERT_NE(cursor, nullptr);
        ICONINFO info;
        ASSERT_TRUE(GetIconInfo(cursor, &info));
        EXPECT_FALSE(info.fIcon);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

TEST(VantresImages, AnimationIsAnUncompressedClipTheAnimateControlPlays) {
    VantresLibrary lib;
    ASSERT_NE(lib.get(), nullptr);
    DWORD size = 0;
    const BYTE* data = restest::FindChinese(lib.get(), "AVI", MAKEINTRESOURCEA(2020), &size);
    ASSERT_NE(data, nullptr) << "no \"AVI\" 2020 in language 2052";
    ASSERT_GT(size, 12u + 64u);
    EXPECT_EQ(std::memcmp(data, "RIFF", 4), 0);
    EXPECT_EQ(std::memcmp(data + 8, "AVI ", 4), 0);
    DWORD riffSize;
    std::memcpy(&riffSize, data + 4, 4);
    EXPECT_EQ(riffSize + 8, size);
    // The main header follows "LIST" size "hdrl" "avih" size.
    ASSERT_EQ(std::memcmp(data + 24, "avih", 4), 0);
    DWORD frames;
    std::memcpy(&frames, data + 32 + 16, 4);
    EXPECT_GT(frames, 1u);

    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_ANIMATE_CLASS};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    HWND host = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    HWND animation = CreateWindowExA(0, ANIMATE_CLASSA, "", WS_CHILD, 0, 0, 64, 48, host, nullptr,
                                     lib.get(), nullptr);
    ASSERT_NE(animation, nullptr);
    EXPECT_TRUE(SendMessageA(animation, ACM_OPENA, reinterpret_cast<WPARAM>(lib.get()),
                             reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(2020))));
    DestroyWindow(host);
}
