// Driving the junk cleaner's windows from a test: a window thread of the
// test's own, message boxes found and answered, list views read and ticked
// by their messages.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "TestThread.h"

namespace junktest {

// Runs body on a thread of its own (which owns the windows body makes).
class UiThread {
public:
    explicit UiThread(std::function<void()> body);
    ~UiThread();  // joins
    DWORD id() const { return m_id; }
    bool Finished() const { return m_done; }
    bool Join(DWORD timeoutMs = 30000);

private:
    testsupport::Thread m_thread;
    volatile DWORD m_id = 0;
    volatile bool m_done = false;
};

// A top-level window of this process made by that thread with a control of this id.
HWND FindThreadDialog(DWORD threadId, int controlId);
// A message box of this process (any thread); null when none is up.
HWND FindMessageBox();
HWND WaitForMessageBox(DWORD timeoutMs = 15000);
std::string MessageBoxText(HWND box);
// Closes a message box or dialog as if that button had been pressed.
void Press(HWND dialog, int buttonId);
// A top-level window of this process with this exact title.
HWND WaitForTitle(const std::string& title, DWORD timeoutMs = 15000);

std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::string& text);
// Sends WM_COMMAND as a click of a button of dialog would.
void Click(HWND dialog, int id);
bool Visible(HWND dialog, int id);

int ItemCount(HWND list);
std::string ItemText(HWND list, int item, int subItem);
bool Checked(HWND list, int item);
void SetChecked(HWND list, int item, bool checked);
void SelectItem(HWND list, int item);
// A click on a header column of the junk window's results list, as the list reports it.
void ColumnClick(HWND wnd, int column);

}  // namespace junktest
