// Dialogs: the framework's modal loop (result, owner disabled and enabled
// again, keys, WM_QUIT), dialog data exchange, Default() doing what the
// dialog manager would, help requests, and child pages inside a top-level
// dialog whose keyboard interface spans them.
#include "TestApp.h"
#include "afxtest_ids.h"
#include "testsupport.h"
#include <gtest/gtest.h>

using testsupport::Ansi;
using testsupport::WaitFor;

namespace {

// The routing template run modally; the test scripts it from a second thread
// the way a user would, with clicks and typed texts.
class DataDialog : public CDialog {
public:
    explicit DataDialog(CWnd* parent) : CDialog(IDD_ROUTING, parent) {}
    CString m_name;
    int m_count = 0;
    int m_flag = 0;
    bool ownerDisabledDuringRun = false;
    std::vector<UINT> sysCommands;
    int cancels = 0, erases = 0;
    BOOL eraseResult = FALSE;

    void OnCancel() override {
        ++cancels;
        CDialog::OnCancel();
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_NAME, m_name);
        DDX_Text(pDX, IDC_COUNT, m_count);
        DDX_Check(pDX, IDC_FLAG, m_flag);
    }
    afx_msg void OnGo() {
        HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
        ownerDisabledDuringRun = owner && !::IsWindowEnabled(owner);
        EndDialog(77);
    }
    afx_msg void OnSysCommand(UINT id, LPARAM l) {
        sysCommands.push_back(id & 0xFFF0);
        CDialog::OnSysCommand(id, l); // the usual behaviour, through Default()
    }
    afx_msg BOOL OnEraseBkgnd(CDC* dc) {
        ++erases;
        eraseResult = CDialog::OnEraseBkgnd(dc);
        return eraseResult;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DataDialog, CDialog)
    ON_BN_CLICKED(IDC_GO, OnGo)
    ON_WM_SYSCOMMAND()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

// Ends a DataDialog with 77, which no test expects from a close.
void Rescue(HWND h) { PostMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_GO, BN_CLICKED), 0); }

void Click(HWND dlg, int id) { SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }

std::string ItemText(HWND dlg, int id) {
    char text[256] = {};
    GetDlgItemTextA(dlg, id, text, sizeof text);
    return text;
}

class ModalTest : public ::testing::Test {
protected:
    void SetUp() override {
        RECT r = {0, 0, 200, 100};
        ASSERT_TRUE(owner.CreateEx(0, "STATIC", "AfxOwner", WS_POPUP | WS_VISIBLE, r, nullptr, 0));
    }
    void TearDown() override { owner.DestroyWindow(); }
    CWnd owner;
};

} // namespace

