// CStaticFader: a status text whose colour, while its timer runs, pulses
// gently between the text colour and a lighter shade of it. It paints off
// screen, so new texts and fading never flicker. SetText and the plain
// SetWindowText both show a text; a new text starts at full colour. Long
// paths are shortened in the middle to fit.
#pragma once

#include <afxwin.h>
#include <vantor/VantorApi.h>

class VANTOR_API CStaticFader : public CStatic {
public:
    CStaticFader();
    ~CStaticFader() override;

    void SetText(LPCSTR text);
    // back = CLR_DEFAULT: whatever the parent's static brush shows.
    void SetColors(COLORREF text, COLORREF back);
    void StartTimer();
    void StopTimer();

    BOOL IsFading() const { return m_bTimer; }
    // The colour the text has now.
    COLORREF CurrentTextColor() const;

protected:
    afx_msg void OnPaint();
    // WM_PRINTCLIENT draws the same picture into the DC it brings.
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    void PaintTo(HDC target);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEnableChanged(WPARAM wParam, LPARAM lParam);

    COLORREF m_crText;
    COLORREF m_crBack;
    COLORREF m_crPaper;  // what the text fades towards: the back colour as last painted
    int m_nPhase;  // steps into one pulse
    BOOL m_bTimer;

    DECLARE_MESSAGE_MAP()
};
