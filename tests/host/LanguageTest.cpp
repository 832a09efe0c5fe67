// The language of a run: the settings value "Language" when it names Chinese
// or English, else the user's interface language; a real start of the
// program follows the value.
#include "ToolhostRun.h"

#include "host/Language.h"

#include <gtest/gtest.h>
#include <vantor/DlgMainWnd.h>

#include <shlwapi.h>

using namespace testsupport;
using namespace hosttest;

namespace {

// The program's settings key for this test process, and the choice forgotten
// before and after.
class LanguageChoice : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedPath = CDlgChildWnd::m_strSettingsPath;
        CDlgChildWnd::m_strSettingsPath = kSettingsPath;
        ForgetProgramLanguage();
    }
    void TearDown() override {
        ForgetProgramLanguage();
        CDlgChildWnd::m_strSettingsPath = m_savedPath;
    }
    static LANGID ChooseAgain() {
        ForgetProgramLanguage();
        return ProgramLanguage();
    }

    SavedSettingsKey m_saved;
    CString m_savedPath;
};

}  // namespace

TEST(LanguageForInterface, AnyChineseGivesChineseAndEverythingElseEnglish)
{
    for (LANGID chinese : {0x0804, 0x0404, 0x0C04, 0x1004, 0x1404})
        EXPECT_EQ(kLanguageChinese, LanguageForInterface(chinese)) << std::hex << chinese;
    for (LANGID other : {0x0409, 0x0809, 0x0407, 0x0411, 0x0412, 0x0000})
        EXPECT_EQ(kLanguageEnglish, LanguageForInterface(other)) << std::hex << other;
}

TEST_F(LanguageChoice, SettingsValueWinsOverTheInterfaceLanguage)
{
    ::SHDeleteValueA(HKEY_CURRENT_USER, kSettingsPath, "Language");
    const LANGID fromInterface = LanguageForInterface(UserInterfaceLanguage());
    EXPECT_EQ(fromInterface, ChooseAgain());

    // Either language, whichever the interface has.
    SetSettingsDword("Language", 0x0409);
    EXPECT_EQ(kLanguageEnglish, ChooseAgain());
    SetSettingsDword("Language", 0x0804);
    EXPECT_EQ(kLanguageChinese, ChooseAgain());

    // The choice is kept for the run: a change in between has no effect.
    SetSettingsDword("Language", 0x0409);
    EXPECT_EQ(kLanguageChinese, ProgramLanguage());

    // Languages the resources do not have, and values of another type, are ignored.
    SetSettingsDword("Language", 0x0407);
    EXPECT_EQ(fromInterface, ChooseAgain());
    SetSettingsString("Language", "1033");
    EXPECT_EQ(fromInterface, ChooseAgain());
}

// The value changes what a real start shows: the window of the other
// language opens, with the caption that the single-instance rule looks for.
TEST_F(LanguageChoice, LanguageValueSwitchesARunToTheOtherLanguage)
{
    const bool interfaceChinese = LanguageForInterface(UserInterfaceLanguage()) == kLanguageChinese;
    SetSettingsDword("Language", interfaceChinese ? 0x0409 : 0x0804);
    const std::string title = interfaceChinese ? "Registry Backup" : BackupTitle();
    const std::string other = interfaceChinese ? BackupTitle() : "Registry Backup";

    Process first(ToolhostCommand("backup"));
    HWND window = WaitForWindow(title, 20000, first.id());
    ASSERT_NE(window, nullptr) << "no window titled \"" << title << "\"";
    EXPECT_EQ(FindToolWindow(other, first.id()), nullptr);
    if (interfaceChinese) {
        EXPECT_EQ(WindowText(::GetDlgItem(window, 1054)), "&Backup");
        EXPECT_EQ(WindowText(::GetDlgItem(window, 1059)), "E&xit");
    }

    // A second start in the same language finds it and gives up.
    Process again(ToolhostCommand("backup"));
    EXPECT_NE(again.Wait(20000), DWORD(STILL_ACTIVE));
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(CloseTool(first, window));
}
