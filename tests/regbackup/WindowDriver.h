// Runs a window of the backup tool on a thread of its own, as the program
// would, so that a test can drive it by messages and wait on what it shows.
#pragma once

#include <windows.h>
#include <functional>
#include <string>

#include "TestThread.h"

namespace rbtest {

class UiThread {
public:
    // Runs `body` (which opens a modal window) on a new thread with the
    // resource library as the resource source.
    explicit UiThread(std::function<void()> body);
    ~UiThread();  // waits for the body to end
    UiThread(const UiThread&) = delete;
    UiThread& operator=(const UiThread&) = delete;

    DWORD id() const { return m_id; }
    bool finished() const { return m_finished; }
    // A top-level window of this thread that holds a control with `childId`.
    HWND WaitForTopLevel(int childId, DWORD timeoutMs = 15000) const;
    HWND FindTopLevel(int childId) const;
    bool Join(DWORD timeoutMs = 15000);

private:
    testsupport::Thread m_thread;
    volatile DWORD m_id = 0;
    volatile bool m_finished = false;
};

// A control inside `window` (searched through the pages as well).
HWND FindControl(HWND window, int id);
// Clicks a button the way the user does, without waiting for what follows.
void Click(HWND button);
std::string TextOf(HWND window);
int ListCount(HWND list);
std::string ListText(HWND list, int row, int column);
void SelectRow(HWND list, int row);

// Saves what the screen shows of a window as a BMP file (for screenshots of
// the tool); does nothing when RB_SHOTS is not set in the environment.
void SaveShot(HWND window, const char* name);

}  // namespace rbtest
