// The resource language: strings, templates and bitmaps come in the chosen
// language where the chain has them, and in Simplified Chinese (the language
// every resource exists in) where it does not, string by string.
#include "TestApp.h"
#include "afxtest_ids.h"
#include "testsupport.h"
#include <gtest/gtest.h>

using testsupport::Ansi;
using testsupport::ProgramDir;

namespace {

const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

// Library 3 for one test, and the language put back however the test ends.
class LanguageFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = AfxGetResourceLanguage();
        m_lib = LoadLibraryA((ProgramDir() + "afxtest_lib3.dll").c_str());
        ASSERT_NE(m_lib, nullptr);
    }
    void TearDown() override {
        AfxSetResourceLanguage(m_saved);
        if (m_lib) FreeLibrary(m_lib);
    }

    static CString Text(UINT id) {
        CString s;
        return s.LoadString(id) ? s : CString("<missing>");
    }
    static CString Caption(UINT dialogId, CString* button = nullptr) {
        CDialog dlg;
        if (!dlg.Create(dialogId)) return CString("<no dialog>");
        CString caption;
        dlg.GetWindowText(caption);
        if (button && dlg.GetDlgItem(IDC_GO)) dlg.GetDlgItem(IDC_GO)->GetWindowText(*button);
        dlg.DestroyWindow();
        return caption;
    }
    // "width x height" of bitmap 901.
    static std::string BitmapSize() {
        CBitmap bitmap;
        if (!bitmap.LoadBitmap(IDB_LANG)) return "<missing>";
        const CSize size = bitmap.GetSize();
        return std::to_string(size.cx) + " x " + std::to_string(size.cy);
    }

    LANGID m_saved = 0;
    HMODULE m_lib = nullptr;
};

} // namespace

TEST_F(LanguageFixture, EnglishWhereTranslatedAndChineseForTheRest) {
    AfxSetResourceLanguage(kEnglish);
    EXPECT_EQ(Text(IDS_LANG_BOTH), "English");
    // The English block of 1100 lacks 1101: that one string comes in Chinese.
    EXPECT_EQ(Text(IDS_LANG_CHINESE_ONLY).str(), Ansi(u8"只有中文"));

    CString button;
    EXPECT_EQ(Caption(IDD_LANG_BOTH, &button), "English window");
    EXPECT_EQ(button, "Start");
    EXPECT_EQ(Caption(IDD_LANG_CHINESE_ONLY).str(), Ansi(u8"只有中文"));
    EXPECT_EQ(BitmapSize(), "4 x 2");

    // Resources in one language only are found whatever the choice.
    EXPECT_EQ(Text(IDS_PROGRAM_ONLY), "from the program");
}

TEST_F(LanguageFixture, ChineseChosenGivesTheChineseCopies) {
    AfxSetResourceLanguage(kChinese);
    EXPECT_EQ(Text(IDS_LANG_BOTH).str(), Ansi(u8"中文"));
    CString button;
    EXPECT_EQ(Caption(IDD_LANG_BOTH, &button).str(), Ansi(u8"中文窗口"));
    EXPECT_EQ(button.str(), Ansi(u8"开始"));
    EXPECT_EQ(BitmapSize(), "5 x 3");

    // A copy in the chosen language further down the chain wins over the
    // program's copy in another language.
    EXPECT_EQ(Text(IDS_EVERYWHERE).str(), Ansi(u8"库三"));
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEA(IDS_EVERYWHERE / 16 + 1), RT_STRING), m_lib);
}

TEST_F(LanguageFixture, NoChoiceKeepsTheChainOrder) {
    AfxSetResourceLanguage(0);
    EXPECT_EQ(Text(IDS_EVERYWHERE), "program copy");
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEA(IDD_LANG_BOTH), RT_DIALOG), m_lib);
}
