// The junk cleaner's main window, opened in this process on a window
// thread of its own and driven by messages: views, scan with Start and
// Stop, sorting, the option pages and the move-folder fallback.
#include "JunkTestSupport.h"
#include "JunkUiSupport.h"
#include "testsupport.h"

#include "junkclean/JunkCleanerWnd.h"

#include <shlwapi.h>
#include "host/HostServices.h"

#include <vantres/ids_host.h>
#include <vantres/ids_junk.h>

#include <commctrl.h>
#include <cstdio>
#include <cstdlib>

using namespace junktest;
using testsupport::WaitFor;

namespace {

::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new JunkEnvironment);

std::string Path() { return JunkEnvironment::SettingsPath(); }
void PutText(const char* name, const std::string& text) {
    SHSetValueA(HKEY_CURRENT_USER, Path().c_str(), name, REG_SZ, text.c_str(), DWORD(text.size() + 1));
}
void PutDword(const char* name, DWORD v) { SHSetValueA(HKEY_CURRENT_USER, Path().c_str(), name, REG_DWORD, &v, 4); }
DWORD GetDword(const char* name, const std::string& key = Path()) {
    DWORD v = 0xFFFFFFFF, size = 4;
    SHGetValueA(HKEY_CURRENT_USER, key.c_str(), name, NULL, &v, &size);
    return v;
}
std::string GetText(const char* name) {
    char text[256] = {};
    DWORD size = sizeof text;
    SHGetValueA(HKEY_CURRENT_USER, Path().c_str(), name, NULL, text, &size);
    return text;
}
// The window's own visible flag (a page inside a hidden container still has it).
bool Shown(HWND hwnd) { return (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }
std::string Filters() { return JunkEnvironment::SubKey("SrchFilters"); }
std::string FilterBytes() {
    DWORD size = 0;
    if (SHGetValueA(HKEY_CURRENT_USER, Filters().c_str(), "JunkFileFilters", NULL, NULL, &size)) return "";
    std::string data(size, '\0');
    SHGetValueA(HKEY_CURRENT_USER, Filters().c_str(), "JunkFileFilters", NULL, &data[0], &size);
    return data;
}
std::string Text(UINT id) {
    CString t = LoadTextById(id);
    return t.str();
}

// The main window on its own thread, as the host runs it (modal).
class JunkWindow {
public:
    JunkWindow()
        : m_ui([this] {
              CJunkCleanerWnd wnd;
              m_wnd = &wnd;
              wnd.DoModal();
              m_wnd = nullptr;
          }) {}
    ~JunkWindow() { Close(); }
    // The window once it is up (after any start-up message).
    HWND Wait() {
        WaitFor([&] { return (m_hwnd = FindThreadDialog(m_ui.id(), IDC_JK_START)) != NULL; }, 20000);
        return m_hwnd;
    }
    void Close() {
        if (m_hwnd && IsWindow(m_hwnd)) Click(m_hwnd, IDC_JK_EXIT);
        m_ui.Join(60000);
    }
    CJunkCleanerWnd* operator->() { return m_wnd; }
    HWND hwnd() const { return m_hwnd; }
    HWND Item(int id) const { return GetDlgItem(m_hwnd, id); }
    DWORD thread() const { return m_ui.id(); }
    HWND Page(int page) { return m_wnd->OptionArea().Page(page)->m_hWnd; }
    bool ScanDone() { return m_wnd && !m_wnd->ScanInProgress() && m_wnd->WalksStarted() > 0; }
    // Start, and the walk to its end.
    bool Scan() {
        Click(m_hwnd, IDC_JK_START);
        return WaitFor([&] { return ScanDone(); }, 60000);
    }

private:
    CJunkCleanerWnd* volatile m_wnd = nullptr;
    HWND m_hwnd = NULL;
    UiThread m_ui;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        JunkEnvironment::ClearSettings();
        PutText("DriveList", "N");  // only the network drive, whose folders the tests own
    }
    void TearDown() override { JunkEnvironment::ClearSettings(); }
};

