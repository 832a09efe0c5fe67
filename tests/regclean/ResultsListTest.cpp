// The registry cleaner's results list with many findings: a scan of tens of
// thousands of broken values finishes in the window with every value listed
// once, and the rows ticked through the list's own messages are exactly the
// values Delete removes.
#include "regclean/RegCleanWindow.h"
#include "regclean/Sections.h"
#include "regclean/UndoStore.h"

#include "CleanerWindowFixture.h"
#include "RegCleanTestSupport.h"
#include "testsupport.h"
#include "vantres/ids_regclean.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>

using testsupport::Ansi;
using testsupport::ScratchKey;
using testsupport::WaitFor;

namespace {

class ResultsList : public rctest::CleanerWindowTest {
protected:
    HWND List() const { return Item(IDC_RC_RESULTS); }
    std::string Cell(int row, int column) const
    {
        char text[600] = {};
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(List(), LVM_GETITEMTEXTA, WPARAM(row), LPARAM(&item));
        return text;
    }
    bool Ticked(int row) const
    {
        return UINT(::SendMessageA(List(), LVM_GETITEMSTATE, WPARAM(row), LVIS_STATEIMAGEMASK)) ==
               UINT(INDEXTOSTATEIMAGEMASK(2));
    }
    void Tick(int row, bool ticked)
    {
        LVITEMA item{};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
        ::SendMessageA(List(), LVM_SETITEMSTATE, WPARAM(row), LPARAM(&item));
    }
    std::string Status() const { return testsupport::WindowText(Item(IDC_RC_STATUS)); }
    std::string CountLine() const
    {
        char line[64];
        snprintf(line, sizeof line, rctest::Text(IDS_RC_FOUND_COUNT).c_str(), Rows());
        return line;
    }
    bool ScanEnded() const { return ::IsWindowEnabled(Item(IDC_RC_START)) && Status() == CountLine(); }
    // Scans and waits for the count line; false when it does not come in time.
    bool Scan(DWORD timeoutMs)
    {
        Click(IDC_RC_START);
        return WaitFor([&] { return ScanEnded(); }, timeoutMs);
    }
    // The row of a value of the scratch key, -1 when it is not listed.
    int RowOf(const std::string& name) const
    {
        const std::string path = "HKEY_CURRENT_USER\\" + m_key.path();
        for (int row = 0; row < Rows(); ++row)
            if (Cell(row, 0) == path && Cell(row, 1) == name) return row;
        return -1;
    }

