// The removal, driven through its progress dialog: delete, Recycle Bin and
// move, the counter and the bar, the system-file question, and files that
// changed since the scan.
#include "JunkTestSupport.h"
#include "JunkUiSupport.h"
#include "RemovalRun.h"
#include "testsupport.h"

#include "junkclean/DeleteProgressDlg.h"
#include "junkclean/JunkResults.h"
#include "junkclean/ProtectedFiles.h"

#include <vantres/ids_junk.h>

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <atomic>

using namespace junktest;

namespace {

::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new JunkEnvironment);

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(RemovalTest, DeletePermanentlyRemovesEveryTickedFileAndItsRow) {
    TempTree tree("C:\\toolhost-tests\\jk-rem-delete");
    ASSERT_TRUE(tree.File("a.tmp", 10));
    ASSERT_TRUE(tree.File("b.tmp", 10, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(tree.File("c.tmp", 10));
    ASSERT_TRUE(tree.File("keep.tmp", 10));
    RemovalRun run(REMOVAL_DELETE, "", {tree / "a.tmp", tree / "b.tmp", tree / "keep.tmp", tree / "c.tmp"},
                   {true, true, false, true});
    std::vector<std::string> left = run.Remaining();
    ASSERT_EQ(1u, left.size());
    EXPECT_EQ(tree / "keep.tmp", left[0]);
    EXPECT_FALSE(Exists(tree / "a.tmp"));
    EXPECT_FALSE(Exists(tree / "b.tmp"));  // read-only: its attributes were reset first
    EXPECT_FALSE(Exists(tree / "c.tmp"));
    EXPECT_TRUE(Exists(tree / "keep.tmp"));
}

TEST(RemovalTest, RecycleBinTakesTheFileOutOfItsFolder) {
    TempTree tree("C:\\toolhost-tests\\jk-rem-recycle");
    const std::string name = "jk-recycled-" + std::to_string(GetTickCount()) + ".tmp";
    ASSERT_TRUE(tree.File(name, 100));
    RemovalRun run(REMOVAL_RECYCLE, "", {tree / name}, {true});
    EXPECT_TRUE(run.Remaining().empty());
    EXPECT_FALSE(Exists(tree / name));
    // The trash of this prefix's home, reached through its Unix path.
    char xdg[MAX_PATH] = {};
    if (GetEnvironmentVariableA("XDG_DATA_HOME", xdg, MAX_PATH)) {
        std::string trashed = std::string("\\\\?\\unix") + xdg + "/Trash/files/" + name;
        for (char& c : trashed)
            if (c == '/') c = '\\';
        EXPECT_TRUE(Exists(trashed)) << trashed;
        DeleteFileA(trashed.c_str());
    }
}

TEST(RemovalTest, MoveToFolderGivesASecondSameNameANewName) {
    TempTree tree("C:\\toolhost-tests\\jk-rem-move");
    TempTree target("D:\\jk-rem-move-target");
    ASSERT_TRUE(tree.File("x\\a.tmp", 11));
    ASSERT_TRUE(tree.File("y\\a.tmp", 22));
    RemovalRun run(REMOVAL_MOVE, target.path(), {tree / "x\\a.tmp", tree / "y\\a.tmp"}, {true, true});
    EXPECT_TRUE(run.Remaining().empty());
    EXPECT_FALSE(Exists(tree / "x\\a.tmp"));
    EXPECT_FALSE(Exists(tree / "y\\a.tmp"));
    EXPECT_EQ(11u, ReadSize(target / "a.tmp"));
    EXPECT_EQ(22u, ReadSize(target / "a (2).tmp"));
    // A folder written with a trailing backslash takes the same target names.
    EXPECT_EQ(target / "a (3).tmp", MoveTargetFor("C:\\z\\a.tmp", (target.path() + "\\").c_str()).str());
}

// A ticked file that already lies in the move folder (listed before the move
// mode was chosen) keeps its name and its row: moving it would only rename it.
TEST(RemovalTest, AFileAlreadyInTheMoveFolderStaysAsItIs) {
    TempTree tree("C:\\toolhost-tests\\jk-rem-move-inside");
    TempTree target("D:\\jk-rem-move-inside");
    ASSERT_TRUE(target.File("old.tmp", 3));
    ASSERT_TRUE(tree.File("old.tmp", 4));
    RemovalRun run(REMOVAL_MOVE, target.path() + "\\", {target / "OLD.tmp", tree / "old.tmp"}, {true, true});
    EXPECT_EQ((std::vector<std::string>{target / "OLD.tmp"}), run.Remaining());
    EXPECT_EQ(3u, ReadSize(target / "old.tmp"));
    EXPECT_EQ(4u, ReadSize(target / "old (2).tmp"));  // the other one came in beside it
    EXPECT_EQ(DWORD(-1), ReadSize(target / "old (3).tmp"));
}

TEST(RemovalTest, CounterAndBarCountEveryRow) {
    TempTree tree("C:\\toolhost-tests\\jk-rem-counter");
    for (const char* f : {"a.tmp", "b.tmp", "c.tmp"}) ASSERT_TRUE(tree.File(f, 1));
    RemovalRun run(REMOVAL_DELETE, "", {tree / "a.tmp", tree / "b.tmp", tree / "c.tmp"}, {false, true, false});
    HWND dlg = run.Dialog();
    ASSERT_TRUE(dlg != NULL);
    ASSERT_TRUE(testsupport::WaitFor([&] { return ControlText(dlg, IDC_JKD_COUNTER) == "1 / 3"; }, 20000))
        << ControlText(dlg, IDC_JKD_COUNTER);
    // The bar follows the counter: wait for it rather than read it in between.
    DWORD_PTR pos = 0;
    testsupport::WaitFor([&] {
        SendMessageTimeoutA(GetDlgItem(dlg, IDC_JKD_PROGRESS), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 5000, &pos);
        return pos == 33;
    }, 5000);
    EXPECT_EQ(33u, pos);
    EXPECT_EQ(tree / "b.tmp", ControlText(dlg, IDC_JKD_FILE));
    std::vector<std::string> left = run.Remaining();
    ASSERT_EQ(2u, left.size());
    EXPECT_EQ(tree / "a.tmp", left[0]);
    EXPECT_EQ(tree / "c.tmp", left[1]);
}

// The system-file question of each mode, answered Yes, No or Cancel.
struct QuestionCase {
    DWORD mode;
    int answer;
    const char* caption;  // "" = the program's title
    int defaultButton;
};

class SystemFileQuestion : public ::testing::TestWithParam<QuestionCase> {};

TEST_P(SystemFileQuestion, AnswerDecides) {
    const QuestionCase c = GetParam();
    TempTree tree("C:\\toolhost-tests\\jk-rem-question");
    TempTree target("D:\\jk-rem-question-target");
    ASSERT_TRUE(tree.File("lib.DLL", 5));
    ASSERT_TRUE(tree.File("after.tmp", 5));
    RemovalRun run(c.mode, target.path(), {tree / "lib.DLL", tree / "after.tmp"}, {true, true});
    HWND box = WaitForMessageBox(20000);
    ASSERT_TRUE(box != NULL);
    char title[256] = {};
    GetWindowTextA(box, title, sizeof title);
    if (*c.caption) {
        EXPECT_STREQ(c.caption, title);
    } else {
        EXPECT_STRNE("Confirm Deletion", title);
        EXPECT_STRNE("", title);
    }
    std::string text = MessageBoxText(box);
    EXPECT_NE(std::string::npos, text.find(tree / "lib.DLL")) << text;
    EXPECT_NE(std::string::npos, text.find(A("必要的系统文件"))) << text;
    for (int button : {IDYES, IDNO, IDCANCEL}) {
        const LONG_PTR style = GetWindowLongPtrA(GetDlgItem(box, button), GWL_STYLE);
        EXPECT_EQ(button == c.defaultButton, (style & BS_DEFPUSHBUTTON) != 0) << "button " << button;
    }
    Press(box, c.answer);
    std::vector<std::string> left = run.Remaining();
    const bool dllGone = !Exists(tree / "lib.DLL");
    const bool afterGone = !Exists(tree / "after.tmp");
    switch (c.answer) {
    case IDYES:
        EXPECT_TRUE(dllGone);
        EXPECT_TRUE(afterGone);
        EXPECT_TRUE(left.empty());
        break;
    case IDNO:
        EXPECT_FALSE(dllGone);
        EXPECT_TRUE(afterGone);  // the pass goes on with the next row
        ASSERT_EQ(1u, left.size());
        EXPECT_EQ(tree / "lib.DLL", left[0]);
        break;
    default:  // Cancel ends the pass
        EXPECT_FALSE(dllGone);
        EXPECT_FALSE(afterGone);
        EXPECT_EQ(2u, left.size());
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryMode, SystemFileQuestion,
                         ::testing::Values(QuestionCase{REMOVAL_DELETE, IDYES, "Confirm Deletion", IDYES},
                                           QuestionCase{REMOVAL_DELETE, IDNO, "Confirm Deletion", IDYES},
                                           QuestionCase{REMOVAL_DELETE, IDCANCEL, "Confirm Deletion", IDYES},
                                           QuestionCase{REMOVAL_RECYCLE, IDYES, "", IDNO},
                                           QuestionCase{REMOVAL_RECYCLE, IDNO, "", IDNO},
                                           QuestionCase{REMOVAL_MOVE, IDYES, "Confirm Deletion", IDNO},
                                           QuestionCase{REMOVAL_MOVE, IDCANCEL, "Confirm Deletion", IDNO}));

TEST(RemovalTest, FileChangedSinceTheScanIsKept) {
    TempTree tree("C:\\toolhost-tests\\jk-rem-changed");
    ASSERT_TRUE(tree.File("saved-again.tmp", 10));
    ASSERT_TRUE(tree.File("touched.tmp", 10));
    ASSERT_TRUE(tree.File("untouched.tmp", 10));
    RemovalRun run(REMOVAL_DELETE, "", {tree / "saved-again.tmp", tree / "touched.tmp", tree / "untouched.tmp"},
                   {true, true, true}, [&] {
                       // After the scan listed them: one grows, one only gets a new write time.
                       MakeFile(tree / "saved-again.tmp", 20);
                       HANDLE h = CreateFileA((tree / "touched.tmp").c_str(), FILE_WRITE_ATTRIBUTES, 0, NULL,
                                              OPEN_EXISTING, 0, NULL);
                       FILETIME ft;
                       GetSystemTimeAsFileTime(&ft);
                       ft.dwHighDateTime += 1;
                       SetFileTime(h, NULL, NULL, &ft);
                       CloseHandle(h);
                   });
    std::vector<std::string> left = run.Remaining();
    EXPECT_TRUE(Exists(tree / "saved-again.tmp"));
    EXPECT_TRUE(Exists(tree / "touched.tmp"));
    EXPECT_FALSE(Exists(tree / "untouched.tmp"));
    ASSERT_EQ(2u, left.size());
}

TEST(RemovalTest, StopEndsThePassAfterTheFileInHand) {
    TempTree tree("C:\\toolhost-tests\\jk-rem-stop");
    std::vector<std::string> files;
    std::vector<bool> ticks;
    for (int i = 0; i < 30; ++i) {
        files.push_back(tree / ("f" + std::to_string(i) + ".tmp"));
        ticks.push_back(true);
        ASSERT_TRUE(MakeFile(files.back(), 1));
    }
    RemovalRun run(REMOVAL_DELETE, "", files, ticks);
    HWND dlg = run.Dialog();
    ASSERT_TRUE(dlg != NULL);
    ASSERT_TRUE(testsupport::WaitFor([&] { return ControlText(dlg, IDC_JKD_COUNTER) == "2 / 30"; }, 30000));
    Click(dlg, IDCANCEL);
    std::vector<std::string> left = run.Remaining();
    // Stop ends the pass at its next pause: at most the file in hand goes.
    EXPECT_GE(left.size(), 26u);
    EXPECT_LE(left.size(), 29u);
    int present = 0;
    for (const std::string& f : files) present += Exists(f);
    EXPECT_EQ(int(left.size()), present);
}

// Recycle Bin mode on the network drive N:, which keeps no Recycle Bin: the
// shell would delete for good there, so the user is asked first, once.
TEST(RemovalTest, RecycleBinAsksBeforeDeletingForGoodOnANetworkDrive) {
    ASSERT_EQ(DRIVE_REMOTE, GetDriveTypeA("N:\\"));
    TempTree local("C:\\toolhost-tests\\jk-rem-nobin");
    TempTree remote("N:\\jk-rem-nobin");
    ASSERT_TRUE(remote.File("one.tmp", 10));
    ASSERT_TRUE(local.File("here.tmp", 10));
    ASSERT_TRUE(remote.File("two.tmp", 10));
    EXPECT_FALSE(HasRecycleBin((remote / "one.tmp").c_str()));
    EXPECT_FALSE(HasRecycleBin("\\\\server\\share\\a.tmp"));
    EXPECT_TRUE(HasRecycleBin((local / "here.tmp").c_str()));

    // No: the network files and their rows stay; the local file goes to the bin.
    {
        RemovalRun run(REMOVAL_RECYCLE, "", {remote / "one.tmp", local / "here.tmp", remote / "two.tmp"},
                       {true, true, true});
        HWND box = WaitForMessageBox(20000);
        ASSERT_TRUE(box != NULL);
        const std::string text = MessageBoxText(box);
        EXPECT_NE(std::string::npos, text.find(remote / "one.tmp")) << text;
        EXPECT_NE(std::string::npos, text.find(A("没有回收站"))) << text;
        EXPECT_TRUE((GetWindowLongPtrA(GetDlgItem(box, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON) != 0);
        Press(box, IDNO);
        std::vector<std::string> left = run.Remaining();  // a second question would hold the pass up
        EXPECT_EQ((std::vector<std::string>{remote / "one.tmp", remote / "two.tmp"}), left);
        EXPECT_EQ(10u, ReadSize(remote / "one.tmp"));
        EXPECT_EQ(10u, ReadSize(remote / "two.tmp"));
        EXPECT_FALSE(Exists(local / "here.tmp"));
    }
    // Yes, asked once for both: they are deleted.
    {
        RemovalRun run(REMOVAL_RECYCLE, "", {remote / "one.tmp", remote / "two.tmp"}, {true, true});
        HWND box = WaitForMessageBox(20000);
        ASSERT_TRUE(box != NULL);
        Press(box, IDYES);
        EXPECT_TRUE(run.Remaining().empty());
        EXPECT_FALSE(Exists(remote / "one.tmp"));
        EXPECT_FALSE(Exists(remote / "two.tmp"));
    }
}

// However many names are taken in the target folder, nothing there is replaced.
TEST(RemovalTest, MoveNeverReplacesAFileInTheTargetFolder) {
    TempTree tree("C:\\toolhost-tests\\jk-rem-full");
    TempTree target("D:\\jk-rem-full-target");
    ASSERT_TRUE(tree.File("a.tmp", 77));
    ASSERT_TRUE(tree.File("b.tmp", 5));
    ASSERT_TRUE(target.File("a.tmp", 1));
    for (int n = 2; n < 1000; ++n) {
        HANDLE h = CreateFileA((target / ("a (" + std::to_string(n) + ").tmp")).c_str(), GENERIC_WRITE, 0, NULL,
                               CREATE_NEW, 0, NULL);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << n;
        CloseHandle(h);
    }
    EXPECT_EQ("", MoveTargetFor((tree / "a.tmp").c_str(), target.path().c_str()).str());
    RemovalRun run(REMOVAL_MOVE, target.path(), {tree / "a.tmp", tree / "b.tmp"}, {true, true});
    std::vector<std::string> left = run.Remaining();
    EXPECT_EQ((std::vector<std::string>{tree / "a.tmp"}), left);  // it stays, with its row
    EXPECT_EQ(77u, ReadSize(tree / "a.tmp"));
    EXPECT_EQ(1u, ReadSize(target / "a.tmp"));
    EXPECT_EQ(0u, ReadSize(target / "a (999).tmp"));
    EXPECT_EQ(5u, ReadSize(target / "b.tmp"));
}

// A move onto a drive that fills up halfway: the file stays whole with its
// row, and no cut-off copy is left in the move folder. U: is the test prefix's
// 2 MiB drive.
TEST(RemovalTest, AMoveOntoADriveThatFillsUpKeepsTheFileAndLeavesNoPartialCopy) {
    ULARGE_INTEGER free = {}, total = {};
    if (!GetDiskFreeSpaceExA("U:\\", &free, &total, NULL) || total.QuadPart > 16ull * 1024 * 1024)
        GTEST_SKIP() << "U: is not a small drive here (mounting a small file system needs root)";
    TempTree tree("C:\\toolhost-tests\\jk-rem-fills");
    TempTree target("U:\\jk-rem-fills");
    ASSERT_TRUE(tree.File("big.tmp", 3 * 1024 * 1024));
    ASSERT_TRUE(tree.File("small.tmp", 1000));
    ASSERT_TRUE(target.Dir("."));
    RemovalRun run(REMOVAL_MOVE, target.path(), {tree / "big.tmp", tree / "small.tmp"}, {true, true});
    EXPECT_EQ((std::vector<std::string>{tree / "big.tmp"}), run.Remaining());
    EXPECT_EQ(3u * 1024 * 1024, ReadSize(tree / "big.tmp"));
    EXPECT_EQ(DWORD(-1), ReadSize(target / "big.tmp")) << "a cut-off copy was left behind";
    EXPECT_EQ(1000u, ReadSize(target / "small.tmp"));
    EXPECT_EQ(DWORD(-1), ReadSize(tree / "small.tmp"));
}

// Folder names whose second byte is 0x5C: 俓 (82 5C) and 媆 (8B 5C).
TEST(RemovalTest, DoubleByteFolderNamesAreListedAndRemovedWhole) {
    const std::string jing = A("俓"), nao = A("媆");
    ASSERT_EQ("\x82\x5C", jing);
    TempTree tree("C:\\toolhost-tests\\jk-rem-dbcs");
    ASSERT_TRUE(tree.File(jing + "\\a.tmp", 3));
    ASSERT_TRUE(tree.File(jing + "\\real.exe", 3));
    ASSERT_TRUE(tree.File(jing + "\\keep.txt", 3));
    ASSERT_TRUE(tree.File(nao + "\\b.tmp", 3));
    ASSERT_TRUE(tree.File("c.tmp", 3));
    // 乻 is 81 73: its trail byte and "am" are not the protected name "sam".
    const std::string notSam = A("乻") + "am";
    ASSERT_EQ("\x81sam", notSam);
    ASSERT_TRUE(tree.File(notSam + "\\d.tmp", 3));
    ASSERT_TRUE(MakeShortcut(tree / (jing + "\\good.lnk"), tree / (jing + "\\real.exe")));
    ASSERT_TRUE(MakeShortcut(tree / (jing + "\\bad.lnk"), tree / (jing + "\\gone.exe")));

    // The safe folder 媆 keeps its file out; the shortcut to a file that is
    // there is no finding.
    CStringArray masks, safe;
    masks.Add("*.tmp");
    safe.Add(CString((tree / nao).c_str()).MakeLower());
    CollectSink sink = ScanFolder(tree.path(), masks, safe, true);
    std::vector<std::string> listed;
    for (const JunkFinding& f : sink.rows) listed.push_back(f.path.str());
    std::sort(listed.begin(), listed.end());
    std::vector<std::string> expected = {tree / (jing + "\\a.tmp"), tree / (jing + "\\bad.lnk"), tree / "c.tmp",
                                         tree / (notSam + "\\d.tmp")};
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(expected, listed);

    // Removed, and nothing else.
    RemovalRun run(REMOVAL_DELETE, "", {tree / (jing + "\\a.tmp"), tree / (jing + "\\bad.lnk"), tree / "c.tmp"},
                   {true, true, false});
    EXPECT_EQ((std::vector<std::string>{tree / "c.tmp"}), run.Remaining());
    EXPECT_FALSE(Exists(tree / (jing + "\\a.tmp")));
    EXPECT_FALSE(Exists(tree / (jing + "\\bad.lnk")));
    for (const std::string& kept : {jing + "\\real.exe", jing + "\\keep.txt", jing + "\\good.lnk", nao + "\\b.tmp",
                                    std::string("c.tmp")})
        EXPECT_TRUE(Exists(tree / kept)) << kept;
}

TEST(RemovalTest, MoveTargetWithADoubleByteNameTakesTheFilesInside) {
    const std::string jing = A("俓");
    TempTree tree("C:\\toolhost-tests\\jk-rem-dbcs-move");
    TempTree target("D:\\jk-rem-dbcs-target");
    ASSERT_TRUE(target.Dir(jing));
    ASSERT_TRUE(tree.File("a.tmp", 9));
    ASSERT_TRUE(tree.File("x\\a.tmp", 8));
    RemovalRun run(REMOVAL_MOVE, target / jing, {tree / "a.tmp", tree / "x\\a.tmp"}, {true, true});
    EXPECT_TRUE(run.Remaining().empty());
    EXPECT_EQ(9u, ReadSize(target / (jing + "\\a.tmp")));
    EXPECT_EQ(8u, ReadSize(target / (jing + "\\a (2).tmp")));
    // Nothing landed beside the folder under a name glued to it.
    EXPECT_FALSE(Exists(target.path() + "\\" + jing + "a.tmp"));
}

// Where the system's settings say the Recycle Bin takes nothing, or less than
// the file, the removal knows before it asks the shell: the bin turned off
// for every drive, a bin of 0% of the drive, the administrators' "no recycling".
TEST(RemovalTest, TheRecycleBinSettingsSayWhatItWillNotTake) {
    const char* const bitBucket = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket";
    const char* const policies = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
    struct Setting {
        const char* key;
        const char* name;
        DWORD value;
    };
    TempTree tree("C:\\toolhost-tests\\jk-rem-bin-settings");
    ASSERT_TRUE(tree.File("a.tmp", 10));
    const std::string file = tree / "a.tmp";
    EXPECT_TRUE(RecycleBinCheck().Takes(file.c_str()));
    for (const Setting& s : {Setting{bitBucket, "NukeOnDelete", 1}, Setting{bitBucket, "Percent", 0},
                             Setting{policies, "NoRecycleFiles", 1}}) {
        SHSetValueA(HKEY_CURRENT_USER, s.key, s.name, REG_DWORD, &s.value, sizeof s.value);
        EXPECT_FALSE(RecycleBinCheck().Takes(file.c_str())) << s.name;
        SHDeleteValueA(HKEY_CURRENT_USER, s.key, s.name);
    }
    const DWORD whole = 100;  // a bin as large as the drive takes it
    SHSetValueA(HKEY_CURRENT_USER, bitBucket, "Percent", REG_DWORD, &whole, sizeof whole);
    EXPECT_TRUE(RecycleBinCheck().Takes(file.c_str()));
    SHDeleteValueA(HKEY_CURRENT_USER, bitBucket, "Percent");
}

}  // namespace
