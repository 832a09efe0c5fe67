// The owner-drawn controls of vantor.dll in real windows: each is made in a
// host window, driven by messages (and by the real mouse pointer for hover),
// and drawn into an off-screen picture whose pixels tell what a user sees.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include <testsupport.h>
#include <vantor/vantor.h>

#include "Picture.h"
#include "VantorTestRes.h"

using testsupport::WaitFor;
using vantortest::HostWindow;
using vantortest::Picture;

namespace {

const COLORREF kStripNormal = RGB(200, 40, 40);
const COLORREF kStripHover = RGB(40, 160, 60);

class ControlsTest : public ::testing::Test {
protected:
    // One top-level frame for the suite (Wine takes a while to destroy one
    // without a window manager) and a fresh panel in it for every test:
    // destroying the panel takes the test's controls with it.
    static void SetUpTestSuite() { s_frame = new HostWindow; }
    static void TearDownTestSuite()
    {
        delete s_frame;
        s_frame = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(s_frame && s_frame->m_hWnd);
        m_panel.reset(new HostWindow(s_frame));
        ASSERT_TRUE(m_panel->m_hWnd);
        SetForegroundWindow(s_frame->m_hWnd);
        ParkMouse();
    }
    void TearDown() override { m_panel.reset(); }

    // The pointer outside the frame, over no control.
    void ParkMouse() { SetCursorPos(5, 5); }
    void PointAt(HWND control)
    {
        RECT r;
        GetWindowRect(control, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    HostWindow& Host() { return *m_panel; }

    static HostWindow* s_frame;
    std::unique_ptr<HostWindow> m_panel;
};

HostWindow* ControlsTest::s_frame = nullptr;

// ---- CHoverButton ---------------------------------------------------------------

TEST_F(ControlsTest, HoverButtonShowsTheStripsHoverFrameWhileTheMouseIsOver)
{
    CHoverButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, CRect(10, 10, 50, 30), &Host(),
                              1068));
    ASSERT_TRUE(button.LoadBitmapA(IDB_TEST_STRIP));

    Picture normal(40, 20);
    normal.Print(button.m_hWnd);
    EXPECT_EQ(40 * 20, normal.Count(CRect(0, 0, 40, 20), kStripNormal, 4)) << "the strip's first frame, 1:1";

    PointAt(button.m_hWnd);
    ASSERT_TRUE(WaitFor([&] { return button.IsHovering() != FALSE; }, 5000));
    Picture hover(40, 20);
    hover.Print(button.m_hWnd);
    EXPECT_EQ(40 * 20, hover.Count(CRect(0, 0, 40, 20), kStripHover, 4)) << "the strip's second frame";

    ParkMouse();
    ASSERT_TRUE(WaitFor([&] { return button.IsHovering() == FALSE; }, 5000)) << "the leave was tracked";
    Picture after(40, 20);
    after.Print(button.m_hWnd);
    EXPECT_EQ(40 * 20, after.Count(CRect(0, 0, 40, 20), kStripNormal, 4));
}

TEST_F(ControlsTest, HoverButtonWithOneFrameStillLooksDifferentUnderTheMouse)
{
    CHoverButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 50, 30), &Host(), 1069));
    ASSERT_TRUE(button.LoadBitmapA(IDB_TEST_SINGLE));
    Picture normal(40, 20);
    normal.Print(button.m_hWnd);
    EXPECT_EQ(40 * 20, normal.Count(CRect(0, 0, 40, 20), RGB(90, 90, 200), 4));

    PointAt(button.m_hWnd);
    ASSERT_TRUE(WaitFor([&] { return button.IsHovering() != FALSE; }, 5000));
    Picture hover(40, 20);
    hover.Print(button.m_hWnd);
    EXPECT_LT(hover.Count(CRect(0, 0, 40, 20), RGB(90, 90, 200), 4), 40 * 20 / 4) << "no visible hover look";
}

TEST_F(ControlsTest, HoverButtonCaptionDisabledLookAndClicks)
{
    CHoverButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 50, 30), &Host(), 1070));
    ASSERT_TRUE(button.LoadBitmapA(IDB_TEST_STRIP));
    Picture blank(40, 20);
    blank.Print(button.m_hWnd);

    button.SetWindowText("Go");
    Picture captioned(40, 20);
    captioned.Print(button.m_hWnd);
    EXPECT_TRUE(captioned.DiffersFrom(blank, CRect(0, 0, 40, 20))) << "the caption is drawn over the face";

    button.EnableWindow(FALSE);
    Picture disabled(40, 20);
    disabled.Print(button.m_hWnd);
    EXPECT_EQ(0, disabled.Count(CRect(0, 0, 40, 20), kStripNormal, 10)) << "a disabled face is faded";
    button.EnableWindow(TRUE);

    button.SendMessage(BM_CLICK);
    EXPECT_EQ(1, Host().Clicks(1070));
    // A quick second click counts as a click, not as a double click.
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    button.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(3, Host().Clicks(1070));
    EXPECT_EQ(0, Host().Clicks(1070, BN_DOUBLECLICKED));
}

