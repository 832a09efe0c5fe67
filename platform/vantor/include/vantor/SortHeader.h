// CSortHeader: a list view's header that shows an arrow on the sorted
// column (pointing up for ascending). Subclass the list's header with it:
//   m_sortHeader.SubclassWindow(m_list.GetHeaderCtrl()->m_hWnd);
// The header paints itself as usual, off screen, and the arrow is laid
// over the sorted column's right end.
#pragma once

#include <afxwin.h>
#include <vantor/VantorApi.h>

class VANTOR_API CSortHeader : public CHeaderCtrl {
public:
    CSortHeader();
    ~CSortHeader() override;

    // column -1 takes the arrow away.
    void SetSortImage(int column, BOOL ascending);
    int GetSortColumn() const { return m_nSortColumn; }
    BOOL GetAscending() const { return m_bAscending; }

protected:
    afx_msg void OnPaint();
    // WM_PRINTCLIENT draws the same picture into the DC it brings.
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    void PaintTo(HDC target);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    int m_nSortColumn;
    BOOL m_bAscending;

    DECLARE_MESSAGE_MAP()
};