// Rows of the list whose path lies below folder, in list order.
std::vector<std::string> RowsBelow(HWND list, const std::string& folder) {
    std::vector<std::string> out;
    for (int i = 0; i < ItemCount(list); ++i) {
        std::string p = ItemText(list, i, 0);
        if (StrCmpNIA(p.c_str(), (folder + "\\").c_str(), int(folder.size() + 1)) == 0) out.push_back(p);
    }
    return out;
}
int RowOf(HWND list, const std::string& path) {
    for (int i = 0; i < ItemCount(list); ++i)
        if (lstrcmpiA(ItemText(list, i, 0).c_str(), path.c_str()) == 0) return i;
    return -1;
}
// A right press inside the heading area (the band at the top right of the window).
void HeadingPress(HWND wnd) {
    RECT client;
    GetClientRect(wnd, &client);
    PostMessageA(wnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(client.right - 100, 60));
}

TEST_F(WindowTest, ViewsAndTheOptionButton) {
    JunkWindow w;
    HWND wnd = w.Wait();
    ASSERT_TRUE(wnd != NULL);
    EXPECT_EQ(Text(IDS_JUNK_INSTANCE_NAME), testsupport::WindowText(wnd));
    HWND intro = w->Intro().m_hWnd, area = w->OptionArea().m_hWnd;
    EXPECT_TRUE(IsWindowVisible(intro));
    EXPECT_FALSE(IsWindowVisible(area));
    EXPECT_FALSE(Visible(wnd, IDC_JK_RESULTS));
    EXPECT_FALSE(Visible(wnd, IDC_JK_DELETE));
    EXPECT_EQ(" ", ControlText(wnd, IDC_JK_STATUS));
    EXPECT_EQ(Text(IDS_WAIT), ControlText(wnd, IDC_JK_LABEL));

    Click(wnd, IDC_JK_OPTIONS);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(area) != FALSE; }));
    EXPECT_FALSE(IsWindowVisible(intro));
    EXPECT_FALSE(Visible(wnd, IDC_JK_RESULTS));
    EXPECT_EQ(Text(IDS_JK_HIDE_OPTIONS), ControlText(wnd, IDC_JK_OPTIONS));

    // Enter or Escape in the option area sends 0x8006: the results come back, the button stays.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(wnd, 0x8006, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    EXPECT_FALSE(IsWindowVisible(area));
    EXPECT_TRUE(Visible(wnd, IDC_JK_RESULTS));
    EXPECT_TRUE(Visible(wnd, IDC_JK_STATUS));
    EXPECT_TRUE(w->JunkOptionsShown());
    EXPECT_EQ(Text(IDS_JK_HIDE_OPTIONS), ControlText(wnd, IDC_JK_OPTIONS));

    Click(wnd, IDC_JK_OPTIONS);  // the flag was still set: now hidden
    ASSERT_TRUE(WaitFor([&] { return ControlText(wnd, IDC_JK_OPTIONS) == Text(IDS_JK_SHOW_OPTIONS); }));
    EXPECT_FALSE(IsWindowVisible(area));
    EXPECT_TRUE(Visible(wnd, IDC_JK_RESULTS));

    // The heading area switches between the introduction and the results.
    HeadingPress(wnd);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(intro) != FALSE; }));
    EXPECT_FALSE(Visible(wnd, IDC_JK_RESULTS));
    HeadingPress(wnd);
    ASSERT_TRUE(WaitFor([&] { return Visible(wnd, IDC_JK_RESULTS); }));
    EXPECT_FALSE(IsWindowVisible(intro));

    SendMessageTimeoutA(wnd, 0x8028, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    EXPECT_EQ(1u, result);

    // The container's buttons: the third shows the folders page; again changes nothing.
    const UINT foldersButton = w->OptionArea().PageButtonId(PAGE_FOLDERS);
    EXPECT_EQ(RegisterWindowMessageA("msg_SCO_BTN_CLICK_FOLDER_OPT") & 0xFFFF, foldersButton);
    EXPECT_TRUE(Shown(w.Page(PAGE_DRIVES)));
    for (int i = 0; i < 2; ++i) {
        Click(area, int(foldersButton));
        ASSERT_TRUE(WaitFor([&] { return Shown(w.Page(PAGE_FOLDERS)); }));
        EXPECT_FALSE(Shown(w.Page(PAGE_DRIVES)));
    }
}

