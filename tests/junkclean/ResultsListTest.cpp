// The junk cleaner's results list: its rows sorted by each column stay
// whole, and another program reads the list, ticks rows through the list's
// own messages, and exactly those files go on Delete.
#include "JunkTestSupport.h"
#include "JunkUiSupport.h"
#include "RemoteList.h"
#include "testsupport.h"

#include "host/HostServices.h"
#include "junkclean/JunkCleanerWnd.h"

#include <shlwapi.h>
#include <vantres/ids_host.h>
#include <vantres/ids_junk.h>

#include <commctrl.h>

#include <map>
#include <vector>

using namespace junktest;
using testsupport::WaitFor;

namespace {

::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new JunkEnvironment);

typedef std::vector<std::string> Row;

std::string Text(UINT id) { return LoadTextById(id); }

void PutText(const std::string& key, const char* name, const std::string& text) {
    SHSetValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, text.c_str(), DWORD(text.size() + 1));
}
void PutDword(const std::string& key, const char* name, DWORD v) {
    SHSetValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_DWORD, &v, 4);
}

FILETIME Time(WORD year, WORD month, WORD day) {
    SYSTEMTIME st = {};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = WORD(day % 24);
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    return ft;
}

bool SetTimes(const std::string& path, const FILETIME& created, const FILETIME& accessed) {
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                           0, NULL);
    if (h == INVALID_HANDLE_VALUE) return false;
    const BOOL ok = SetFileTime(h, &created, &accessed, NULL);
    CloseHandle(h);
    return ok != FALSE;
}

int RowOf(HWND list, const std::string& path) {
    for (int i = 0; i < ItemCount(list); ++i)
        if (lstrcmpiA(ItemText(list, i, 0).c_str(), path.c_str()) == 0) return i;
    return -1;
}

Row RowTexts(HWND list, int row) {
    Row texts;
    for (int c = 0; c < 5; ++c) texts.push_back(ItemText(list, row, c));
    return texts;
}

// The cleaner's window on a thread of its own, as the host runs it.
class CleanerOnThread {
public:
    CleanerOnThread()
        : m_ui([this] {
              CJunkCleanerWnd wnd;
              m_wnd = &wnd;
              wnd.DoModal();
              m_wnd = nullptr;
          }) {
        WaitFor([&] { return (m_hwnd = FindThreadDialog(m_ui.id(), IDC_JK_START)) != NULL; }, 20000);
    }
    ~CleanerOnThread() {
        if (m_hwnd && IsWindow(m_hwnd)) Click(m_hwnd, IDC_JK_EXIT);
        m_ui.Join(60000);
    }
    HWND hwnd() const { return m_hwnd; }
    CJunkCleanerWnd* operator->() { return m_wnd; }
    bool Scanned() { return m_wnd && !m_wnd->ScanInProgress() && m_wnd->WalksStarted() > 0; }

private:
    CJunkCleanerWnd* volatile m_wnd = nullptr;
    HWND m_hwnd = NULL;
    UiThread m_ui;
};

