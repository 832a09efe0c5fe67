// The backup window driven by messages, as a user drives it: the page
// buttons, a backup through the exclusive-access dialog, the restore list,
// restore and delete, and the import of a set found elsewhere.
#include <gtest/gtest.h>

#include <ctime>
#include <vantor/FileCopy.h>
#include <vantres/ids_backup.h>
#include <vantres/ids_host.h>

#include "RegbackupTestSupport.h"
#include "WindowDriver.h"
#include "host/HostServices.h"
#include "regbackup/ArbFormat.h"
#include "regbackup/BackupMainWnd.h"
#include "regbackup/BackupMessages.h"
#include "regbackup/ExclusiveAccessDlg.h"
#include "regbackup/HiveBackup.h"

using namespace rbtest;
using testsupport::FileExists;
using testsupport::ScratchDir;
using testsupport::WaitFor;
using testsupport::WriteFileBytes;

namespace {

// The tool's main window on its own thread, closed with its exit button.
class MainWindow {
public:
    MainWindow()
        : m_ui([this] {
              CBackupMainWnd window;
              m_window = &window;
              window.DoModal();
              m_window = NULL;
          })
    {
        m_hwnd = m_ui.WaitForTopLevel(IDC_BK_BACKUP);
    }
    ~MainWindow()
    {
        if (m_hwnd && IsWindow(m_hwnd)) Click(GetDlgItem(m_hwnd, IDC_BK_EXIT));
        m_ui.Join();
    }
    HWND hwnd() const { return m_hwnd; }
    CBackupMainWnd* object() const { return m_window; }
    UiThread& ui() { return m_ui; }
    HWND Control(int id) const { return FindControl(m_hwnd, id); }
    // The page that holds a control, and whether it shows.
    bool PageShown(int controlOnPage) const { return IsWindowVisible(GetParent(Control(controlOnPage))) != FALSE; }
    bool HomeShown() const
    {
        return !PageShown(IDC_BKP_START) && !PageShown(IDC_BKL_LOG) && !PageShown(IDC_BKR_LIST);
    }

private:
    CBackupMainWnd* volatile m_window = NULL;
    UiThread m_ui;
    HWND m_hwnd = NULL;
};

std::string Ansi(UINT id) { return LoadTextById(id); }

// An NT set of encoded copies made by hand, recorded for the user.
std::string RecordedSet(const std::string& folder)
{
    testsupport::MakeDirs(folder);
    WriteFileBytes(folder + "\\plain", "hive");
    CFileCopy copier;
    copier.CopyFileEnc((folder + "\\plain").c_str(), (folder + "\\Sys1").c_str());
    DeleteFileA((folder + "\\plain").c_str());
    ArbIndex index;
    index.systemDir = SystemDir().c_str();
    ArbEntry e;
    e.root = 0x80000002;
    e.name = "Sys1";
    e.subkey = "Software\\ToolhostTests\\RegBackup\\Window";
    index.entries.push_back(e);
    const std::string info = folder + "\\info.arb";
    WriteFileBytes(info, EncodeArbIndex(index));
    CHiveBackup engine;
    engine.RegisterSet(info.c_str());
    return info;
}

// A seeded hive for a backup made through the window.
struct SmallHiveList {
    SmallHiveList()
    {
        SetStringValue(HKEY_LOCAL_MACHINE, key, "v", "window test");
        seed.Add("\\REGISTRY\\MACHINE\\" + key, "\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\WINDOWTEST");
    }
    ~SmallHiveList() { SHDeleteKeyA(HKEY_LOCAL_MACHINE, kTestKey); }
    std::string key = std::string(kTestKey) + "\\Window";
    HiveListSeed seed;
};

}  // namespace

