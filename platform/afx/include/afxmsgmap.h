// Message maps: static tables that route window messages, control
// notifications (WM_COMMAND codes, WM_NOTIFY codes) and application or
// registered messages to member functions. Each entry records the handler's
// signature, so the dispatcher unpacks WPARAM/LPARAM the way the handler wants.
//
//   BEGIN_MESSAGE_MAP(CMyDialog, CDialog)
//       ON_BN_CLICKED(IDC_START, OnStart)
//       ON_NOTIFY(LVN_ITEMCHANGED, IDC_LIST, OnListItemChanged)
//       ON_WM_PAINT()
//       ON_MESSAGE(0x8006, OnShowResults)
//   END_MESSAGE_MAP()
//
// and DECLARE_MESSAGE_MAP() in the class.
#pragma once

#include "afxtypes.h"
#include <commctrl.h>

#define afx_msg

class CCmdTarget;
class CWnd;
class CDC;

typedef void (CCmdTarget::*AFX_PMSG)();
template <class F> using AfxMemberFn = F CCmdTarget::*;

// Handler signatures the dispatcher knows.
enum AfxSig : UINT {
    AfxSig_end = 0,
    AfxSig_v_v,          // void f()                          commands, WM_PAINT, WM_CLOSE, WM_DESTROY, WM_MOUSELEAVE
    AfxSig_v_NMHDR_pl,   // void f(NMHDR*, LRESULT*)          WM_NOTIFY
    AfxSig_l_w_l,        // LRESULT f(WPARAM, LPARAM)         ON_MESSAGE, ON_REGISTERED_MESSAGE
    AfxSig_v_u,          // void f(UINT_PTR)                  WM_TIMER
    AfxSig_v_u_l,        // void f(UINT, LPARAM)              WM_SYSCOMMAND
    AfxSig_v_u_p,        // void f(UINT, CPoint)              mouse messages
    AfxSig_b_D,          // BOOL f(CDC*)                      WM_ERASEBKGND
    AfxSig_hbr_D_W_u,    // HBRUSH f(CDC*, CWnd*, UINT)       WM_CTLCOLOR*
    AfxSig_b_W_u_u,      // BOOL f(CWnd*, UINT, UINT)         WM_SETCURSOR
    AfxSig_v_u_i_i,      // void f(UINT, int, int)            WM_SIZE
    AfxSig_v_b_u,        // void f(BOOL, UINT)                WM_SHOWWINDOW
    AfxSig_v_u_u_u,      // void f(UINT, UINT, UINT)          WM_KEYDOWN, WM_CHAR
    AfxSig_v_i_DIS,      // void f(int, LPDRAWITEMSTRUCT)     WM_DRAWITEM
    AfxSig_v_W_p,        // void f(CWnd*, CPoint)             WM_CONTEXTMENU
    AfxSig_v_u_u_W,      // void f(UINT, UINT, CWnd*)         WM_HSCROLL, WM_VSCROLL
    AfxSig_v_u_W_b,      // void f(UINT, CWnd*, BOOL)         WM_ACTIVATE
    AfxSig_b_HELPINFO,   // BOOL f(HELPINFO*)                 WM_HELP
    AfxSig_v_id,         // void f(UINT id)                   ON_COMMAND_RANGE, ON_CONTROL_RANGE
};

// All WM_CTLCOLOR* messages share this entry; the handler gets the CTLCOLOR_ code.
#define AFX_WM_CTLCOLOR 0x0019

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;        // window message (WM_COMMAND, WM_NOTIFY, ...), 0 for a registered one
    UINT nCode;           // notification code for WM_COMMAND / WM_NOTIFY
    UINT nID;             // first control id
    UINT nLastID;         // last control id
    UINT nSig;            // AfxSig
    const UINT* pRegistered; // registered message number, read at dispatch time
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                   \
protected:                                                      \
    static const AFX_MSGMAP* GetThisMessageMap();               \
    virtual const AFX_MSGMAP* GetMessageMap() const override;   \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                         \
        using ThisClass [[maybe_unused]] = theClass;                          \
        typedef baseClass TheBaseClass;                                       \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                     \
            { 0, 0, 0, 0, AfxSig_end, nullptr, nullptr } };                   \
        static const AFX_MSGMAP map = { &TheBaseClass::GetThisMessageMap, &entries[0] }; \
        return &map;                                                          \
    }

#define AFX_MSG_FN(F, fn) reinterpret_cast<AFX_PMSG>(static_cast<AfxMemberFn<F>>(&ThisClass::fn))

