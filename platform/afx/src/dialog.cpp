// CDialog: dialogs made from templates of the resource chain, run modally in
// the framework's own loop or modeless (child pages), with their messages fed
// to the message maps through AfxDlgProc.
#include "afximpl.h"
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <limits>

namespace {

// Messages whose dialog-procedure return value is the result itself.
bool ReturnsDirectly(UINT message) {
    return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_INITDIALOG ||
           message == WM_COMPAREITEM || message == WM_VKEYTOITEM || message == WM_CHARTOITEM ||
           message == WM_QUERYDRAGICON;
}

// The template of a dialog id, from the first module of the chain that has it,
// in the resource language where there is one.
LPCDLGTEMPLATEA FindTemplate(UINT id, HINSTANCE& module) {
    module = AfxFindResourceHandle(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    if (!module) return nullptr;
    HRSRC res = AfxFindResourceIn(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
    HGLOBAL loaded = res ? LoadResource(module, res) : nullptr;
    return loaded ? static_cast<LPCDLGTEMPLATEA>(LockResource(loaded)) : nullptr;
}

// The top-level window that owns the windows of this one's family.
HWND TopLevelOf(HWND h) {
    while (h && (GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD)) h = ::GetParent(h);
    return h;
}

} // namespace

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParent) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParent) {}

CDialog::~CDialog() {
    // The window must not outlive the object its procedure calls into.
    if (m_hWnd && ::IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this) {
        HWND h = m_hWnd;
        ::DestroyWindow(h);
        if (m_hWnd == h) Detach();
    }
}

const AFX_MSGMAP* CDialog::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr, nullptr}};
    static const AFX_MSGMAP map = {&CWnd::GetThisMessageMap, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CDialog::GetMessageMap() const { return GetThisMessageMap(); }

// Makes the dialog window from its template with the given parent or owner;
// the object is tied to it by its first message.
static BOOL MakeDialog(CDialog* dlg, UINT id, HWND parent) {
    AfxInitControls();
    HINSTANCE module = nullptr;
    LPCDLGTEMPLATEA tmpl = FindTemplate(id, module);
    if (!tmpl) return FALSE;
    AfxThreadState* state = AfxGetThreadState();
    CDialog* outer = state->pendingDialog;
    state->pendingDialog = dlg;
    HWND h = CreateDialogIndirectParamA(module, tmpl, parent, AfxDlgProc, reinterpret_cast<LPARAM>(dlg));
    state->pendingDialog = outer;
    if (!h) {
        if (dlg->m_hWnd && !::IsWindow(dlg->m_hWnd)) dlg->m_hWnd = nullptr;
        return FALSE;
    }
    return dlg->m_hWnd == h;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParent) {
    if (m_hWnd) return FALSE;
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParent;
    return MakeDialog(this, nIDTemplate, pParent ? pParent->m_hWnd : nullptr);
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd) return -1;
    // The owner is the top-level window of the parent (or of the active window).
    HWND owner = TopLevelOf(m_pParentWnd ? m_pParentWnd->m_hWnd : ::GetActiveWindow());
    if (owner == GetDesktopWindow()) owner = nullptr;
    const bool disabledOwner = owner && ::IsWindowEnabled(owner);
    if (disabledOwner) ::EnableWindow(owner, FALSE);

    m_bModal = true;
    m_bEndModal = false;
    m_nModalResult = -1;
    // m_pParentWnd stays what the caller gave; the window is owned by the top level.
    BOOL made = MakeDialog(this, m_nIDTemplate, owner);
    HWND self = m_hWnd;
    if (made && !m_bEndModal && !::IsWindowVisible(self)) ::ShowWindow(self, SW_SHOWNORMAL);

    while (made && !m_bEndModal && ::IsWindow(self)) {
        MSG msg;
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is quitting: the loop that owns WM_QUIT gets it again.
            PostQuitMessage(int(msg.wParam));
            break;
        }
        if (got == -1) break;
        if (!AfxPreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    // The owner is enabled again before the dialog goes, so it gets the activation.
    if (disabledOwner) ::EnableWindow(owner, TRUE);
    if (owner && ::IsWindow(self) && ::GetActiveWindow() == self) ::SetActiveWindow(owner);
    if (::IsWindow(self)) {
        ::SetWindowPos(self, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        ::DestroyWindow(self);
    }
    if (owner && ::IsWindow(owner) && ::GetActiveWindow() != owner) ::SetActiveWindow(owner);
    m_bModal = false;
    return made ? m_nModalResult : -1;
}

void CDialog::EndDialog(int result) {
    if (m_bModal) {
        m_nModalResult = result;
        m_bEndModal = true;
        // Wakes the modal loop when the call came in a sent message.
        if (m_hWnd) ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    } else if (m_hWnd) {
        ::EndDialog(m_hWnd, result);
    }
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    // Only a top-level dialog runs the keyboard interface: pages inside it are
    // reached through its dialog manager, so tabbing crosses into them.
    if (!m_hWnd || (GetStyle() & WS_CHILD)) return FALSE;
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
    return IsDialogMessageA(m_hWnd, pMsg);
}

BOOL CDialog::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result)) return result;
    AfxMsgFrame* frame = AfxGetThreadState()->frame;
    if (frame && frame->fromDlgProc && frame->hWnd == m_hWnd && frame->message == message) {
        frame->unhandled = true;
        return 0;
    }
    return DefWindowProc(message, wParam, lParam);
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (CWnd::OnWndMsg(message, wParam, lParam, pResult)) return TRUE;
    if (message == WM_COMMAND && (HIWORD(wParam) == BN_CLICKED || (HIWORD(wParam) == 1 && lParam == 0))) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
    }
    if (message == WM_HELP) {
        CWinApp* app = AfxGetApp();
        if (!app) return FALSE;
        app->WinHelp(m_nIDHelp, HELP_CONTEXT);
        if (pResult) *pResult = TRUE;
        return TRUE;
    }
    return FALSE;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // DefDlgProc asks our dialog procedure first; that one call is let through
    // unhandled, so the dialog manager does its default.
    AfxThreadState* state = AfxGetThreadState();
    HWND savedHwnd = state->bypassHwnd;
    UINT savedMsg = state->bypassMsg;
    state->bypassHwnd = m_hWnd;
    state->bypassMsg = message;
    LRESULT result = ::DefDlgProcA(m_hWnd, message, wParam, lParam);
    state->bypassHwnd = savedHwnd;
    state->bypassMsg = savedMsg;
    return result;
}

