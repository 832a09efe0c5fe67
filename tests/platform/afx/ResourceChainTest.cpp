// The resource chain: the current resource handle, then the program, then the
// extension libraries in the order they joined (from their DllMain, as the
// suite's resource library does); strings, templates, bitmaps and the caption
// of the framework's message boxes all come through it.
#include "TestApp.h"
#include "afxtest_ids.h"
#include "testsupport.h"
#include "TestThread.h"
#include <gtest/gtest.h>

using testsupport::Ansi;
using testsupport::ProgramDir;
using testsupport::WaitFor;

namespace {

// Loads a test library for one test and unloads it at the end.
class Library {
public:
    explicit Library(const char* name) : m_h(LoadLibraryA((ProgramDir() + name).c_str())) {}
    ~Library() { Free(); }
    void Free() {
        if (m_h) FreeLibrary(m_h);
        m_h = nullptr;
    }
    HMODULE get() const { return m_h; }

private:
    HMODULE m_h;
};

// Puts the module state's resource handle back however a test ends.
class ResourceHandleGuard {
public:
    ResourceHandleGuard() : m_saved(AfxGetModuleState()->m_hCurrentResourceHandle) {}
    ~ResourceHandleGuard() { AfxGetModuleState()->m_hCurrentResourceHandle = m_saved; }

private:
    HINSTANCE m_saved;
};

CString Text(UINT id) {
    CString s;
    if (!s.LoadString(id)) return CString("<missing>");
    return s;
}

std::vector<HMODULE> Chain() {
    std::vector<HMODULE> out;
    for (CDynLinkLibrary* dll = AfxGetModuleState()->m_pFirstDLL; dll; dll = dll->m_pNextDLL)
        out.push_back(dll->m_hModule);
    return out;
}

HINSTANCE StringModule(UINT id) { return AfxFindResourceHandle(MAKEINTRESOURCEA(id / 16 + 1), RT_STRING); }

} // namespace

TEST(ResourceChainTest, ProgramComesBeforeLibrariesAndLibrariesInJoinOrder) {
    ResourceHandleGuard guard;
    Library lib1("afxtest_lib1.dll");
    Library lib2("afxtest_lib2.dll");
    ASSERT_TRUE(lib1.get() && lib2.get());

    std::vector<HMODULE> chain = Chain();
    auto at1 = std::find(chain.begin(), chain.end(), lib1.get());
    auto at2 = std::find(chain.begin(), chain.end(), lib2.get());
    ASSERT_NE(at1, chain.end());
    ASSERT_NE(at2, chain.end());
    EXPECT_LT(at1, at2);

    EXPECT_EQ(Text(IDS_EVERYWHERE), "program copy");
    EXPECT_EQ(Text(IDS_PROGRAM_ONLY), "from the program");
    EXPECT_EQ(Text(IDS_LIB1_ONLY), "only in library 1");
    EXPECT_EQ(Text(IDS_BOTH_LIBS), "library 1 wins");
    EXPECT_EQ(Text(IDS_LIB2_ONLY), "only in library 2");
    // The program holds the block of 501 (for 500) but not the string itself.
    EXPECT_EQ(Text(IDS_NEIGHBOUR), "neighbour in library 1");
    CString missing("unchanged");
    EXPECT_FALSE(missing.LoadString(IDS_MISSING));
    EXPECT_EQ(missing, "unchanged");

    EXPECT_EQ(StringModule(IDS_LIB2_ONLY), lib2.get());
    EXPECT_EQ(StringModule(IDS_LIB1_ONLY), lib1.get());
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEA(IDD_LIBRARY_ONLY), RT_DIALOG), lib1.get());
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEA(IDD_ROUTING), RT_DIALOG), GetModuleHandleA(nullptr));
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEA(4242), RT_DIALOG), nullptr);
    EXPECT_EQ(reinterpret_cast<HMODULE (*)()>(GetProcAddress(lib2.get(), "JoinedModule"))(), lib2.get());
}