TEST_F(ModalTest, DoModalReturnsTheEndDialogValueAndEnablesTheOwnerAgain) {
    DataDialog dlg(&owner);
    HWND seen = nullptr;
    {
        User user("AfxRouting", [&](HWND h) {
            seen = h;
            Click(h, IDC_GO);
        }, [](HWND h) { PostMessageA(h, WM_COMMAND, IDCANCEL, 0); });
        EXPECT_EQ(dlg.DoModal(), 77);
    }
    EXPECT_TRUE(dlg.ownerDisabledDuringRun);
    EXPECT_TRUE(owner.IsWindowEnabled());
    ASSERT_NE(seen, nullptr);
    EXPECT_FALSE(::IsWindow(seen));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST_F(ModalTest, DataExchangeRoundTripThroughTheControls) {
    DataDialog dlg(&owner);
    dlg.m_name = Ansi(u8"注册表 清理").c_str();
    dlg.m_count = 12;
    dlg.m_flag = 1;
    std::string shownName, shownCount;
    LRESULT shownFlag = -1;
    bool stayedOpenOnBadNumber = false;
    {
        User user("AfxRouting", [&](HWND h) {
            shownName = ItemText(h, IDC_NAME);
            shownCount = ItemText(h, IDC_COUNT);
            shownFlag = SendDlgItemMessageA(h, IDC_FLAG, BM_GETCHECK, 0, 0);
            SetDlgItemTextA(h, IDC_NAME, "  renamed ");
            SetDlgItemTextA(h, IDC_COUNT, "12x");
            Click(h, IDC_FLAG);
            Click(h, IDOK);
            // A count that is no number keeps the dialog open.
            stayedOpenOnBadNumber = ::IsWindow(h) && ::IsWindowVisible(h);
            SetDlgItemTextA(h, IDC_COUNT, " -34 ");
            Click(h, IDOK);
        }, Rescue);
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }
    EXPECT_EQ(shownName, Ansi(u8"注册表 清理"));
    EXPECT_EQ(shownCount, "12");
    EXPECT_EQ(shownFlag, BST_CHECKED);
    EXPECT_TRUE(stayedOpenOnBadNumber);
    EXPECT_EQ(dlg.m_name, "  renamed ");
    EXPECT_EQ(dlg.m_count, -34);
    EXPECT_EQ(dlg.m_flag, 0);
}

TEST_F(ModalTest, SysCloseHandlerCallingTheBaseStillCloses) {
    DataDialog dlg(&owner);
    {
        User user("AfxRouting", [&](HWND h) { PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0); }, Rescue);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
    ASSERT_EQ(dlg.sysCommands.size(), 1u);
    EXPECT_EQ(dlg.sysCommands[0], UINT(SC_CLOSE));
    EXPECT_EQ(dlg.cancels, 1);
}

TEST_F(ModalTest, CloseAndEscapeEndWithCancel) {
    DataDialog closed(&owner);
    {
        User user("AfxRouting", [&](HWND h) { PostMessageA(h, WM_CLOSE, 0, 0); }, Rescue);
        EXPECT_EQ(closed.DoModal(), IDCANCEL);
    }
    EXPECT_EQ(closed.cancels, 1);

    // Escape typed into the name box reaches the dialog manager through the modal loop.
    DataDialog escaped(&owner);
    {
        User user("AfxRouting", [&](HWND h) {
            HWND edit = GetDlgItem(h, IDC_NAME);
            PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageA(edit, WM_KEYUP, VK_ESCAPE, LPARAM(0xC0010001));
        }, Rescue);
        EXPECT_EQ(escaped.DoModal(), IDCANCEL);
    }
    EXPECT_EQ(escaped.cancels, 1);
}

TEST_F(ModalTest, QuitMessageEndsTheLoopAndIsPostedAgain) {
    DataDialog dlg(&owner);
    {
        User user("AfxRouting", [&](HWND h) {
            DWORD thread = GetWindowThreadProcessId(h, nullptr);
            PostThreadMessageA(thread, WM_QUIT, 5, 0);
        }, Rescue);
        EXPECT_EQ(dlg.DoModal(), -1);
    }
    EXPECT_TRUE(owner.IsWindowEnabled());
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, WPARAM(5));
}

TEST(DialogTest, EraseHandlerCallingTheBaseErases) {
    DataDialog dlg(nullptr);
    ASSERT_TRUE(dlg.Create(IDD_ROUTING));
    dlg.ShowWindow(SW_SHOW);
    dlg.UpdateWindow();
    CClientDC dc(&dlg);
    CRect client;
    dlg.GetClientRect(&client);
    CRect spot(client.right - 6, client.bottom / 2, client.right - 2, client.bottom / 2 + 4);
    dc.FillSolidRect(&spot, RGB(255, 0, 0));
    ASSERT_EQ(dc.GetPixel(spot.left + 1, spot.top + 1), RGB(255, 0, 0));
    dlg.erases = 0;
    dlg.SendMessage(WM_ERASEBKGND, WPARAM(dc.m_hDC));
    EXPECT_EQ(dlg.erases, 1);
    EXPECT_TRUE(dlg.eraseResult);
    EXPECT_NE(dc.GetPixel(spot.left + 1, spot.top + 1), RGB(255, 0, 0));
    dlg.DestroyWindow();
}

namespace {

// A page: a child dialog (WS_CHILD | DS_CONTROL) living inside HostDialog.
class PageDialog : public CDialog {
public:
    int clicks = 0;
    std::vector<std::string>* trail = nullptr;
    BOOL PreTranslateMessage(MSG* msg) override {
        if (trail && msg->message == WM_KEYDOWN) trail->push_back("page");
        return CDialog::PreTranslateMessage(msg);
    }

protected:
    afx_msg void OnPageButton() { ++clicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PageDialog, CDialog)
    ON_BN_CLICKED(IDC_PAGE_BUTTON, OnPageButton)
END_MESSAGE_MAP()

class HostDialog : public CDialog {
public:
    PageDialog page;
    int hostClicks = 0, pageClicksSeenByHost = 0;
    std::vector<std::string> trail;
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (!page.Create(IDD_PAGE, this)) return TRUE;
        page.SetWindowPos(nullptr, 10, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        page.ShowWindow(SW_SHOW);
        page.trail = &trail;
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN) trail.push_back("host");
        return CDialog::PreTranslateMessage(msg);
    }

protected:
    afx_msg void OnHostButton() { ++hostClicks; }
    afx_msg void OnPageButtonAtHost() { ++pageClicksSeenByHost; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HostDialog, CDialog)
    ON_BN_CLICKED(IDC_HOST_BUTTON, OnHostButton)
    ON_BN_CLICKED(IDC_PAGE_BUTTON, OnPageButtonAtHost)
END_MESSAGE_MAP()

void Tab(HWND from) {
    PostMessageA(from, WM_KEYDOWN, VK_TAB, 0x000F0001);
    PostMessageA(from, WM_KEYUP, VK_TAB, LPARAM(0xC00F0001));
}

} // namespace

TEST(ChildDialogTest, PageRoutesItsOwnControlsInsideTheHost) {
    HostDialog host;
    ASSERT_TRUE(host.Create(IDD_HOST));
    host.ShowWindow(SW_SHOW);
    ASSERT_NE(host.page.m_hWnd, nullptr);
    EXPECT_EQ(::GetParent(host.page.m_hWnd), host.m_hWnd);
    EXPECT_TRUE(host.page.GetStyle() & WS_CHILD);

    ::SendMessageA(::GetDlgItem(host.page.m_hWnd, IDC_PAGE_BUTTON), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return host.page.clicks == 1; }));
    EXPECT_EQ(host.pageClicksSeenByHost, 0); // the page's control notifies the page
    ::SendMessageA(::GetDlgItem(host.m_hWnd, IDC_HOST_BUTTON), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return host.hostClicks == 1; }));

    host.DestroyWindow();
    EXPECT_EQ(host.page.m_hWnd, nullptr);
}

