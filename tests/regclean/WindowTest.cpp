// The registry cleaner's window, opened in this process on a thread of its
// own and driven by messages: views, Start and Stop, Exit and the close box
// during a scan, a scan that fails, double clicks, and the undo panel's
// buttons.
#include "regclean/FaultSeam.h"
#include "regclean/RegCleanWindow.h"
#include "regclean/Sections.h"
#include "regclean/UndoStore.h"

#include "CleanerWindowFixture.h"
#include "RegCleanTestSupport.h"
#include "testsupport.h"
#include "vantres/ids_regclean.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

using testsupport::Ansi;
using testsupport::ScratchKey;
using rctest::FindChild;
using testsupport::WaitFor;

namespace {

bool Visible(HWND h) { return h && ::IsWindowVisible(h); }
bool Enabled(HWND h) { return h && ::IsWindowEnabled(h); }

struct DialogSearch {
    HWND main, found;
};

BOOL CALLBACK MatchDialog(HWND w, LPARAM param)
{
    DialogSearch* s = reinterpret_cast<DialogSearch*>(param);
    char cls[32] = {};
    ::GetClassNameA(w, cls, sizeof cls);
    if (w != s->main && ::IsWindowVisible(w) && std::string(cls) == "#32770") {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

// Message boxes and other dialogs of the window's thread, besides the window.
HWND OtherDialog(DWORD thread, HWND main)
{
    DialogSearch search{main, nullptr};
    ::EnumThreadWindows(thread, MatchDialog, LPARAM(&search));
    return search.found;
}

std::string DialogText(HWND dialog)
{
    std::string all;
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) all += testsupport::WindowText(c) + "\n";
    return all;
}

class CleanerWindow : public rctest::CleanerWindowTest {
protected:
    void TearDown() override
    {
        SetInjectedFault(FaultSite::Resolver, FaultKind::None);
        SetInjectedFault(FaultSite::Worker, FaultKind::None);
        CleanerWindowTest::TearDown();
    }

    std::string Status() const { return testsupport::WindowText(Item(IDC_RC_STATUS)); }
    void SeedLargeKey(int values)
    {
        for (int i = 0; i < values; ++i)
            m_big.SetString(("v" + std::to_string(i)).c_str(), "C:\\rc-gone\\window\\app" + std::to_string(i) + ".exe");
    }
    // The count line the window shows once a scan has ended.
    std::string CountLine() const
    {
        char line[64];
        snprintf(line, sizeof line, rctest::Text(IDS_RC_FOUND_COUNT).c_str(), Rows());
        return line;
    }
    bool ScanEnded() const { return Enabled(Item(IDC_RC_START)) && Status() == CountLine(); }
    // The data column of every row.
    std::vector<std::string> DataColumn() const
    {
        std::vector<std::string> data;
        char text[512];
        for (int row = 0; row < Rows(); ++row) {
            LVITEMA item{};
            item.iSubItem = 2;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            text[0] = 0;
            ::SendMessageA(Item(IDC_RC_RESULTS), LVM_GETITEMTEXTA, row, LPARAM(&item));
            data.push_back(text);
        }
        return data;
    }
    bool Listed(const std::string& data) const
    {
        for (const std::string& row : DataColumn())
            if (row == data) return true;
        return false;
    }
    // Missing files, walked in name order: three before the value that makes
    // the scan fail, three after it.
    void SeedAroundTrigger()
    {
        for (int i = 0; i < 3; ++i) {
            m_big.SetString(("a" + std::to_string(i)).c_str(), Before(i));
            m_big.SetString(("z" + std::to_string(i)).c_str(), After(i));
        }
        m_big.SetString("m", kTrigger);
    }
    static std::string Before(int i) { return "C:\\rc-gone\\window\\before" + std::to_string(i) + ".exe"; }
    static std::string After(int i) { return "C:\\rc-gone\\window\\after" + std::to_string(i) + ".exe"; }
    static constexpr const char* kTrigger = "C:\\rc-fault\\window\\trigger.exe";

    // Starts a scan and waits until it has listed something.
    void StartAndWaitForRows()
    {
        Click(IDC_RC_START);
        ASSERT_TRUE(WaitFor([&] { return Rows() > 0; }, 30000));
    }

    ScratchKey m_big{"RegCleanWindowBig"};
};

TEST_F(CleanerWindow, OptionsAndUndoViewsTakeTurnsWithTheResults)
{
    HWND results = Item(IDC_RC_RESULTS), sections = Item(IDC_RC_SECTIONS), undoList = Item(IDC_RCU_LIST);
    EXPECT_TRUE(Visible(results));
    EXPECT_FALSE(Visible(sections));
    EXPECT_FALSE(Visible(undoList));
    EXPECT_FALSE(Visible(Item(IDC_RC_DELETE)));
    EXPECT_EQ(12, int(::SendMessageA(sections, LVM_GETITEMCOUNT, 0, 0)));

    Click(IDC_RC_OPTIONS);
    EXPECT_TRUE(Visible(sections));
    EXPECT_FALSE(Visible(results));
    EXPECT_FALSE(Visible(Item(IDC_RC_STATUS)));
    EXPECT_EQ(rctest::Text(IDS_RC_HIDE_OPTIONS), testsupport::WindowText(Item(IDC_RC_OPTIONS)));

    Click(IDC_RC_UNDO);
    EXPECT_TRUE(Visible(undoList));
    EXPECT_FALSE(Visible(sections));
    EXPECT_FALSE(Visible(results));
    EXPECT_EQ(rctest::Text(IDS_RC_SHOW_OPTIONS), testsupport::WindowText(Item(IDC_RC_OPTIONS)));

    Click(IDC_RC_OPTIONS);
    EXPECT_TRUE(Visible(sections));
    EXPECT_FALSE(Visible(undoList));

    Click(IDC_RC_OPTIONS);
    EXPECT_TRUE(Visible(results));
    EXPECT_FALSE(Visible(sections));
    EXPECT_FALSE(Visible(undoList));
    EXPECT_TRUE(Visible(Item(IDC_RC_DELETE)));
}

TEST_F(CleanerWindow, TickingASectionStoresItsSwitch)
{
    HWND sections = Item(IDC_RC_SECTIONS);
    Click(IDC_RC_OPTIONS);
    LVITEMA item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(2);
    ::SendMessageA(sections, LVM_SETITEMSTATE, kSecFonts, LPARAM(&item));
    EXPECT_EQ(1u, testsupport::RegDword(HKEY_CURRENT_USER, kSwitchKey, "Fonts Section"));
    item.state = INDEXTOSTATEIMAGEMASK(1);
    ::SendMessageA(sections, LVM_SETITEMSTATE, kSecUserSoftware, LPARAM(&item));
    EXPECT_EQ(0u, testsupport::RegDword(HKEY_CURRENT_USER, kSwitchKey, "User Software Settings"));
}

TEST_F(CleanerWindow, StartAndStopEnableEachOtherAndStopShowsTheCountListed)
{
    SeedLargeKey(20000);
    EXPECT_TRUE(Enabled(Item(IDC_RC_START)));
    EXPECT_FALSE(Enabled(Item(IDC_RC_STOP)));
    StartAndWaitForRows();
    EXPECT_FALSE(Enabled(Item(IDC_RC_START)));
    EXPECT_TRUE(Enabled(Item(IDC_RC_STOP)));
    EXPECT_FALSE(Enabled(Item(IDC_RC_EXIT)));
    EXPECT_TRUE(Visible(Item(IDC_RC_DELETE)));
    EXPECT_FALSE(Enabled(Item(IDC_RC_DELETE)));
    Click(IDC_RC_STOP);
    ASSERT_TRUE(WaitFor([&] { return ScanEnded(); }, 30000)) << Status();
    EXPECT_FALSE(Enabled(Item(IDC_RC_STOP)));
    EXPECT_TRUE(Enabled(Item(IDC_RC_DELETE)));
    EXPECT_LT(Rows(), 20000);
}

TEST_F(CleanerWindow, ACompleteScanListsTheSeededRowsAndTheirCount)
{
    m_big.SetString("RcWindowGone", "C:\\rc-gone\\window\\single.exe /x");
    Click(IDC_RC_START);
    ASSERT_TRUE(WaitFor([&] { return ScanEnded(); }, 60000)) << Status();
    const int rows = Rows();
    ASSERT_GE(rows, 1);
    bool found = false;
    char text[512];
    for (int row = 0; row < rows; ++row) {
        LVITEMA item{};
        item.iSubItem = 2;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(Item(IDC_RC_RESULTS), LVM_GETITEMTEXTA, row, LPARAM(&item));
        found |= std::string(text) == "C:\\rc-gone\\window\\single.exe /x";
    }
    EXPECT_TRUE(found);
}

TEST_F(CleanerWindow, ExitDuringAScanStopsItAndCloses)
{
    SeedLargeKey(20000);
    StartAndWaitForRows();
    // Exit is disabled while scanning: the message a click would send.
    ::PostMessageA(m_hwnd, WM_COMMAND, MAKEWPARAM(IDC_RC_EXIT, BN_CLICKED), LPARAM(Item(IDC_RC_EXIT)));
    ASSERT_TRUE(WaitFor([&] { return m_closed.load(); }, 60000));
    EXPECT_FALSE(::IsWindow(m_hwnd));
    // The 20000 rows take minutes to list: only a stopped scan is over by now.
    EXPECT_FALSE(m_scanningAtClose.load());
}

TEST_F(CleanerWindow, TheCloseBoxDuringAScanStopsItAndCloses)
{
    SeedLargeKey(20000);
    StartAndWaitForRows();
    ::PostMessageA(m_hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitFor([&] { return m_closed.load(); }, 60000));
    EXPECT_FALSE(::IsWindow(m_hwnd));
    EXPECT_FALSE(m_scanningAtClose.load());
}

TEST_F(CleanerWindow, AFaultOrExceptionInTheWorkerEndsTheScanWithTheRowsFoundSoFar)
{
    SeedAroundTrigger();
    for (FaultKind kind : {FaultKind::AccessViolation, FaultKind::CppException}) {
        SCOPED_TRACE(kind == FaultKind::AccessViolation ? "access violation" : "C++ exception");
        SetInjectedFault(FaultSite::Worker, kind, "rc-fault");
        Click(IDC_RC_START);
        ASSERT_TRUE(WaitFor([&] { return ScanEnded(); }, 60000)) << Status();
        ASSERT_TRUE(::IsWindow(m_hwnd));
        EXPECT_FALSE(Enabled(Item(IDC_RC_STOP)));
        EXPECT_TRUE(Enabled(Item(IDC_RC_EXIT)));
        EXPECT_TRUE(Enabled(Item(IDC_RC_DELETE)));
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(Listed(Before(i))) << i;
            EXPECT_FALSE(Listed(After(i))) << i;
        }
    }
}

TEST_F(CleanerWindow, AFaultOrExceptionWhileResolvingCountsAsFineAndTheScanGoesOn)
{
    SeedAroundTrigger();
    for (FaultKind kind : {FaultKind::AccessViolation, FaultKind::CppException}) {
        SCOPED_TRACE(kind == FaultKind::AccessViolation ? "access violation" : "C++ exception");
        SetInjectedFault(FaultSite::Resolver, kind, "rc-fault");
        Click(IDC_RC_START);
        ASSERT_TRUE(WaitFor([&] { return ScanEnded(); }, 60000)) << Status();
        EXPECT_FALSE(Listed(kTrigger));
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(Listed(Before(i))) << i;
            EXPECT_TRUE(Listed(After(i))) << i;
        }
    }
}

