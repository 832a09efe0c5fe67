// CWnd: the tie between a handle and its object (a window property, so any
// thread can look it up), temporary wrappers, subclassing, creation and the
// window procedure that feeds the message maps.
#include "afximpl.h"

const char kAfxWndProp[] = "AfxLite.CWnd";

// ---- CCmdTarget -----------------------------------------------------------------

CCmdTarget::~CCmdTarget() = default;

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

// ---- handle map -------------------------------------------------------------------

CWnd::CWnd() = default;

CWnd::CWnd(HWND hWnd) : m_hWnd(hWnd) {}

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    return hWnd ? static_cast<CWnd*>(GetPropA(hWnd, kAfxWndProp)) : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd) return nullptr;
    if (CWnd* owner = FromHandlePermanent(hWnd)) return owner;
    AfxThreadState* state = AfxGetThreadState();
    auto& temps = state->tempWnds;
    auto it = temps.find(hWnd);
    if (it != temps.end()) {
        it->second->m_hWnd = hWnd; // a wrapper whose window died keeps its slot for the reused handle
        return it->second;
    }
    // Wrappers of windows that are gone are dropped now and then; the ones of
    // live windows stay as long as the thread, so a pointer handed out stays good.
    if (temps.size() >= 256) {
        for (auto i = temps.begin(); i != temps.end();) {
            if (!::IsWindow(i->first)) {
                delete i->second;
                i = temps.erase(i);
            } else {
                ++i;
            }
        }
    }
    CWnd* wrapper = new CWnd(hWnd);
    temps[hWnd] = wrapper;
    return wrapper;
}

BOOL CWnd::Attach(HWND hWnd) {
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd)) return FALSE;
    if (!SetPropA(hWnd, kAfxWndProp, this)) return FALSE;
    m_hWnd = hWnd;
    return TRUE;
}

// A subclassed window gets its own procedure back: without its object our
// procedure could only send it to DefWindowProc.
HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (h && FromHandlePermanent(h) == this) {
        if (m_pfnSuper && reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC)) == &AfxWndProc)
            SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        RemovePropA(h, kAfxWndProp);
    }
    m_pfnSuper = nullptr;
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd)) return FALSE;
    PreSubclassWindow();
    WNDPROC old = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (!old) {
        Detach();
        return FALSE;
    }
    if (old != &AfxWndProc) m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    if (!parent || !parent->m_hWnd) return FALSE;
    HWND item = ::GetDlgItem(parent->m_hWnd, int(id));
    return item ? SubclassWindow(item) : FALSE;
}

HWND CWnd::UnsubclassWindow() { return m_hWnd ? Detach() : nullptr; }

// ---- creation --------------------------------------------------------------------

namespace {

// Ties the window being made to its object before its first message, so that
// WM_NCCREATE and WM_CREATE already reach the message map.
LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    AfxThreadState* state = AfxGetThreadState();
    if (code == HCBT_CREATEWND && state->pendingCreate) {
        CWnd* wnd = state->pendingCreate;
        state->pendingCreate = nullptr;
        HWND h = reinterpret_cast<HWND>(wParam);
        if (SetPropA(h, kAfxWndProp, wnd)) {
            wnd->m_hWnd = h;
            WNDPROC old = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
            AfxWndAccess::SetSuper(wnd, old);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, LPVOID param) {
    if (m_hWnd) return FALSE;
    AfxInitControls();
    AfxThreadState* state = AfxGetThreadState();
    CWnd* outer = state->pendingCreate;
    state->pendingCreate = this;
    HHOOK hook = SetWindowsHookExA(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
    HWND h = CreateWindowExA(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                             rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                             reinterpret_cast<HMENU>(UINT_PTR(id)), AfxGetInstanceHandle(), param);
    if (hook) UnhookWindowsHookEx(hook);
    if (state->pendingCreate == this) state->pendingCreate = outer;
    if (!h) {
        // A window that failed during WM_CREATE has been destroyed already.
        if (m_hWnd && !::IsWindow(m_hWnd)) {
            m_hWnd = nullptr;
            m_pfnSuper = nullptr;
        }
        return FALSE;
    }
    if (m_hWnd != h) {
        if (!SubclassWindow(h)) return FALSE;
    } else {
        PreSubclassWindow();
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    HWND h = m_hWnd;
    if (!h) return FALSE;
    const bool routed = FromHandlePermanent(h) == this && m_pfnSuper;
    BOOL ok = ::DestroyWindow(h);
    // A routed window was detached by its WM_NCDESTROY (and this object may be
    // gone with PostNcDestroy); a merely attached one is detached here.
    if (!routed && m_hWnd == h) Detach();
    return ok;
}

// ---- the window procedure --------------------------------------------------------

static void DetachAfterNcDestroy(CWnd* wnd, HWND h) {
    WNDPROC super = AfxWndAccess::Super(wnd);
    if (super && reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC)) == &AfxWndProc)
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
    AfxWndAccess::SetSuper(wnd, nullptr);
    RemovePropA(h, kAfxWndProp);
    wnd->m_hWnd = nullptr;
    wnd->PostNcDestroy();
}

LRESULT CALLBACK AfxWndProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(h);
    if (!wnd) return DefWindowProcA(h, message, wParam, lParam);
    LRESULT result;
    {
        AfxFrameScope frame(h, message, wParam, lParam, false);
        result = wnd->WindowProc(message, wParam, lParam);
    }
    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(h) == wnd) DetachAfterNcDestroy(wnd, h);
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    AfxMsgFrame* frame = AfxGetThreadState()->frame;
    if (!frame || frame->hWnd != m_hWnd) return 0;
    return DefWindowProc(frame->message, frame->wParam, frame->lParam);
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }
BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }
void CWnd::DrawItem(LPDRAWITEMSTRUCT) {}
void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}
void CWnd::DoDataExchange(CDataExchange*) {}

