#include <vantor/HoverButton.h>

#include "ButtonLook.h"
#include "Handles.h"
#include "Skin.h"

using namespace vantor;

namespace {
const int kCaptionRight = 2;  // room right of the caption on a face
const int kPlainMargin = 3;   // each side of the caption on a plain face
}  // namespace

BEGIN_MESSAGE_MAP(CHoverButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(BM_SETSTYLE, OnSetStyle)
END_MESSAGE_MAP()

CHoverButton::CHoverButton() : m_nFaceBrightness(255), m_crText(CLR_DEFAULT), m_bHover(FALSE) {}

CHoverButton::~CHoverButton() = default;

BOOL CHoverButton::LoadBitmapA(UINT id)
{
    m_face.DeleteObject();
    m_faceSize = CSize(0, 0);
    if (!m_face.LoadBitmap(id)) {
        if (m_hWnd) Invalidate(FALSE);
        return FALSE;
    }
    BITMAP info = {};
    m_face.GetBitmap(&info);
    m_faceSize = CSize(info.bmWidth, info.bmHeight);
    RECT normal = {0, 0, info.bmWidth, info.bmHeight};
    if (m_hWnd) {
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        normal.right = info.bmWidth / FrameCount(client.right);
    }
    m_nFaceBrightness = Brightness(HBITMAP(m_face.m_hObject), normal);
    if (m_hWnd) Invalidate(FALSE);
    return TRUE;
}

void CHoverButton::SetTextColor(COLORREF colour)
{
    m_crText = colour;
    if (m_hWnd) Invalidate(FALSE);
}

void CHoverButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    MakeOwnerDraw(m_hWnd);
}

// Two frames when the strip's half is at least as close to the button's
// width as the whole strip is.
int CHoverButton::FrameCount(int clientWidth) const
{
    const int w = m_faceSize.cx;
    if (w < 2 || (w & 1)) return 1;
    const int half = w / 2 - clientWidth, whole = w - clientWidth;
    return (half < 0 ? -half : half) <= (whole < 0 ? -whole : whole) ? 2 : 1;
}

int CHoverButton::CaptionLeft(int clientWidth, int clientHeight) const
{
    if (m_faceSize.cx <= 0 || m_faceSize.cy <= 0) return kPlainMargin;
    // A wide face carries its picture in a square at the left, drawn about
    // 4/5 of the height wide: the caption takes the rest.
    const int frameW = m_faceSize.cx / FrameCount(clientWidth);
    const bool wide = frameW * 2 >= m_faceSize.cy * 5;
    return wide ? clientHeight * 4 / 5 : kPlainMargin;
}

int CHoverButton::WidthToShow(const char* caption) const
{
    RECT client = {};
    if (m_hWnd) ::GetClientRect(m_hWnd, &client);
    MemoryDC measure(NULL);
    if (!measure.Valid()) return client.right;
    SelectGuard font(measure, ControlFont(m_hWnd));
    RECT r = {0, 0, 0, 0};
    ::DrawTextA(measure, caption, -1, &r, DT_SINGLELINE | DT_CALCRECT);
    const int right = m_faceSize.cx > 0 && m_faceSize.cy > 0 ? kCaptionRight : kPlainMargin;
    return CaptionLeft(client.right, client.bottom) + (r.right - r.left) + right;
}