TEST_F(ControlsTest, HoverButtonWithoutAFaceAndAPlainButtonMadeOwnerDrawn)
{
    CHoverButton button;
    ASSERT_TRUE(button.Create("Plain", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 90, 38), &Host(), 1071));
    EXPECT_EQ(DWORD(BS_OWNERDRAW), button.GetStyle() & BS_TYPEMASK) << "the button must be drawn by us";
    EXPECT_FALSE(button.LoadBitmapA(IDB_TEST_MISSING));
    Picture face(80, 28);
    face.Print(button.m_hWnd);
    EXPECT_EQ(0, face.Count(CRect(4, 4, 76, 24), RGB(128, 128, 128), 0)) << "a face of its own is drawn";

    // The dialog manager moving the default look must not undo owner-draw.
    button.SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(DWORD(BS_OWNERDRAW), button.GetStyle() & BS_TYPEMASK);
}

// ---- CGuiButton ---------------------------------------------------------------------

TEST_F(ControlsTest, GuiButtonLooksChangeWithHoverPressAndDisable)
{
    CGuiButton button;
    ASSERT_TRUE(button.Create("Add", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, CRect(20, 20, 86, 45),
                              &Host(), 32775));
    const CRect all(0, 0, 66, 25);
    Picture normal(66, 25);
    normal.Print(button.m_hWnd);
    EXPECT_EQ(0, normal.Count(all, RGB(128, 128, 128), 0)) << "every pixel is painted, the corners too";

    PointAt(button.m_hWnd);
    ASSERT_TRUE(WaitFor([&] { return button.IsHovering() != FALSE; }, 5000));
    Picture hover(66, 25);
    hover.Print(button.m_hWnd);
    EXPECT_TRUE(hover.DiffersFrom(normal, all, 6)) << "the hover look";

    button.SetState(TRUE);
    Picture pressed(66, 25);
    pressed.Print(button.m_hWnd);
    EXPECT_TRUE(pressed.DiffersFrom(hover, all, 6)) << "the pressed look";
    button.SetState(FALSE);
    ParkMouse();
    ASSERT_TRUE(WaitFor([&] { return button.IsHovering() == FALSE; }, 5000));

    button.EnableWindow(FALSE);
    Picture disabled(66, 25);
    disabled.Print(button.m_hWnd);
    EXPECT_TRUE(disabled.DiffersFrom(normal, all, 6)) << "the disabled look";
    button.EnableWindow(TRUE);

    button.SendMessage(BM_CLICK);
    EXPECT_EQ(1, Host().Clicks(32775));
}

TEST_F(ControlsTest, GuiButtonShowsWhereTheFocusIs)
{
    CGuiButton first, second;
    ASSERT_TRUE(first.Create("One", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, CRect(20, 20, 86, 45),
                             &Host(), 1));
    ASSERT_TRUE(second.Create("Two", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, CRect(100, 20, 166, 45),
                              &Host(), 2));
    second.SetFocus();
    Picture unfocused(66, 25);
    unfocused.Print(first.m_hWnd);
    first.SetFocus();
    ASSERT_EQ(first.m_hWnd, GetFocus());
    Picture focused(66, 25);
    focused.Print(first.m_hWnd);
    EXPECT_TRUE(focused.DiffersFrom(unfocused, CRect(0, 0, 66, 25), 6));
}

// ---- CStaticFader -----------------------------------------------------------------

TEST_F(ControlsTest, StaticFaderShowsTextsFromBothSetters)
{
    CStaticFader status;
    ASSERT_TRUE(status.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 60, 310, 80), &Host(), 1077));
    status.SetColors(RGB(35, 63, 189), RGB(255, 255, 255));
    Picture empty(300, 20);
    empty.Print(status.m_hWnd);
    EXPECT_EQ(300 * 20, empty.Count(CRect(0, 0, 300, 20), RGB(255, 255, 255), 0));

    status.SetText("C:\\Windows\\Temp");
    EXPECT_EQ("C:\\Windows\\Temp", testsupport::WindowText(status.m_hWnd));
    Picture one(300, 20);
    one.Print(status.m_hWnd);
    EXPECT_GT(one.Count(CRect(0, 0, 300, 20), RGB(35, 63, 189), 40), 10) << "the text in its colour";

    status.SetWindowText("Total 3 junk files");
    EXPECT_EQ("Total 3 junk files", testsupport::WindowText(status.m_hWnd));
    Picture two(300, 20);
    two.Print(status.m_hWnd);
    EXPECT_TRUE(two.DiffersFrom(one, CRect(0, 0, 300, 20)));
}

