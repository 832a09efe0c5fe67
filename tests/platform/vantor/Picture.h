// Off-screen pictures for the painting tests: a 32-bit DIB that a control
// draws into (WM_PRINTCLIENT) and whose pixels the test reads.
#pragma once

#include <afxwin.h>

#include <cstdint>
#include <cstdlib>

namespace vantortest {

class Picture {
public:
    Picture(int width, int height, COLORREF fill = RGB(128, 128, 128)) : m_width(width), m_height(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_dc = CreateCompatibleDC(NULL);
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), NULL, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        HBRUSH brush = CreateSolidBrush(fill);
        RECT all = {0, 0, width, height};
        FillRect(m_dc, &all, brush);
        DeleteObject(brush);
        m_wrapper.Attach(m_dc);
    }
    ~Picture()
    {
        m_wrapper.Detach();
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    HDC dc() const { return m_dc; }
    CDC* cdc() { return &m_wrapper; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    COLORREF At(int x, int y) const
    {
        GdiFlush();
        const uint32_t p = m_bits[size_t(y) * size_t(m_width) + size_t(x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels of `rect` within `tolerance` (per channel) of `colour`.
    int Count(const RECT& rect, COLORREF colour, int tolerance = 8) const
    {
        int n = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                if (Near(At(x, y), colour, tolerance)) ++n;
        return n;
    }
    // Whether any pixel of `rect` differs from `other` by more than `tolerance`.
    bool DiffersFrom(const Picture& other, const RECT& rect, int tolerance = 8) const
    {
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                if (!Near(At(x, y), other.At(x, y), tolerance)) return true;
        return false;
    }

    // Lets a window draw its client area here.
    void Print(HWND window)
    {
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(m_dc), PRF_CLIENT | PRF_ERASEBKGND);
        GdiFlush();
    }

    static bool Near(COLORREF a, COLORREF b, int tolerance)
    {
        return std::abs(int(GetRValue(a)) - int(GetRValue(b))) <= tolerance &&
               std::abs(int(GetGValue(a)) - int(GetGValue(b))) <= tolerance &&
               std::abs(int(GetBValue(a)) - int(GetBValue(b))) <= tolerance;
    }

private:
    int m_width, m_height;
    HDC m_dc = NULL;
    HBITMAP m_bitmap = NULL;
    HGDIOBJ m_old = NULL;
    uint32_t* m_bits = nullptr;
    CDC m_wrapper;
};

// A plain top-level window for controls to live in. It answers the
// controls' colour questions with a white brush and records the commands
// its children send.
class HostWindow : public CWnd {
public:
    // A top-level window, or with `parent` a child filling its client area.
    explicit HostWindow(CWnd* parent = nullptr, int width = 480, int height = 320)
    {
        static bool registered = false;
        if (!registered) {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = ::DefWindowProcA;
            wc.hInstance = GetModuleHandleA(NULL);
            wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
            wc.lpszClassName = "VantorTestHost";
            wc.hbrBackground = HBRUSH(GetStockObject(WHITE_BRUSH));
            RegisterClassA(&wc);
            registered = true;
        }
        m_white = CreateSolidBrush(RGB(255, 255, 255));
        CRect rect(40, 40, 40 + width, 40 + height);
        DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE;
        if (parent) {
            parent->GetClientRect(&rect);
            style = WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE;
        }
        CreateEx(0, "VantorTestHost", "vantor test host", style, rect, parent, 0);
    }
    ~HostWindow() override
    {
        DestroyWindow();
        DeleteObject(m_white);
    }

    void ResetClicks() { m_count = 0; }
    int Clicks(UINT id, UINT code = BN_CLICKED) const
    {
        int n = 0;
        for (int i = 0; i < m_count; ++i)
            if (m_ids[i] == id && m_codes[i] == code) ++n;
        return n;
    }

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (CWnd::OnWndMsg(message, wParam, lParam, pResult)) return TRUE;
        if (message == WM_COMMAND && m_count < 64) {
            m_ids[m_count] = LOWORD(wParam);
            m_codes[m_count++] = HIWORD(wParam);
        }
        if (message == WM_CTLCOLORBTN || message == WM_CTLCOLORSTATIC) {
            *pResult = reinterpret_cast<LRESULT>(m_white);
            return TRUE;
        }
        return FALSE;
    }

private:
    HBRUSH m_white = NULL;
    UINT m_ids[64] = {};
    UINT m_codes[64] = {};
    int m_count = 0;
};

}  // namespace vantortest
