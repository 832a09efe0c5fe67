// What a window shows in its controls: every visible label, button and list
// column below a top-level window, with its text, whether that text fits its
// control in the control's own font, and whether the control itself lies
// within its parent (a control pushed past the edge cannot be seen or used).
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

namespace langtest {

struct SeenText {
    std::string text;    // as the control holds it ("&" prefixes included)
    bool fits = true;    // drawn in the control's font, the text stays inside it
    std::string detail;  // sizes, when it does not fit
    bool inside = true;  // the whole control lies within its parent's client area
    std::string where;   // both rectangles, when it does not
};

// Texts by place: the ids of the control and its parents below the
// top-level window ("222/221/1078"); list columns add "#column".
using Survey = std::map<std::string, SeenText>;

// Adds what is visible now inside `top` to `into`, each key prefixed with `view`.
void SurveyWindow(HWND top, const std::string& view, Survey& into);

bool IsAscii(const std::string& text);

// Runs `body` on a thread of its own (which owns the windows it makes) and
// waits for it at the end.
class WindowThread {
public:
    explicit WindowThread(std::function<void()> body);
    ~WindowThread();
    DWORD id() const { return m_id; }
    bool Join(DWORD timeoutMs);

private:
    static DWORD WINAPI Run(LPVOID self);
    std::function<void()> m_body;
    HANDLE m_thread = nullptr;
    DWORD m_id = 0;
};

// A top-level window of that thread holding a control of that id; null when none.
HWND FindThreadWindow(DWORD threadId, int controlId);
// Posts a button click of control `id` to its dialog.
void ClickButton(HWND dialog, int id);
// The window's own visible flag and those of its parents up to the top.
bool Showing(HWND window);

}  // namespace langtest
