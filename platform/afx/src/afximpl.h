// What the framework's sources share and nobody outside sees: the per-thread
// state, the message frames that Default() works from, and the routing of a
// queued message through PreTranslateMessage and the dialog manager.
#pragma once

#include "afxwin.h"
#include "afxmt.h"
#include <map>
#include <vector>

// One message being handled by AfxWndProc or AfxDlgProc on this thread.
struct AfxMsgFrame {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool fromDlgProc;  // AfxDlgProc: unhandled means "let the dialog manager do it"
    bool unhandled;
    AfxMsgFrame* previous;
};

struct AfxThreadState {
    AfxMsgFrame* frame = nullptr;          // innermost message being handled
    std::map<HWND, CWnd*> tempWnds;        // FromHandle wrappers of handles nobody owns
    std::map<HDC, CDC*> tempDCs;           // CDC::FromHandle wrappers
    CWnd* pendingCreate = nullptr;         // CWnd::CreateEx waiting for its HCBT_CREATEWND
    CDialog* pendingDialog = nullptr;      // CDialog being made, attached on its first message
    HWND bypassHwnd = nullptr;             // AfxDlgProc lets the next message of this pair
    UINT bypassMsg = 0;                    // through, so DefDlgProc does its default
    std::map<LONG, std::pair<void*, void (*)(void*)>> slots;  // CThreadSlot values and their destroyers
};

// The calling thread's state, made on first use and freed when the thread ends.
AfxThreadState* AfxGetThreadState();
AfxThreadState* AfxPeekThreadState();  // null while the thread has none
void AfxFreeThreadState();

// Pushes a frame for the length of one message.
class AfxFrameScope {
public:
    AfxFrameScope(HWND h, UINT m, WPARAM w, LPARAM l, bool fromDlgProc)
        : m_state(AfxGetThreadState()), m_frame{h, m, w, l, fromDlgProc, false, m_state->frame} {
        m_state->frame = &m_frame;
    }
    ~AfxFrameScope() { m_state->frame = m_frame.previous; }
    AfxFrameScope(const AfxFrameScope&) = delete;
    AfxFrameScope& operator=(const AfxFrameScope&) = delete;
    bool Unhandled() const { return m_frame.unhandled; }

private:
    AfxThreadState* m_state;
    AfxMsgFrame m_frame;
};

// The window property that ties a handle to its CWnd.
extern const char kAfxWndProp[];

LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);

// The framework's own reach into the protected parts of its classes.
struct AfxWndAccess {
    static WNDPROC Super(const CWnd* wnd) { return wnd->m_pfnSuper; }
    static void SetSuper(CWnd* wnd, WNDPROC proc) { wnd->m_pfnSuper = proc == &AfxWndProc ? nullptr : proc; }
};

// Offers a queued message to PreTranslateMessage of the target and its parents,
// then to the dialog manager of the dialog it belongs to. True when taken.
bool AfxPreTranslate(MSG& msg);

// The common controls are registered once, on first need (not from DllMain).
void AfxInitControls();

// The caption of the framework's message boxes.
CString AfxAppTitle();

// A string resource of one module; false when the module has no such text.
bool AfxLoadStringFrom(HINSTANCE module, UINT id, CString& text);

// Balances a successful AfxOleInit; AfxWinMain calls it on the way out.
void AfxOleTerm();

// FILETIME to seconds since 1970 (0 for an unset time).
time_t AfxFileTimeToTime(const FILETIME& ft);