// ---- plain helpers ----------------------------------------------------------------

void CWnd::GetWindowText(CString& text) const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0) {
        text.Empty();
        return;
    }
    // The length can be an overestimate for DBCS texts; the copy says how much came.
    char* buffer = text.GetBufferSetLength(length + 1);
    int got = ::GetWindowTextA(m_hWnd, buffer, length + 1);
    text.ReleaseBuffer(got);
}

int CWnd::GetDlgItemText(int id, CString& text) const {
    HWND item = ::GetDlgItem(m_hWnd, id);
    if (!item) {
        text.Empty();
        return 0;
    }
    CWnd(item).GetWindowText(text);
    return text.GetLength();
}

void CWnd::ScreenToClient(LPRECT r) const { MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(r), 2); }
void CWnd::ClientToScreen(LPRECT r) const { MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(r), 2); }

void CWnd::SetFont(CFont* font, BOOL redraw) {
    SendMessage(WM_SETFONT, WPARAM(font ? font->m_hObject : nullptr), MAKELPARAM(redraw, 0));
}

static BOOL ChangeStyle(HWND h, int index, DWORD remove, DWORD add, UINT flags) {
    DWORD style = DWORD(GetWindowLongPtrA(h, index));
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    SetWindowLongPtrA(h, index, LONG_PTR(changed));
    if (flags) SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) { return ChangeStyle(m_hWnd, GWL_STYLE, remove, add, flags); }
BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) { return ChangeStyle(m_hWnd, GWL_EXSTYLE, remove, add, flags); }

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }

int CWnd::ReleaseDC(CDC* dc) { return dc ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0; }

void CWnd::CenterWindow(CWnd* alternateOwner) {
    HWND h = m_hWnd;
    HWND center = alternateOwner ? alternateOwner->m_hWnd : nullptr;
    if (!center) center = (GetStyle() & WS_CHILD) ? ::GetParent(h) : ::GetWindow(h, GW_OWNER);
    RECT area, self;
    ::GetWindowRect(h, &self);
    if (GetStyle() & WS_CHILD) {
        ::GetClientRect(center, &area);
        RECT mine = self;
        MapWindowPoints(nullptr, center, reinterpret_cast<POINT*>(&mine), 2);
        self = mine;
    } else if (center && ::IsWindowVisible(center) && !::IsIconic(center)) {
        ::GetWindowRect(center, &area);
    } else {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    int w = self.right - self.left, hgt = self.bottom - self.top;
    int x = (area.left + area.right - w) / 2, y = (area.top + area.bottom - hgt) / 2;
    if (!(GetStyle() & WS_CHILD)) {
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        x = std::max(LONG(x), work.left);
        y = std::max(LONG(y), work.top);
        if (x + w > work.right) x = std::max(LONG(work.left), LONG(work.right - w));
        if (y + hgt > work.bottom) y = std::max(LONG(work.top), LONG(work.bottom - hgt));
    }
    ::SetWindowPos(h, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type) {
    CString title = caption ? CString(caption) : AfxAppTitle();
    return ::MessageBoxA(m_hWnd, text ? text : "", title, type);
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}
