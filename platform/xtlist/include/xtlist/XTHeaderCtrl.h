// CXTHeaderCtrl: a list view's header that shows a sort arrow on one column.
#pragma once

#include <afxwin.h>

class CXTHeaderCtrl : public CHeaderCtrl {
public:
    CXTHeaderCtrl();
    ~CXTHeaderCtrl() override;

    // The arrow on `column` (up for ascending); -1 takes it away. Returns the
    // column that had it before.
    int SetSortImage(int column, BOOL ascending);
    int GetSortColumn() const { return m_nSortColumn; }
    // The direction the arrow shows (TRUE with no arrow).
    BOOL GetAscending() const { return m_bAscending; }

protected:
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    void PaintTo(CDC* target);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    int m_nSortColumn;
    BOOL m_bAscending;

    DECLARE_MESSAGE_MAP()
};
