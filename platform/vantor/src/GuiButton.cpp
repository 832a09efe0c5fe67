#include <vantor/GuiButton.h>

#include "ButtonLook.h"
#include "Handles.h"
#include "Skin.h"

using namespace vantor;

BEGIN_MESSAGE_MAP(CGuiButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(BM_SETSTYLE, OnSetStyle)
END_MESSAGE_MAP()

CGuiButton::CGuiButton() : m_bHover(FALSE), m_bDefault(FALSE) {}

CGuiButton::~CGuiButton() = default;

void CGuiButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    m_bDefault = (GetStyle() & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    MakeOwnerDraw(m_hWnd);
}

void CGuiButton::DrawItem(LPDRAWITEMSTRUCT dis)
{
    const RECT rc = dis->rcItem;
    if (rc.right <= rc.left || rc.bottom <= rc.top) return;
    const bool disabled = (dis->itemState & ODS_DISABLED) != 0;
    const bool pressed = (dis->itemState & ODS_SELECTED) != 0 && !disabled;
    const bool hot = m_bHover && !disabled;
    const bool focused = (dis->itemState & ODS_FOCUS) != 0 && !disabled;

    BufferedPaint buffer(dis->hDC, rc);
    const HDC dc = buffer.Dc();
    PaintParentBackground(m_hWnd, dc, rc);

    COLORREF top = kFaceTop, bottom = kFaceBottom, border = kBorder;
    if (disabled) {
        top = bottom = kDisabledFace;
        border = kBorderDisabled;
    } else if (pressed) {
        top = kPressedTop;
        bottom = kPressedBottom;
        border = kBorderPressed;
    } else if (hot) {
        top = kHotTop;
        bottom = kHotBottom;
        border = kBorderHot;
    } else if (focused || m_bDefault) {
        border = kBorderHot;
    }
    RoundBox(dc, rc, 3, top, bottom, border);
    if (!disabled && !pressed) {
        // A light line under the top border: the face looks lit from above.
        RECT gloss = {rc.left + 3, rc.top + 1, rc.right - 3, rc.top + 2};
        Tint(dc, gloss, RGB(255, 255, 255), 200);
    }
    if ((focused || m_bDefault) && !pressed) {
        // A second ring inside the first marks where Enter and Space go.
        RECT inner = rc;
        InflateRect(&inner, -1, -1);
        GdiObject<HBRUSH> ring(CreateSolidBrush(Blend(kBorderHot, RGB(255, 255, 255), focused ? 90 : 150)));
        GdiObject<HRGN> shape(CreateRoundRectRgn(inner.left, inner.top, inner.right + 1, inner.bottom + 1, 4, 4));
        FrameRgn(dc, shape, ring, 1, 1);
    }

    RECT text = rc;
    InflateRect(&text, -4, 0);
    if (pressed) OffsetRect(&text, 1, 1);
    DrawCaption(dc, m_hWnd, text, disabled ? kInkDisabled : pressed ? kBorderPressed : kInk, dis->itemState);
    DrawFocus(dc, rc, dis->itemState);
}

void CGuiButton::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bHover) {
        m_bHover = TRUE;
        TrackMouseLeave(m_hWnd);
        Invalidate(FALSE);
    }
    Default();
}

void CGuiButton::OnMouseLeave()
{
    m_bHover = FALSE;
    Invalidate(FALSE);
    Default();
}

BOOL CGuiButton::OnEraseBkgnd(CDC* pDC) { return TRUE; }

// A quick second click is a click, not a double click.
void CGuiButton::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    DefWindowProc(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
}

LRESULT CGuiButton::OnSetStyle(WPARAM wParam, LPARAM lParam)
{
    const bool isDefault = KeepOwnerDraw(wParam);
    if (isDefault != bool(m_bDefault)) {
        m_bDefault = isDefault;
        Invalidate(FALSE);
    }
    return DefWindowProc(BM_SETSTYLE, wParam, lParam);
}