TEST(ResultsList, SortingByEachColumnKeepsEveryRowWhole) {
    JunkEnvironment::ClearSettings();
    const std::string settings = JunkEnvironment::SettingsPath();
    PutText(settings, "DriveList", "N");
    PutDword(settings, "FindEmptyFiles", 1);
    TempTree tree("N:\\jk-list-sort");
    // Sizes, times and reasons that order the rows differently in every column.
    struct Seed {
        const char* name;
        DWORD size;
        FILETIME created, accessed;
    } seeds[] = {
        {"m.tmp", 5000, Time(2003, 1, 5), Time(2001, 3, 9)},  {"b.bak", 0, Time(1999, 7, 1), Time(2004, 2, 2)},
        {"x.tmp", 20000, Time(2005, 9, 9), Time(1998, 5, 5)}, {"d.bak", 1500, Time(2001, 4, 4), Time(2006, 6, 6)},
        {"a.tmp", 0, Time(2002, 2, 2), Time(2000, 1, 1)},     {"q.old", 300000, Time(2000, 8, 8), Time(2002, 12, 1)},
    };
    for (const Seed& s : seeds) {
        ASSERT_TRUE(tree.File(s.name, s.size));
        ASSERT_TRUE(SetTimes(tree / s.name, s.created, s.accessed));
    }

    CleanerOnThread w;
    ASSERT_TRUE(w.hwnd() != NULL);
    HWND list = GetDlgItem(w.hwnd(), IDC_JK_RESULTS);
    Click(w.hwnd(), IDC_JK_START);
    ASSERT_TRUE(WaitFor([&] { return w.Scanned(); }, 60000));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(GetDlgItem(w.hwnd(), IDC_JK_DELETE)) != FALSE; }));

    // Every row as listed, by path; one of ours ticked.
    std::map<std::string, Row> listed;
    int ours = 0;
    for (int i = 0; i < ItemCount(list); ++i) {
        Row row = RowTexts(list, i);
        listed[row[0]] = row;
        ours += row[0].rfind(tree.path() + "\\", 0) == 0;
    }
    ASSERT_EQ(6, ours);
    EXPECT_EQ(Text(IDS_JK_REASON_EMPTY), listed[tree / "a.tmp"][1]);
    EXPECT_EQ(Text(IDS_JK_REASON_MASK), listed[tree / "x.tmp"][1]);
    EXPECT_EQ("19 KB", listed[tree / "x.tmp"][2]);
    const int ticked = RowOf(list, tree / "d.bak");
    ASSERT_GE(ticked, 0);
    SetChecked(list, ticked, true);

    for (int column = 0; column < 5; ++column) {
        for (bool ascending : {true, false}) {
            SCOPED_TRACE("column " + std::to_string(column) + (ascending ? " ascending" : " descending"));
            ColumnClick(w.hwnd(), column);
            ASSERT_EQ(column, w->SortColumn());
            ASSERT_EQ(ascending, w->SortAscending());
            ASSERT_EQ(int(listed.size()), ItemCount(list));
            std::string previous;
            for (int i = 0; i < ItemCount(list); ++i) {
                const Row row = RowTexts(list, i);
                ASSERT_EQ(1u, listed.count(row[0])) << row[0];
                EXPECT_EQ(listed[row[0]], row) << "row " << i << " mixes the texts of different files";
                EXPECT_EQ(row[0] == tree / "d.bak", Checked(list, i)) << row[0];
                if (i > 0) {
                    const int order = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, previous.c_str(), -1,
                                                     row[column].c_str(), -1) - CSTR_EQUAL;
                    EXPECT_TRUE(ascending ? order <= 0 : order >= 0) << previous << " / " << row[column];
                }
                previous = row[column];
            }
        }
    }
    JunkEnvironment::ClearSettings();
}

// Values of the suite's settings key, put back as they were when done.
class SavedSettings {
public:
    SavedSettings(const std::string& key, std::vector<const char*> names) : m_key(key) {
        for (const char* name : names) {
            Saved s{name, false, 0, std::string(1024, '\0')};
            DWORD size = DWORD(s.data.size());
            s.had = SHGetValueA(HKEY_CURRENT_USER, key.c_str(), name, &s.type, &s.data[0], &size) == ERROR_SUCCESS;
            s.data.resize(s.had ? size : 0);
            m_saved.push_back(s);
        }
        m_hadFilters = testsupport::RegKeyExists(HKEY_CURRENT_USER, key + "\\SrchFilters");
    }
    ~SavedSettings() {
        for (const Saved& s : m_saved) {
            if (s.had)
                SHSetValueA(HKEY_CURRENT_USER, m_key.c_str(), s.name, s.type, s.data.data(), DWORD(s.data.size()));
            else
                SHDeleteValueA(HKEY_CURRENT_USER, m_key.c_str(), s.name);
        }
        if (!m_hadFilters) SHDeleteKeyA(HKEY_CURRENT_USER, (m_key + "\\SrchFilters").c_str());
    }

private:
    struct Saved {
        const char* name;
        bool had;
        DWORD type;
        std::string data;
    };
    std::string m_key;
    std::vector<Saved> m_saved;
    bool m_hadFilters = false;
};

