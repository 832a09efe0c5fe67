// Message-map routing in a real dialog made from the program's template:
// button clicks, list-view notifications, application and registered
// messages, timers, control colours, owner drawing reflected to the button,
// base-class entries and entries overridden by a derived class.
#include "TestApp.h"
#include "afxtest_ids.h"
#include "testsupport.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using testsupport::WaitFor;

namespace {

UINT g_registeredMsg = RegisterWindowMessageA("AfxTests.Registered");
UINT g_registeredId = RegisterWindowMessageA("AfxTests.RegisteredButton");

class OwnerDrawnButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT dis) override {
        ++draws;
        drawnId = dis->CtlID;
        drawnHwnd = dis->hwndItem;
        ::FillRect(dis->hDC, &dis->rcItem, HBRUSH(GetStockObject(GRAY_BRUSH)));
    }
    int draws = 0;
    UINT drawnId = 0;
    HWND drawnHwnd = nullptr;
};

class RoutingBase : public CDialog {
public:
    RoutingBase() : CDialog(IDD_ROUTING) {}
    std::vector<std::string> calls;

protected:
    afx_msg void OnGo() { calls.push_back("base:go"); }
    afx_msg void OnOther() { calls.push_back("base:other"); }
    afx_msg LRESULT OnAppMessage(WPARAM w, LPARAM l) {
        calls.push_back("base:app");
        return LRESULT(w + l);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RoutingBase, CDialog)
    ON_BN_CLICKED(IDC_GO, OnGo)
    ON_BN_CLICKED(IDC_OTHER, OnOther)
    ON_MESSAGE(WM_APP + 5, OnAppMessage)
END_MESSAGE_MAP()

class RoutingDialog : public RoutingBase {
public:
    OwnerDrawnButton m_owner;
    CListCtrl m_list;
    CButton m_registeredButton;
    CBrush m_labelBrush{RGB(1, 2, 3)};

    std::vector<UINT> rangeIds;
    std::vector<NMLISTVIEW> itemChanges;
    int doubleClicks = 0, doubleClickItem = -2;
    std::vector<UINT_PTR> timers;
    std::vector<std::pair<UINT, HWND>> ctlColors;
    int dialogDrawItems = 0, registeredClicks = 0;
    CPoint lastDown{999, 999};
    CPoint contextPoint{999, 999};
    HWND contextWnd = nullptr;

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
        m_list.InsertColumn(0, "Name", LVCFMT_LEFT, 120);
        for (int i = 0; i < 3; ++i) m_list.InsertItem(i, i == 0 ? "zero" : i == 1 ? "one" : "two");
        RECT r = {200, 40, 250, 60};
        m_registeredButton.Create("Reg", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, r, this, LOWORD(g_registeredId));
        return TRUE;
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_OWNERDRAW, m_owner);
        DDX_Control(pDX, IDC_LIST, m_list);
    }
    afx_msg void OnGo() { calls.push_back("derived:go"); }
    afx_msg void OnRange(UINT id) { rangeIds.push_back(id); }
    afx_msg void OnItemChanged(NMHDR* hdr, LRESULT* result) {
        itemChanges.push_back(*reinterpret_cast<NMLISTVIEW*>(hdr));
        *result = 0;
    }
    afx_msg void OnDoubleClick(NMHDR* hdr, LRESULT* result) {
        ++doubleClicks;
        doubleClickItem = reinterpret_cast<NMITEMACTIVATE*>(hdr)->iItem;
    }
    afx_msg LRESULT OnRegistered(WPARAM w, LPARAM l) {
        calls.push_back("derived:registered");
        return LRESULT(w * 10 + l);
    }
    afx_msg void OnRegisteredButton() { ++registeredClicks; }
    afx_msg void OnTimer(UINT_PTR id) { timers.push_back(id); }
    afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT type) {
        ctlColors.emplace_back(type, wnd ? wnd->m_hWnd : nullptr);
        if (wnd && wnd->GetDlgCtrlID() == IDC_LABEL) {
            dc->SetBkMode(TRANSPARENT);
            return m_labelBrush;
        }
        return CDialog::OnCtlColor(dc, wnd, type);
    }
    afx_msg void OnDrawItem(int, LPDRAWITEMSTRUCT) { ++dialogDrawItems; }
    afx_msg void OnLButtonDown(UINT, CPoint p) { lastDown = p; }
    afx_msg void OnContextMenu(CWnd* wnd, CPoint p) {
        contextWnd = wnd ? wnd->m_hWnd : nullptr;
        contextPoint = p;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RoutingDialog, RoutingBase)
    ON_BN_CLICKED(IDC_GO, OnGo)
    ON_COMMAND_RANGE(IDC_RANGE_FIRST, IDC_RANGE_LAST, OnRange)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_LIST, OnItemChanged)
    ON_NOTIFY(NM_DBLCLK, IDC_LIST, OnDoubleClick)
    ON_REGISTERED_MESSAGE(g_registeredMsg, OnRegistered)
    ON_REGISTERED_BN_CLICKED(g_registeredId, OnRegisteredButton)
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
    ON_WM_LBUTTONDOWN()
    ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dlg.Create(IDD_ROUTING));
        dlg.ShowWindow(SW_SHOW);
        dlg.UpdateWindow();
    }
    void TearDown() override { dlg.DestroyWindow(); }
    void Click(int id) { dlg.GetDlgItem(id)->SendMessage(BM_CLICK); }
    size_t Count(const char* call) const { return size_t(std::count(dlg.calls.begin(), dlg.calls.end(), call)); }

    RoutingDialog dlg;
};