// The views share one column that keeps the same margin from the window's
// right edge as from the left column of the background (172 pixels wide):
// no blank strip at the right.
TEST_F(WindowTest, TheViewsReachTheWindowsRightMargin) {
    JunkWindow w;
    HWND wnd = w.Wait();
    ASSERT_TRUE(wnd != NULL);
    RECT client;
    GetClientRect(wnd, &client);
    const auto place = [&](HWND control) {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(NULL, wnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const RECT list = place(w.Item(IDC_JK_RESULTS));
    const int margin = list.left - 172;
    ASSERT_GT(margin, 0);
    for (HWND view : {w.Item(IDC_JK_RESULTS), w.Item(IDC_JK_STATUS), w.Item(IDC_JK_DELETE), w->Intro().m_hWnd,
                      w->OptionArea().m_hWnd}) {
        const RECT r = place(view);
        EXPECT_EQ(client.right - margin, r.right) << "control " << GetDlgCtrlID(view);
    }
}

TEST_F(WindowTest, ScanListsSortsAndDeletes) {
    TempTree tree("N:\\jk-win-scan");
    ASSERT_TRUE(tree.File("b.tmp", 2500));
    ASSERT_TRUE(tree.File("a.bak", 10240));
    ASSERT_TRUE(tree.File("c.old", 10));
    ASSERT_TRUE(tree.File("keep.txt", 10));
    JunkWindow w;
    HWND wnd = w.Wait();
    ASSERT_TRUE(wnd != NULL);
    HWND list = w.Item(IDC_JK_RESULTS);
    ASSERT_TRUE(w.Scan());
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(w.Item(IDC_JK_DELETE)) != FALSE; }));
    EXPECT_TRUE(Visible(wnd, IDC_JK_RESULTS));
    EXPECT_TRUE(IsWindowEnabled(w.Item(IDC_JK_OPTIONS)));
    EXPECT_EQ(" ", ControlText(wnd, IDC_JK_LABEL));

    std::vector<std::string> ours = RowsBelow(list, tree.path());
    ASSERT_EQ(3u, ours.size());
    int b = RowOf(list, tree / "b.tmp");
    ASSERT_GE(b, 0);
    EXPECT_EQ(Text(IDS_JK_REASON_MASK), ItemText(list, b, 1));
    EXPECT_EQ("2 KB", ItemText(list, b, 2));
    EXPECT_EQ("0 KB", ItemText(list, RowOf(list, tree / "c.old"), 2));
    EXPECT_FALSE(ItemText(list, b, 3).empty());

    // The summary counts the rows and their kilobytes (a file under 1 KB counts 1).
    unsigned kb = 0;
    for (int i = 0; i < ItemCount(list); ++i) {
        unsigned n = unsigned(std::strtoul(ItemText(list, i, 2).c_str(), NULL, 10));
        kb += n ? n : 1;
    }
    char summary[512];
    wsprintfA(summary, Text(IDS_JK_SUMMARY).c_str(), ItemCount(list), kb);
    EXPECT_EQ(summary, ControlText(wnd, IDC_JK_STATUS));

    // Header clicks sort by the column's text: a left click flips the direction.
    ColumnClick(wnd, 0);
    EXPECT_EQ(0, w->SortColumn());
    EXPECT_TRUE(w->SortAscending());
    ours = RowsBelow(list, tree.path());
    EXPECT_EQ((std::vector<std::string>{tree / "a.bak", tree / "b.tmp", tree / "c.old"}), ours);
    ColumnClick(wnd, 0);
    EXPECT_FALSE(w->SortAscending());
    ours = RowsBelow(list, tree.path());
    EXPECT_EQ((std::vector<std::string>{tree / "c.old", tree / "b.tmp", tree / "a.bak"}), ours);
    // Sizes sort as text too: "10 KB" before "2 KB".
    ColumnClick(wnd, 2);
    EXPECT_TRUE(w->SortAscending());
    EXPECT_LT(RowOf(list, tree / "a.bak"), RowOf(list, tree / "b.tmp"));

    // Tick all, untick all, then Delete removes only the ticked file. N: keeps no
    // Recycle Bin, so the removal asks first before deleting it for good.
    Click(wnd, IDC_JK_SELECT_ALL);
    ASSERT_TRUE(WaitFor([&] { return Checked(list, ItemCount(list) - 1); }));
    for (int i = 0; i < ItemCount(list); ++i) EXPECT_TRUE(Checked(list, i));
    Click(wnd, IDC_JK_SELECT_NONE);
    ASSERT_TRUE(WaitFor([&] { return !Checked(list, 0); }));
    SetChecked(list, RowOf(list, tree / "a.bak"), true);
    Click(wnd, IDC_JK_DELETE);
    HWND progress = NULL;
    ASSERT_TRUE(WaitFor([&] { return (progress = FindThreadDialog(w.thread(), IDC_JKD_PROGRESS)) != NULL; }));
    HWND question = WaitForMessageBox(20000);
    ASSERT_TRUE(question != NULL);
    Press(question, IDYES);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(progress); }, 30000));
    ASSERT_TRUE(WaitFor([&] { return Visible(wnd, IDC_JK_RESULTS); }));
    EXPECT_EQ(GetFileAttributesA((tree / "a.bak").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(-1, RowOf(list, tree / "a.bak"));
    EXPECT_GE(RowOf(list, tree / "b.tmp"), 0);
    EXPECT_EQ(summary, ControlText(wnd, IDC_JK_STATUS));  // the summary stays
}

// A double click on a result opens the file's properties where the system
// has that sheet; where it has not (here), nothing shows: no error box.
TEST_F(WindowTest, DoubleClickOnAResultShowsNoErrorBox) {
    TempTree tree("N:\\jk-win-dblclk");
    ASSERT_TRUE(tree.File("a.tmp", 10));
    JunkWindow w;
    HWND wnd = w.Wait();
    ASSERT_TRUE(wnd != NULL);
    HWND list = w.Item(IDC_JK_RESULTS);
    ASSERT_TRUE(w.Scan());
    const int row = RowOf(list, tree / "a.tmp");
    ASSERT_GE(row, 0);
    SelectItem(list, row);
    NMITEMACTIVATE click;
    ZeroMemory(&click, sizeof click);
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = IDC_JK_RESULTS;
    click.hdr.code = NM_DBLCLK;
    click.iItem = row;
    // The window handles the click on its own thread; a box it shows holds that call up.
    DWORD_PTR result = 0;
    const bool handled = SendMessageTimeoutA(wnd, WM_NOTIFY, IDC_JK_RESULTS, LPARAM(&click), SMTO_NORMAL, 15000,
                                             &result) != 0;
    HWND box = FindMessageBox();
    EXPECT_TRUE(handled);
    EXPECT_TRUE(box == NULL) << MessageBoxText(box);
    if (box) Press(box, IDOK);
    EXPECT_EQ(10u, ReadSize(tree / "a.tmp"));
}

TEST_F(WindowTest, StopAndStartDuringAWalk) {
    TempTree tree("N:\\jk-win-stop");
    // Every tenth folder holds a shortcut too: reading one through the shell
    // takes a while, so the walk lasts long enough to be stopped half way.
    int files = 0;
    for (int i = 0; i < 1500; ++i, ++files) {
        const std::string folder = "d" + std::to_string(i);
        ASSERT_TRUE(tree.File(folder + "\\x.tmp", 1));
        if (i % 10 == 0) {
            ASSERT_TRUE(MakeShortcut(tree / (folder + "\\link.lnk"), tree / (folder + "\\x.tmp")));
        }
    }
    JunkWindow w;
    HWND wnd = w.Wait();
    ASSERT_TRUE(wnd != NULL);
    HWND list = w.Item(IDC_JK_RESULTS);
    Click(wnd, IDC_JK_START);
    ASSERT_TRUE(WaitFor([&] { return ControlText(wnd, IDC_JK_STATUS).rfind(tree.path() + "\\", 0) == 0; }, 30000));
    ASSERT_TRUE(w->ScanInProgress());
    EXPECT_FALSE(IsWindowEnabled(w.Item(IDC_JK_OPTIONS)));
    EXPECT_FALSE(IsWindowEnabled(w.Item(IDC_JK_DELETE)));

    // Header clicks are ignored while the walk runs.
    ColumnClick(wnd, 1);
    EXPECT_EQ(-1, w->SortColumn());
    // Start again: only the results come back, no second walk.
    HeadingPress(wnd);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(w->Intro().m_hWnd) != FALSE; }));
    Click(wnd, IDC_JK_START);
    ASSERT_TRUE(WaitFor([&] { return Visible(wnd, IDC_JK_RESULTS); }));
    // The results show first, the intro hides after them: wait for both.
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(w->Intro().m_hWnd); }));
    EXPECT_EQ(1, w->WalksStarted());

    ASSERT_TRUE(w->ScanInProgress()) << "the walk ended before Stop";
    Click(wnd, IDC_JK_STOP);
    ASSERT_TRUE(WaitFor([&] { return !w->ScanInProgress(); }, 30000));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(w.Item(IDC_JK_DELETE)) != FALSE; }));
    EXPECT_TRUE(IsWindowEnabled(w.Item(IDC_JK_SELECT_ALL)));
    EXPECT_TRUE(IsWindowEnabled(w.Item(IDC_JK_OPTIONS)));
    const int rows = ItemCount(list);
    const int found = int(RowsBelow(list, tree.path()).size());
    EXPECT_LT(found, files);
    std::printf("stopped after %d of %d files\n", found, files);
    char summary[512];
    unsigned kb = 0;
    for (int i = 0; i < rows; ++i) {
        unsigned n = unsigned(std::strtoul(ItemText(list, i, 2).c_str(), NULL, 10));
        kb += n ? n : 1;
    }
    wsprintfA(summary, Text(IDS_JK_SUMMARY).c_str(), rows, kb);
    EXPECT_EQ(summary, ControlText(wnd, IDC_JK_STATUS));
    EXPECT_EQ(1, w->WalksStarted());
}