TEST_F(ControlsTest, StaticFaderFadesGentlyWhileItsTimerRuns)
{
    CStaticFader status;
    ASSERT_TRUE(status.Create("Scanning", WS_CHILD | WS_VISIBLE, CRect(10, 60, 310, 80), &Host(), 1076));
    const COLORREF base = RGB(35, 63, 189);
    status.SetColors(base, RGB(255, 255, 255));
    EXPECT_EQ(base, status.CurrentTextColor());

    status.StartTimer();
    EXPECT_TRUE(status.IsFading());
    COLORREF lightest = base;
    ASSERT_TRUE(WaitFor(
        [&] {
            const COLORREF now = status.CurrentTextColor();
            if (GetRValue(now) > GetRValue(lightest)) lightest = now;
            return GetRValue(lightest) > GetRValue(base) + 60;
        },
        5000))
        << "the colour moves towards the background";
    EXPECT_LT(GetRValue(lightest), 250) << "the text never fades out of sight";

    status.StopTimer();
    EXPECT_FALSE(status.IsFading());
    EXPECT_EQ(base, status.CurrentTextColor()) << "stopped, the text is at full colour";
}

// ---- CProgressST -------------------------------------------------------------------

TEST_F(ControlsTest, ProgressBarFillsItsDonePartWithTheCell)
{
    CProgressST bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(10, 100, 214, 116), &Host(), 1161));
    ASSERT_TRUE(bar.SetBitmap(IDB_TEST_CELL, TRUE));
    bar.SetRange(0, 2);
    bar.SetPos(0);
    EXPECT_EQ(0, bar.FilledWidth());
    Picture empty(204, 16);
    empty.Print(bar.m_hWnd);
    const CRect inside(2, 2, 202, 14);
    EXPECT_EQ(0, empty.Count(inside, RGB(20, 120, 220), 10));

    bar.SetPos(1);
    EXPECT_EQ(100, bar.FilledWidth()) << "half of the 200 inner pixels";
    Picture half(204, 16);
    half.Print(bar.m_hWnd);
    EXPECT_GT(half.Count(CRect(2, 2, 100, 14), RGB(20, 120, 220), 10), 80 * 12) << "cells in the done part";
    EXPECT_EQ(0, half.Count(CRect(104, 2, 202, 14), RGB(20, 120, 220), 10)) << "nothing past the position";
    EXPECT_GE(half.Count(CRect(2, 2, 100, 14), RGB(238, 244, 253), 6), 10 * 12) << "each cell's own edge repeats";

    // The range and position also take effect when set the plain way.
    bar.SendMessage(PBM_SETRANGE32, 0, 4);
    bar.SendMessage(PBM_SETPOS, 4);
    EXPECT_EQ(200, bar.FilledWidth());
    Picture full(204, 16);
    full.Print(bar.m_hWnd);
    EXPECT_GT(full.Count(CRect(150, 2, 202, 14), RGB(20, 120, 220), 10), 40 * 12);
}

// ---- CHeading --------------------------------------------------------------------------

TEST_F(ControlsTest, HeadingDrawsItsTextInItsColourAndFont)
{
    CHeading heading;
    LOGFONT font = {};
    ASSERT_TRUE(ReadLogFont(font));
    font.lfHeight = 16;
    font.lfWeight = FW_BOLD;
    // Set up before the control is bound, as a page may do.
    heading.InitControl("Choose the drives to scan", RGB(45, 54, 162), &font, HEADING_SINGLELINE | HEADING_RULE);
    ASSERT_TRUE(heading.Create("", WS_CHILD | WS_VISIBLE, CRect(5, 4, 246, 24), &Host(), 1078));
    EXPECT_EQ("Choose the drives to scan", testsupport::WindowText(heading.m_hWnd));
    LOGFONT used = {};
    ASSERT_TRUE(GetObjectA(heading.GetHeadingFont(), sizeof(used), &used));
    EXPECT_EQ(16, used.lfHeight);
    EXPECT_EQ(FW_BOLD, used.lfWeight);

    Picture picture(241, 20);
    picture.Print(heading.m_hWnd);
    EXPECT_GT(picture.Count(CRect(0, 0, 241, 18), RGB(45, 54, 162), 30), 20) << "the text in the heading colour";

    heading.InitControl("Other matters", RGB(200, 30, 30), &font, HEADING_BAND);
    Picture again(241, 20);
    again.Print(heading.m_hWnd);
    EXPECT_EQ(0, again.Count(CRect(0, 0, 241, 18), RGB(45, 54, 162), 30));
    EXPECT_GT(again.Count(CRect(0, 0, 241, 20), RGB(200, 30, 30), 40), 10);
}

