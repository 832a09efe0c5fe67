// The test program's application object (it records what the framework asks
// of it) and the tests' shared window helpers.
#pragma once

#include "afxwin.h"
#include <functional>
#include <string>
#include <vector>

#include "TestThread.h"

class TestApp : public CWinApp {
public:
    TestApp() : CWinApp("AfxTestsApp") {}
    enum class Mode { Fail, RunToQuit };
    Mode mode = Mode::Fail;
    std::vector<std::string> order; // "init", "run", "exit" as they happen
    BOOL InitInstance() override;
    int Run() override;
    int ExitInstance() override;
    void WinHelp(DWORD_PTR data, UINT command) override;
    int helpCalls = 0;
    DWORD_PTR lastHelpData = 0;
    UINT lastHelpCommand = 0;
};

TestApp& theTestApp();

// A top-level window of this process with the given caption, or null.
HWND FindOwnWindow(const char* caption);

// Plays the user of a modal window from a second thread: once the window with
// this caption shows, runs `script` on it. If the window is still there 10 s
// later, `rescue` ends it in a way the test can tell from success, so a
// broken close fails the test instead of hanging it.
class User {
public:
    User(const char* caption, std::function<void(HWND)> script, std::function<void(HWND)> rescue = nullptr);
    ~User();
    User(const User&) = delete;
    User& operator=(const User&) = delete;
    bool rescued() const { return m_rescued; }

private:
    bool m_rescued = false;
    testsupport::Thread m_thread;
};