void CHoverButton::DrawItem(LPDRAWITEMSTRUCT dis)
{
    const RECT rc = dis->rcItem;
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) return;
    const bool disabled = (dis->itemState & ODS_DISABLED) != 0;
    const bool pressed = (dis->itemState & ODS_SELECTED) != 0 && !disabled;
    const bool hot = (m_bHover || pressed) && !disabled;

    BufferedPaint buffer(dis->hDC, rc);
    const HDC dc = buffer.Dc();
    PaintParentBackground(m_hWnd, dc, rc);

    RECT text = rc;
    if (m_face.m_hObject && m_faceSize.cx > 0 && m_faceSize.cy > 0) {
        const int frames = FrameCount(width);
        const int frameW = m_faceSize.cx / frames, frameH = m_faceSize.cy;
        const int frame = hot && frames > 1 ? 1 : 0;
        RECT face = rc;
        if (pressed) OffsetRect(&face, 1, 1);  // sinks under the finger
        MemoryDC source(dc);
        if (source.Valid()) {
            SelectGuard select(source, m_face.m_hObject);
            if (frameW == width && frameH == height) {
                ::BitBlt(dc, face.left, face.top, width, height, source, frame * frameW, 0, SRCCOPY);
            } else if (width > frameW) {
                // Wider than the face (a longer caption): both halves keep
                // their width, so the picture stays round, and the middle
                // column of the face fills the gap between them.
                const int oldMode = ::SetStretchBltMode(dc, HALFTONE);
                ::SetBrushOrgEx(dc, 0, 0, NULL);
                const int half = frameW / 2, x = frame * frameW;
                ::StretchBlt(dc, face.left, face.top, half, height, source, x, 0, half, frameH, SRCCOPY);
                ::StretchBlt(dc, face.left + half, face.top, width - frameW, height, source, x + half - 1, 0, 2, frameH,
                             SRCCOPY);
                ::StretchBlt(dc, face.right - (frameW - half), face.top, frameW - half, height, source, x + half, 0,
                             frameW - half, frameH, SRCCOPY);
                ::SetStretchBltMode(dc, oldMode);
            } else {
                const int oldMode = ::SetStretchBltMode(dc, HALFTONE);
                ::SetBrushOrgEx(dc, 0, 0, NULL);
                ::StretchBlt(dc, face.left, face.top, width, height, source, frame * frameW, 0, frameW, frameH, SRCCOPY);
                ::SetStretchBltMode(dc, oldMode);
            }
        }
        if (hot && frames == 1) {
            // No hover frame in the bitmap: brighten it and ring it in blue.
            Tint(dc, face, RGB(255, 255, 255), 70);
            GdiObject<HBRUSH> ring(CreateSolidBrush(kBorderHot));
            FrameRect(dc, &face, ring);
        }
        if (pressed) Tint(dc, face, kBorderPressed, 28);
        if (disabled) Tint(dc, face, RGB(255, 255, 255), 150);
        text = RECT{face.left + CaptionLeft(width, height), face.top, face.right - kCaptionRight, face.bottom};
    } else {
        RoundBox(dc, rc, 4, disabled ? kDisabledFace : hot ? kHotTop : kFaceTop,
                 disabled ? kDisabledFace : pressed ? kPressedBottom : hot ? kHotBottom : kFaceBottom,
                 disabled ? kBorderDisabled : hot ? kBorderHot : kBorder);
        InflateRect(&text, -kPlainMargin, 0);
        if (pressed) OffsetRect(&text, 1, 1);
    }

    COLORREF ink = m_crText;
    if (ink == CLR_DEFAULT) ink = m_nFaceBrightness < 128 ? RGB(255, 255, 255) : hot ? kBorderPressed : kInk;
    if (disabled) ink = m_nFaceBrightness < 128 ? Blend(ink, RGB(128, 128, 128), 128) : kInkDisabled;
    DrawCaption(dc, m_hWnd, text, ink, dis->itemState);
    DrawFocus(dc, rc, dis->itemState);
}

void CHoverButton::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bHover) {
        m_bHover = TRUE;
        TrackMouseLeave(m_hWnd);
        Invalidate(FALSE);
    }
    Default();
}

void CHoverButton::OnMouseLeave()
{
    m_bHover = FALSE;
    Invalidate(FALSE);
    Default();
}

BOOL CHoverButton::OnEraseBkgnd(CDC* pDC) { return TRUE; }

BOOL CHoverButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest == HTCLIENT && IsWindowEnabled()) {
        ::SetCursor(::LoadCursorA(NULL, IDC_HAND));
        return TRUE;
    }
    return BOOL(Default());
}

// A quick second click is a click, not a double click.
void CHoverButton::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    DefWindowProc(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
}

LRESULT CHoverButton::OnSetStyle(WPARAM wParam, LPARAM lParam)
{
    KeepOwnerDraw(wParam);
    return DefWindowProc(BM_SETSTYLE, wParam, lParam);
}
