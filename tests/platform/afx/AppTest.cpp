// The application object's life as the entry drives it, the command-line
// walk, and the owner the framework's message boxes get.
#include "TestApp.h"
#include "afxtest_ids.h"
#include "testsupport.h"
#include <gtest/gtest.h>
#include <fstream>

using testsupport::ProgramDir;
using testsupport::ReadFileBytes;
using testsupport::RunProgram;
using testsupport::ScratchDir;
using testsupport::WaitFor;

TEST(AppTest, FailedInitInstanceEndsWithExitInstancesCode) {
    TestApp& app = theTestApp();
    EXPECT_EQ(AfxGetApp(), &app);
    app.order.clear();
    app.mode = TestApp::Mode::Fail;
    EXPECT_EQ(AfxWinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOW), 9);
    EXPECT_EQ(app.order, (std::vector<std::string>{"init", "exit"}));
    EXPECT_EQ(app.m_hInstance, GetModuleHandleA(nullptr));
    EXPECT_EQ(AfxGetInstanceHandle(), GetModuleHandleA(nullptr));
}

TEST(AppTest, SuccessfulInitInstanceRunsTheLoopUntilQuit) {
    TestApp& app = theTestApp();
    HRESULT before = OleInitialize(nullptr);
    if (SUCCEEDED(before)) OleUninitialize();
    app.order.clear();
    app.mode = TestApp::Mode::RunToQuit;
    EXPECT_EQ(AfxWinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>("x"), SW_SHOW), 4);
    app.mode = TestApp::Mode::Fail;
    EXPECT_EQ(app.order, (std::vector<std::string>{"init", "run", "exit"}));
    EXPECT_STREQ(app.m_lpCmdLine, "x");
    if (before == S_OK) {
        // AfxOleInit in InitInstance was balanced on the way out.
        HRESULT after = OleInitialize(nullptr);
        EXPECT_EQ(after, S_OK);
        if (SUCCEEDED(after)) OleUninitialize();
    }
}

namespace {

class RecordingInfo : public CCommandLineInfo {
public:
    void ParseParam(const char* param, BOOL flag, BOOL last) override {
        seen += std::string(flag ? "flag:" : "text:") + param + (last ? "(last)" : "") + "\n";
        CCommandLineInfo::ParseParam(param, flag, last);
    }
    std::string seen;
};

} // namespace

// Started by the test below with AFXTEST_PARSE_OUT set, the program only
// writes down how the framework walked its command line, then ends.
const bool g_commandLineChild = [] {
    char out[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("AFXTEST_PARSE_OUT", out, MAX_PATH)) return false;
    RecordingInfo info;
    CWinApp().ParseCommandLine(info);
    std::ofstream(out, std::ios::binary) << info.seen << "file=" << info.m_strFileName.GetString()
                                         << " splash=" << info.m_bShowSplash;
    ExitProcess(0);
}();

TEST(CommandLineTest, ArgumentsArePassedOneByOneWithFlagsStripped) {
    ScratchDir dir("afx-cmdline");
    const std::string out = dir / "parsed.txt";
    SetEnvironmentVariableA("AFXTEST_PARSE_OUT", out.c_str());
    DWORD code = RunProgram("\"" + ProgramDir() + "afx_tests.exe\" regclean /nologo \"two words\" -x");
    SetEnvironmentVariableA("AFXTEST_PARSE_OUT", nullptr);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(ReadFileBytes(out),
              "text:regclean\nflag:nologo\ntext:two words\nflag:x(last)\nfile=regclean splash=0");
}

TEST(MessageBoxTest, OwnedByTheMainWindowWhileItIsEnabled) {
    CWnd main, other;
    RECT r = {0, 0, 120, 80};
    ASSERT_TRUE(main.CreateEx(0, "STATIC", "AfxMain", WS_POPUP | WS_VISIBLE, r, nullptr, 0));
    ASSERT_TRUE(other.CreateEx(0, "STATIC", "AfxOther", WS_POPUP | WS_VISIBLE, r, nullptr, 0));
    TestApp& app = theTestApp();
    app.m_pMainWnd = &main;

    auto ownerOfBox = [](const char* text) {
        HWND owner = reinterpret_cast<HWND>(-1);
        User user("AfxLite Tests", [&](HWND box) {
            owner = ::GetWindow(box, GW_OWNER);
            ::SendMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        });
        AfxMessageBox(text, MB_OK);
        return owner;
    };
    EXPECT_EQ(ownerOfBox("enabled main window"), main.m_hWnd);

    main.EnableWindow(FALSE);
    ::SetActiveWindow(other.m_hWnd);
    ASSERT_EQ(::GetActiveWindow(), other.m_hWnd);
    EXPECT_EQ(ownerOfBox("disabled main window"), other.m_hWnd);

    app.m_pMainWnd = nullptr;
    main.DestroyWindow();
    other.DestroyWindow();
}

TEST(FileDialogTest, OpenDialogGivesTheChosenPath) {
    ScratchDir dir("afx-filedlg");
    const std::string target = dir / "pick.reg";
    ASSERT_TRUE(testsupport::WriteFileBytes(target, "REGEDIT4\r\n"));
    CFileDialog dlg(TRUE, "reg", nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, "Registry files|*.reg||");
    dlg.m_ofn.lpstrTitle = "AfxPick";
    dlg.m_ofn.lpstrInitialDir = dir.path().c_str();
    INT_PTR result = 0;
    {
        User user("AfxPick", [&](HWND h) {
            // The name box is an edit (edt1) or a combo box (cmb13) depending on the dialog style.
            HWND name = ::GetDlgItem(h, 0x480);
            if (!name) name = ::GetDlgItem(h, 0x47C);
            ::SetWindowTextA(name, target.c_str());
            ::PostMessageA(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(::GetDlgItem(h, IDOK)));
        }, [](HWND h) { ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0); });
        result = dlg.DoModal();
    }
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(lstrcmpiA(dlg.GetPathName(), target.c_str()), 0);
    EXPECT_EQ(dlg.GetFileName(), "pick.reg");
}