TEST_F(WindowTest, DrivesAndFiltersPagesStoreTicks) {
    PutText("DriveList", "D");
    JunkWindow w;
    HWND wnd = w.Wait();
    ASSERT_TRUE(wnd != NULL);
    HWND drives = GetDlgItem(w.Page(PAGE_DRIVES), IDC_JKO_DRV_LIST);
    ASSERT_EQ(2, ItemCount(drives));  // C: and D:, not the CD, network or floppy drives
    EXPECT_EQ("C:\\  (  ) ", ItemText(drives, 0, 0));
    EXPECT_EQ("D:\\  ( DATA ) ", ItemText(drives, 1, 0));
    EXPECT_FALSE(Checked(drives, 0));
    EXPECT_TRUE(Checked(drives, 1));
    SetChecked(drives, 0, true);
    EXPECT_EQ("CD", GetText("DriveList"));
    SetChecked(drives, 1, false);
    EXPECT_EQ("C", GetText("DriveList"));

    HWND filters = GetDlgItem(w.Page(PAGE_FILTERS), IDC_JKO_FLT_LIST);
    ASSERT_EQ(46, ItemCount(filters));
    EXPECT_EQ("*.tmp", ItemText(filters, 5, 0));
    EXPECT_TRUE(Checked(filters, 5));
    EXPECT_FALSE(Checked(filters, 12));  // "*.nch" is off by default
    SetChecked(filters, 5, false);
    std::string data = FilterBytes();
    ASSERT_EQ(3726u, data.size());
    EXPECT_EQ(0, data[5 * 81]);
    // A mere selection change stores the table again.
    SHDeleteValueA(HKEY_CURRENT_USER, Filters().c_str(), "JunkFileFilters");
    SelectItem(filters, 2);
    data = FilterBytes();
    ASSERT_EQ(3726u, data.size());
    EXPECT_EQ(0, data[5 * 81]);
    EXPECT_EQ(1, data[2 * 81]);
}

