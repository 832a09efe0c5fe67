// CXTSortClass: sorts the rows of a report list by the text of one column.
//
//   CXTSortClass sort(&list, column);
//   sort.Sort(ascending, xtSortString);
//
// Every row keeps its item data and its sub-items; rows that compare equal
// keep their order.
#pragma once

#include <afxwin.h>

enum XTSortType {
    xtSortString,    // text, case ignored, in the user's language order
    xtSortNumber,    // leading number ("1,234 KB" is 1234); texts without one come first
    xtSortDateTime,  // "2004-05-06 07:08", "06.05.2004", "5/6/2004 7:08 PM"; unreadable ones first
};

class CXTSortClass {
public:
    CXTSortClass(CListCtrl* list, int column);
    void Sort(BOOL ascending, XTSortType type);

    // The comparisons the sort uses, negative / 0 / positive.
    static int Compare(const CString& a, const CString& b, XTSortType type);
    // Parses the texts the number and date sorts understand; FALSE when none.
    static BOOL ParseNumber(const char* text, double& value);
    static BOOL ParseDateTime(const char* text, double& value);

private:
    CListCtrl* m_pList;
    int m_nColumn;
};
