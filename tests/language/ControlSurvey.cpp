#include "ControlSurvey.h"

#include <afxwin.h>
#include <commctrl.h>
#include <vantor/GuiButton.h>
#include <vantor/HoverButton.h>

#include <vector>

namespace langtest {

namespace {

std::string TextOf(HWND window)
{
    const int length = ::GetWindowTextLengthA(window);
    std::string text(size_t(length > 0 ? length : 0) + 1, '\0');
    const int got = ::GetWindowTextA(window, &text[0], int(text.size()));
    text.resize(size_t(got > 0 ? got : 0));
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

// The ids from the top-level window down to `window`.
std::string KeyOf(HWND top, HWND window)
{
    std::string key;
    for (HWND w = window; w && w != top; w = ::GetParent(w)) {
        const std::string id = std::to_string(::GetDlgCtrlID(w));
        key = key.empty() ? id : id + "/" + key;
    }
    return key;
}

// The text as drawn: "&&" is one "&", a single "&" underlines the next letter.
std::string Drawn(const std::string& text, bool prefixes)
{
    if (!prefixes) return text;
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

// The font a control draws with (the look of the skinned buttons falls back
// on the default GUI font too).
HFONT FontOf(HWND control)
{
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

// Whether `text` fits `width` x `height` pixels in `font`: on one line, or
// word-wrapped when the control wraps.
bool Fits(HFONT font, const std::string& text, int width, int height, bool wraps, std::string& detail)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    bool fits;
    if (wraps) {
        RECT r = {0, 0, width, 0};
        ::DrawTextA(dc, text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        fits = r.right <= width && r.bottom <= height;
        detail = "wrapped " + std::to_string(r.right) + " x " + std::to_string(r.bottom);
    } else {
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
        fits = size.cx <= width && size.cy <= height + 2;
        detail = "one line " + std::to_string(size.cx) + " x " + std::to_string(size.cy);
    }
    detail += " in " + std::to_string(width) + " x " + std::to_string(height);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return fits;
}

void SurveyButton(HWND control, SeenText& seen)
{
    const LONG_PTR style = ::GetWindowLongPtrA(control, GWL_STYLE);
    const LONG_PTR type = style & BS_TYPEMASK;
    if (type == BS_GROUPBOX || seen.text.empty()) return;
    RECT client;
    ::GetClientRect(control, &client);
    int width = client.right;
    const bool box = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                     type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
    CWnd* object = CWnd::FromHandlePermanent(control);
    if (dynamic_cast<CHoverButton*>(object)) {
        // A wide face keeps a square of about 4/5 of the height for its
        // picture at the left; the caption has the rest, less 2 at the right.
        const bool wide = client.right * 2 >= client.bottom * 5;
        width -= (wide ? client.bottom * 4 / 5 : 3) + 2;
    } else if (dynamic_cast<CGuiButton*>(object)) {
        width -= 8;  // 4 inside each side of the rounded box
    } else {
        // The box and the gap before the text; push buttons keep their frame clear.
        width -= box ? ::GetSystemMetrics(SM_CXMENUCHECK) + 4 : 6;
    }
    seen.fits = Fits(FontOf(control), Drawn(seen.text, true), width, client.bottom,
                     (style & BS_MULTILINE) != 0, seen.detail);
}

void SurveyStatic(HWND control, SeenText& seen)
{
    const LONG_PTR style = ::GetWindowLongPtrA(control, GWL_STYLE);
    const LONG_PTR type = style & SS_TYPEMASK;
    if (seen.text.empty() || (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT &&
                              type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE && type != SS_OWNERDRAW))
        return;
    // Texts cut with an ellipsis (paths, status lines) are shortened by design.
    if (style & SS_ELLIPSISMASK) return;
    RECT client;
    ::GetClientRect(control, &client);
    const bool wraps = type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE;
    seen.fits = Fits(FontOf(control), Drawn(seen.text, !(style & SS_NOPREFIX)), client.right, client.bottom, wraps,
                     seen.detail);
}

// Whether the whole of `control` lies within its parent's client area.
bool InsideParent(HWND control, std::string& where)
{
    RECT own, parent;
    ::GetWindowRect(control, &own);
    const HWND up = ::GetParent(control);
    ::GetClientRect(up, &parent);
    ::MapWindowPoints(up, nullptr, reinterpret_cast<POINT*>(&parent), 2);
    const auto text = [](const RECT& r) {
        return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
               std::to_string(r.bottom) + ")";
    };
    where = "control " + text(own) + " in parent " + text(parent);
    return own.left >= parent.left && own.top >= parent.top && own.right <= parent.right &&
           own.bottom <= parent.bottom;
}

void SurveyColumns(HWND top, HWND list, const std::string& view, Survey& into)
{
    HWND header = ListView_GetHeader(list);
    if (!header) return;
    const int count = Header_GetItemCount(header);
    for (int i = 0; i < count; ++i) {
        char text[260] = {};
        HDITEMA item = {};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(header, HDM_GETITEMA, WPARAM(i), LPARAM(&item));
        into[view + ":" + KeyOf(top, list) + "#" + std::to_string(i)].text = text;
    }
}

}  // namespace

void SurveyWindow(HWND top, const std::string& view, Survey& into)
{
    std::vector<HWND> all;
    ::EnumChildWindows(
        top,
        [](HWND child, LPARAM found) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
            return TRUE;
        },
        LPARAM(&all));
    for (HWND control : all) {
        if (!::IsWindowVisible(control)) continue;
        const std::string cls = ClassOf(control);
        SeenText& placed = into[view + ":" + KeyOf(top, control)];
        placed.inside = InsideParent(control, placed.where);
        if (cls == "SysListView32") {
            if (!(::GetWindowLongPtrA(control, GWL_STYLE) & LVS_NOCOLUMNHEADER)) SurveyColumns(top, control, view, into);
            continue;
        }
        if (cls != "Button" && cls != "Static") continue;
        // Pictures carry a resource number, not a text.
        const LONG_PTR type = ::GetWindowLongPtrA(control, GWL_STYLE) & SS_TYPEMASK;
        if (cls == "Static" && (type == SS_BITMAP || type == SS_ICON || type == SS_ENHMETAFILE)) continue;
        placed.text = TextOf(control);
        if (cls == "Button")
            SurveyButton(control, placed);
        else
            SurveyStatic(control, placed);
    }
}

bool IsAscii(const std::string& text)
{
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

WindowThread::WindowThread(std::function<void()> body) : m_body(std::move(body))
{
    m_thread = ::CreateThread(nullptr, 0, &WindowThread::Run, this, 0, &m_id);
}

WindowThread::~WindowThread()
{
    Join(60000);
    if (m_thread) ::CloseHandle(m_thread);
}

DWORD WINAPI WindowThread::Run(LPVOID self)
{
    static_cast<WindowThread*>(self)->m_body();
    return 0;
}

bool WindowThread::Join(DWORD timeoutMs)
{
    return !m_thread || ::WaitForSingleObject(m_thread, timeoutMs) == WAIT_OBJECT_0;
}

HWND FindThreadWindow(DWORD threadId, int controlId)
{
    struct Search {
        int id;
        HWND found;
    } search = {controlId, nullptr};
    ::EnumThreadWindows(
        threadId,
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (::GetDlgItem(window, s->id)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        LPARAM(&search));
    return search.found;
}

void ClickButton(HWND dialog, int id)
{
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(::GetDlgItem(dialog, id)));
}

bool Showing(HWND window)
{
    return window && ::IsWindowVisible(window);
}

}  // namespace langtest