TEST(Window, PageButtonsToggleTheViews)
{
    SettingsScope settings;
    FakePlatform platform;
    MainWindow main;
    ASSERT_TRUE(main.hwnd());
    EXPECT_EQ(TextOf(main.hwnd()), Ansi(IDS_REGBACKUP_INSTANCE_NAME));
    EXPECT_TRUE(main.HomeShown());

    Click(main.Control(IDC_BK_BACKUP));
    ASSERT_TRUE(WaitFor([&] { return main.PageShown(IDC_BKP_START); }));
    EXPECT_FALSE(main.PageShown(IDC_BKR_LIST));
    SaveShot(main.hwnd(), "backup-page");
    Click(main.Control(IDC_BK_BACKUP));  // the same button again: back home
    ASSERT_TRUE(WaitFor([&] { return main.HomeShown(); }));

    Click(main.Control(IDC_BK_LOCATE));
    ASSERT_TRUE(WaitFor([&] { return main.PageShown(IDC_BKL_LOG); }));
    Click(main.Control(IDC_BK_RESTORE));
    ASSERT_TRUE(WaitFor([&] { return main.PageShown(IDC_BKR_LIST); }));
    EXPECT_FALSE(main.PageShown(IDC_BKL_LOG));
    // After switching pages, the locate button opens its page again at once.
    Click(main.Control(IDC_BK_LOCATE));
    ASSERT_TRUE(WaitFor([&] { return main.PageShown(IDC_BKL_LOG); }));

    DWORD_PTR answer = 0;
    SendMessageTimeoutA(main.hwnd(), WM_SHOW_DEFAULT_PAGE, 0, 0, SMTO_BLOCK, 5000, &answer);
    EXPECT_EQ(answer, 1u);
    EXPECT_TRUE(main.HomeShown());
    Click(main.Control(IDC_BK_RESTORE));
    ASSERT_TRUE(WaitFor([&] { return main.PageShown(IDC_BKR_LIST); }));
    Click(main.Control(IDC_BK_RESTORE));
    EXPECT_TRUE(WaitFor([&] { return main.HomeShown(); }));
    SaveShot(main.hwnd(), "home");
}

TEST(Window, CancelBeforeStartWritesNothing)
{
    SettingsScope settings;
    FakePlatform platform;
    ScratchDir sets("rbw-cancel");
    SmallHiveList hives;
    MainWindow main;
    Click(main.Control(IDC_BK_BACKUP));
    ASSERT_TRUE(WaitFor([&] { return main.PageShown(IDC_BKP_START); }));
    SendMessageTimeoutA(main.Control(IDC_BKP_LOCATION), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(sets.path().c_str()),
                        SMTO_BLOCK, 5000, NULL);
    Click(main.Control(IDC_BKP_START));
    HWND dialog = main.ui().WaitForTopLevel(IDC_BKX_EXPLANATION);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(TextOf(FindControl(dialog, IDC_BKX_STATUS)), "Press start to continue");
    EXPECT_NE(TextOf(FindControl(dialog, IDC_BKX_EXPLANATION)).find("press \"Start\" to start backing up"), std::string::npos);
    EXPECT_EQ(TextOf(FindControl(dialog, IDOK)), "&Start");
    EXPECT_EQ(TextOf(FindControl(dialog, IDCANCEL)), "&Cancel");
    EXPECT_FALSE(IsWindowEnabled(main.hwnd()));  // modal over the tool

    Click(FindControl(dialog, IDCANCEL));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    EXPECT_EQ(TextOf(main.Control(IDC_BKP_STATUS)), Ansi(IDS_BKP_STARTING));
    EXPECT_TRUE(ListFiles(sets.path()).empty());
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, kSettingsPath, "LastRegBackup"));
    EXPECT_TRUE(RecordedSets(HKEY_CURRENT_USER).empty());
}

namespace {

// Types the location, presses Start and then Start in the dialog; returns
// once the dialog is gone.
void BackupThroughTheWindow(MainWindow& main, const std::string& location)
{
    Click(main.Control(IDC_BK_BACKUP));
    ASSERT_TRUE(WaitFor([&] { return main.PageShown(IDC_BKP_START); }));
    SendMessageTimeoutA(main.Control(IDC_BKP_LOCATION), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(location.c_str()),
                        SMTO_BLOCK, 5000, NULL);
    Click(main.Control(IDC_BKP_START));
    HWND dialog = main.ui().WaitForTopLevel(IDC_BKX_EXPLANATION);
    ASSERT_TRUE(dialog);
    Click(FindControl(dialog, IDOK));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 60000));
}

}  // namespace

