// Texts by number, the resource source guard and the shared drawing objects,
// in this test process with the real resource library loaded.
#include "host/HostServices.h"
#include "host/ResourceScope.h"

#include <testsupport.h>
#include <TestThread.h>
#include <vantres/ids_host.h>

#include <gtest/gtest.h>

#include <string>

using testsupport::Ansi;

namespace {

HMODULE Vantres()
{
    static HMODULE library = ::LoadLibraryA("vantres.dll");
    return library;
}

}  // namespace

TEST(LoadTextById, GivesTheResourceLibraryTexts)
{
    ASSERT_NE(Vantres(), nullptr);
    ResourceScope resources("vantres.dll");
    EXPECT_EQ(std::string(LoadTextById(IDS_REGCLEAN_INSTANCE_NAME)), Ansi(u8"注册表清理和修复"));
    EXPECT_EQ(std::string(LoadTextById(IDS_JUNK_INSTANCE_NAME)), Ansi(u8"移除废弃文件"));
    EXPECT_EQ(std::string(LoadTextById(IDS_REGBACKUP_INSTANCE_NAME)), Ansi(u8"注册表备份"));
    EXPECT_EQ(std::string(LoadTextById(IDS_WAIT)), Ansi(u8"等候"));
    // An id nobody has gives an empty text, never a null pointer.
    LPCSTR missing = LoadTextById(60999);
    ASSERT_NE(missing, nullptr);
    EXPECT_STREQ(missing, "");
}

TEST(LoadTextById, EachThreadHasItsOwnBuffer)
{
    ASSERT_NE(Vantres(), nullptr);
    ResourceScope resources("vantres.dll");
    LPCSTR mine = LoadTextById(IDS_REGCLEAN_INSTANCE_NAME);
    std::string workers;
    testsupport::Thread worker([&] {
        // The scan worker asks for many texts while the window holds one.
        for (int i = 0; i < 200; ++i) workers = LoadTextById(i % 2 ? IDS_JUNK_INSTANCE_NAME : IDS_WAIT);
    });
    worker.join();
    EXPECT_EQ(workers, Ansi(u8"移除废弃文件"));
    EXPECT_EQ(std::string(mine), Ansi(u8"注册表清理和修复"));
}

TEST(ResourceScope, MakesAModuleTheSourceAndPutsTheOldOneBack)
{
    ASSERT_NE(Vantres(), nullptr);
    const HINSTANCE before = AfxGetResourceHandle();
    const HINSTANCE program = ::GetModuleHandleA(nullptr);
    {
        ResourceScope byName("vantres.dll");
        EXPECT_EQ(AfxGetResourceHandle(), Vantres());
        {
            ResourceScope byHandle(program);
            EXPECT_EQ(AfxGetResourceHandle(), program);
            // A module that is not loaded changes nothing.
            ResourceScope missing("no-such-module.dll");
            EXPECT_EQ(AfxGetResourceHandle(), program);
        }
        EXPECT_EQ(AfxGetResourceHandle(), Vantres());
    }
    EXPECT_EQ(AfxGetResourceHandle(), before);
}

TEST(SharedDrawingObjects, HaveTheSkinColours)
{
    struct BrushCase {
        CBrush& brush;
        COLORREF colour;
    };
    for (const BrushCase& c : {BrushCase{SharedWhiteBrush(), RGB(255, 255, 255)},
                               BrushCase{SharedBlueBrush(), RGB(216, 225, 255)},
                               BrushCase{SharedPaleBrush(), RGB(254, 254, 255)}}) {
        LOGBRUSH info{};
        ASSERT_TRUE(c.brush.GetObject(sizeof info, &info));
        EXPECT_EQ(info.lbStyle, UINT(BS_SOLID));
        EXPECT_EQ(info.lbColor, c.colour);
    }
    LOGPEN pen{};
    ASSERT_TRUE(SharedPalePen().GetObject(sizeof pen, &pen));
    EXPECT_EQ(pen.lopnStyle, UINT(PS_SOLID));
    EXPECT_EQ(pen.lopnWidth.x, 1);
    EXPECT_EQ(pen.lopnColor, RGB(254, 254, 255));

    // Released at the end of the run; a late caller still gets a live object.
    ReleaseSharedDrawingObjects();
    EXPECT_NE(SharedWhiteBrush().GetSafeHandle(), nullptr);
    EXPECT_NE(::GetObjectType(SharedWhiteBrush().GetSafeHandle()), DWORD(0));
}
