#include <vantor/StaticFader.h>

#include <cmath>
#include <vector>

#include "Handles.h"
#include "Skin.h"

using namespace vantor;

namespace {

const UINT_PTR kFadeTimer = 0x5646;  // "VF"
const UINT kFadeStepMs = 60;
const int kStepsPerPulse = 40;       // a pulse of 2.4 s
const int kDeepestFade = 112;        // of 256: never fades out of reading

}  // namespace

BEGIN_MESSAGE_MAP(CStaticFader, CStatic)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_ENABLE, OnEnableChanged)
END_MESSAGE_MAP()

CStaticFader::CStaticFader() : m_crText(RGB(35, 63, 189)), m_crBack(CLR_DEFAULT), m_crPaper(RGB(255, 255, 255)), m_nPhase(0), m_bTimer(FALSE) {}

CStaticFader::~CStaticFader() = default;

void CStaticFader::SetText(LPCSTR text) { SetWindowText(text ? text : ""); }

void CStaticFader::SetColors(COLORREF text, COLORREF back)
{
    m_crText = text;
    m_crBack = back;
    if (m_hWnd) Invalidate(FALSE);
}

void CStaticFader::StartTimer()
{
    if (!m_hWnd) return;
    m_nPhase = 0;
    m_bTimer = SetTimer(kFadeTimer, kFadeStepMs) != 0;
}

void CStaticFader::StopTimer()
{
    if (m_hWnd && m_bTimer) KillTimer(kFadeTimer);
    m_bTimer = FALSE;
    m_nPhase = 0;
    if (m_hWnd) Invalidate(FALSE);
}

COLORREF CStaticFader::CurrentTextColor() const
{
    if (!m_bTimer || m_nPhase == 0) return m_crText;
    // A cosine pulse: it leaves and comes back to the full colour smoothly.
    const double angle = 6.283185307179586 * m_nPhase / kStepsPerPulse;
    const int weight = int(kDeepestFade * (1.0 - std::cos(angle)) / 2.0 + 0.5);
    return Blend(m_crText, m_crBack == CLR_DEFAULT ? m_crPaper : m_crBack, weight);
}

void CStaticFader::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kFadeTimer) {
        Default();
        return;
    }
    m_nPhase = (m_nPhase + 1) % kStepsPerPulse;
    Invalidate(FALSE);
}

void CStaticFader::OnDestroy()
{
    if (m_bTimer) KillTimer(kFadeTimer);
    m_bTimer = FALSE;
    Default();
}

// The text is stored the plain way; the static's own handler would paint
// at once with its own colours and flash.
LRESULT CStaticFader::OnSetText(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = ::DefWindowProcA(m_hWnd, WM_SETTEXT, wParam, lParam);
    m_nPhase = 0;
    Invalidate(FALSE);
    return result;
}

LRESULT CStaticFader::OnEnableChanged(WPARAM wParam, LPARAM lParam)
{
    Invalidate(FALSE);
    return 0;
}

BOOL CStaticFader::OnEraseBkgnd(CDC* pDC) { return TRUE; }

void CStaticFader::PaintTo(HDC target)
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    {
        BufferedPaint buffer(target, client);
        const HDC dc = buffer.Dc();
        HBRUSH parentBrush = ParentBrush(m_hWnd, dc, WM_CTLCOLORSTATIC);
        if (m_crBack == CLR_DEFAULT) {
            ::FillRect(dc, &client, parentBrush);
            m_crPaper = BrushColour(parentBrush, RGB(255, 255, 255));
        } else {
            GdiObject<HBRUSH> back(::CreateSolidBrush(m_crBack));
            ::FillRect(dc, &client, back);
        }

        const int length = ::GetWindowTextLengthA(m_hWnd);
        if (length > 0) {
            std::vector<char> text(size_t(length) + 1);
            ::GetWindowTextA(m_hWnd, text.data(), length + 1);
            const DWORD style = GetStyle();
            UINT format = DT_NOPREFIX | DT_VCENTER | DT_SINGLELINE | DT_PATH_ELLIPSIS;
            switch (style & SS_TYPEMASK) {
            case SS_CENTER: format |= DT_CENTER; break;
            case SS_RIGHT: format |= DT_RIGHT; break;
            default: format |= DT_LEFT; break;
            }
            // A text with line breaks is shown as lines, wrapped.
            for (int i = 0; i < length; ++i)
                if (text[size_t(i)] == '\n') {
                    format = (format & ~UINT(DT_SINGLELINE | DT_VCENTER | DT_PATH_ELLIPSIS)) | DT_WORDBREAK;
                    break;
                }
            COLORREF ink = CurrentTextColor();
            if (!IsWindowEnabled()) ink = Blend(ink, RGB(160, 160, 160), 170);
            SelectGuard font(dc, ControlFont(m_hWnd));
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, ink);
            RECT r = client;
            ::DrawTextA(dc, text.data(), length, &r, format);
        }
    }
}

void CStaticFader::OnPaint()
{
    PAINTSTRUCT ps;
    HDC target = ::BeginPaint(m_hWnd, &ps);
    if (target) PaintTo(target);
    ::EndPaint(m_hWnd, &ps);
}

LRESULT CStaticFader::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    if (wParam) PaintTo(reinterpret_cast<HDC>(wParam));
    return 0;
}