TEST(Window, BackupThroughTheDialogGrowsTheHomeCount)
{
    SettingsScope settings;
    FakePlatform platform;
    ScratchDir sets("rbw-backup");
    SmallHiveList hives;
    MainWindow main;
    EXPECT_EQ(std::string(main.object()->CountLine()), std::string(Ansi(IDS_BK_HOME_COUNT)).replace(
                                                           Ansi(IDS_BK_HOME_COUNT).find("%d"), 2, "0"));
    EXPECT_EQ(std::string(main.object()->LastBackupLine()), Ansi(IDS_BK_LAST_NEVER));

    const DWORD before = DWORD(time(NULL));
    BackupThroughTheWindow(main, sets.path());
    ASSERT_TRUE(WaitFor([&] { return TextOf(main.Control(IDC_BKP_STATUS)) == Ansi(IDS_BKP_DONE); }));

    const DWORD last = testsupport::RegDword(HKEY_CURRENT_USER, kSettingsPath, "LastRegBackup", 0);
    EXPECT_GE(last, before);
    EXPECT_LE(last, DWORD(time(NULL)));
    ASSERT_EQ(RecordedSets(HKEY_CURRENT_USER).size(), 1u);
    EXPECT_EQ(ListCount(main.Control(IDC_BKR_LIST)), 1);
    Click(main.Control(IDC_BK_BACKUP));
    ASSERT_TRUE(WaitFor([&] { return main.HomeShown(); }));
    EXPECT_EQ(std::string(main.object()->CountLine()), std::string(Ansi(IDS_BK_HOME_COUNT)).replace(
                                                           Ansi(IDS_BK_HOME_COUNT).find("%d"), 2, "1"));
    EXPECT_EQ(std::string(main.object()->LastBackupLine()).find(Ansi(IDS_BK_LAST_PREFIX)), 0u);
    EXPECT_GT(main.object()->LastBackupLine().GetLength(), int(Ansi(IDS_BK_LAST_PREFIX).size()) + 10);
    SaveShot(main.hwnd(), "home-after-backup");
}

TEST(Window, BackupThatSavesNoHiveIsReportedAsFailed)
{
    SettingsScope settings;
    FakePlatform platform;
    ScratchDir sets("rbw-failed");
    HiveListSeed seed;
    seed.Add("\\REGISTRY\\MACHINE\\Software\\ToolhostTests\\RegBackup\\NoSuchKey", "\\Device\\HarddiskVolume1\\x");
    MainWindow main;
    BackupThroughTheWindow(main, sets.path());
    EXPECT_TRUE(WaitFor([&] { return TextOf(main.Control(IDC_BKP_STATUS)) == Ansi(IDS_BKP_FAILED); }));
    EXPECT_EQ(platform.questions, (std::vector<std::string>{Ansi(IDS_BKP_FAILED)}));
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, kSettingsPath, "LastRegBackup"));
    EXPECT_TRUE(ListFiles(sets.path()).empty());  // not even an empty set
    EXPECT_TRUE(RecordedSets(HKEY_CURRENT_USER).empty());
}

TEST(Window, BackupOntoADriveThatFillsUpIsReportedAndLeavesNothing)
{
    if (!SmallDriveThere()) GTEST_SKIP() << "U: is not a small drive here (mounting a small file system needs root)";
    SettingsScope settings;
    FakePlatform platform;
    const std::string location = "U:\\rbw-full";
    testsupport::RemoveTree(location);
    ASSERT_TRUE(testsupport::MakeDirs(location));
    HiveListSeed seed;
    const unsigned long long free = FreeBytes(location);
    SeedBlobHive(seed, "WindowFits", size_t(free / 3 * 2 / 3));
    SeedBlobHive(seed, "WindowOverflows", size_t(free / 3 * 2 / 3));
    MainWindow main;
    BackupThroughTheWindow(main, location);
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, kTestKey);

    CString expected;
    expected.Format(CString(Ansi(IDS_BKP_COPY_FAILED).c_str()),
                    (std::string("HKEY_LOCAL_MACHINE\\") + kTestKey + "\\Complete\\WindowOverflows").c_str());
    EXPECT_TRUE(WaitFor([&] { return TextOf(main.Control(IDC_BKP_STATUS)) == std::string(expected); }))
        << TextOf(main.Control(IDC_BKP_STATUS));
    EXPECT_EQ(platform.questions, (std::vector<std::string>{std::string(expected)}));
    EXPECT_NE(TextOf(main.Control(IDC_BKP_STATUS)), Ansi(IDS_BKP_DONE));
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, kSettingsPath, "LastRegBackup"));
    EXPECT_TRUE(RecordedSets(HKEY_CURRENT_USER).empty());
    EXPECT_EQ(ListCount(main.Control(IDC_BKR_LIST)), 0);
    EXPECT_TRUE(ListFiles(location).empty());
    EXPECT_EQ(FreeBytes(location), free);
    testsupport::RemoveTree(location);
}