TEST_F(CleanerWindow, ADoubleClickDuringAScanDoesNothing)
{
    SeedLargeKey(20000);
    StartAndWaitForRows();
    NMITEMACTIVATE activate{};
    activate.hdr.hwndFrom = Item(IDC_RC_RESULTS);
    activate.hdr.idFrom = IDC_RC_RESULTS;
    activate.hdr.code = NM_DBLCLK;
    activate.iItem = 0;
    DWORD_PTR result;
    ::SendMessageTimeoutA(m_hwnd, WM_NOTIFY, IDC_RC_RESULTS, LPARAM(&activate), SMTO_NORMAL, 30000, &result);
    // Showing a finding starts the editor before the notification returns.
    EXPECT_EQ(nullptr, ::FindWindowA("RegEdit_RegEdit", nullptr));
    Click(IDC_RC_STOP);
    ASSERT_TRUE(WaitFor([&] { return ScanEnded(); }, 30000));
}

TEST_F(CleanerWindow, TheUndoPanelMergesAndDropsOnlyTheSelectedRecord)
{
    ScratchKey target("RegCleanWindowUndo");
    const std::string key = "HKEY_CURRENT_USER\\" + target.path();
    CString file = WriteUndoFile(("REGEDIT4\r\n\r\n[" + key + "]\r\n\"Restored\"=\"C:\\\\rc-gone\\\\back.exe\"\r\n").c_str());
    ASSERT_FALSE(file.IsEmpty());
    Click(IDC_RC_UNDO);
    HWND list = Item(IDC_RCU_LIST);
    ASSERT_TRUE(Visible(list));
    int row = -1;
    const int count = int(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    char text[MAX_PATH];
    for (int i = 0; i < count && row < 0; ++i) {
        LVITEMA item{};
        item.iSubItem = 1;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(list, LVM_GETITEMTEXTA, i, LPARAM(&item));
        if (file == text) row = i;
    }
    ASSERT_GE(row, 0);

    // No selection: both buttons do nothing.
    Click(IDC_RCU_MERGE);
    Click(IDC_RCU_REMOVE);
    EXPECT_EQ(nullptr, OtherDialog(m_uiThread, m_hwnd));
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, target.path(), "Restored"));
    EXPECT_EQ(count, int(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)));
    EXPECT_TRUE(testsupport::FileExists(file.str()));

    LVITEMA select{};
    select.stateMask = LVIS_SELECTED;
    select.state = LVIS_SELECTED;
    ::SendMessageA(list, LVM_SETITEMSTATE, row, LPARAM(&select));
    ::PostMessageA(Item(IDC_RCU_MERGE), BM_CLICK, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = OtherDialog(m_uiThread, m_hwnd)) != nullptr; }, 60000));
    EXPECT_NE(std::string::npos, DialogText(box).find(rctest::Text(IDS_RCU_MERGE_OK))) << DialogText(box);
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }, 10000));
    EXPECT_EQ("C:\\rc-gone\\back.exe", testsupport::RegString(HKEY_CURRENT_USER, target.path(), "Restored"));
    EXPECT_TRUE(testsupport::FileExists(file.str()));  // a merge keeps the file and its record

    Click(IDC_RCU_REMOVE);
    EXPECT_EQ(count - 1, int(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)));
    EXPECT_FALSE(testsupport::FileExists(file.str()));
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, kUndoRecordsKey, file));
}

