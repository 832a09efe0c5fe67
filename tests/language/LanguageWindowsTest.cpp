// The three tools in both languages, in this process: every window and page,
// driven through its views, shows in English a text wherever it shows one in
// Chinese, English texts are plain ASCII, and no label or button text is wider
// than its control, in either language. Run under an English locale and under the Chinese one
// (whose fonts measure the English texts as well). A real start under the user's
// interface language opens the window of that language, and a second start
// brings it forward.
#include "ControlSurvey.h"
#include "ToolhostRun.h"

#include "host/Language.h"
#include "junkclean/JunkCleanerWnd.h"
#include "regbackup/BackupMainWnd.h"
#include "regbackup/ExclusiveAccessDlg.h"
#include "regclean/RegCleanWindow.h"

#include <gtest/gtest.h>
#include <testsupport.h>
#include <vantor/DlgMainWnd.h>
#include <vantor/System.h>
#include <vantres/ids_backup.h>
#include <vantres/ids_host.h>
#include <vantres/ids_junk.h>
#include <vantres/ids_regclean.h>

#include <shlwapi.h>

#include <memory>
#include <vector>

using namespace langtest;
using testsupport::WaitFor;

namespace {

const char kScratchSettings[] = "Software\\ToolhostTests\\language-windows";

// The resource library as the tools' source and a settings key of the test's own.
class LanguageEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        m_library = ::LoadLibraryA("vantres.dll");
        ASSERT_NE(m_library, nullptr) << "vantres.dll must lie beside the test program";
        AfxSetResourceHandle(m_library);
        m_savedPath = CDlgChildWnd::m_strSettingsPath;
        CDlgChildWnd::m_strSettingsPath = kScratchSettings;
        ::SHDeleteKeyA(HKEY_CURRENT_USER, kScratchSettings);
    }
    void TearDown() override {
        ::SHDeleteKeyA(HKEY_CURRENT_USER, kScratchSettings);
        CDlgChildWnd::m_strSettingsPath = m_savedPath;
        AfxSetResourceLanguage(0);
    }

private:
    HMODULE m_library = nullptr;
    CString m_savedPath;
};

::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new LanguageEnvironment);

// A tool's modal window on a thread of its own, as the host runs it.
template <class Window>
class OpenWindow {
public:
    explicit OpenWindow(int controlId)
        : m_thread([this] {
              std::unique_ptr<Window> window(new Window(nullptr));
              m_window = window.get();
              window->DoModal();
              m_window = nullptr;
          }) {
        WaitFor([&] { return (m_hwnd = FindThreadWindow(m_thread.id(), controlId)) != nullptr; }, 20000);
    }
    ~OpenWindow() {
        if (m_hwnd && ::IsWindow(m_hwnd)) ::PostMessageA(m_hwnd, WM_COMMAND, IDCANCEL, 0);
        m_thread.Join(30000);
    }
    HWND hwnd() const { return m_hwnd; }
    DWORD thread() const { return m_thread.id(); }
    Window* operator->() const { return m_window; }

private:
    Window* volatile m_window = nullptr;
    HWND m_hwnd = nullptr;
    WindowThread m_thread;
};

std::string Loaded(UINT id) { return CString(LoadStringA(id)).str(); }

// Clicks a button and waits until the control `shown` is visible.
bool ClickAndWait(HWND dialog, int button, std::function<HWND()> shown) {
    ClickButton(dialog, button);
    return WaitFor([&] { return Showing(shown()); });
}

void SurveyRegClean(Survey& seen) {
    OpenWindow<RegCleanWindow> w(IDC_RC_START);
    ASSERT_NE(w.hwnd(), nullptr);
    EXPECT_EQ(testsupport::WindowText(w.hwnd()), Loaded(IDS_REGCLEAN_INSTANCE_NAME));
    seen["regclean:caption"].text = testsupport::WindowText(w.hwnd());
    SurveyWindow(w.hwnd(), "regclean", seen);
    ASSERT_TRUE(ClickAndWait(w.hwnd(), IDC_RC_OPTIONS, [&] { return ::GetDlgItem(w.hwnd(), IDC_RC_SECTIONS); }));
    SurveyWindow(w.hwnd(), "regclean-options", seen);
    ASSERT_TRUE(ClickAndWait(w.hwnd(), IDC_RC_UNDO, [&] {
        HWND panel = ::FindWindowExA(w.hwnd(), nullptr, nullptr, nullptr);
        for (; panel; panel = ::FindWindowExA(w.hwnd(), panel, nullptr, nullptr))
            if (::GetDlgItem(panel, IDC_RCU_MERGE)) return ::GetDlgItem(panel, IDC_RCU_MERGE);
        return HWND(nullptr);
    }));
    SurveyWindow(w.hwnd(), "regclean-undo", seen);
}