TEST(ChildDialogTest, TabCrossesIntoThePageWhilePendingMessagesArePumped) {
    HostDialog host;
    ASSERT_TRUE(host.Create(IDD_HOST));
    host.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(host.m_hWnd);
    HWND hostButton = ::GetDlgItem(host.m_hWnd, IDC_HOST_BUTTON);
    HWND cancel = ::GetDlgItem(host.m_hWnd, IDCANCEL);
    HWND pageEdit = ::GetDlgItem(host.page.m_hWnd, IDC_PAGE_EDIT);
    ::SetFocus(hostButton);
    ASSERT_EQ(::GetFocus(), hostButton);

    Tab(::GetFocus());
    EXPECT_TRUE(AfxPumpPendingMessages());
    EXPECT_EQ(::GetFocus(), cancel);
    Tab(::GetFocus());
    EXPECT_TRUE(AfxPumpPendingMessages());
    EXPECT_EQ(::GetFocus(), pageEdit);
    Tab(::GetFocus());
    EXPECT_TRUE(AfxPumpPendingMessages());
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(host.page.m_hWnd, IDC_PAGE_BUTTON));

    // Keys for the host's own controls go to the host; the one typed in the
    // page went past the page's PreTranslateMessage first.
    std::vector<std::string> expected = {"host", "host", "page", "host"};
    EXPECT_EQ(host.trail, expected);
    host.DestroyWindow();
}

TEST(ChildDialogTest, HelpRequestReachesTheApplicationOnce) {
    HostDialog host;
    ASSERT_TRUE(host.Create(IDD_HOST));
    TestApp& app = theTestApp();
    int before = app.helpCalls;
    HELPINFO info = {sizeof info, HELPINFO_WINDOW, IDC_PAGE_EDIT,
                     ::GetDlgItem(host.page.m_hWnd, IDC_PAGE_EDIT), 0, {0, 0}};
    host.page.SendMessage(WM_HELP, 0, LPARAM(&info));
    EXPECT_EQ(app.helpCalls, before + 1);
    EXPECT_EQ(app.lastHelpData, DWORD_PTR(0));
    EXPECT_EQ(app.lastHelpCommand, UINT(HELP_CONTEXT));
    host.SendMessage(WM_HELP, 0, LPARAM(&info));
    EXPECT_EQ(app.helpCalls, before + 2);
    host.DestroyWindow();
}

// F1 typed on the keyboard (real input, through the framework's pump) is a
// help request the dialog does not handle: the application's WinHelp gets it.
TEST(ChildDialogTest, F1KeyAsksTheApplicationForHelp) {
    HostDialog host;
    ASSERT_TRUE(host.Create(IDD_HOST));
    host.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(host.m_hWnd);
    ::SetFocus(::GetDlgItem(host.page.m_hWnd, IDC_PAGE_EDIT));
    ASSERT_EQ(::GetFocus(), ::GetDlgItem(host.page.m_hWnd, IDC_PAGE_EDIT));
    TestApp& app = theTestApp();
    const int before = app.helpCalls;
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_F1;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(2, keys, sizeof(INPUT)), 2u);
    const DWORD start = GetTickCount();
    while (app.helpCalls == before && GetTickCount() - start < 5000) {
        AfxPumpPendingMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    EXPECT_EQ(app.helpCalls, before + 1);
    EXPECT_EQ(app.lastHelpCommand, UINT(HELP_CONTEXT));
    host.DestroyWindow();
}
