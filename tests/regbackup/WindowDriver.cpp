#include "WindowDriver.h"

#include <commctrl.h>
#include <vector>

#include "host/ResourceScope.h"
#include "testsupport.h"

namespace rbtest {

UiThread::UiThread(std::function<void()> body)
{
    m_thread = testsupport::Thread([this, body] {
        m_id = GetCurrentThreadId();
        ResourceScope scope("vantres.dll");
        body();
        m_finished = true;
    });
    testsupport::WaitFor([this] { return m_id != 0; }, 5000);
}

UiThread::~UiThread() { Join(30000); }

bool UiThread::Join(DWORD timeoutMs)
{
    if (!m_thread.joinable()) return true;
    if (!testsupport::WaitFor([this] { return m_finished; }, timeoutMs)) {
        m_thread.detach();  // a window that would not close: leave it to the end of the program
        return false;
    }
    m_thread.join();
    return true;
}

namespace {

struct Search {
    int childId;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND hwnd, LPARAM param)
{
    Search* search = reinterpret_cast<Search*>(param);
    if (IsWindowVisible(hwnd) && FindControl(hwnd, search->childId)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchControl(HWND hwnd, LPARAM param)
{
    ControlSearch* search = reinterpret_cast<ControlSearch*>(param);
    if (GetDlgCtrlID(hwnd) == search->id) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK ChildNeedsPaint(HWND hwnd, LPARAM param)
{
    if (IsWindowVisible(hwnd) && GetUpdateRect(hwnd, NULL, FALSE)) {
        *reinterpret_cast<bool*>(param) = true;
        return FALSE;
    }
    return TRUE;
}

bool NeedsPaint(HWND window)
{
    bool pending = GetUpdateRect(window, NULL, FALSE) != FALSE;
    if (!pending) EnumChildWindows(window, ChildNeedsPaint, reinterpret_cast<LPARAM>(&pending));
    return pending;
}

}  // namespace

HWND UiThread::FindTopLevel(int childId) const
{
    Search search{childId, NULL};
    EnumThreadWindows(m_id, MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND UiThread::WaitForTopLevel(int childId, DWORD timeoutMs) const
{
    HWND found = NULL;
    testsupport::WaitFor([&] { return (found = FindTopLevel(childId)) != NULL; }, timeoutMs);
    return found;
}

HWND FindControl(HWND window, int id)
{
    if (!window) return NULL;
    HWND direct = GetDlgItem(window, id);
    if (direct) return direct;
    ControlSearch search{id, NULL};
    EnumChildWindows(window, MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

std::string TextOf(HWND window)
{
    char text[4096] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000, &length);
    return text;
}

int ListCount(HWND list)
{
    DWORD_PTR count = 0;
    SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_BLOCK, 5000, &count);
    return int(count);
}

std::string ListText(HWND list, int row, int column)
{
    char text[1024] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(list, LVM_GETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item), SMTO_BLOCK, 5000, &ignored);
    return text;
}

void SelectRow(HWND list, int row)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&item), SMTO_BLOCK, 5000, &ignored);
}

void SaveShot(HWND window, const char* name)
{
    char folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("RB_SHOTS", folder, MAX_PATH)) return;
    RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    // Painted once no window of the tree waits for paint any more.
    testsupport::WaitFor([window] { return !NeedsPaint(window); }, 5000);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    if (GetWindowThreadProcessId(window, NULL) == GetCurrentThreadId()) {
        // The window's own thread: a look at the queue hands its picture to the screen.
        MSG msg;
        PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE);
    }
    GdiFlush();
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const DWORD stride = DWORD((w * 3 + 3) & ~3);
    std::vector<BYTE> pixels(size_t(stride) * size_t(h));
    GetDIBits(memory, bitmap, 0, UINT(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + DWORD(pixels.size());
    std::string bytes(reinterpret_cast<char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<char*>(&info), sizeof info);
    bytes.append(reinterpret_cast<char*>(pixels.data()), pixels.size());
    testsupport::WriteFileBytes(std::string(folder) + "\\" + name + ".bmp", bytes);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
}

}  // namespace rbtest