TEST_F(MessageMapTest, ButtonClicksReachDerivedOverridesAndBaseEntries) {
    Click(IDC_GO);
    ASSERT_TRUE(WaitFor([&] { return Count("derived:go") == 1; }));
    EXPECT_EQ(Count("base:go"), 0u); // the derived map's entry hides the base one
    Click(IDC_OTHER);
    ASSERT_TRUE(WaitFor([&] { return Count("base:other") == 1; }));

    Click(1011);
    Click(IDC_RANGE_LAST);
    ASSERT_TRUE(WaitFor([&] { return dlg.rangeIds.size() == 2; }));
    EXPECT_EQ(dlg.rangeIds[0], 1011u);
    EXPECT_EQ(dlg.rangeIds[1], UINT(IDC_RANGE_LAST));

    Click(LOWORD(g_registeredId));
    ASSERT_TRUE(WaitFor([&] { return dlg.registeredClicks == 1; }));
}

TEST_F(MessageMapTest, AcceleratorCommandsMatchButControlCodeOneDoesNot) {
    // An accelerator (code 1, no control) is a command like a click...
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_OTHER, 1), 0);
    EXPECT_EQ(Count("base:other"), 1u);
    // ...a control's own notification code 1 is not.
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_OTHER, 1), LPARAM(dlg.GetDlgItem(IDC_OTHER)->m_hWnd));
    EXPECT_EQ(Count("base:other"), 1u);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_OTHER, BN_DOUBLECLICKED), LPARAM(dlg.GetDlgItem(IDC_OTHER)->m_hWnd));
    EXPECT_EQ(Count("base:other"), 1u);
}

