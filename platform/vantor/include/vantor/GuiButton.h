// CGuiButton: a flat push button in the suite's colours, drawn by itself:
// light face with a thin blue border, a brighter face under the mouse, a
// sunk face while pressed, a focus ring, a faded look when disabled.
#pragma once

#include <afxwin.h>
#include <vantor/VantorApi.h>

class VANTOR_API CGuiButton : public CButton {
public:
    CGuiButton();
    ~CGuiButton() override;

    BOOL IsHovering() const { return m_bHover; }

protected:
    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);

    BOOL m_bHover;
    BOOL m_bDefault;  // the dialog's default button: a stronger border

    DECLARE_MESSAGE_MAP()
};