// ---- CSortHeader --------------------------------------------------------------------------

TEST_F(ControlsTest, SortHeaderDrawsTheArrowOnTheSortedColumn)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(10, 130, 410, 300), &Host(), 1072));
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 200);
    list.InsertColumn(1, "Size", LVCFMT_LEFT, 120);
    CSortHeader header;
    ASSERT_TRUE(header.SubclassWindow(list.GetHeaderCtrl()->m_hWnd));
    RECT bounds;
    header.GetClientRect(&bounds);
    const int h = bounds.bottom;
    ASSERT_GT(h, 8);
    const COLORREF arrow = RGB(72, 104, 170);

    Picture none(400, h);
    none.Print(header.m_hWnd);
    EXPECT_EQ(0, none.Count(CRect(0, 0, 400, h), arrow, 6));

    header.SetSortImage(1, TRUE);
    EXPECT_EQ(1, header.GetSortColumn());
    EXPECT_TRUE(header.GetAscending());
    Picture up(400, h);
    up.Print(header.m_hWnd);
    EXPECT_GT(up.Count(CRect(300, 0, 320, h), arrow, 6), 10) << "at the right end of column 1";
    EXPECT_EQ(0, up.Count(CRect(0, 0, 200, h), arrow, 6)) << "not on column 0";
    // Pointing up: the widest row lies below the tip.
    const int cy = h / 2;
    EXPECT_GT(up.Count(CRect(300, cy + 1, 320, cy + 3), arrow, 6), up.Count(CRect(300, cy - 2, 320, cy), arrow, 6));

    header.SetSortImage(1, FALSE);
    EXPECT_FALSE(header.GetAscending());
    Picture down(400, h);
    down.Print(header.m_hWnd);
    EXPECT_GT(down.Count(CRect(300, cy - 2, 320, cy), arrow, 6), down.Count(CRect(300, cy + 1, 320, cy + 3), arrow, 6));

    header.SetSortImage(-1, TRUE);
    Picture cleared(400, h);
    cleared.Print(header.m_hWnd);
    EXPECT_EQ(0, cleared.Count(CRect(0, 0, 400, h), arrow, 6));
    header.UnsubclassWindow();
}

// ---- COXToolTipCtrl ------------------------------------------------------------------------

TEST_F(ControlsTest, ToolTipsKnowTheirToolsTextsAndFont)
{
    CButton start, stop;
    ASSERT_TRUE(start.Create("Start", WS_CHILD | WS_VISIBLE, CRect(10, 10, 90, 34), &Host(), 1068));
    ASSERT_TRUE(stop.Create("Stop", WS_CHILD | WS_VISIBLE, CRect(100, 10, 180, 34), &Host(), 1069));
    COXToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&Host()));
    char className[64] = {};
    GetClassNameA(tips.m_hWnd, className, sizeof(className));
    EXPECT_STREQ(TOOLTIPS_CLASSA, className);

    EXPECT_TRUE(tips.AddTool(&start, "Starts the scan"));
    EXPECT_TRUE(tips.AddTool(&stop, "Stops the scan"));
    EXPECT_EQ(2, tips.GetToolCount());
    EXPECT_TRUE(tips.AddTool(&start, "Starts the scan now"));
    EXPECT_EQ(2, tips.GetToolCount()) << "a control added again keeps one tip";

    char text[128] = {};
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.hwnd = Host().m_hWnd;
    info.uId = reinterpret_cast<UINT_PTR>(start.m_hWnd);
    info.lpszText = text;
    tips.SendMessage(TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ("Starts the scan now", text);

    LOGFONT font = {};
    font.lfHeight = 11;
    font.lfWeight = FW_BOLD;
    font.lfQuality = PROOF_QUALITY;
    lstrcpyA(font.lfFaceName, "MS Sans Serif");
    tips.SetLogFont(&font);
    LOGFONT used = {};
    ASSERT_TRUE(GetObjectA(HFONT(tips.SendMessage(WM_GETFONT)), sizeof(used), &used));
    EXPECT_STREQ("MS Sans Serif", used.lfFaceName);
    EXPECT_EQ(FW_BOLD, used.lfWeight);

    MSG move = {start.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), GetTickCount(), {15, 15}};
    tips.RelayEvent(&move);
    tips.RelayEvent(nullptr);
    tips.DelTool(&stop);
    EXPECT_EQ(1, tips.GetToolCount());
}

}  // namespace