TEST_F(WindowTest, FilterDialogRefusesBadMasks) {
    JunkWindow w;
    HWND wnd = w.Wait();
    ASSERT_TRUE(wnd != NULL);
    HWND page = w.Page(PAGE_FILTERS);
    HWND filters = GetDlgItem(page, IDC_JKO_FLT_LIST);
    Click(page, IDC_JKO_ADD);
    HWND dlg = WaitForTitle(Text(IDS_JKE_ADD_CAPTION));
    ASSERT_TRUE(dlg != NULL);
    EXPECT_EQ(Text(IDS_JKE_PROMPT), ControlText(dlg, IDC_JKE_PROMPT));
    for (const char* bad : {"a;b", "c:*.x"}) {
        SetControlText(dlg, IDC_JKE_MASK, bad);
        Click(dlg, IDOK);
        ASSERT_TRUE(WaitFor([&] { return ControlText(dlg, IDC_JKE_MASK).empty(); })) << bad;
        EXPECT_TRUE(IsWindow(dlg));
    }
    SetControlText(dlg, IDC_JKE_MASK, "abcdefghijklmnop");  // 16 bytes
    Click(dlg, IDOK);
    HWND box = WaitForMessageBox();
    ASSERT_TRUE(box != NULL);
    EXPECT_EQ(Text(IDS_JKE_MASK_TOO_LONG), MessageBoxText(box));
    Press(box, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_TRUE(IsWindow(dlg));
    SetControlText(dlg, IDC_JKE_MASK, "abcdefghijk.log");  // 15 bytes: taken
    SetControlText(dlg, IDC_JKE_DESCRIPTION, std::string(70, 'd'));
    Click(dlg, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dlg); }));
    ASSERT_TRUE(WaitFor([&] { return ItemCount(filters) == 47; }));
    EXPECT_EQ("abcdefghijk.log", ItemText(filters, 46, 0));
    EXPECT_EQ(std::string(63, 'd'), ItemText(filters, 46, 1));
    EXPECT_TRUE(Checked(filters, 46));
    EXPECT_EQ(47u * 81, GetDword("JunkFileFiltersS", Filters()));

    // A mask that is there already closes the dialog and adds nothing.
    Click(page, IDC_JKO_ADD);
    dlg = WaitForTitle(Text(IDS_JKE_ADD_CAPTION));
    ASSERT_TRUE(dlg != NULL);
    SetControlText(dlg, IDC_JKE_MASK, " *.TMP");
    Click(dlg, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dlg); }));
    EXPECT_EQ(47, ItemCount(filters));

    // Edit: a drive in the mask goes back to the mask the dialog opened with.
    SelectItem(filters, 5);
    Click(page, IDC_JKO_EDIT);
    dlg = WaitForTitle(Text(IDS_JKE_EDIT_CAPTION));
    ASSERT_TRUE(dlg != NULL);
    EXPECT_EQ("*.tmp", ControlText(dlg, IDC_JKE_MASK));
    SetControlText(dlg, IDC_JKE_MASK, "c:\\*.tmp");
    Click(dlg, IDOK);
    ASSERT_TRUE(WaitFor([&] { return ControlText(dlg, IDC_JKE_MASK) == "*.tmp"; }));
    SetControlText(dlg, IDC_JKE_MASK, "*.TMP");  // only the case changes: stored
    Click(dlg, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dlg); }));
    ASSERT_TRUE(WaitFor([&] { return ItemText(filters, 5, 0) == "*.TMP"; }));
    EXPECT_EQ("*.TMP", std::string(FilterBytes().c_str() + 5 * 81 + 1));
}