typedef void AfxFn_v_v();
typedef void AfxFn_v_NMHDR_pl(NMHDR*, LRESULT*);
typedef LRESULT AfxFn_l_w_l(WPARAM, LPARAM);
typedef void AfxFn_v_u(UINT_PTR);
typedef void AfxFn_v_u_l(UINT, LPARAM);
typedef void AfxFn_v_u_p(UINT, CPoint);
typedef BOOL AfxFn_b_D(CDC*);
typedef HBRUSH AfxFn_hbr_D_W_u(CDC*, CWnd*, UINT);
typedef BOOL AfxFn_b_W_u_u(CWnd*, UINT, UINT);
typedef void AfxFn_v_u_i_i(UINT, int, int);
typedef void AfxFn_v_b_u(BOOL, UINT);
typedef void AfxFn_v_u_u_u(UINT, UINT, UINT);
typedef void AfxFn_v_i_DIS(int, LPDRAWITEMSTRUCT);
typedef void AfxFn_v_W_p(CWnd*, CPoint);
typedef void AfxFn_v_u_u_W(UINT, UINT, CWnd*);
typedef void AfxFn_v_u_W_b(UINT, CWnd*, BOOL);
typedef BOOL AfxFn_b_HELPINFO(HELPINFO*);
typedef void AfxFn_v_id(UINT);

// Control notifications (WM_COMMAND).
#define ON_COMMAND(id, fn) { WM_COMMAND, 0, UINT(id), UINT(id), AfxSig_v_v, nullptr, AFX_MSG_FN(AfxFn_v_v, fn) },
// A range handler is told which control it was: void fn(UINT id).
#define ON_COMMAND_RANGE(first, last, fn) { WM_COMMAND, 0, UINT(first), UINT(last), AfxSig_v_id, nullptr, AFX_MSG_FN(AfxFn_v_id, fn) },
#define ON_CONTROL_RANGE(code, first, last, fn) { WM_COMMAND, UINT(code), UINT(first), UINT(last), AfxSig_v_id, nullptr, AFX_MSG_FN(AfxFn_v_id, fn) },
#define ON_CONTROL(code, id, fn) { WM_COMMAND, UINT(code), UINT(id), UINT(id), AfxSig_v_v, nullptr, AFX_MSG_FN(AfxFn_v_v, fn) },
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_STN_CLICKED(id, fn) ON_CONTROL(STN_CLICKED, id, fn)

// BN_CLICKED of a control whose id is the low word of a registered message
// number (a UINT variable set by RegisterWindowMessageA before the window runs).
#define ON_REGISTERED_BN_CLICKED(var, fn) { WM_COMMAND, UINT(BN_CLICKED), 0, 0, AfxSig_v_v, &(var), AFX_MSG_FN(AfxFn_v_v, fn) },

// WM_NOTIFY by code and control id: void fn(NMHDR*, LRESULT*).
#define ON_NOTIFY(code, id, fn) { WM_NOTIFY, UINT(code), UINT(id), UINT(id), AfxSig_v_NMHDR_pl, nullptr, AFX_MSG_FN(AfxFn_v_NMHDR_pl, fn) },
#define ON_NOTIFY_RANGE(code, first, last, fn) { WM_NOTIFY, UINT(code), UINT(first), UINT(last), AfxSig_v_NMHDR_pl, nullptr, AFX_MSG_FN(AfxFn_v_NMHDR_pl, fn) },

// Application and registered messages: LRESULT fn(WPARAM, LPARAM).
#define ON_MESSAGE(msg, fn) { UINT(msg), 0, 0, 0, AfxSig_l_w_l, nullptr, AFX_MSG_FN(AfxFn_l_w_l, fn) },
#define ON_REGISTERED_MESSAGE(var, fn) { 0, 0, 0, 0, AfxSig_l_w_l, &(var), AFX_MSG_FN(AfxFn_l_w_l, fn) },

