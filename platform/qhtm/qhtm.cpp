// Stand-in for the HTML display control. The suite's other programs show
// HTML-formatted texts with it; here it offers only its initialiser and a
// window class that paints its window text plainly, word-wrapped.
#include <windows.h>

namespace {

const char kWindowClass[] = "QHTM_Window";

LRESULT CALLBACK QhtmWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT area;
        GetClientRect(window, &area);
        int length = GetWindowTextLengthA(window);
        if (length > 0) {
            char* text = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(length) + 1));
            if (text) {
                GetWindowTextA(window, text, length + 1);
                HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
                SetBkMode(dc, TRANSPARENT);
                SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
                DrawTextA(dc, text, length, &area, DT_WORDBREAK | DT_NOPREFIX);
                SelectObject(dc, oldFont);
                HeapFree(GetProcessHeap(), 0, text);
            }
        }
        EndPaint(window, &paint);
        return 0;
    }
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcA(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, TRUE);
        return result;
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

// Ordinal 1: registers the window class for the caller's instance. Calling
// it again is harmless.
extern "C" BOOL WINAPI QhtmInitialize(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    if (GetClassInfoA(instance, kWindowClass, &windowClass)) return TRUE;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
    windowClass.lpfnWndProc = QhtmWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);
    return TRUE;
}