TEST_F(WindowTest, MonthsAreReadOnlyOnAClickOfTheirBox) {
    JunkWindow w;
    HWND wnd = w.Wait();
    ASSERT_TRUE(wnd != NULL);
    HWND page = w.Page(PAGE_OTHER);
    EXPECT_EQ("90", ControlText(page, IDC_JKO_OTH_MONTHS));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_JKO_OTH_MONTHS)));
    SetControlText(page, IDC_JKO_OTH_MONTHS, "3");
    Click(page, IDC_JKO_OTH_BY_MONTH);
    ASSERT_TRUE(WaitFor([&] { return GetDword("FindFilesBasedOnMonth") == 1; }));
    EXPECT_EQ(5u, GetDword("FFNumMonths"));
    EXPECT_EQ("5", ControlText(page, IDC_JKO_OTH_MONTHS));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_JKO_OTH_MONTHS)));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_JKO_OTH_BY_MONTH));

    SetControlText(page, IDC_JKO_OTH_MONTHS, "12");  // typed, box not clicked
    Click(page, IDC_JKO_OTH_EMPTY);
    ASSERT_TRUE(WaitFor([&] { return GetDword("FindEmptyFiles") == 1; }));
    EXPECT_EQ(5u, GetDword("FFNumMonths"));
    EXPECT_EQ(5u, w->OptionArea().m_otherPage.Options().FFNumMonths);

    Click(page, IDC_JKO_OTH_BY_MONTH);  // read again on the way off
    ASSERT_TRUE(WaitFor([&] { return GetDword("FindFilesBasedOnMonth") == 0; }));
    EXPECT_EQ(12u, GetDword("FFNumMonths"));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_JKO_OTH_MONTHS)));

    // Load defaults puts every page back, the visible page stays.
    Click(w->OptionArea().m_hWnd, IDC_JKO_LOAD_DEFAULTS);
    ASSERT_TRUE(WaitFor([&] { return GetDword("FindEmptyFiles") == 0; }));
    EXPECT_EQ("90", ControlText(page, IDC_JKO_OTH_MONTHS));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(page, IDC_JKO_OTH_EMPTY));
    EXPECT_EQ("CD", GetText("DriveList"));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(w.Page(PAGE_REMOVAL), IDC_JKO_REM_RECYCLE));
    EXPECT_TRUE(Shown(w.Page(PAGE_DRIVES)));
    EXPECT_FALSE(Shown(w.Page(PAGE_OTHER)));
}

