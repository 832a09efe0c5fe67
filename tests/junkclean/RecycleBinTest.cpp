// Recycle Bin mode when the Recycle Bin cannot take the files (here: the
// prefix's trash made unusable for this whole program, before anything in it
// looks at the trash). Nothing is deleted for good without the user's yes.
#include "JunkTestSupport.h"
#include "JunkUiSupport.h"
#include "RemovalRun.h"
#include "UnusableTrash.h"
#include "testsupport.h"

#include "junkclean/JunkRemoval.h"

#include <memory>

using namespace junktest;

namespace {

class BrokenTrashEnvironment : public ::testing::Environment {
public:
    void SetUp() override { trash.reset(new UnusableTrash); }
    void TearDown() override { trash.reset(); }
    static std::unique_ptr<UnusableTrash> trash;
};
std::unique_ptr<UnusableTrash> BrokenTrashEnvironment::trash;

::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new JunkEnvironment);
::testing::Environment* const g_trash = ::testing::AddGlobalTestEnvironment(new BrokenTrashEnvironment);

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class RecycleBinRefuses : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(BrokenTrashEnvironment::trash && BrokenTrashEnvironment::trash->Ready())
            << "the trash could not be made unusable";
    }
};

// The removal sees beforehand that the bin takes nothing; and the shell,
// asked anyway, neither deletes the file nor leaves a question waiting.
TEST_F(RecycleBinRefuses, TheCheckSeesItAndTheShellKeepsTheFile) {
    TempTree tree("C:\\toolhost-tests\\jk-bin-refuses");
    ASSERT_TRUE(tree.File("a.tmp", 10));
    RecycleBinCheck check;
    EXPECT_FALSE(check.Takes((tree / "a.tmp").c_str()));

    int rc = 1;
    UiThread shell([&] { rc = RecycleFile((tree / "a.tmp").c_str()); });
    const bool ended = shell.Join(20000);
    if (!ended) {
        // The shell's own question is up: answer it so the thread can end.
        HWND box = NULL;
        testsupport::WaitFor([&] { return (box = FindThreadDialog(shell.id(), IDNO)) != NULL; }, 5000);
        if (box) Press(box, IDNO);
        shell.Join(20000);
    }
    EXPECT_TRUE(ended) << "the shell's question waited for an answer";
    EXPECT_EQ(kRecycleWouldDeleteForGood, rc);
    EXPECT_EQ(10u, ReadSize(tree / "a.tmp"));
}

// The window asks once (the bin's question, No by default): No keeps every
// such file with its row, Yes deletes them.
TEST_F(RecycleBinRefuses, TheWindowAsksOnceBeforeDeletingForGood) {
    TempTree c("C:\\toolhost-tests\\jk-bin-ask");
    TempTree d("D:\\jk-bin-ask");
    ASSERT_TRUE(c.File("one.tmp", 10));
    ASSERT_TRUE(d.File("two.tmp", 20));
    ASSERT_TRUE(c.File("three.tmp", 30));
    const std::vector<std::string> files = {c / "one.tmp", d / "two.tmp", c / "three.tmp"};
    {
        RemovalRun run(REMOVAL_RECYCLE, "", files, {true, true, true});
        HWND box = WaitForMessageBox(20000);
        ASSERT_TRUE(box != NULL);
        const std::string text = MessageBoxText(box);
        EXPECT_NE(std::string::npos, text.find(c / "one.tmp")) << text;
        EXPECT_NE(std::string::npos, text.find(A("回收站无法接收"))) << text;
        EXPECT_TRUE((GetWindowLongPtrA(GetDlgItem(box, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON) != 0);
        Press(box, IDNO);
        EXPECT_EQ(files, run.Remaining());  // a second question would hold the pass up
        EXPECT_EQ(10u, ReadSize(c / "one.tmp"));
        EXPECT_EQ(20u, ReadSize(d / "two.tmp"));
        EXPECT_EQ(30u, ReadSize(c / "three.tmp"));
    }
    {
        RemovalRun run(REMOVAL_RECYCLE, "", files, {true, true, false});
        HWND box = WaitForMessageBox(20000);
        ASSERT_TRUE(box != NULL);
        Press(box, IDYES);
        EXPECT_EQ((std::vector<std::string>{c / "three.tmp"}), run.Remaining());
        EXPECT_FALSE(Exists(c / "one.tmp"));
        EXPECT_FALSE(Exists(d / "two.tmp"));
        EXPECT_TRUE(Exists(c / "three.tmp"));
    }
}

}  // namespace
