#include "JunkUiSupport.h"

#include "testsupport.h"

#include <commctrl.h>
#include <vantres/ids_junk.h>

namespace junktest {

UiThread::UiThread(std::function<void()> body) {
    m_thread = testsupport::Thread([this, body] {
        m_id = GetCurrentThreadId();
        body();
        m_done = true;
    });
    while (!m_id) Sleep(1);
}

UiThread::~UiThread() {
    if (m_thread.joinable()) m_thread.join();
}

bool UiThread::Join(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!m_done && GetTickCount() - start < timeoutMs) Sleep(10);
    if (!m_done) return false;
    if (m_thread.joinable()) m_thread.join();
    return true;
}

namespace {

struct Search {
    DWORD thread;
    int control;
    std::string title;
    bool messageBox;
    HWND found;
};

bool IsDialogClass(HWND hwnd) {
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    return lstrcmpA(cls, "#32770") == 0;
}

BOOL CALLBACK Match(HWND hwnd, LPARAM lParam) {
    Search* s = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    DWORD thread = GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
    if (s->thread && thread != s->thread) return TRUE;
    if (s->messageBox) {
        // A message box: a dialog with the system's text control 0xFFFF.
        if (IsDialogClass(hwnd) && GetDlgItem(hwnd, 0xFFFF)) {
            s->found = hwnd;
            return FALSE;
        }
        return TRUE;
    }
    if (!s->title.empty()) {
        char text[512] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        if (s->title == text) {
            s->found = hwnd;
            return FALSE;
        }
        return TRUE;
    }
    if (GetDlgItem(hwnd, s->control)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

bool Poll(const std::function<bool()>& cond, DWORD timeoutMs) { return testsupport::WaitFor(cond, timeoutMs); }

}  // namespace

HWND FindThreadDialog(DWORD threadId, int controlId) {
    Search s{threadId, controlId, "", false, NULL};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND FindMessageBox() {
    Search s{0, 0, "", true, NULL};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND WaitForMessageBox(DWORD timeoutMs) {
    HWND box = NULL;
    Poll([&] { return (box = FindMessageBox()) != NULL; }, timeoutMs);
    return box;
}

HWND WaitForTitle(const std::string& title, DWORD timeoutMs) {
    HWND found = NULL;
    Poll([&] {
        Search s{0, 0, title, false, NULL};
        EnumWindows(Match, reinterpret_cast<LPARAM>(&s));
        found = s.found;
        return found != NULL;
    }, timeoutMs);
    return found;
}

std::string MessageBoxText(HWND box) { return ControlText(box, 0xFFFF); }

void Press(HWND dialog, int buttonId) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), LPARAM(GetDlgItem(dialog, buttonId)));
}

std::string ControlText(HWND dialog, int id) {
    char text[1024] = {};
    HWND control = GetDlgItem(dialog, id);
    if (!control) return "";
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, LPARAM(text), SMTO_ABORTIFHUNG, 5000, &ignored);
    return text;
}

void SetControlText(HWND dialog, int id, const std::string& text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, LPARAM(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                        &ignored);
}

void Click(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id)));
}

bool Visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }

int ItemCount(HWND list) {
    DWORD_PTR n = 0;
    SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &n);
    return int(n);
}

std::string ItemText(HWND list, int item, int subItem) {
    char text[1024] = {};
    LVITEMA lv = {};
    lv.iSubItem = subItem;
    lv.pszText = text;
    lv.cchTextMax = sizeof text;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(list, LVM_GETITEMTEXTA, WPARAM(item), LPARAM(&lv), SMTO_ABORTIFHUNG, 5000, &ignored);
    return text;
}

bool Checked(HWND list, int item) {
    DWORD_PTR state = 0;
    SendMessageTimeoutA(list, LVM_GETITEMSTATE, WPARAM(item), LVIS_STATEIMAGEMASK, SMTO_ABORTIFHUNG, 5000, &state);
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void SetChecked(HWND list, int item, bool checked) {
    LVITEMA lv = {};
    lv.stateMask = LVIS_STATEIMAGEMASK;
    lv.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(list, LVM_SETITEMSTATE, WPARAM(item), LPARAM(&lv), SMTO_ABORTIFHUNG, 5000, &ignored);
}

void SelectItem(HWND list, int item) {
    LVITEMA lv = {};
    lv.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    lv.state = LVIS_SELECTED | LVIS_FOCUSED;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(list, LVM_SETITEMSTATE, WPARAM(item), LPARAM(&lv), SMTO_ABORTIFHUNG, 5000, &ignored);
}

void ColumnClick(HWND wnd, int column) {
    NMLISTVIEW nm = {};
    nm.hdr.hwndFrom = GetDlgItem(wnd, IDC_JK_RESULTS);
    nm.hdr.idFrom = IDC_JK_RESULTS;
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = column;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(wnd, WM_NOTIFY, IDC_JK_RESULTS, LPARAM(&nm), SMTO_ABORTIFHUNG, 10000, &ignored);
}

}  // namespace junktest