// A move folder that cannot be used: message 123, the removal page, the Recycle Bin.
void ExpectFallBack(JunkWindow& w, HWND box) {
    ASSERT_TRUE(box != NULL);
    EXPECT_EQ(Text(IDS_JK_MOVE_FOLDER_MISSING), MessageBoxText(box));
    Press(box, IDOK);
    HWND wnd = w.Wait();
    ASSERT_TRUE(wnd != NULL);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(w->OptionArea().m_hWnd) != FALSE; }));
    ASSERT_TRUE(WaitFor([&] {
        return IsWindowVisible(w.Page(PAGE_REMOVAL)) &&
               IsDlgButtonChecked(w.Page(PAGE_REMOVAL), IDC_JKO_REM_RECYCLE) == BST_CHECKED;
    }));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(w.Page(PAGE_REMOVAL), IDC_JKO_REM_RECYCLE));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(w.Page(PAGE_REMOVAL), IDC_JKO_REM_MOVE));
    EXPECT_EQ(1u, GetDword("SC_RecycleBin"));
    EXPECT_EQ(0u, GetDword("SC_MoveToFolder"));
    EXPECT_EQ(DWORD(REMOVAL_RECYCLE), w->OptionArea().m_removalPage.Removal().Mode);
}

TEST_F(WindowTest, UnusableMoveFolderAtStartUp) {
    TempTree folder("D:\\jk-win-move");
    for (std::string name : {std::string(""), std::string("D:\\jk-win-missing"), folder.path() + "\\",
                             std::string("D:\\")}) {
        SCOPED_TRACE(name);
        PutDword("SC_DirectDel", 0);
        PutDword("SC_RecycleBin", 0);
        PutDword("SC_MoveToFolder", 1);
        PutText("SC_StrFolderName", name);
        JunkWindow w;
        ExpectFallBack(w, WaitForMessageBox(20000));
    }
}