TEST_F(MessageMapTest, ListViewNotificationsByCodeAndControl) {
    dlg.itemChanges.clear();
    dlg.m_list.SetCheck(1, TRUE);
    ASSERT_TRUE(WaitFor([&] {
        for (const NMLISTVIEW& n : dlg.itemChanges)
            if (n.iItem == 1 && (n.uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2)) return true;
        return false;
    }));
    EXPECT_TRUE(dlg.m_list.GetCheck(1));
    EXPECT_FALSE(dlg.m_list.GetCheck(0));
    for (const NMLISTVIEW& n : dlg.itemChanges) EXPECT_EQ(n.hdr.idFrom, UINT_PTR(IDC_LIST));

    // A real double click on row 2 of the list.
    RECT r;
    ASSERT_TRUE(dlg.m_list.GetItemRect(2, &r, LVIR_LABEL));
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    dlg.m_list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    dlg.m_list.SendMessage(WM_LBUTTONUP, 0, at);
    dlg.m_list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    dlg.m_list.SendMessage(WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(WaitFor([&] { return dlg.doubleClicks >= 1; }));
    EXPECT_EQ(dlg.doubleClickItem, 2);
}

TEST_F(MessageMapTest, ApplicationAndRegisteredMessagesReturnTheirResult) {
    // Through DWLP_MSGRESULT, as a dialog returns results.
    EXPECT_EQ(dlg.SendMessage(WM_APP + 5, 30, 12), 42);
    EXPECT_EQ(Count("base:app"), 1u);
    EXPECT_EQ(dlg.SendMessage(g_registeredMsg, 4, 2), 42);
    EXPECT_EQ(Count("derived:registered"), 1u);
    // Another registered message is nobody's.
    UINT other = RegisterWindowMessageA("AfxTests.Unmapped");
    EXPECT_EQ(dlg.SendMessage(other, 4, 2), 0);
    EXPECT_EQ(dlg.calls.size(), 2u);
}

TEST_F(MessageMapTest, TimerMessagesCarryTheirId) {
    dlg.SetTimer(7, 10);
    ASSERT_TRUE(WaitFor([&] { return !dlg.timers.empty(); }));
    dlg.KillTimer(7);
    EXPECT_EQ(dlg.timers.front(), UINT_PTR(7));
}

TEST_F(MessageMapTest, ControlColourHandlerGivesTheBrushForItsControl) {
    CWnd* label = dlg.GetDlgItem(IDC_LABEL);
    HDC hdc = ::GetDC(label->m_hWnd);
    LRESULT brush = dlg.SendMessage(WM_CTLCOLORSTATIC, WPARAM(hdc), LPARAM(label->m_hWnd));
    ::ReleaseDC(label->m_hWnd, hdc);
    EXPECT_EQ(HBRUSH(brush), HBRUSH(dlg.m_labelBrush));
    ASSERT_FALSE(dlg.ctlColors.empty());
    EXPECT_EQ(dlg.ctlColors.back().first, UINT(CTLCOLOR_STATIC));
    EXPECT_EQ(dlg.ctlColors.back().second, label->m_hWnd);

    // Painted for real, the static asks its parent itself.
    dlg.ctlColors.clear();
    label->Invalidate();
    label->UpdateWindow();
    ASSERT_TRUE(WaitFor([&] {
        for (auto& c : dlg.ctlColors)
            if (c.first == CTLCOLOR_STATIC && c.second == label->m_hWnd) return true;
        return false;
    }));
    // The dialog's own background goes to the default handling: a brush, not ours.
    HDC dc = ::GetDC(dlg.m_hWnd);
    LRESULT own = dlg.SendMessage(WM_CTLCOLORDLG, WPARAM(dc), LPARAM(dlg.m_hWnd));
    ::ReleaseDC(dlg.m_hWnd, dc);
    EXPECT_NE(own, 0);
    EXPECT_NE(HBRUSH(own), HBRUSH(dlg.m_labelBrush));
    EXPECT_EQ(dlg.ctlColors.back().first, UINT(CTLCOLOR_DLG));
}

TEST_F(MessageMapTest, OwnerDrawIsReflectedToTheButton) {
    ASSERT_EQ(CWnd::FromHandlePermanent(dlg.GetDlgItem(IDC_OWNERDRAW)->m_hWnd), &dlg.m_owner);
    dlg.m_owner.draws = 0;
    dlg.m_owner.Invalidate();
    dlg.m_owner.UpdateWindow();
    ASSERT_TRUE(WaitFor([&] { return dlg.m_owner.draws > 0; }));
    EXPECT_EQ(dlg.m_owner.drawnId, UINT(IDC_OWNERDRAW));
    EXPECT_EQ(dlg.m_owner.drawnHwnd, dlg.m_owner.m_hWnd);
    // The button took it; the dialog's own WM_DRAWITEM handler never saw it.
    EXPECT_EQ(dlg.dialogDrawItems, 0);
}

TEST_F(MessageMapTest, PointsAndWindowsAreUnpackedWithSign) {
    dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-5, 7));
    EXPECT_EQ(dlg.lastDown.x, -5);
    EXPECT_EQ(dlg.lastDown.y, 7);
    HWND list = dlg.m_list.m_hWnd;
    dlg.SendMessage(WM_CONTEXTMENU, WPARAM(list), MAKELPARAM(-1, -1));
    EXPECT_EQ(dlg.contextWnd, list);
    EXPECT_EQ(dlg.contextPoint.x, -1);
    EXPECT_EQ(dlg.contextPoint.y, -1);
}

// A plain window created by the framework: WM_CREATE already reaches the map.
class PlainWindow : public CWnd {
public:
    int creates = 0, paints = 0, destroys = 0;
    bool postNcDestroy = false;

protected:
    LRESULT WindowProc(UINT message, WPARAM w, LPARAM l) override {
        if (message == WM_CREATE) ++creates;
        return CWnd::WindowProc(message, w, l);
    }
    afx_msg void OnPaint() {
        ++paints;
        CPaintDC dc(this);
        CRect r;
        GetClientRect(&r);
        CMemDC mem(&dc, r);
        mem.FillSolidRect(&r, RGB(10, 20, 30));
    }
    afx_msg void OnDestroy() {
        ++destroys;
        CWnd::OnDestroy();
    }
    void PostNcDestroy() override { postNcDestroy = true; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PlainWindow, CWnd)
    ON_WM_PAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

} // namespace

TEST(WindowTest, CreatedWindowRoutesFromCreationToNcDestroy) {
    PlainWindow wnd;
    RECT r = {10, 10, 110, 80};
    ASSERT_TRUE(wnd.CreateEx(0, "STATIC", "plain", WS_POPUP | WS_VISIBLE, r, nullptr, 0));
    EXPECT_EQ(wnd.creates, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    wnd.Invalidate();
    wnd.UpdateWindow();
    ASSERT_TRUE(WaitFor([&] { return wnd.paints > 0; }));
    // What the off-screen picture drew reached the window.
    HDC dc = ::GetDC(wnd.m_hWnd);
    COLORREF pixel = ::GetPixel(dc, 5, 5);
    ::ReleaseDC(wnd.m_hWnd, dc);
    EXPECT_EQ(pixel, RGB(10, 20, 30));

    HWND h = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.destroys, 1);
    EXPECT_TRUE(wnd.postNcDestroy);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_FALSE(::IsWindow(h));
}