TEST_F(CleanerWindow, UntickAllThenDeleteWritesAHeaderOnlyUndoFile)
{
    m_big.SetString("RcWindowKept", "C:\\rc-gone\\window\\kept.exe");
    Click(IDC_RC_START);
    ASSERT_TRUE(WaitFor([&] { return ScanEnded(); }, 60000)) << Status();
    const int rows = Rows();
    ASSERT_GE(rows, 1);
    Click(IDC_RC_SELECT_ALL);
    EXPECT_EQ(UINT(INDEXTOSTATEIMAGEMASK(2)),
              UINT(::SendMessageA(Item(IDC_RC_RESULTS), LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK)));
    Click(IDC_RC_SELECT_NONE);
    CStringArray before;
    ListUndoRecords(before);
    Click(IDC_RC_DELETE);
    CStringArray after;
    ListUndoRecords(after);
    CString added;
    for (int i = 0; i < after.GetSize(); ++i) {
        bool old = false;
        for (int j = 0; j < before.GetSize(); ++j) old |= before[j] == after[i];
        if (!old) added = after[i];
    }
    ASSERT_FALSE(added.IsEmpty()) << "Delete recorded no undo file";
    EXPECT_EQ("REGEDIT4\r\n", testsupport::ReadFileBytes(added.str()));
    EXPECT_EQ(rows, Rows());
    EXPECT_TRUE(testsupport::RegValueExists(HKEY_CURRENT_USER, m_big.path(), "RcWindowKept"));
    DropUndoRecord(added);
}

}  // namespace