    ScratchKey m_key{"RegCleanResultsList"};
};

TEST_F(ResultsList, AScanOfTwentyThousandFindingsListsEveryOneOnceWithTheCount)
{
    const int kValues = 20000;
    for (int i = 0; i < kValues; ++i)
        m_key.SetString(("v" + std::to_string(i)).c_str(), "C:\\rc-gone\\list\\app" + std::to_string(i) + ".exe");
    // Row by row through the window this took minutes; the list keeps up now.
    ASSERT_TRUE(Scan(120000)) << Status() << " with " << Rows() << " rows";
    const std::string path = "HKEY_CURRENT_USER\\" + m_key.path();
    std::set<std::string> names;
    int ours = 0;
    for (int row = 0; row < Rows(); ++row) {
        if (Cell(row, 0) != path) continue;
        ++ours;
        const std::string name = Cell(row, 1);
        names.insert(name);
        if (name == "v12345") {
            EXPECT_EQ("C:\\rc-gone\\list\\app12345.exe", Cell(row, 2));
        }
    }
    EXPECT_EQ(kValues, ours);
    EXPECT_EQ(size_t(kValues), names.size());
    EXPECT_EQ(1u, names.count("v0"));
    EXPECT_EQ(1u, names.count("v19999"));
    EXPECT_EQ(CountLine(), Status());
}

TEST_F(ResultsList, RowsTickedThroughTheListAreTheValuesRemoved)
{
    for (int i = 0; i < 6; ++i)
        m_key.SetString(("t" + std::to_string(i)).c_str(), "C:\\rc-gone\\list\\ticked" + std::to_string(i) + ".exe");
    ASSERT_TRUE(Scan(60000)) << Status();
    for (int i = 0; i < 6; ++i) {
        const int row = RowOf("t" + std::to_string(i));
        ASSERT_GE(row, 0) << i;
        EXPECT_FALSE(Ticked(row));
    }
    Tick(RowOf("t1"), true);
    Tick(RowOf("t3"), true);
    Tick(RowOf("t4"), true);
    Tick(RowOf("t4"), false);
    EXPECT_TRUE(Ticked(RowOf("t1")));
    EXPECT_FALSE(Ticked(RowOf("t4")));
    const int rows = Rows();

    CStringArray before;
    ListUndoRecords(before);
    Click(IDC_RC_DELETE);
    EXPECT_EQ(rows - 2, Rows());
    for (int i : {1, 3}) {
        EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, m_key.path(), ("t" + std::to_string(i)).c_str()));
        EXPECT_EQ(-1, RowOf("t" + std::to_string(i)));
    }
    for (int i : {0, 2, 4, 5}) {
        EXPECT_TRUE(testsupport::RegValueExists(HKEY_CURRENT_USER, m_key.path(), ("t" + std::to_string(i)).c_str()));
        EXPECT_GE(RowOf("t" + std::to_string(i)), 0);
    }
    // The undo file holds the two removed values, and nothing else.
    CStringArray after;
    ListUndoRecords(after);
    CString added;
    for (int i = 0; i < after.GetSize(); ++i) {
        bool old = false;
        for (int j = 0; j < before.GetSize(); ++j) old |= before[j] == after[i];
        if (!old) added = after[i];
    }
    ASSERT_FALSE(added.IsEmpty());
    const std::string undo = testsupport::ReadFileBytes(added.str());
    EXPECT_NE(std::string::npos, undo.find("\"t1\"="));
    EXPECT_NE(std::string::npos, undo.find("\"t3\"="));
    EXPECT_EQ(std::string::npos, undo.find("\"t4\"="));
    EXPECT_EQ(std::string::npos, undo.find("\"t0\"="));
    DropUndoRecord(added);
}

TEST_F(ResultsList, ARowWhoseValueCouldNotBeRemovedStaysListed)
{
    // A key name with a line break cannot be written back by the registry
    // editor, so that value is kept, not deleted: its row must not claim otherwise.
    HKEY odd = m_key.Sub("odd\nkey");
    ASSERT_NE(nullptr, odd);
    const std::string missing = "C:\\rc-gone\\list\\kept.exe";
    ::RegSetValueExA(odd, "kept0", 0, REG_SZ, reinterpret_cast<const BYTE*>(missing.c_str()), DWORD(missing.size() + 1));
    ::RegCloseKey(odd);
    m_key.SetString("plain0", "C:\\rc-gone\\list\\plain.exe");
    ASSERT_TRUE(Scan(60000)) << Status();
    auto rowNamed = [&](const std::string& name) {
        for (int row = 0; row < Rows(); ++row)
            if (Cell(row, 1) == name && Cell(row, 0).find(m_key.path()) != std::string::npos) return row;
        return -1;
    };
    ASSERT_GE(rowNamed("kept0"), 0);
    ASSERT_GE(rowNamed("plain0"), 0);
    Tick(rowNamed("kept0"), true);
    Tick(rowNamed("plain0"), true);
    CStringArray before;
    ListUndoRecords(before);
    Click(IDC_RC_DELETE);

    EXPECT_TRUE(testsupport::RegValueExists(HKEY_CURRENT_USER, m_key.path() + "\\odd\nkey", "kept0"));
    EXPECT_GE(rowNamed("kept0"), 0);
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, m_key.path(), "plain0"));
    EXPECT_EQ(-1, rowNamed("plain0"));
    EXPECT_EQ(CountLine(), Status());
    CStringArray after;
    ListUndoRecords(after);
    for (int i = 0; i < after.GetSize(); ++i) {
        bool old = false;
        for (int j = 0; j < before.GetSize(); ++j) old |= before[j] == after[i];
        if (!old) DropUndoRecord(after[i]);
    }
}

}  // namespace