TEST_F(WindowTest, UnusableMoveFolderAtDelete) {
    TempTree tree("N:\\jk-win-delete");
    ASSERT_TRUE(tree.File("a.tmp", 10));
    TempTree folder("D:\\jk-win-move2");
    PutDword("SC_DirectDel", 0);
    PutDword("SC_RecycleBin", 0);
    PutDword("SC_MoveToFolder", 1);
    PutText("SC_StrFolderName", folder.path());
    JunkWindow w;
    HWND wnd = w.Wait();
    ASSERT_TRUE(wnd != NULL);
    ASSERT_EQ(DWORD(REMOVAL_MOVE), w->OptionArea().m_removalPage.Removal().Mode);
    ASSERT_TRUE(w.Scan());
    HWND list = w.Item(IDC_JK_RESULTS);
    int row = RowOf(list, tree / "a.tmp");
    ASSERT_GE(row, 0);
    SetChecked(list, row, true);
    RemoveDirectoryA(folder.path().c_str());  // the folder goes while the window is open
    Click(wnd, IDC_JK_DELETE);
    ExpectFallBack(w, WaitForMessageBox(20000));
    EXPECT_NE(GetFileAttributesA((tree / "a.tmp").c_str()), INVALID_FILE_ATTRIBUTES);  // nothing removed
    EXPECT_GE(RowOf(list, tree / "a.tmp"), 0);
}

// The program itself, as a user starts it: "toolhost sysclean" opens this
// window under its instance name, and Exit ends the program.
TEST(HostTest, ToolhostOpensTheCleaner) {
    const std::string program = testsupport::ProgramDir() + "toolhost.exe";
    if (GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "toolhost.exe is not built";
    // The program keeps its settings in the suite's key: what it adds there is taken away again.
    const std::string key = "Software\\Lumbrix\\Vantor 2";
    const char* const values[] = {"DriveList", "FindFilesBasedOnMonth", "FFNumMonths", "SkipReadOnlyFiles",
                                  "FindEmptyFiles", "FindInvalidShortCuts", "SC_DirectDel", "SC_RecycleBin",
                                  "SC_MoveToFolder"};
    std::vector<const char*> added;
    for (const char* v : values)
        if (SHGetValueA(HKEY_CURRENT_USER, key.c_str(), v, NULL, NULL, NULL) != ERROR_SUCCESS) added.push_back(v);
    const bool hadFilters = testsupport::RegKeyExists(HKEY_CURRENT_USER, key + "\\SrchFilters");

    testsupport::Process toolhost("\"" + program + "\" sysclean");
    ASSERT_TRUE(toolhost.started());
    HWND wnd = testsupport::WaitForWindow(Text(IDS_JUNK_INSTANCE_NAME), 30000, toolhost.id());
    ASSERT_TRUE(wnd != NULL);
    EXPECT_TRUE(GetDlgItem(wnd, IDC_JK_START) != NULL);
    EXPECT_TRUE(GetDlgItem(wnd, IDC_JK_RESULTS) != NULL);
    PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(IDC_JK_EXIT, BN_CLICKED), LPARAM(GetDlgItem(wnd, IDC_JK_EXIT)));
    EXPECT_NE(DWORD(STILL_ACTIVE), toolhost.Wait(30000));

    for (const char* v : added) SHDeleteValueA(HKEY_CURRENT_USER, key.c_str(), v);
    if (!hadFilters) SHDeleteKeyA(HKEY_CURRENT_USER, (key + "\\SrchFilters").c_str());
}

}  // namespace
