// The list-control toolkit on a real report list: rows sorted by a column
// as text, number or date, either way, keeping their data and sub-items;
// the header's arrow; ticking every row.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include <xtlist/XTListCtrl.h>

#include "Picture.h"

using vantortest::HostWindow;
using vantortest::Picture;

namespace {

struct Row {
    const char* path;
    const char* size;
    const char* date;
};

// Name, size and date columns as the junk cleaner fills them, and item data 100 + the row.
const Row kRows[] = {
    {"c:\\temp\\b.tmp", "1,234 KB", "2004-05-06 07:08"},
    {"C:\\Temp\\a.tmp", "9 KB", "2003-12-31 23:59"},
    {"c:\\windows\\c.log", "120 KB", "2004-05-06 07:07"},
    {"c:\\temp\\B.TMP", "0 KB", "2004-01-01 00:00"},
    {"d:\\x.bak", "", "not a date"},
};

class XTListTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_frame = new HostWindow; }
    static void TearDownTestSuite()
    {
        delete s_frame;
        s_frame = nullptr;
    }
    void SetUp() override
    {
        m_panel.reset(new HostWindow(s_frame));
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(10, 10, 460, 280), m_panel.get(), 1072));
        m_list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        m_list.InsertColumn(0, "Path", LVCFMT_LEFT, 200);
        m_list.InsertColumn(1, "Size", LVCFMT_LEFT, 100);
        m_list.InsertColumn(2, "Date", LVCFMT_LEFT, 120);
        for (int i = 0; i < int(sizeof(kRows) / sizeof(kRows[0])); ++i) {
            const int at = m_list.InsertItem(i, kRows[i].path);
            m_list.SetItemText(at, 1, kRows[i].size);
            m_list.SetItemText(at, 2, kRows[i].date);
            m_list.SetItemData(at, DWORD_PTR(100 + i));
        }
    }
    void TearDown() override { m_panel.reset(); }

    // The rows by their item data, top to bottom; each row must still carry its own texts.
    std::vector<int> Order()
    {
        std::vector<int> order;
        for (int i = 0; i < m_list.GetItemCount(); ++i) {
            const int row = int(m_list.GetItemData(i)) - 100;
            order.push_back(row);
            if (row < 0 || row >= 5) continue;
            EXPECT_EQ(CString(kRows[row].path), m_list.GetItemText(i, 0));
            EXPECT_EQ(CString(kRows[row].size), m_list.GetItemText(i, 1)) << "a sub-item left its row";
            EXPECT_EQ(CString(kRows[row].date), m_list.GetItemText(i, 2));
        }
        return order;
    }

    static HostWindow* s_frame;
    std::unique_ptr<HostWindow> m_panel;
    CXTListCtrl m_list;
};

HostWindow* XTListTest::s_frame = nullptr;

TEST_F(XTListTest, SortsByTextIgnoringCaseAndKeepsEqualRowsInOrder)
{
    CXTSortClass(&m_list, 0).Sort(TRUE, xtSortString);
    // "c:\temp\b.tmp" and "c:\temp\B.TMP" are equal ignoring case: rows 0 and 3 stay in that order.
    EXPECT_EQ((std::vector<int>{1, 0, 3, 2, 4}), Order());
    CXTSortClass(&m_list, 0).Sort(FALSE, xtSortString);
    EXPECT_EQ((std::vector<int>{4, 2, 0, 3, 1}), Order());
}

TEST_F(XTListTest, SizesSortAsTextOrAsNumbers)
{
    CXTSortClass(&m_list, 1).Sort(TRUE, xtSortString);
    EXPECT_EQ((std::vector<int>{4, 3, 0, 2, 1}), Order()) << "as text \"1,234\" comes before \"9\"";
    CXTSortClass(&m_list, 1).Sort(TRUE, xtSortNumber);
    EXPECT_EQ((std::vector<int>{4, 3, 1, 2, 0}), Order()) << "an empty size first, then 0, 9, 120, 1234";
    CXTSortClass(&m_list, 1).Sort(FALSE, xtSortNumber);
    EXPECT_EQ((std::vector<int>{0, 2, 1, 3, 4}), Order());
}

TEST_F(XTListTest, DatesSortByTheirTime)
{
    CXTSortClass(&m_list, 2).Sort(TRUE, xtSortDateTime);
    EXPECT_EQ((std::vector<int>{4, 1, 3, 2, 0}), Order()) << "07:07 before 07:08 on the same day";
    CXTSortClass(&m_list, 2).Sort(FALSE, xtSortDateTime);
    EXPECT_EQ((std::vector<int>{0, 2, 3, 1, 4}), Order());
}