TEST(ResourceChainTest, CurrentResourceHandleIsSearchedFirst) {
    ResourceHandleGuard guard;
    Library lib1("afxtest_lib1.dll");
    Library lib2("afxtest_lib2.dll");
    ASSERT_TRUE(lib1.get() && lib2.get());

    AfxSetResourceHandle(lib2.get());
    EXPECT_EQ(AfxGetResourceHandle(), lib2.get());
    EXPECT_EQ(Text(IDS_EVERYWHERE), "library 2 copy");
    EXPECT_EQ(Text(IDS_BOTH_LIBS), "library 2 loses");
    // Then the program, then the rest of the chain.
    EXPECT_EQ(Text(IDS_PROGRAM_AND_LIB1), "program before library 1");
    EXPECT_EQ(Text(IDS_PROGRAM_ONLY), "from the program");
    EXPECT_EQ(Text(IDS_LIB1_ONLY), "only in library 1");
    EXPECT_EQ(StringModule(IDS_EVERYWHERE), lib2.get());
}

TEST(ResourceChainTest, UnloadedLibraryLeavesTheChain) {
    Library lib1("afxtest_lib1.dll");
    Library lib2("afxtest_lib2.dll");
    ASSERT_TRUE(lib1.get() && lib2.get());
    HMODULE gone = lib1.get();
    EXPECT_EQ(Text(IDS_BOTH_LIBS), "library 1 wins");
    lib1.Free();

    std::vector<HMODULE> chain = Chain();
    EXPECT_EQ(std::find(chain.begin(), chain.end(), gone), chain.end());
    EXPECT_EQ(Text(IDS_BOTH_LIBS), "library 2 loses");
    EXPECT_EQ(Text(IDS_LIB1_ONLY), "<missing>");
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEA(IDD_LIBRARY_ONLY), RT_DIALOG), nullptr);
}

TEST(ResourceChainTest, StringsOfAnyLengthAndChineseTexts) {
    CString s = Text(IDS_LONG);
    EXPECT_GT(s.GetLength(), 256);
    EXPECT_EQ(s.Left(10), "0123456789");
    EXPECT_EQ(s.Right(4), "-END");
    EXPECT_EQ(Text(IDS_CHINESE).str(), Ansi(u8"注册表清理"));
}

TEST(ResourceChainTest, TemplatesAndBitmapsOfLibrariesAreFound) {
    Library lib1("afxtest_lib1.dll");
    Library lib2("afxtest_lib2.dll");
    ASSERT_TRUE(lib1.get() && lib2.get());

    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBitmap(IDB_LIB2));
    EXPECT_EQ(bitmap.GetSize().cx, 5);
    EXPECT_EQ(bitmap.GetSize().cy, 3);
    CBitmap none;
    EXPECT_FALSE(none.LoadBitmap(IDB_LIB2 + 1));

    CDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_LIBRARY_ONLY));
    CString caption;
    dlg.GetWindowText(caption);
    EXPECT_EQ(caption, "FromLibrary1");
    EXPECT_NE(dlg.GetDlgItem(IDC_GO), nullptr);
    dlg.DestroyWindow();
    EXPECT_EQ(dlg.m_hWnd, nullptr);

    CDialog missing;
    EXPECT_FALSE(missing.Create(4242));
    CDialog modalMissing(4242);
    EXPECT_EQ(modalMissing.DoModal(), -1);
}

// The message box shows string 57344 of the chain as caption and the text of
// the given string id; a second thread reads it and answers No.
TEST(ResourceChainTest, MessageBoxCaptionAndTextComeFromTheChain) {
    std::string seenText;
    bool answered = false;
    testsupport::Thread user([&] {
        HWND box = nullptr;
        WaitFor([&] { return (box = FindOwnWindow("AfxLite Tests")) != nullptr; }, 10000);
        if (!box) return;
        char text[512] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        seenText = text;
        HWND no = GetDlgItem(box, IDNO);
        if (no) answered = SendMessageA(no, BM_CLICK, 0, 0) == 0;
    });
    int result = AfxMessageBox(IDS_PROGRAM_ONLY, MB_YESNO | MB_ICONQUESTION);
    if (result != IDNO) {
        HWND box = FindOwnWindow("AfxLite Tests");
        if (box) PostMessageA(box, WM_CLOSE, 0, 0);
    }
    user.join();
    EXPECT_TRUE(answered);
    EXPECT_EQ(result, IDNO);
    EXPECT_EQ(seenText, "from the program");
}