namespace {

// An engine whose run tries to close its dialog, by its Cancel button, by
// Escape and by its close box, before doing its work. After each try the
// dialog must be as it was: open, its Cancel not acted on (the explanation
// keeps the font that Cancel would release).
class ImpatientBackup : public CHiveBackup {
public:
    void Run(CProgressST& bar, CWnd& text) override
    {
        HWND dialog = GetParent(text.GetSafeHwnd());
        explanationFont = HFONT(SendMessageA(GetDlgItem(dialog, IDC_BKX_EXPLANATION), WM_GETFONT, 0, 0));
        Check(dialog);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDCANCEL)));
        Check(dialog);
        // Escape through the dialog's own key handling.
        PostMessageA(GetDlgItem(dialog, IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0);
        DispatchPendingMessages();
        Check(dialog);
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        DispatchPendingMessages();
        Check(dialog);
        CHiveBackup::Run(bar, text);
        SaveShot(dialog, "backup-dialog-running");
        Check(dialog);
        statusAtEnd = rbtest::TextOf(GetDlgItem(dialog, IDC_BKX_STATUS));
    }
    void Check(HWND dialog)
    {
        stillOpen.push_back(IsWindow(dialog) && IsWindowVisible(dialog));
        fontKept.push_back(explanationFont && GetObjectType(explanationFont) == OBJ_FONT);
    }
    HFONT explanationFont = NULL;
    std::vector<bool> stillOpen;
    std::vector<bool> fontKept;
    std::string statusAtEnd;
};

}  // namespace

TEST(Window, CancelAndEscapeAreIgnoredWhileTheRunIsBusy)
{
    SettingsScope settings;
    ScratchDir sets("rbw-busy");
    SmallHiveList hives;
    ImpatientBackup engine;
    engine.SetLocation(sets.path().c_str());
    bool done = false;
    INT_PTR result = 0;
    {
        UiThread ui([&] {
            CExclusiveAccessDlg dialog(NULL);
            dialog.m_engine = &engine;
            result = dialog.DoModal();
            done = dialog.m_done;
        });
        HWND dialog = ui.WaitForTopLevel(IDC_BKX_EXPLANATION);
        ASSERT_TRUE(dialog);
        Click(GetDlgItem(dialog, IDOK));
        ASSERT_TRUE(ui.Join(60000));
    }
    EXPECT_TRUE(done);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(engine.stillOpen, (std::vector<bool>(5, true)));
    EXPECT_EQ(engine.fontKept, (std::vector<bool>(5, true))) << "Cancel was acted on during the run";
    EXPECT_EQ(engine.statusAtEnd, "100% Completed ");
    EXPECT_TRUE(engine.SetWritten());
}

TEST(Window, RestoreListShowsDatesAndTimesOfTheSets)
{
    SettingsScope settings;
    FakePlatform platform;
    ScratchDir dir("rbw-list");
    const std::string dated = RecordedSet(dir.path() + "\\4-9-2005_15-45");
    const std::string renamed = RecordedSet(dir.path() + "\\MyBackup");
    MainWindow main;
    Click(main.Control(IDC_BK_RESTORE));
    ASSERT_TRUE(WaitFor([&] { return main.PageShown(IDC_BKR_LIST); }));
    HWND list = main.Control(IDC_BKR_LIST);
    ASSERT_EQ(ListCount(list), 2);
    for (int row = 0; row < 2; ++row) {
        const std::string path = ListText(list, row, 2);
        if (path == renamed) {
            EXPECT_EQ(ListText(list, row, 0), "0-0-0");
            EXPECT_EQ(ListText(list, row, 1), "0:0");
        } else {
            EXPECT_EQ(path, dated);
            EXPECT_EQ(ListText(list, row, 0), "4-9-2005");
            EXPECT_EQ(ListText(list, row, 1), "15:45");
        }
    }
    DWORD_PTR style = 0;
    SendMessageTimeoutA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0, SMTO_BLOCK, 5000, &style);
    EXPECT_EQ(style & 0x121, 0x121u);
    SelectRow(list, 0);
    SaveShot(main.hwnd(), "restore-list");
}