TEST_F(XTListTest, SortingKeepsTicksAndAnEmptyOrSingleListIsFine)
{
    m_list.SetCheck(2, TRUE);  // c:\windows\c.log
    CXTSortClass(&m_list, 0).Sort(TRUE, xtSortString);
    for (int i = 0; i < m_list.GetItemCount(); ++i)
        EXPECT_EQ(m_list.GetItemData(i) == 102, m_list.GetCheck(i) != FALSE) << "row " << i;

    CXTSortClass(&m_list, 7).Sort(TRUE, xtSortString);  // no such column: the order stays
    CXTSortClass(nullptr, 0).Sort(TRUE, xtSortString);
    m_list.DeleteAllItems();
    CXTSortClass(&m_list, 0).Sort(TRUE, xtSortString);
    m_list.InsertItem(0, "only");
    m_list.SetItemData(0, 7);
    CXTSortClass(&m_list, 0).Sort(FALSE, xtSortString);
    EXPECT_EQ(DWORD_PTR(7), m_list.GetItemData(0));
}

TEST(XTSortParsing, NumbersAndDates)
{
    double v = 0;
    EXPECT_TRUE(CXTSortClass::ParseNumber("1,234 KB", v));
    EXPECT_EQ(1234.0, v);
    EXPECT_TRUE(CXTSortClass::ParseNumber("  -12.5", v));
    EXPECT_EQ(-12.5, v);
    EXPECT_TRUE(CXTSortClass::ParseNumber("1 048 576", v));
    EXPECT_EQ(1048576.0, v);
    EXPECT_FALSE(CXTSortClass::ParseNumber("KB", v));
    EXPECT_FALSE(CXTSortClass::ParseNumber("", v));

    double a = 0, b = 0;
    ASSERT_TRUE(CXTSortClass::ParseDateTime("2004-05-06 07:08", a));
    ASSERT_TRUE(CXTSortClass::ParseDateTime("06.05.2004 07:08", b));
    EXPECT_EQ(a, b) << "day-first dotted dates";
    ASSERT_TRUE(CXTSortClass::ParseDateTime("5/6/2004 7:08 AM", b));
    EXPECT_EQ(a, b) << "month-first dates with a 12-hour clock";
    ASSERT_TRUE(CXTSortClass::ParseDateTime("Thu May  6 07:08:00 2004", b));
    EXPECT_EQ(a, b) << "the C run time's asctime form";
    ASSERT_TRUE(CXTSortClass::ParseDateTime("5/6/2004 7:08 PM", b));
    EXPECT_EQ(a + 12 * 3600.0, b);
    ASSERT_TRUE(CXTSortClass::ParseDateTime("6-5-2004", b)) << "the backup list's day-month-year";
    EXPECT_EQ(a - (7 * 3600.0 + 8 * 60), b);
    EXPECT_FALSE(CXTSortClass::ParseDateTime("2004-13-01", b));
    EXPECT_FALSE(CXTSortClass::ParseDateTime("soon", b));
    EXPECT_LT(CXTSortClass::Compare("2004-12-31", "2005-01-01", xtSortDateTime), 0);
    EXPECT_GT(CXTSortClass::Compare("10", "9", xtSortNumber), 0);
    EXPECT_LT(CXTSortClass::Compare("10", "9", xtSortString), 0);
    EXPECT_EQ(0, CXTSortClass::Compare("ABC", "abc", xtSortString));
}

TEST_F(XTListTest, TheListSortsAndMovesTheArrowInItsHeader)
{
    ASSERT_TRUE(m_list.SubclassHeader());
    EXPECT_FALSE(m_list.SubclassHeader()) << "taken over once";
    CXTHeaderCtrl& header = m_list.GetXTHeaderCtrl();
    EXPECT_EQ(-1, header.GetSortColumn());

    m_list.SortColumn(1, FALSE, xtSortNumber);
    EXPECT_EQ((std::vector<int>{0, 2, 1, 3, 4}), Order());
    EXPECT_EQ(1, m_list.GetSortColumn());
    EXPECT_FALSE(m_list.GetSortAscending());
    EXPECT_EQ(1, header.GetSortColumn());
    EXPECT_FALSE(header.GetAscending()) << "the header shows the direction of the last sort";

    RECT bounds;
    header.GetClientRect(&bounds);
    Picture picture(bounds.right, bounds.bottom);
    picture.Print(header.m_hWnd);
    const COLORREF arrow = RGB(72, 104, 170);
    EXPECT_GT(picture.Count(CRect(280, 0, 300, bounds.bottom), arrow, 6), 10) << "the arrow at column 1's end";
    EXPECT_EQ(0, picture.Count(CRect(0, 0, 200, bounds.bottom), arrow, 6));

    EXPECT_EQ(1, header.SetSortImage(0, TRUE));
    EXPECT_TRUE(header.GetAscending());
    header.UnsubclassWindow();
}

TEST_F(XTListTest, CheckAllTicksAndClearsEveryRow)
{
    m_list.CheckAll(TRUE);
    for (int i = 0; i < m_list.GetItemCount(); ++i) EXPECT_TRUE(m_list.GetCheck(i));
    m_list.CheckAll(FALSE);
    for (int i = 0; i < m_list.GetItemCount(); ++i) EXPECT_FALSE(m_list.GetCheck(i));
}

}  // namespace
