#include <vantor/ToolTipCtrl.h>

namespace {

// The first tool-info layout: every version of the control takes it.
TOOLINFOA ToolFor(HWND owner, HWND control)
{
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    return info;
}

HWND OwnerOf(CWnd* control)
{
    HWND parent = ::GetParent(control->m_hWnd);
    return parent ? parent : control->m_hWnd;
}

}  // namespace

COXToolTipCtrl::COXToolTipCtrl() : m_hOwner(NULL) {}

COXToolTipCtrl::~COXToolTipCtrl()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
}

BOOL COXToolTipCtrl::Create(CWnd* parent)
{
    if (m_hWnd) return FALSE;
    m_hOwner = parent ? parent->m_hWnd : NULL;
    const RECT none = {0, 0, 0, 0};
    if (!CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, NULL, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, none, parent, 0))
        return FALSE;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessage(TTM_SETMAXTIPWIDTH, 0, 320);
    if (m_font.m_hObject) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.m_hObject), FALSE);
    return TRUE;
}

BOOL COXToolTipCtrl::AddTool(CWnd* control, LPCSTR text)
{
    if (!m_hWnd || !control || !control->m_hWnd) return FALSE;
    TOOLINFOA info = ToolFor(OwnerOf(control), control->m_hWnd);
    // Adding a control twice would show two tips: the new text replaces the old.
    SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    info.lpszText = const_cast<LPSTR>(text ? text : "");
    return SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

BOOL COXToolTipCtrl::UpdateTipText(CWnd* control, LPCSTR text)
{
    if (!m_hWnd || !control || !control->m_hWnd) return FALSE;
    TOOLINFOA info = ToolFor(OwnerOf(control), control->m_hWnd);
    info.lpszText = const_cast<LPSTR>(text ? text : "");
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    return TRUE;
}

void COXToolTipCtrl::DelTool(CWnd* control)
{
    if (!m_hWnd || !control || !control->m_hWnd) return;
    TOOLINFOA info = ToolFor(OwnerOf(control), control->m_hWnd);
    SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

int COXToolTipCtrl::GetToolCount() const
{
    return m_hWnd ? int(SendMessage(TTM_GETTOOLCOUNT)) : 0;
}

void COXToolTipCtrl::SetLogFont(const LOGFONT* font)
{
    if (!font) return;
    CFont replacement;
    if (!replacement.CreateFontIndirect(font)) return;
    if (m_hWnd) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(replacement.m_hObject), TRUE);
    m_font.Attach(replacement.Detach());  // the old font goes only once the tips use the new one
}

void COXToolTipCtrl::RelayEvent(MSG* msg)
{
    if (!m_hWnd || !msg) return;
    // Only mouse messages mean anything to the tips.
    if ((msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST) || msg->message == WM_NCMOUSEMOVE ||
        msg->message == WM_MOUSELEAVE)
        SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
}

void COXToolTipCtrl::Activate(BOOL active)
{
    if (m_hWnd) SendMessage(TTM_ACTIVATE, WPARAM(active));
}
