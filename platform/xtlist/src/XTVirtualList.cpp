#include <xtlist/XTVirtualList.h>

#include <windowsx.h>

CXTVirtualList::CXTVirtualList() = default;

CXTVirtualList::~CXTVirtualList() = default;

BOOL CXTVirtualList::TakeOver(CWnd* parent, UINT id)
{
    if (m_hWnd || !parent || !parent->m_hWnd) return FALSE;
    HWND old = ::GetDlgItem(parent->m_hWnd, int(id));
    if (!old) return FALSE;
    // The owner-data style is fixed when a list is made: the template's
    // list gives way to one made like it.
    const DWORD style = (DWORD(::GetWindowLongPtrA(old, GWL_STYLE)) & ~DWORD(LVS_SORTASCENDING | LVS_SORTDESCENDING)) |
                        LVS_OWNERDATA | LVS_REPORT;
    const DWORD exStyle = DWORD(::GetWindowLongPtrA(old, GWL_EXSTYLE));
    const DWORD listStyle = DWORD(::SendMessageA(old, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    const HFONT font = HFONT(::SendMessageA(old, WM_GETFONT, 0, 0));
    RECT place;
    ::GetWindowRect(old, &place);
    ::MapWindowPoints(nullptr, parent->m_hWnd, reinterpret_cast<POINT*>(&place), 2);
    HWND before = ::GetWindow(old, GW_HWNDPREV);  // keeps the tab order
    ::DestroyWindow(old);
    if (!CreateEx(exStyle, WC_LISTVIEWA, "", style, place, parent, id)) return FALSE;
    ::SetWindowPos(m_hWnd, before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (font) SendMessage(WM_SETFONT, WPARAM(font), FALSE);
    if (listStyle) SetExtendedStyle(listStyle);
    // The check box is asked for like the texts.
    SendMessage(LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK);
    m_shown = 0;
    return TRUE;
}

void CXTVirtualList::SyncCount(bool all)
{
    const int count = m_store ? m_store->Count() : 0;
    if (count == m_shown && !all) return;
    if (count < m_shown) all = true;
    m_shown = count;
    SendMessage(LVM_SETITEMCOUNT, WPARAM(count), all ? 0 : LPARAM(LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL));
    if (all) Invalidate(FALSE);
}

UINT CXTVirtualList::StateImage(int row) const
{
    return INDEXTOSTATEIMAGEMASK(m_store && m_store->Ticked(row) ? 2 : 1);
}

void CXTVirtualList::ToggleTick(int row)
{
    if (!m_store || row < 0 || row >= m_shown) return;
    m_store->SetTicked(row, !m_store->Ticked(row));
    SendMessage(LVM_REDRAWITEMS, WPARAM(row), LPARAM(row));
}

bool CXTVirtualList::OnStateIcon(LPARAM point, int& row) const
{
    LVHITTESTINFO hit;
    ZeroMemory(&hit, sizeof hit);
    hit.pt.x = GET_X_LPARAM(point);
    hit.pt.y = GET_Y_LPARAM(point);
    row = int(SendMessage(LVM_HITTEST, 0, LPARAM(&hit)));
    return row >= 0 && (hit.flags & LVHT_ONITEMSTATEICON) != 0;
}

LRESULT CXTVirtualList::OnSetItemState(WPARAM item, const LVITEMA* change)
{
    if (!change) return FALSE;
    LVITEMA rest = *change;
    if (change->stateMask & LVIS_STATEIMAGEMASK) {
        const UINT image = (change->state & LVIS_STATEIMAGEMASK) >> 12;
        const int row = int(item);
        if (m_store && (image == 1 || image == 2)) {
            if (row != -1 && (row < 0 || row >= m_shown)) return FALSE;
            m_store->SetTicked(row, image == 2);
            if (row == -1)
                Invalidate(FALSE);
            else
                SendMessage(LVM_REDRAWITEMS, WPARAM(row), LPARAM(row));
        }
        rest.stateMask &= ~UINT(LVIS_STATEIMAGEMASK);
    }
    if (!rest.stateMask) return TRUE;
    return CXTListCtrl::WindowProc(LVM_SETITEMSTATE, item, LPARAM(&rest));
}

int CXTVirtualList::ItemText(int row, LVITEMA* item) const
{
    if (!item || !item->pszText || item->pszText == LPSTR_TEXTCALLBACKA || item->cchTextMax <= 0) return 0;
    if (!m_store || row < 0 || row >= m_shown) {
        item->pszText[0] = '\0';
        return 0;
    }
    return m_store->CopyText(row, item->iSubItem, item->pszText, item->cchTextMax);
}

int CXTVirtualList::ItemText(int row, LVITEMW* item) const
{
    if (!item || !item->pszText || item->pszText == LPSTR_TEXTCALLBACKW || item->cchTextMax <= 0) return 0;
    item->pszText[0] = L'\0';
    if (!m_store || row < 0 || row >= m_shown) return 0;
    const CString text = m_store->Text(row, item->iSubItem);
    int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, item->pszText, item->cchTextMax);
    if (length == 0) {
        // Too long for the buffer: as much as fits.
        length = ::MultiByteToWideChar(CP_ACP, 0, text, text.GetLength(), item->pszText, item->cchTextMax - 1);
        item->pszText[length] = L'\0';
        return length;
    }
    return length - 1;
}

LRESULT CXTVirtualList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case LVM_SETITEMSTATE:
        return OnSetItemState(wParam, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_GETITEMSTATE: {
        // The control keeps selection and focus; the tick is the store's.
        const UINT mask = UINT(lParam);
        const UINT others = mask & ~UINT(LVIS_STATEIMAGEMASK);
        UINT state = others ? UINT(CXTListCtrl::WindowProc(message, wParam, LPARAM(others))) : 0;
        if (mask & LVIS_STATEIMAGEMASK) state |= StateImage(int(wParam));
        return state;
    }
    case LVM_GETITEMTEXTA:
        return ItemText(int(wParam), reinterpret_cast<LVITEMA*>(lParam));
    case LVM_GETITEMTEXTW:
        return ItemText(int(wParam), reinterpret_cast<LVITEMW*>(lParam));
    case LVM_DELETEALLITEMS:
        m_shown = 0;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        int row = -1;
        if (OnStateIcon(lParam, row)) ToggleTick(row);
        break;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) ToggleTick(GetNextItem(-1, LVNI_FOCUSED));
        break;
    default:
        break;
    }
    return CXTListCtrl::WindowProc(message, wParam, lParam);
}

BOOL CXTVirtualList::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (message != WM_NOTIFY || !header || header->hwndFrom != m_hWnd)
        return CXTListCtrl::OnChildNotify(message, wParam, lParam, pResult);
    switch (header->code) {
    case LVN_GETDISPINFOA:
        AnswerDispInfo(reinterpret_cast<NMLVDISPINFOA*>(lParam)->item);
        break;
    case LVN_GETDISPINFOW:
        AnswerDispInfo(reinterpret_cast<NMLVDISPINFOW*>(lParam)->item);
        break;
    case LVN_ODFINDITEMA:
    case LVN_ODFINDITEMW:
        *pResult = -1;  // typing does not search the rows
        return TRUE;
    default:
        return CXTListCtrl::OnChildNotify(message, wParam, lParam, pResult);
    }
    if (pResult) *pResult = 0;
    return TRUE;
}