INT_PTR CALLBACK AfxDlgProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    AfxThreadState* state = AfxGetThreadState();
    if (state->bypassHwnd == h && state->bypassMsg == message) {
        state->bypassHwnd = nullptr;
        return FALSE;
    }
    auto* dlg = static_cast<CDialog*>(CWnd::FromHandlePermanent(h));
    if (!dlg) {
        // The first message of a dialog being made (WM_SETFONT comes before
        // WM_INITDIALOG) ties it to its object.
        CDialog* pending = message == WM_INITDIALOG ? reinterpret_cast<CDialog*>(lParam) : state->pendingDialog;
        if (!pending || pending->m_hWnd || !pending->Attach(h)) return FALSE;
        if (state->pendingDialog == pending) state->pendingDialog = nullptr;
        dlg = pending;
    }
    if (message == WM_INITDIALOG) {
        AfxFrameScope frame(h, message, wParam, lParam, true);
        return dlg->OnInitDialog();
    }

    LRESULT result;
    bool unhandled;
    {
        AfxFrameScope frame(h, message, wParam, lParam, true);
        result = dlg->WindowProc(message, wParam, lParam);
        unhandled = frame.Unhandled();
    }
    if (message == WM_NCDESTROY) {
        if (CWnd::FromHandlePermanent(h) == dlg) {
            dlg->Detach();
            dlg->PostNcDestroy();
        }
        return FALSE;
    }
    if (unhandled) return FALSE;
    if (ReturnsDirectly(message)) return INT_PTR(result);
    SetWindowLongPtrA(h, DWLP_MSGRESULT, result);
    return TRUE;
}

// ---- dialog data exchange ------------------------------------------------------

HWND CDataExchange::PrepareCtrl(int id) {
    return m_pDlgWnd && m_pDlgWnd->m_hWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, id) : nullptr;
}

void CDataExchange::Fail(HWND control) {
    if (!m_bFailed && control) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        ::SetFocus(control);
        ::SendMessageA(control, EM_SETSEL, 0, -1);
    }
    m_bFailed = TRUE;
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.m_hWnd) return;
    HWND item = pDX->PrepareCtrl(id);
    if (item) control.SubclassWindow(item);
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
    HWND item = pDX->PrepareCtrl(id);
    if (!item) return;
    if (pDX->m_bSaveAndValidate)
        CWnd(item).GetWindowText(value);
    else
        ::SetWindowTextA(item, value);
}

// A whole number with optional blanks around it; false for anything else.
static bool ParseNumber(const CString& text, bool allowSign, long long& out) {
    CString t(text);
    t.Trim();
    if (t.IsEmpty()) return false;
    const char* s = t;
    char* end = nullptr;
    if (!allowSign && (*s == '-')) return false;
    errno = 0;
    out = std::strtoll(s, &end, 10);
    return errno == 0 && end && *end == '\0';
}

// Moves a whole number of type T between a member and an edit control; a
// text that is no number of T's range fails the exchange.
template <class T>
static void ExchangeNumber(CDataExchange* pDX, int id, T& value) {
    HWND item = pDX->PrepareCtrl(id);
    if (!item) return;
    CString text;
    if (pDX->m_bSaveAndValidate) {
        CWnd(item).GetWindowText(text);
        long long n = 0;
        const bool isSigned = std::numeric_limits<T>::is_signed;
        if (ParseNumber(text, isSigned, n) && n >= (long long)std::numeric_limits<T>::min() &&
            n <= (long long)std::numeric_limits<T>::max())
            value = T(n);
        else
            pDX->Fail(item);
    } else {
        text.Format(std::numeric_limits<T>::is_signed ? "%d" : "%u", value);
        ::SetWindowTextA(item, text);
    }
}

void DDX_Text(CDataExchange* pDX, int id, int& value) { ExchangeNumber(pDX, id, value); }

void DDX_Text(CDataExchange* pDX, int id, UINT& value) { ExchangeNumber(pDX, id, value); }

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    HWND item = pDX->PrepareCtrl(id);
    if (!item) return;
    if (pDX->m_bSaveAndValidate)
        value = int(::SendMessageA(item, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(item, BM_SETCHECK, WPARAM(value), 0);
}

// The radio buttons of a group: from the first one to the next WS_GROUP.
void DDX_Radio(CDataExchange* pDX, int firstId, int& value) {
    HWND item = pDX->PrepareCtrl(firstId);
    if (!item) return;
    if (pDX->m_bSaveAndValidate) value = -1;
    int index = 0;
    do {
        if (::SendMessageA(item, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
            } else {
                ::SendMessageA(item, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++index;
        }
        item = ::GetWindow(item, GW_HWNDNEXT);
    } while (item && !(GetWindowLongPtrA(item, GWL_STYLE) & WS_GROUP));
}
