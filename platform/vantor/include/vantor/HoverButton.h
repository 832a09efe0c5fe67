// CHoverButton: an owner-drawn button whose face is a bitmap resource.
//
// The face bitmap holds the button's looks side by side, each frame as wide
// as the button: normal and hover (a two-frame strip), or just one frame,
// over which the hover look is then painted. A pressed button shows the
// hover frame sunk by a pixel, a disabled one a faded normal frame. The
// caption, when there is one, is drawn over the face; on a wide face (one
// with its picture at the left) it stands right of the picture.
#pragma once

#include <afxwin.h>
#include <vantor/VantorApi.h>

class VANTOR_API CHoverButton : public CButton {
public:
    CHoverButton();
    ~CHoverButton() override;

    // The face, from the framework's resource chain. FALSE when the bitmap
    // is missing; the button then draws a plain face of its own.
    BOOL LoadBitmapA(UINT id);
    // Colour of the caption; CLR_DEFAULT picks dark or white from the face.
    void SetTextColor(COLORREF colour);
    BOOL IsHovering() const { return m_bHover; }
    // The width the button needs to show `caption` whole in its font, at its
    // present height and with its face.
    int WidthToShow(const char* caption) const;

protected:
    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);

    int FrameCount(int clientWidth) const;
    // Pixels left of the caption: the picture of a wide face, or a margin.
    int CaptionLeft(int clientWidth, int clientHeight) const;

    CBitmap m_face;
    CSize m_faceSize;
    int m_nFaceBrightness;
    COLORREF m_crText;
    BOOL m_bHover;

    DECLARE_MESSAGE_MAP()
};