TEST(Window, RestorePageButtonsDoNothingWithoutARow)
{
    SettingsScope settings;
    FakePlatform platform;
    ScratchDir dir("rbw-norow");
    MainWindow main;
    Click(main.Control(IDC_BK_RESTORE));
    ASSERT_TRUE(WaitFor([&] { return main.PageShown(IDC_BKR_LIST); }));
    EXPECT_EQ(ListCount(main.Control(IDC_BKR_LIST)), 0);
    Click(main.Control(IDC_BKR_RESTORE));
    Click(FindControl(GetParent(main.Control(IDC_BKR_LIST)), IDC_BKR_DELETE));
    // A round trip through the window's thread: both clicks were handled by then.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(main.hwnd(), WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    EXPECT_TRUE(platform.questions.empty());
    EXPECT_TRUE(platform.restarts.empty());

    // Rows, but none chosen: still nothing.
    RecordedSet(dir.path() + "\\1-1-2001_1-1");
    SendMessageTimeoutA(main.hwnd(), WM_SETS_CHANGED, 0, 0, SMTO_BLOCK, 5000, &ignored);
    EXPECT_EQ(ListCount(main.Control(IDC_BKR_LIST)), 1);
    Click(main.Control(IDC_BKR_RESTORE));
    SendMessageTimeoutA(main.hwnd(), WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    EXPECT_TRUE(platform.questions.empty());
}

TEST(Window, RestoreAsksThenHandsTheSetToWindows)
{
    SettingsScope settings;
    FakePlatform platform;
    ScratchDir dir("rbw-restore");
    const std::string good = RecordedSet(dir.path() + "\\1-1-2001_1-1");
    MainWindow main;
    Click(main.Control(IDC_BK_RESTORE));
    ASSERT_TRUE(WaitFor([&] { return main.PageShown(IDC_BKR_LIST); }));
    HWND list = main.Control(IDC_BKR_LIST);
    HWND restore = main.Control(IDC_BKR_RESTORE);
    SelectRow(list, 0);

    platform.answer = IDNO;
    Click(restore);
    ASSERT_TRUE(WaitFor([&] { return platform.questions.size() == 1; }));
    EXPECT_EQ(platform.questions[0], Ansi(IDS_BKR_RESTORE_CONFIRM));
    EXPECT_EQ(platform.questionTypes[0], UINT(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(main.hwnd(), WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    EXPECT_TRUE(platform.restarts.empty());

    platform.answer = IDYES;
    Click(restore);
    ASSERT_TRUE(WaitFor([&] { return platform.restarts.size() == 1; }));
    ASSERT_EQ(platform.replaces.size(), 1u);
    EXPECT_EQ(platform.replaces[0].newFileBytes, "hive");
    EXPECT_EQ(platform.replaces[0].subKey, "Software\\ToolhostTests\\RegBackup\\Window");

    // A damaged copy: the user is told, and nothing is handed over.
    std::string copy = testsupport::ReadFileBytes(dir.path() + "\\1-1-2001_1-1\\Sys1");
    copy[copy.size() - 1] ^= 0x10;
    WriteFileBytes(dir.path() + "\\1-1-2001_1-1\\Sys1", copy);
    Click(restore);
    ASSERT_TRUE(WaitFor([&] { return platform.questions.size() == 4; }));
    EXPECT_EQ(platform.questions[3], Ansi(IDS_BKR_SET_DAMAGED));
    EXPECT_EQ(platform.restarts.size(), 1u);
    EXPECT_EQ(platform.replaces.size(), 1u);
}

TEST(Window, DeleteAsksThenRemovesTheSet)
{
    SettingsScope settings;
    FakePlatform platform;
    ScratchDir dir("rbw-delete");
    RecordedSet(dir.path() + "\\1-1-2001_1-1");
    RecordedSet(dir.path() + "\\2-2-2002_2-2");
    MainWindow main;
    Click(main.Control(IDC_BK_RESTORE));
    ASSERT_TRUE(WaitFor([&] { return main.PageShown(IDC_BKR_LIST); }));
    HWND list = main.Control(IDC_BKR_LIST);
    ASSERT_EQ(ListCount(list), 2);
    const std::string chosen = ListText(list, 1, 2);
    SelectRow(list, 1);
    Click(FindControl(GetParent(list), IDC_BKR_DELETE));
    ASSERT_TRUE(WaitFor([&] { return ListCount(list) == 1; }));
    EXPECT_EQ(platform.questions, (std::vector<std::string>{Ansi(IDS_BKR_DELETE_CONFIRM)}));
    EXPECT_FALSE(FileExists(chosen));
    EXPECT_NE(ListText(list, 0, 2), chosen);
}

TEST(Window, LocatePageImportsASetAndLogsIt)
{
    SettingsScope settings;
    FakePlatform platform;
    ScratchDir dir("rbw-import");
    const std::string found = RecordedSet(dir.path() + "\\Elsewhere");
    ClearSetRecords();  // found on another disk: not recorded here yet
    MainWindow main;
    Click(main.Control(IDC_BK_LOCATE));
    ASSERT_TRUE(WaitFor([&] { return main.PageShown(IDC_BKL_LOG); }));
    EXPECT_EQ(ListCount(main.Control(IDC_BKR_LIST)), 0);

    platform.fileToPick = found;
    Click(main.Control(IDC_BKL_BROWSE));
    const std::string first = "Located the file now reading the file records.\r\n";
    ASSERT_TRUE(WaitFor([&] { return TextOf(main.Control(IDC_BKL_LOG)) == first + Ansi(IDS_BKL_IMPORTED); }));
    EXPECT_EQ(platform.fileFilter, Ansi(IDS_BKL_FILTER));
    EXPECT_EQ(platform.fileFlags & (OFN_FILEMUSTEXIST | OFN_EXPLORER), DWORD(OFN_FILEMUSTEXIST | OFN_EXPLORER));
    EXPECT_EQ(ListCount(main.Control(IDC_BKR_LIST)), 1);  // the restore list was refilled
    SaveShot(main.hwnd(), "locate-page");

    Click(main.Control(IDC_BKL_BROWSE));
    EXPECT_TRUE(WaitFor([&] { return TextOf(main.Control(IDC_BKL_LOG)) == first + Ansi(IDS_BKL_ALREADY_LISTED); }));
    EXPECT_EQ(ListCount(main.Control(IDC_BKR_LIST)), 1);

    // Cancelled dialog: the log is cleared and nothing else happens.
    platform.fileToPick.clear();
    Click(main.Control(IDC_BKL_BROWSE));
    EXPECT_TRUE(WaitFor([&] { return TextOf(main.Control(IDC_BKL_LOG)).empty(); }));
}

TEST(Window, BootDiskButtonAsksFirst)
{
    SettingsScope settings;
    FakePlatform platform;
    platform.answer = IDNO;
    MainWindow main;
    Click(main.Control(IDC_BK_BACKUP));
    ASSERT_TRUE(WaitFor([&] { return main.PageShown(IDC_BKP_START); }));
    Click(main.Control(IDC_BKP_BOOTDISK));
    ASSERT_TRUE(WaitFor([&] { return platform.questions.size() == 1; }));
    EXPECT_EQ(platform.questions[0], Ansi(IDS_BOOTDISK_PROMPT_NT));
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(main.hwnd(), WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    EXPECT_TRUE(platform.formats.empty());
}

TEST(Window, ToolhostBackupOpensThisWindow)
{
    const std::string program = testsupport::ProgramDir() + "toolhost.exe";
    if (!FileExists(program)) GTEST_SKIP() << "toolhost.exe is not built";
    testsupport::Process toolhost("\"" + program + "\" backup");
    ASSERT_TRUE(toolhost.started());
    HWND window = testsupport::WaitForWindow(Ansi(IDS_REGBACKUP_INSTANCE_NAME), 30000, toolhost.id());
    ASSERT_TRUE(window);
    for (int id : {IDC_BK_BACKUP, IDC_BK_LOCATE, IDC_BK_RESTORE, IDC_BK_OPTIONS, IDC_BK_EXIT})
        EXPECT_TRUE(GetDlgItem(window, id)) << id;
    EXPECT_TRUE(FindControl(window, IDC_BKR_LIST));  // the pages were made with it
    Click(GetDlgItem(window, IDC_BK_EXIT));
    EXPECT_NE(toolhost.Wait(20000), DWORD(STILL_ACTIVE));  // the program ends with its window
}

namespace {

// A top-level window of process pid that holds a control with childId.
HWND ProcessDialogWith(DWORD pid, int childId)
{
    struct Search {
        DWORD pid;
        int childId;
        HWND found;
    } search{pid, childId, NULL};
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            Search& s = *reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner != s.pid || !GetDlgItem(hwnd, s.childId)) return TRUE;
            s.found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

TEST(Window, SecondStartDuringABackupRestoresTheMainWindow)
{
    const std::string program = testsupport::ProgramDir() + "toolhost.exe";
    if (!FileExists(program)) GTEST_SKIP() << "toolhost.exe is not built";
    testsupport::Process first("\"" + program + "\" backup");
    ASSERT_TRUE(first.started());
    HWND window = testsupport::WaitForWindow(Ansi(IDS_REGBACKUP_INSTANCE_NAME), 30000, first.id());
    ASSERT_TRUE(window);
    // The exclusive-access dialog of a backup, waiting for Start.
    Click(GetDlgItem(window, IDC_BK_BACKUP));
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetParent(FindControl(window, IDC_BKP_START))) != FALSE; }));
    Click(FindControl(window, IDC_BKP_START));
    HWND dialog = NULL;
    ASSERT_TRUE(WaitFor([&] { return (dialog = ProcessDialogWith(first.id(), IDC_BKX_EXPLANATION)) != NULL; }, 20000));
    EXPECT_EQ(TextOf(dialog), Ansi(IDS_BKX_CAPTION));

    // The user minimises the tool and starts it again: the tool comes back.
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(window) != FALSE; }));
    testsupport::Process again("\"" + program + "\" backup");
    ASSERT_TRUE(again.started());
    EXPECT_NE(again.Wait(20000), DWORD(STILL_ACTIVE)) << "a second start must quit";
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(window) && IsWindowVisible(window); }))
        << "the second start did not restore the main window";

    ShowWindow(window, SW_RESTORE);
    Click(GetDlgItem(dialog, IDCANCEL));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    Click(GetDlgItem(window, IDC_BK_EXIT));
    EXPECT_NE(first.Wait(20000), DWORD(STILL_ACTIVE));
}

TEST(Window, BrowseTakesOnlyAFolderThatExists)
{
    SettingsScope settings;
    FakePlatform platform;
    ScratchDir dir("rbw-browse");
    MainWindow main;
    Click(main.Control(IDC_BK_BACKUP));
    ASSERT_TRUE(WaitFor([&] { return main.PageShown(IDC_BKP_START); }));
    HWND location = main.Control(IDC_BKP_LOCATION);
    platform.folderToPick = dir.path() + "\\gone";
    Click(main.Control(IDC_BKP_BROWSE));
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(main.hwnd(), WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    EXPECT_EQ(TextOf(location), "");
    platform.folderToPick = dir.path();
    Click(main.Control(IDC_BKP_BROWSE));
    EXPECT_TRUE(WaitFor([&] { return TextOf(location) == dir.path(); }));

    // The options button has nothing to offer here and says so; no page opens.
    Click(main.Control(IDC_BK_OPTIONS));
    ASSERT_TRUE(WaitFor([&] { return platform.questions.size() == 1; }));
    EXPECT_EQ(platform.questions[0], Ansi(IDS_BK_OPTIONS_NONE));
    EXPECT_TRUE(main.PageShown(IDC_BKP_START));
}
