#include <vantor/Heading.h>

#include <vector>

#include <vantor/Paint.h>

#include "Handles.h"
#include "Skin.h"

using namespace vantor;

BEGIN_MESSAGE_MAP(CHeading, CStatic)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

CHeading::CHeading() : m_crText(RGB(45, 54, 162)), m_nStyle(HEADING_SINGLELINE | HEADING_RULE), m_bPending(FALSE) {}

CHeading::~CHeading() = default;

void CHeading::InitControl(LPCSTR text, COLORREF colour, const LOGFONT* font, int style)
{
    m_crText = colour;
    m_nStyle = style;
    LOGFONT description = {};
    if (font) {
        description = *font;
    } else if (ReadLogFont(description)) {
        description.lfWeight = FW_BOLD;
    }
    m_font.DeleteObject();
    if (description.lfFaceName[0] || description.lfHeight) m_font.CreateFontIndirect(&description);
    if (m_hWnd) {
        SetWindowText(text ? text : "");
        Invalidate(FALSE);
    } else {
        m_strPending = text ? text : "";
        m_bPending = TRUE;
    }
}

void CHeading::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    if (m_bPending) {
        ::SetWindowTextA(m_hWnd, m_strPending);
        m_bPending = FALSE;
    }
}

LRESULT CHeading::OnSetText(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = ::DefWindowProcA(m_hWnd, WM_SETTEXT, wParam, lParam);
    Invalidate(FALSE);
    return result;
}

BOOL CHeading::OnEraseBkgnd(CDC* pDC) { return TRUE; }

void CHeading::PaintTo(HDC target)
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    {
        BufferedPaint buffer(target, client);
        const HDC dc = buffer.Dc();
        HBRUSH parentBrush = ParentBrush(m_hWnd, dc, WM_CTLCOLORSTATIC);
        ::FillRect(dc, &client, parentBrush);
        const COLORREF paper = BrushColour(parentBrush, RGB(255, 255, 255));

        RECT text = client;
        if (m_nStyle & HEADING_BAND) {
            // From a whisper of the text colour at the left to the page's own colour.
            RECT band = client;
            if (m_nStyle & HEADING_RULE) band.bottom -= 2;
            HorizontalGradient(dc, band, Blend(paper, m_crText, 26), paper);
            text.left += 6;
        }
        if (m_nStyle & HEADING_RULE) {
            RECT rule = {client.left, client.bottom - 1, client.right, client.bottom};
            HorizontalGradient(dc, rule, Blend(paper, m_crText, 150), paper);
            text.bottom -= 2;
        }

        const int length = ::GetWindowTextLengthA(m_hWnd);
        if (length > 0) {
            std::vector<char> chars(size_t(length) + 1);
            ::GetWindowTextA(m_hWnd, chars.data(), length + 1);
            UINT format = DT_NOPREFIX | DT_LEFT;
            format |= (m_nStyle & HEADING_SINGLELINE) ? DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS : DT_WORDBREAK;
            SelectGuard font(dc, m_font.m_hObject ? HFONT(m_font.m_hObject) : ControlFont(m_hWnd));
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, IsWindowEnabled() ? m_crText : kInkDisabled);
            ::DrawTextA(dc, chars.data(), length, &text, format);
        }
    }
}

void CHeading::OnPaint()
{
    PAINTSTRUCT ps;
    HDC target = ::BeginPaint(m_hWnd, &ps);
    if (target) PaintTo(target);
    ::EndPaint(m_hWnd, &ps);
}

LRESULT CHeading::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    if (wParam) PaintTo(reinterpret_cast<HDC>(wParam));
    return 0;
}
