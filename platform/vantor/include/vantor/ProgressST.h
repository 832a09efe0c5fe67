// CProgressST: a progress bar that fills its done part with a bitmap cell
// repeated side by side (stretched to the bar's height), inside a thin
// frame; without a cell it fills with a blue gradient.
#pragma once

#include <afxwin.h>
#include <vantor/VantorApi.h>

class VANTOR_API CProgressST : public CProgressCtrl {
public:
    CProgressST();
    ~CProgressST() override;

    void SetRange(int lo, int hi);
    void SetPos(int pos);
    // The cell, from the framework's resource chain; `repaint` redraws now.
    BOOL SetBitmap(UINT id, BOOL repaint);

    // Width in pixels of the filled part for the control's range and position.
    int FilledWidth() const;

protected:
    afx_msg void OnPaint();
    // WM_PRINTCLIENT draws the same picture into the DC it brings.
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    void PaintTo(HDC target);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    CBitmap m_cell;

    DECLARE_MESSAGE_MAP()
};
