// The dialog bases and the folder picker in real windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <testsupport.h>
#include <vantor/vantor.h>

#include "Picture.h"
#include "VantorTestRes.h"

using vantortest::Picture;

namespace {

const char kCaption[] = "Vantor main window test";

// ---- CDlgMainWnd: the skinned background --------------------------------------

class SkinnedWindow : public CDlgMainWnd {
public:
    SkinnedWindow() : CDlgMainWnd(IDD_TEST_MAIN) {}
};

TEST(DlgMainWnd, PaintsTheSkinPictureAndTheGradientAroundIt)
{
    SkinnedWindow wnd;
    ASSERT_TRUE(wnd.Create(IDD_TEST_MAIN, nullptr));
    RECT client;
    wnd.GetClientRect(&client);
    ASSERT_GT(client.right, 100);
    ASSERT_GT(client.bottom, 80);
    Picture picture(client.right, client.bottom);

    // No picture: a soft gradient from light at the top to a deeper blue below.
    EXPECT_FALSE(wnd.HasBackground());
    wnd.PaintDlgNow(picture.cdc(), CRect(client));
    const COLORREF top = picture.At(client.right / 2, 0), bottom = picture.At(client.right / 2, client.bottom - 1);
    EXPECT_TRUE(Picture::Near(RGB(236, 243, 253), top, 6));
    EXPECT_TRUE(Picture::Near(RGB(214, 228, 249), bottom, 6));

    // A picture smaller than the window: 1:1 at the corner, the gradient elsewhere.
    ASSERT_TRUE(wnd.LoadBackground(IDB_TEST_BACK));
    Picture skinned(client.right, client.bottom);
    wnd.PaintDlgNow(skinned.cdc(), CRect(client));
    EXPECT_EQ(60 * 40, skinned.Count(CRect(0, 0, 60, 40), RGB(10, 200, 180), 2));
    EXPECT_EQ(0, skinned.Count(CRect(60, 0, client.right, client.bottom), RGB(10, 200, 180), 20));
    EXPECT_TRUE(Picture::Near(RGB(214, 228, 249), skinned.At(client.right - 1, client.bottom - 1), 6));

    // Only the rectangle asked for is painted.
    Picture part(client.right, client.bottom);
    wnd.PaintDlgNow(part.cdc(), CRect(0, 0, 30, 20));
    EXPECT_EQ(30 * 20, part.Count(CRect(0, 0, 30, 20), RGB(10, 200, 180), 2));
    EXPECT_EQ(RGB(128, 128, 128), part.At(31, 5));
    EXPECT_EQ(RGB(128, 128, 128), part.At(5, 21));

    // A missing picture falls back to the gradient.
    EXPECT_FALSE(wnd.LoadBackground(IDB_TEST_MISSING));
    Picture fallback(client.right, client.bottom);
    wnd.PaintDlgNow(fallback.cdc(), CRect(client));
    EXPECT_EQ(0, fallback.Count(CRect(0, 0, 60, 40), RGB(10, 200, 180), 20));

    EXPECT_TRUE(wnd.GetExStyle() & WS_EX_APPWINDOW) << "the tool's window belongs on the task bar";
    wnd.DestroyWindow();
}

// ---- CDlgMainWnd: modal life ---------------------------------------------------------

// Acts on the test dialog once it is up, from inside its modal loop.
UINT g_closeWith = 0;

void CALLBACK CloseTestDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindWindowA(NULL, kCaption);
    if (!dialog || !IsWindowVisible(dialog)) return;
    KillTimer(NULL, timer);
    if (g_closeWith == SC_CLOSE)
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    else
        PostMessageA(GetDlgItem(dialog, int(g_closeWith)), BM_CLICK, 0, 0);
}

TEST(DlgMainWnd, RunsModallyAndEndsByTheCloseCommandOrOk)
{
    {
        SkinnedWindow wnd;
        g_closeWith = SC_CLOSE;
        SetTimer(NULL, 0, 20, CloseTestDialog);
        EXPECT_EQ(IDCANCEL, wnd.DoModal()) << "the caption's close box cancels";
    }
    {
        SkinnedWindow wnd;
        g_closeWith = IDOK;
        SetTimer(NULL, 0, 20, CloseTestDialog);
        EXPECT_EQ(IDOK, wnd.DoModal());
    }
}

TEST(DlgChildWnd, KeepsTheSettingsPath)
{
    EXPECT_STREQ("Software\\Lumbrix\\Vantor 2", CDlgChildWnd::m_strSettingsPath);
}

// ---- CFolderDialog ------------------------------------------------------------------------

BOOL CALLBACK FindVisibleDialog(HWND wnd, LPARAM data)
{
    char cls[16] = {};
    GetClassNameA(wnd, cls, sizeof(cls));
    if (lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(wnd)) return TRUE;
    *reinterpret_cast<HWND*>(data) = wnd;
    return FALSE;
}

// The shell's picker, once it shows on this thread.
HWND FindPicker()
{
    HWND found = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindVisibleDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

UINT g_pickerButton = IDOK;
int g_pickerTicks = 0;
std::string g_pickerWanted;  // the tree item OK waits for; empty: any

void CALLBACK AnswerPicker(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND picker = FindPicker();
    if (!picker) return;
    // OK once the tree has moved to the start folder: a busy machine shows the
    // desktop chosen first and the start folder seconds later (60 s at most,
    // so a test never hangs).
    HWND tree = FindWindowExA(picker, NULL, "SysTreeView32", NULL);
    HTREEITEM caret = tree ? HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) : NULL;
    char text[MAX_PATH] = {};
    if (caret) {
        TVITEMA item{};
        item.mask = TVIF_TEXT;
        item.hItem = caret;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tree, TVM_GETITEMA, 0, LPARAM(&item));
    }
    const bool chosen = g_pickerWanted.empty() ? caret != NULL : g_pickerWanted == text;
    if (g_pickerButton == IDOK && !chosen && ++g_pickerTicks < 1200) return;
    KillTimer(NULL, timer);
    PostMessageA(picker, WM_COMMAND, g_pickerButton, 0);
}

TEST(FolderDialog, OpensOnTheStartFolderAndGivesTheChoice)
{
    testsupport::ScratchDir dir("vantor-picker");
    const std::string start = dir / "Moved files";
    ASSERT_TRUE(testsupport::MakeDirs(start));

    CFolderDialog picker(start.c_str(), 0x37, nullptr);
    g_pickerButton = IDOK;
    g_pickerTicks = 0;
    g_pickerWanted = "Moved files";
    SetTimer(NULL, 0, 50, AnswerPicker);
    ASSERT_EQ(IDOK, picker.DoModal());
    EXPECT_EQ(0, lstrcmpiA(start.c_str(), picker.GetPathName())) << picker.GetPathName().GetString();
}

TEST(FolderDialog, CancelGivesNoFolder)
{
    CFolderDialog picker(NULL, 0x37, nullptr);
    g_pickerButton = IDCANCEL;
    SetTimer(NULL, 0, 50, AnswerPicker);
    EXPECT_EQ(IDCANCEL, picker.DoModal());
    EXPECT_TRUE(picker.GetPathName().IsEmpty());
}

}  // namespace