// Window messages with their conventional handler names.
#define ON_WM_PAINT() { WM_PAINT, 0, 0, 0, AfxSig_v_v, nullptr, AFX_MSG_FN(AfxFn_v_v, OnPaint) },
#define ON_WM_CLOSE() { WM_CLOSE, 0, 0, 0, AfxSig_v_v, nullptr, AFX_MSG_FN(AfxFn_v_v, OnClose) },
#define ON_WM_DESTROY() { WM_DESTROY, 0, 0, 0, AfxSig_v_v, nullptr, AFX_MSG_FN(AfxFn_v_v, OnDestroy) },
#define ON_WM_MOUSELEAVE() { WM_MOUSELEAVE, 0, 0, 0, AfxSig_v_v, nullptr, AFX_MSG_FN(AfxFn_v_v, OnMouseLeave) },
#define ON_WM_TIMER() { WM_TIMER, 0, 0, 0, AfxSig_v_u, nullptr, AFX_MSG_FN(AfxFn_v_u, OnTimer) },
#define ON_WM_SYSCOMMAND() { WM_SYSCOMMAND, 0, 0, 0, AfxSig_v_u_l, nullptr, AFX_MSG_FN(AfxFn_v_u_l, OnSysCommand) },
#define ON_WM_ERASEBKGND() { WM_ERASEBKGND, 0, 0, 0, AfxSig_b_D, nullptr, AFX_MSG_FN(AfxFn_b_D, OnEraseBkgnd) },
#define ON_WM_CTLCOLOR() { AFX_WM_CTLCOLOR, 0, 0, 0, AfxSig_hbr_D_W_u, nullptr, AFX_MSG_FN(AfxFn_hbr_D_W_u, OnCtlColor) },
#define ON_WM_SETCURSOR() { WM_SETCURSOR, 0, 0, 0, AfxSig_b_W_u_u, nullptr, AFX_MSG_FN(AfxFn_b_W_u_u, OnSetCursor) },
#define ON_WM_SIZE() { WM_SIZE, 0, 0, 0, AfxSig_v_u_i_i, nullptr, AFX_MSG_FN(AfxFn_v_u_i_i, OnSize) },
#define ON_WM_SHOWWINDOW() { WM_SHOWWINDOW, 0, 0, 0, AfxSig_v_b_u, nullptr, AFX_MSG_FN(AfxFn_v_b_u, OnShowWindow) },
#define ON_WM_KEYDOWN() { WM_KEYDOWN, 0, 0, 0, AfxSig_v_u_u_u, nullptr, AFX_MSG_FN(AfxFn_v_u_u_u, OnKeyDown) },
#define ON_WM_CHAR() { WM_CHAR, 0, 0, 0, AfxSig_v_u_u_u, nullptr, AFX_MSG_FN(AfxFn_v_u_u_u, OnChar) },
#define ON_WM_DRAWITEM() { WM_DRAWITEM, 0, 0, 0, AfxSig_v_i_DIS, nullptr, AFX_MSG_FN(AfxFn_v_i_DIS, OnDrawItem) },
#define ON_WM_CONTEXTMENU() { WM_CONTEXTMENU, 0, 0, 0, AfxSig_v_W_p, nullptr, AFX_MSG_FN(AfxFn_v_W_p, OnContextMenu) },
#define ON_WM_HSCROLL() { WM_HSCROLL, 0, 0, 0, AfxSig_v_u_u_W, nullptr, AFX_MSG_FN(AfxFn_v_u_u_W, OnHScroll) },
#define ON_WM_VSCROLL() { WM_VSCROLL, 0, 0, 0, AfxSig_v_u_u_W, nullptr, AFX_MSG_FN(AfxFn_v_u_u_W, OnVScroll) },
#define ON_WM_ACTIVATE() { WM_ACTIVATE, 0, 0, 0, AfxSig_v_u_W_b, nullptr, AFX_MSG_FN(AfxFn_v_u_W_b, OnActivate) },
#define ON_WM_HELPINFO() { WM_HELP, 0, 0, 0, AfxSig_b_HELPINFO, nullptr, AFX_MSG_FN(AfxFn_b_HELPINFO, OnHelpInfo) },
#define ON_WM_MOUSEMOVE() { WM_MOUSEMOVE, 0, 0, 0, AfxSig_v_u_p, nullptr, AFX_MSG_FN(AfxFn_v_u_p, OnMouseMove) },
#define ON_WM_LBUTTONDOWN() { WM_LBUTTONDOWN, 0, 0, 0, AfxSig_v_u_p, nullptr, AFX_MSG_FN(AfxFn_v_u_p, OnLButtonDown) },
#define ON_WM_LBUTTONUP() { WM_LBUTTONUP, 0, 0, 0, AfxSig_v_u_p, nullptr, AFX_MSG_FN(AfxFn_v_u_p, OnLButtonUp) },
#define ON_WM_LBUTTONDBLCLK() { WM_LBUTTONDBLCLK, 0, 0, 0, AfxSig_v_u_p, nullptr, AFX_MSG_FN(AfxFn_v_u_p, OnLButtonDblClk) },
#define ON_WM_RBUTTONDOWN() { WM_RBUTTONDOWN, 0, 0, 0, AfxSig_v_u_p, nullptr, AFX_MSG_FN(AfxFn_v_u_p, OnRButtonDown) },
#define ON_WM_RBUTTONUP() { WM_RBUTTONUP, 0, 0, 0, AfxSig_v_u_p, nullptr, AFX_MSG_FN(AfxFn_v_u_p, OnRButtonUp) },
