// CHeading: the heading of a page, in its own colour and font.
//
// The style number is a set of bits:
//   HEADING_SINGLELINE (0x01)  one line, centred vertically, "..." when too long;
//                              otherwise the text wraps from the top
//   HEADING_BAND       (0x04)  a soft band behind the text, fading to the right
//   HEADING_RULE       (0x10)  a thin rule along the bottom edge
#pragma once

#include <afxwin.h>
#include <vantor/VantorApi.h>

enum {
    HEADING_SINGLELINE = 0x01,
    HEADING_BAND = 0x04,
    HEADING_RULE = 0x10,
};

class VANTOR_API CHeading : public CStatic {
public:
    CHeading();
    ~CHeading() override;

    // `font` NULL: the suite's default font, bold. May be called before the
    // control is bound to its window; the settings then apply once it is.
    void InitControl(LPCSTR text, COLORREF colour, const LOGFONT* font, int style);

    COLORREF GetColour() const { return m_crText; }
    int GetHeadingStyle() const { return m_nStyle; }
    HFONT GetHeadingFont() const { return HFONT(m_font.m_hObject); }

protected:
    void PreSubclassWindow() override;
    afx_msg void OnPaint();
    // WM_PRINTCLIENT draws the same picture into the DC it brings.
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    void PaintTo(HDC target);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);

    CFont m_font;
    COLORREF m_crText;
    int m_nStyle;
    CString m_strPending;
    BOOL m_bPending;

    DECLARE_MESSAGE_MAP()
};
