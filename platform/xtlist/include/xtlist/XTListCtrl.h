// CXTListCtrl: a report list that sorts by a column and can show the sort
// arrow in its header.
#pragma once

#include <afxwin.h>

#include <xtlist/XTHeaderCtrl.h>
#include <xtlist/XTSortClass.h>

class CXTListCtrl : public CListCtrl {
public:
    CXTListCtrl();
    ~CXTListCtrl() override;

    // Takes over the list's header so that it draws the sort arrow. Leave it
    // when another header class subclasses the header instead.
    BOOL SubclassHeader();
    CXTHeaderCtrl& GetXTHeaderCtrl() { return m_header; }

    // Sorts the rows by `column` and, when the header was taken over, moves
    // the arrow there. Remembers the column and direction.
    void SortColumn(int column, BOOL ascending, XTSortType type = xtSortString);
    int GetSortColumn() const { return m_nSortColumn; }
    BOOL GetSortAscending() const { return m_bSortAscending; }

    // Ticks or clears every row's check box.
    void CheckAll(BOOL check);

protected:
    CXTHeaderCtrl m_header;
    int m_nSortColumn;
    BOOL m_bSortAscending;
};
