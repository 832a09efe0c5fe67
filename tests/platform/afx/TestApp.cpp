#include "TestApp.h"
#include "testsupport.h"

static TestApp theApp;

TestApp& theTestApp() { return theApp; }

BOOL TestApp::InitInstance() {
    order.push_back("init");
    if (mode == Mode::Fail) return FALSE;
    AfxOleInit();
    PostQuitMessage(4);
    return TRUE;
}

int TestApp::Run() {
    order.push_back("run");
    return CWinApp::Run();
}

int TestApp::ExitInstance() {
    order.push_back("exit");
    return mode == Mode::Fail ? 9 : CWinApp::ExitInstance();
}

void TestApp::WinHelp(DWORD_PTR data, UINT command) {
    ++helpCalls;
    lastHelpData = data;
    lastHelpCommand = command;
}

namespace {
struct Search {
    const char* caption;
    HWND found;
};

BOOL CALLBACK Visit(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<Search*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    char text[256] = {};
    GetWindowTextA(h, text, sizeof text);
    if (pid == GetCurrentProcessId() && lstrcmpA(text, s->caption) == 0) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND FindOwnWindow(const char* caption) {
    Search s = {caption, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

User::User(const char* caption, std::function<void(HWND)> script, std::function<void(HWND)> rescue)
    : m_thread([this, caption, script, rescue] {
          HWND h = nullptr;
          if (!testsupport::WaitFor([&] { return (h = FindOwnWindow(caption)) && ::IsWindowVisible(h); })) return;
          script(h);
          if (!testsupport::WaitFor([&] { return !::IsWindow(h) || !::IsWindowVisible(h); }) && rescue) {
              m_rescued = true;
              rescue(h);
          }
      }) {}

User::~User() { m_thread.join(); }
