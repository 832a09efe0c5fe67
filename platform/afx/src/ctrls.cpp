// The control wrappers' members that take more than one message.
#include "afximpl.h"

BOOL CButton::Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, "BUTTON", caption, style, rect, parent, id);
}

// An owner-drawn button draws itself: its parent's WM_DRAWITEM comes here.
BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult) *pResult = TRUE;
    return TRUE;
}

BOOL CStatic::Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, "STATIC", text, style, rect, parent, id);
}

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, "EDIT", nullptr, style, rect, parent, id);
}

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, PROGRESS_CLASSA, nullptr, style, rect, parent, id);
}

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, WC_LISTVIEWA, nullptr, style, rect, parent, id);
}

// Texts of list boxes and combo boxes, whatever their length.
static void ItemText(HWND h, UINT lenMsg, UINT textMsg, int i, CString& text) {
    LRESULT length = ::SendMessageA(h, lenMsg, WPARAM(i), 0);
    if (length <= 0) {
        text.Empty();
        return;
    }
    char* buffer = text.GetBufferSetLength(int(length) + 1);
    LRESULT got = ::SendMessageA(h, textMsg, WPARAM(i), reinterpret_cast<LPARAM>(buffer));
    text.ReleaseBuffer(got < 0 ? 0 : int(got));
}

void CComboBox::GetLBText(int i, CString& text) const { ItemText(m_hWnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, i, text); }

void CListBox::GetText(int i, CString& text) const { ItemText(m_hWnd, LB_GETTEXTLEN, LB_GETTEXT, i, text); }

int CListCtrl::InsertColumn(int column, LPCSTR heading, int format, int width, int subItem) {
    LVCOLUMNA col = {};
    col.mask = LVCF_FMT | LVCF_TEXT;
    col.fmt = format;
    col.pszText = const_cast<LPSTR>(heading ? heading : "");
    if (width != -1) {
        col.mask |= LVCF_WIDTH;
        col.cx = width;
    }
    if (subItem != -1) {
        col.mask |= LVCF_SUBITEM;
        col.iSubItem = subItem;
    }
    return int(SendMessage(LVM_INSERTCOLUMNA, WPARAM(column), reinterpret_cast<LPARAM>(&col)));
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const {
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    // The wrapper has no data of its own beyond CWnd, so a plain CWnd wrapper
    // serves; a header owned by an object (a sorting header) is that object.
    return header ? static_cast<CHeaderCtrl*>(CWnd::FromHandle(header)) : nullptr;
}

int CListCtrl::InsertItem(int item, LPCSTR text) {
    LVITEMA lvi = {};
    lvi.mask = LVIF_TEXT;
    lvi.iItem = item;
    lvi.pszText = const_cast<LPSTR>(text ? text : "");
    return InsertItem(&lvi);
}

BOOL CListCtrl::SetItemText(int item, int subItem, LPCSTR text) {
    LVITEMA lvi = {};
    lvi.iSubItem = subItem;
    lvi.pszText = const_cast<LPSTR>(text ? text : "");
    return BOOL(SendMessage(LVM_SETITEMTEXTA, WPARAM(item), reinterpret_cast<LPARAM>(&lvi)));
}

CString CListCtrl::GetItemText(int item, int subItem) const {
    // The control copies what fits; a copy that fills the buffer may be cut, so grow and ask again.
    for (int size = 256;; size *= 2) {
        std::string buffer(size_t(size), '\0');
        LVITEMA lvi = {};
        lvi.iSubItem = subItem;
        lvi.pszText = &buffer[0];
        lvi.cchTextMax = size;
        int got = int(SendMessage(LVM_GETITEMTEXTA, WPARAM(item), reinterpret_cast<LPARAM>(&lvi)));
        if (got < size - 2 || size >= (1 << 24)) {
            if (got < 0) got = 0;
            return CString(buffer.c_str(), int(std::min(std::strlen(buffer.c_str()), size_t(got))));
        }
    }
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
    LVITEMA lvi = {};
    lvi.mask = LVIF_PARAM;
    lvi.iItem = item;
    lvi.lParam = LPARAM(data);
    return SetItem(&lvi);
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
    LVITEMA lvi = {};
    lvi.mask = LVIF_PARAM;
    lvi.iItem = item;
    return GetItem(&lvi) ? DWORD_PTR(lvi.lParam) : 0;
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
    LVITEMA lvi = {};
    lvi.state = state;
    lvi.stateMask = mask;
    return BOOL(SendMessage(LVM_SETITEMSTATE, WPARAM(item), reinterpret_cast<LPARAM>(&lvi)));
}

POSITION CListCtrl::GetFirstSelectedItemPosition() const {
    int first = GetNextItem(-1, LVNI_SELECTED);
    return reinterpret_cast<POSITION>(INT_PTR(first + 1));
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
    int index = int(reinterpret_cast<INT_PTR>(pos)) - 1;
    int next = GetNextItem(index, LVNI_SELECTED);
    pos = reinterpret_cast<POSITION>(INT_PTR(next + 1));
    return index;
}

BOOL CListCtrl::GetItemRect(int item, LPRECT r, UINT code) const {
    r->left = LONG(code);
    return BOOL(SendMessage(LVM_GETITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(r)));
}
