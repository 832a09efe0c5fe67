// Control wrappers on real controls, temporary and permanent handle wrappers,
// subclassing that gives the window its own procedure back, and fonts.
#include "TestApp.h"
#include "afxtest_ids.h"
#include "testsupport.h"
#include "TestThread.h"
#include <gtest/gtest.h>

using testsupport::Ansi;
using testsupport::WaitFor;

namespace {

class ListFixture : public ::testing::Test {
protected:
    void SetUp() override {
        RECT r = {0, 0, 400, 300};
        ASSERT_TRUE(frame.CreateEx(0, "STATIC", "AfxFrame", WS_POPUP | WS_VISIBLE, r, nullptr, 0));
        RECT inner = {0, 0, 380, 280};
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, inner, &frame, 77));
        ASSERT_EQ(list.InsertColumn(0, "Path", LVCFMT_LEFT, 200), 0);
        ASSERT_EQ(list.InsertColumn(1, "Size", LVCFMT_RIGHT, 80), 1);
    }
    void TearDown() override { frame.DestroyWindow(); }
    CWnd frame;
    CListCtrl list;
};

} // namespace

TEST_F(ListFixture, ItemTextsOfAnyLengthAndSubItems) {
    std::string longText(1500, 'p');
    longText += "-tail";
    const std::string chinese = Ansi(u8"注册表备份 文件");
    ASSERT_EQ(list.InsertItem(0, longText.c_str()), 0);
    ASSERT_EQ(list.InsertItem(1, chinese.c_str()), 1);
    EXPECT_TRUE(list.SetItemText(0, 1, "12 KB"));
    EXPECT_EQ(list.GetItemText(0, 0).str(), longText);
    EXPECT_EQ(list.GetItemText(1, 0).str(), chinese);
    EXPECT_EQ(list.GetItemText(0, 1), "12 KB");
    EXPECT_EQ(list.GetItemText(1, 1), "");
    EXPECT_EQ(list.GetItemCount(), 2);

    const DWORD_PTR data = sizeof(void*) == 8 ? DWORD_PTR(0x1234567890ULL) : DWORD_PTR(0x12345678);
    EXPECT_TRUE(list.SetItemData(1, data));
    EXPECT_EQ(list.GetItemData(1), data);
}

TEST_F(ListFixture, SelectedRowsAreVisitedInOrder) {
    for (int i = 0; i < 5; ++i) list.InsertItem(i, "row");
    EXPECT_EQ(list.GetFirstSelectedItemPosition(), nullptr);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(4, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetSelectedCount(), 3u);
    std::vector<int> seen;
    for (POSITION pos = list.GetFirstSelectedItemPosition(); pos;) seen.push_back(list.GetNextSelectedItem(pos));
    EXPECT_EQ(seen, (std::vector<int>{1, 3, 4}));
    list.SetItemState(3, 0, LVIS_SELECTED);
    seen.clear();
    for (POSITION pos = list.GetFirstSelectedItemPosition(); pos;) seen.push_back(list.GetNextSelectedItem(pos));
    EXPECT_EQ(seen, (std::vector<int>{1, 4}));
}

TEST_F(ListFixture, HeaderWrapperSpeaksForTheListHeader) {
    CHeaderCtrl* header = list.GetHeaderCtrl();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->GetItemCount(), 2);
    char text[32] = {};
    HDITEMA item = {};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ASSERT_TRUE(header->GetItem(1, &item));
    EXPECT_STREQ(text, "Size");
    EXPECT_EQ(::GetParent(header->m_hWnd), list.m_hWnd);
    EXPECT_EQ(list.GetColumnWidth(0), 200);
}