TEST(ResultsList, AnotherProgramReadsTheListAndTheRowsItTicksAreTheOnesRemoved) {
    const std::string program = testsupport::ProgramDir() + "toolhost.exe";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(program.c_str())) << "toolhost.exe is not built";
    const std::string key = "Software\\Lumbrix\\Vantor 2";
    SavedSettings saved(key, {"DriveList", "FindFilesBasedOnMonth", "FFNumMonths", "SkipReadOnlyFiles", "FindEmptyFiles",
                              "FindInvalidShortCuts", "SC_DirectDel", "SC_RecycleBin", "SC_MoveToFolder"});
    PutText(key, "DriveList", "N");
    PutDword(key, "SC_DirectDel", 1);
    PutDword(key, "SC_RecycleBin", 0);
    PutDword(key, "SC_MoveToFolder", 0);
    TempTree tree("N:\\jk-list-remote");
    const char* const names[] = {"a.tmp", "b.tmp", "c.tmp", "d.tmp", "e.tmp"};
    for (const char* name : names) ASSERT_TRUE(tree.File(name, 2048));

    testsupport::Process toolhost("\"" + program + "\" sysclean");
    ASSERT_TRUE(toolhost.started());
    HWND wnd = testsupport::WaitForWindow(Text(IDS_JUNK_INSTANCE_NAME), 30000, toolhost.id());
    ASSERT_TRUE(wnd != NULL);
    PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(IDC_JK_START, BN_CLICKED), LPARAM(GetDlgItem(wnd, IDC_JK_START)));
    // The label says "analysing" while the walk runs and goes blank at its end.
    ASSERT_TRUE(WaitFor([&] { return ControlText(wnd, IDC_JK_LABEL) == Text(IDS_JK_ANALYSING); }, 20000));
    ASSERT_TRUE(WaitFor([&] { return ControlText(wnd, IDC_JK_LABEL) == " "; }, 60000));

    RemoteList list(GetDlgItem(wnd, IDC_JK_RESULTS));
    ASSERT_TRUE(list.Ready());
    for (const char* name : names) {
        const int row = list.RowOf(tree / name);
        ASSERT_GE(row, 0) << name << " is not listed, or its text cannot be read from outside";
        EXPECT_EQ(Text(IDS_JK_REASON_MASK), list.Text(row, 1));
        EXPECT_EQ("2 KB", list.Text(row, 2));
        EXPECT_FALSE(list.Text(row, 3).empty());
        EXPECT_FALSE(list.Text(row, 4).empty());
        EXPECT_FALSE(list.Ticked(row));
    }
    const int before = list.Count();
    list.SetTicked(list.RowOf(tree / "b.tmp"), true);
    list.SetTicked(list.RowOf(tree / "d.tmp"), true);
    list.SetTicked(list.RowOf(tree / "e.tmp"), true);
    list.SetTicked(list.RowOf(tree / "e.tmp"), false);  // changed its mind
    EXPECT_TRUE(list.Ticked(list.RowOf(tree / "b.tmp")));
    EXPECT_FALSE(list.Ticked(list.RowOf(tree / "e.tmp")));

    PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(IDC_JK_DELETE, BN_CLICKED), LPARAM(GetDlgItem(wnd, IDC_JK_DELETE)));
    ASSERT_TRUE(WaitFor([&] { return list.Count() == before - 2 && IsWindowVisible(GetDlgItem(wnd, IDC_JK_RESULTS)); },
                        60000))
        << list.Count() << " rows of " << before;
    for (const char* name : {"b.tmp", "d.tmp"}) {
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((tree / name).c_str())) << name;
        EXPECT_EQ(-1, list.RowOf(tree / name)) << name;
    }
    for (const char* name : {"a.tmp", "c.tmp", "e.tmp"}) {
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((tree / name).c_str())) << name;
        EXPECT_GE(list.RowOf(tree / name), 0) << name;
    }
    PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(IDC_JK_EXIT, BN_CLICKED), LPARAM(GetDlgItem(wnd, IDC_JK_EXIT)));
    EXPECT_NE(DWORD(STILL_ACTIVE), toolhost.Wait(30000));
}

}  // namespace