void SurveyBackup(Survey& seen) {
    {
        OpenWindow<CBackupMainWnd> w(IDC_BK_BACKUP);
        ASSERT_NE(w.hwnd(), nullptr);
        EXPECT_EQ(testsupport::WindowText(w.hwnd()), Loaded(IDS_REGBACKUP_INSTANCE_NAME));
        seen["backup:caption"].text = testsupport::WindowText(w.hwnd());
        SurveyWindow(w.hwnd(), "backup", seen);
        const struct {
            int button;
            int control;
            const char* view;
        } pages[] = {{IDC_BK_BACKUP, IDC_BKP_START, "backup-page"},
                     {IDC_BK_LOCATE, IDC_BKL_BROWSE, "backup-locate"},
                     {IDC_BK_RESTORE, IDC_BKR_RESTORE, "backup-restore"}};
        for (const auto& page : pages) {
            SCOPED_TRACE(page.view);
            ASSERT_TRUE(ClickAndWait(w.hwnd(), page.button, [&] {
                CWnd* current = w->CurrentPage();
                return current && current->m_hWnd ? ::GetDlgItem(current->m_hWnd, page.control) : HWND(nullptr);
            }));
            SurveyWindow(w.hwnd(), page.view, seen);
        }
    }
    // The dialog the backup runs in, before Start.
    HWND dialog = nullptr;
    WindowThread thread([] {
        CExclusiveAccessDlg access(nullptr);
        access.DoModal();
    });
    ASSERT_TRUE(WaitFor([&] { return (dialog = FindThreadWindow(thread.id(), IDC_BKX_STATUS)) != nullptr; }));
    ASSERT_TRUE(WaitFor([&] { return !testsupport::WindowText(::GetDlgItem(dialog, IDC_BKX_STATUS)).empty(); }));
    seen["access:caption"].text = testsupport::WindowText(dialog);
    SurveyWindow(dialog, "access", seen);
    ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(thread.Join(15000));
}

void SurveyJunk(Survey& seen) {
    OpenWindow<CJunkCleanerWnd> w(IDC_JK_START);
    ASSERT_NE(w.hwnd(), nullptr);
    const HWND wnd = w.hwnd();
    EXPECT_EQ(testsupport::WindowText(wnd), Loaded(IDS_JUNK_INSTANCE_NAME));
    seen["junk:caption"].text = testsupport::WindowText(wnd);
    SurveyWindow(wnd, "junk", seen);

    const HWND area = w->OptionArea().m_hWnd;
    ASSERT_TRUE(ClickAndWait(wnd, IDC_JK_OPTIONS, [&] { return area; }));
    for (int page = 0; page < PAGE_COUNT; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        const HWND pageWindow = w->OptionArea().Page(page)->m_hWnd;
        ASSERT_TRUE(ClickAndWait(area, int(w->OptionArea().PageButtonId(page)), [&] { return pageWindow; }));
        SurveyWindow(wnd, "junk-page" + std::to_string(page), seen);
    }

    // The filter dialog, opened by Add on the filters page and cancelled.
    const HWND filters = w->OptionArea().Page(PAGE_FILTERS)->m_hWnd;
    ASSERT_TRUE(ClickAndWait(area, int(w->OptionArea().PageButtonId(PAGE_FILTERS)), [&] { return filters; }));
    ClickButton(filters, IDC_JKO_ADD);
    HWND edit = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (edit = FindThreadWindow(w.thread(), IDC_JKE_MASK)) != nullptr; }));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(edit) != FALSE; }));
    seen["filter:caption"].text = testsupport::WindowText(edit);
    SurveyWindow(edit, "filter", seen);
    ::PostMessageA(edit, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(edit); }));

    // The results view.
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(wnd, 0x8006, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    ASSERT_TRUE(WaitFor([&] { return Showing(::GetDlgItem(wnd, IDC_JK_RESULTS)); }));
    SurveyWindow(wnd, "junk-results", seen);
}

Survey SurveyAll(LANGID language) {
    AfxSetResourceLanguage(language);
    Survey seen;
    SurveyRegClean(seen);
    SurveyBackup(seen);
    SurveyJunk(seen);
    AfxSetResourceLanguage(0);
    return seen;
}

}  // namespace

