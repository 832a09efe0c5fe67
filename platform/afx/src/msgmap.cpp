// Message-map routing: notifications are first offered to the control that
// sent them (OnChildNotify), then the maps are searched from the object's own
// class down to its bases and the first matching entry is called with the
// message's arguments unpacked for its signature.
#include "afximpl.h"

namespace {

bool IsCtlColor(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

bool Matches(const AFX_MSGMAP_ENTRY& e, UINT message, UINT code, UINT id) {
    if (message == WM_COMMAND) {
        if (e.nMessage != WM_COMMAND || e.nCode != code) return false;
        if (e.pRegistered) return *e.pRegistered != 0 && id == LOWORD(*e.pRegistered);
        return id >= e.nID && id <= e.nLastID;
    }
    if (message == WM_NOTIFY)
        return e.nMessage == WM_NOTIFY && e.nCode == code && id >= e.nID && id <= e.nLastID;
    if (IsCtlColor(message)) return e.nMessage == AFX_WM_CTLCOLOR && e.nSig == AfxSig_hbr_D_W_u;
    if (e.pRegistered) return e.nMessage == 0 && *e.pRegistered != 0 && *e.pRegistered == message;
    // AFX_WM_CTLCOLOR shares its number with an old message; its entry answers only WM_CTLCOLOR*.
    return e.nMessage != 0 && e.nMessage == message && e.nSig != AfxSig_hbr_D_W_u;
}

// A stack wrapper for a device context handed to a handler: it owns nothing.
class TempDC : public CDC {
public:
    explicit TempDC(HDC hdc) { Attach(hdc); }
    ~TempDC() override { Detach(); }
};

template <class F> F CCmdTarget::*Fn(AFX_PMSG pfn) { return reinterpret_cast<F CCmdTarget::*>(pfn); }

} // namespace

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e && e->nSig != AfxSig_end; ++e)
            if (Matches(*e, message, code, id)) return e;
    }
    return nullptr;
}

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr, nullptr}};
    static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

// The control a notification came from, when an object owns it.
static CWnd* NotifyingChild(HWND self, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND child = nullptr;
    switch (message) {
    case WM_COMMAND:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        if (lParam) child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (dis && dis->CtlType != ODT_MENU) child = dis->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (mis && mis->CtlType != ODT_MENU) child = ::GetDlgItem(self, int(mis->CtlID));
        break;
    }
    case WM_COMPAREITEM:
        if (lParam) child = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_DELETEITEM:
        if (lParam) child = reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem;
        break;
    default:
        if (IsCtlColor(message)) child = reinterpret_cast<HWND>(lParam);
        break;
    }
    if (!child || child == self) return nullptr;
    return CWnd::FromHandlePermanent(child);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT local = 0;
    if (!pResult) pResult = &local;

    if (CWnd* child = NotifyingChild(m_hWnd, message, wParam, lParam))
        if (child->OnChildNotify(message, wParam, lParam, pResult)) return TRUE;

    UINT code = 0, id = 0;
    if (message == WM_COMMAND) {
        code = HIWORD(wParam);
        id = LOWORD(wParam);
        // Accelerators (code 1, no control) are commands like menu picks.
        if (code == 1 && lParam == 0) code = 0;
    } else if (message == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (!hdr) return FALSE;
        code = hdr->code;
        id = UINT(hdr->idFrom);
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, code, id);
    return entry ? DispatchEntry(entry, message, wParam, lParam, pResult) : FALSE;
}

BOOL CWnd::DispatchEntry(const AFX_MSGMAP_ENTRY* entry, UINT message, WPARAM wParam, LPARAM lParam,
                         LRESULT* pResult) {
    CCmdTarget* self = this;
    const AFX_PMSG pfn = entry->pfn;
    LRESULT result = 0;
    switch (entry->nSig) {
    case AfxSig_v_v:
        (self->*Fn<AfxFn_v_v>(pfn))();
        break;
    case AfxSig_v_NMHDR_pl:
        (self->*Fn<AfxFn_v_NMHDR_pl>(pfn))(reinterpret_cast<NMHDR*>(lParam), &result);
        break;
    case AfxSig_l_w_l:
        result = (self->*Fn<AfxFn_l_w_l>(pfn))(wParam, lParam);
        break;
    case AfxSig_v_u:
        (self->*Fn<AfxFn_v_u>(pfn))(UINT_PTR(wParam));
        break;
    case AfxSig_v_u_l:
        (self->*Fn<AfxFn_v_u_l>(pfn))(UINT(wParam), lParam);
        break;
    case AfxSig_v_u_p:
        (self->*Fn<AfxFn_v_u_p>(pfn))(UINT(wParam), CPoint(lParam));
        break;
    case AfxSig_b_D: {
        TempDC dc(reinterpret_cast<HDC>(wParam));
        result = (self->*Fn<AfxFn_b_D>(pfn))(&dc);
        break;
    }
    case AfxSig_hbr_D_W_u: {
        TempDC dc(reinterpret_cast<HDC>(wParam));
        HBRUSH brush = (self->*Fn<AfxFn_hbr_D_W_u>(pfn))(&dc, FromHandle(reinterpret_cast<HWND>(lParam)),
                                                          message - WM_CTLCOLORMSGBOX);
        result = reinterpret_cast<LRESULT>(brush);
        break;
    }
    case AfxSig_b_W_u_u:
        result = (self->*Fn<AfxFn_b_W_u_u>(pfn))(FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam),
                                                 HIWORD(lParam));
        break;
    case AfxSig_v_u_i_i:
        (self->*Fn<AfxFn_v_u_i_i>(pfn))(UINT(wParam), int(LOWORD(lParam)), int(HIWORD(lParam)));
        break;
    case AfxSig_v_b_u:
        (self->*Fn<AfxFn_v_b_u>(pfn))(BOOL(wParam), UINT(lParam));
        break;
    case AfxSig_v_u_u_u:
        (self->*Fn<AfxFn_v_u_u_u>(pfn))(UINT(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_v_i_DIS:
        (self->*Fn<AfxFn_v_i_DIS>(pfn))(int(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        result = TRUE;
        break;
    case AfxSig_v_W_p:
        (self->*Fn<AfxFn_v_W_p>(pfn))(FromHandle(reinterpret_cast<HWND>(wParam)), CPoint(lParam));
        break;
    case AfxSig_v_u_u_W:
        (self->*Fn<AfxFn_v_u_u_W>(pfn))(LOWORD(wParam), UINT(short(HIWORD(wParam))),
                                       FromHandle(reinterpret_cast<HWND>(lParam)));
        break;
    case AfxSig_v_u_W_b:
        (self->*Fn<AfxFn_v_u_W_b>(pfn))(LOWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)),
                                       BOOL(HIWORD(wParam)));
        break;
    case AfxSig_v_id:
        (self->*Fn<AfxFn_v_id>(pfn))(UINT(LOWORD(wParam)));
        break;
    case AfxSig_b_HELPINFO:
        result = (self->*Fn<AfxFn_b_HELPINFO>(pfn))(reinterpret_cast<HELPINFO*>(lParam));
        break;
    default:
        return FALSE;
    }
    *pResult = result;
    return TRUE;
}
