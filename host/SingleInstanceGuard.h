// One running instance per tool. The tool's instance name is both the name of
// a semaphore and the caption of the tool's main window: a second start finds
// the first window by it, brings it to the front and gives up.
#pragma once

#include <windows.h>

class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(LPCSTR name);
    // TRUE when this process may run the tool.
    BOOL Allowed() const { return m_allowed; }
    // When not allowed: whether the running instance had a window to raise
    // (a run from the command line has none).
    BOOL RaisedWindow() const { return m_raised; }

private:
    BOOL m_allowed;
    BOOL m_raised = FALSE;
};