TEST(HandleMapTest, TemporaryWrappersArePerThreadAndOwnersAreShared) {
    CWnd owned;
    RECT r = {0, 0, 50, 50};
    ASSERT_TRUE(owned.CreateEx(0, "STATIC", "owned", WS_POPUP, r, nullptr, 0));
    HWND plain = CreateWindowExA(0, "STATIC", "plain", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(plain, nullptr);

    CWnd* here = CWnd::FromHandle(plain);
    EXPECT_EQ(CWnd::FromHandle(plain), here);
    EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
    EXPECT_EQ(here->m_hWnd, plain);
    CWnd* there = nullptr;
    CWnd* ownedThere = nullptr;
    testsupport::Thread([&] {
        there = CWnd::FromHandle(plain);
        ownedThere = CWnd::FromHandle(owned.m_hWnd);
    }).join();
    EXPECT_NE(there, here);
    EXPECT_EQ(ownedThere, &owned);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    DestroyWindow(plain);
    owned.DestroyWindow();
}

namespace {

// Counts WM_SETTEXT and lets the edit control do the rest.
class CountingEdit : public CWnd {
public:
    int setTexts = 0;
    bool presubclassed = false;

protected:
    void PreSubclassWindow() override { presubclassed = true; }
    afx_msg LRESULT OnSetText(WPARAM, LPARAM) {
        ++setTexts;
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountingEdit, CWnd)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

} // namespace

TEST(SubclassTest, SubclassedControlKeepsItsBehaviourAndGetsItsProcedureBack) {
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    LONG_PTR original = GetWindowLongPtrA(edit, GWLP_WNDPROC);
    {
        CountingEdit wrapper;
        ASSERT_TRUE(wrapper.SubclassWindow(edit));
        EXPECT_TRUE(wrapper.presubclassed);
        EXPECT_EQ(CWnd::FromHandlePermanent(edit), &wrapper);
        EXPECT_FALSE(CWnd().SubclassWindow(edit)); // one owner at a time
        ::SetWindowTextA(edit, "typed");
        EXPECT_EQ(wrapper.setTexts, 1);
        CString text;
        wrapper.GetWindowText(text);
        EXPECT_EQ(text, "typed"); // Default() let the edit control store it
        EXPECT_EQ(wrapper.UnsubclassWindow(), edit);
        EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), original);
        ::SetWindowTextA(edit, "again");
        EXPECT_EQ(wrapper.setTexts, 1);

        ASSERT_TRUE(wrapper.SubclassWindow(edit));
    } // the destructor gives the procedure back too
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), original);
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
    DestroyWindow(edit);
}

TEST(ControlTest, ComboAndListBoxTextsOfAnyLength) {
    CWnd frame;
    RECT r = {0, 0, 300, 200};
    ASSERT_TRUE(frame.CreateEx(0, "STATIC", "AfxFrame2", WS_POPUP, r, nullptr, 0));
    CComboBox combo;
    CListBox box;
    RECT c = {0, 0, 200, 100};
    ASSERT_TRUE(combo.CreateEx(0, "COMBOBOX", nullptr, WS_CHILD | CBS_DROPDOWNLIST, c, &frame, 1));
    ASSERT_TRUE(box.CreateEx(0, "LISTBOX", nullptr, WS_CHILD, c, &frame, 2));
    std::string big(700, 'c');
    EXPECT_EQ(combo.AddString(big.c_str()), 0);
    EXPECT_EQ(box.AddString(big.c_str()), 0);
    CString text;
    combo.GetLBText(0, text);
    EXPECT_EQ(text.str(), big);
    box.GetText(0, text);
    EXPECT_EQ(text.str(), big);
    box.GetText(5, text);
    EXPECT_TRUE(text.IsEmpty());
    frame.DestroyWindow();
}

TEST(GdiTest, PointFontHasTheCharacterHeightOfItsPointSize) {
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, "Tahoma"));
    LOGFONTA lf;
    ASSERT_TRUE(font.GetLogFont(&lf));
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(lf.lfHeight, -MulDiv(9, dpi, 72));
    EXPECT_STREQ(lf.lfFaceName, "Tahoma");
}