TEST(LanguageWindows, EveryViewShowsEnglishWhereChineseShowsTextAndEveryTextFits) {
    const Survey english = SurveyAll(kLanguageEnglish);
    if (HasFatalFailure()) return;
    const Survey chinese = SurveyAll(kLanguageChinese);
    if (HasFatalFailure()) return;
    ASSERT_GT(english.size(), 60u) << "the survey saw too few controls";

    for (const auto& entry : chinese) {
        if (entry.second.text.empty()) continue;
        auto found = english.find(entry.first);
        ASSERT_NE(found, english.end()) << entry.first << " is shown only in Chinese";
        EXPECT_FALSE(found->second.text.empty()) << entry.first << " has no English text";
    }
    for (const auto& entry : english) {
        SCOPED_TRACE(entry.first + " \"" + entry.second.text + "\"");
        EXPECT_TRUE(IsAscii(entry.second.text));
        EXPECT_TRUE(entry.second.fits) << entry.second.detail;
        EXPECT_TRUE(entry.second.inside) << entry.second.where;
    }
    // Chinese texts are drawn (and so measured) only under code page 936.
    const bool drawable = ::GetACP() == 936;
    for (const auto& entry : chinese) {
        SCOPED_TRACE(entry.first + " \"" + entry.second.text + "\"");
        if (drawable) {
            EXPECT_TRUE(entry.second.fits) << entry.second.detail;
        }
        EXPECT_TRUE(entry.second.inside) << entry.second.where;
    }
}

// Started as the user starts it, with no "Language" value: the windows come
// in the interface language under the titles the single-instance rule looks
// for, so a second start raises the first window instead of opening another.
TEST(LanguageStart, ToolsOpenInTheInterfaceLanguageAndASecondStartRaisesThem) {
    if (LanguageForInterface(UserInterfaceLanguage()) != kLanguageEnglish)
        GTEST_SKIP() << "the Chinese starts are the single-instance test's";
    hosttest::SavedSettingsKey saved;
    ::SHDeleteValueA(HKEY_CURRENT_USER, hosttest::kSettingsPath, "Language");

    const struct {
        const char* word;
        const char* title;
    } tools[] = {{"regclean", "Registry Cleanup and Repair"}, {"backup", "Registry Backup"},
                 {"sysclean", "Remove Junk Files"}};
    std::vector<std::unique_ptr<testsupport::Process>> running;
    std::vector<HWND> windows;
    for (const auto& tool : tools) {
        running.emplace_back(new testsupport::Process(hosttest::ToolhostCommand(tool.word)));
        windows.push_back(testsupport::WaitForWindow(tool.title, 20000, running.back()->id()));
        ASSERT_NE(windows.back(), nullptr) << "no window titled \"" << tool.title << "\"";
    }

    // Behind another window: a second start brings it to the front and quits.
    ::SetForegroundWindow(windows[1]);
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == windows[1]; }));
    testsupport::Process again(hosttest::ToolhostCommand("regclean"));
    EXPECT_NE(again.Wait(20000), DWORD(STILL_ACTIVE)) << "a second start must quit";
    EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == windows[0]; }))
        << "the running window was not brought to the front";

    // Minimised: a second start restores it.
    ::ShowWindow(windows[2], SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(windows[2]) != FALSE; }));
    testsupport::Process third(hosttest::ToolhostCommand("sysclean"));
    EXPECT_NE(third.Wait(20000), DWORD(STILL_ACTIVE));
    EXPECT_TRUE(WaitFor([&] { return !::IsIconic(windows[2]) && ::IsWindowVisible(windows[2]); }))
        << "the running window was not restored";

    for (size_t i = 0; i < running.size(); ++i) {
        EXPECT_TRUE(running[i]->Running());
        EXPECT_TRUE(hosttest::CloseTool(*running[i], windows[i]));
    }
}

// A "Language" value of Chinese carried to a Windows of another ANSI code page
// (a roaming profile, a copied settings key) would make every text "?": such a
// run is English, and a real start opens the English window.
TEST(LanguageStart, ChineseAskedForWhereItCannotBeDrawnGivesEnglish)
{
    if (::GetACP() == 936) GTEST_SKIP() << "Chinese can be drawn under this code page";
    hosttest::SavedSettingsKey saved;
    hosttest::SetSettingsDword("Language", 0x0804);
    const CString savedPath = CDlgChildWnd::m_strSettingsPath;
    CDlgChildWnd::m_strSettingsPath = hosttest::kSettingsPath;
    ForgetProgramLanguage();
    EXPECT_EQ(kLanguageEnglish, ProgramLanguage());
    ForgetProgramLanguage();
    CDlgChildWnd::m_strSettingsPath = savedPath;

    testsupport::Process run(hosttest::ToolhostCommand("backup"));
    HWND window = testsupport::WaitForWindow("Registry Backup", 20000, run.id());
    ASSERT_NE(window, nullptr) << "the English window did not open";
    EXPECT_EQ(testsupport::WindowText(::GetDlgItem(window, IDC_BK_BACKUP)), "&Backup");
    EXPECT_TRUE(hosttest::CloseTool(run, window));
}
