// The application object, its entry and message loop, worker threads, and
// the routing of queued messages shared by every loop of the framework.
#include "afximpl.h"
#include <process.h>
#include <cstdlib>

// ---- worker threads -------------------------------------------------------

CWinThread::~CWinThread() {
    if (m_hThread) CloseHandle(m_hThread);
}

namespace {

struct ThreadStart {
    AFX_THREADPROC fn;
    LPVOID param;
    CWinThread* thread;
};

unsigned __stdcall ThreadEntry(void* arg) {
    ThreadStart start = *static_cast<ThreadStart*>(arg);
    delete static_cast<ThreadStart*>(arg);
    UINT code = start.fn(start.param);
    // Read only now: a suspended starter may have cleared it before resuming.
    if (start.thread->m_bAutoDelete) delete start.thread;
    return code;
}

} // namespace

CWinThread* AfxBeginThread(AFX_THREADPROC fn, LPVOID param, int priority, UINT stackSize, DWORD createFlags,
                           LPSECURITY_ATTRIBUTES security) {
    if (!fn) return nullptr;
    auto* thread = new CWinThread;
    auto* start = new ThreadStart{fn, param, thread};
    unsigned id = 0;
    // Always made suspended, so the priority holds from the thread's first instruction.
    uintptr_t handle = _beginthreadex(security, stackSize, ThreadEntry, start, CREATE_SUSPENDED, &id);
    if (!handle) {
        delete start;
        delete thread;
        return nullptr;
    }
    thread->m_hThread = reinterpret_cast<HANDLE>(handle);
    thread->m_nThreadID = id;
    ::SetThreadPriority(thread->m_hThread, priority);
    // Once running, an auto-delete thread may end and free the object at any
    // moment: nothing below touches it after the resume.
    if (!(createFlags & CREATE_SUSPENDED)) ::ResumeThread(reinterpret_cast<HANDLE>(handle));
    return thread;
}

// ---- command line -----------------------------------------------------------

void CCommandLineInfo::ParseParam(const char* param, BOOL flag, BOOL last) {
    if (flag) {
        if (lstrcmpiA(param, "nologo") == 0) m_bShowSplash = FALSE;
    } else if (m_strFileName.IsEmpty()) {
        m_strFileName = param;
    }
}

// ---- application --------------------------------------------------------------

CWinApp::CWinApp(LPCSTR appName) : m_strAppName(appName) {
    AfxGetModuleState()->m_pCurrentWinApp = this;
    m_hInstance = GetModuleHandleA(nullptr);
    m_nThreadID = GetCurrentThreadId();
}

CWinApp::~CWinApp() {
    AFX_MODULE_STATE* state = AfxGetModuleState();
    if (state->m_pCurrentWinApp == this) state->m_pCurrentWinApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return m_nExitCode; }

int CWinApp::Run() {
    MSG msg;
    for (;;) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            m_nExitCode = int(msg.wParam);
            break;
        }
        if (got == -1) break;
        if (!AfxPreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return ExitInstance();
}

// The base has no help file of its own; programs with help override this.
void CWinApp::WinHelp(DWORD_PTR data, UINT command) {}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    // A null entry ends the list too: code that edits argv in place (a test
    // runner taking out its own flags) leaves __argc as it was.
    for (int i = 1; i < __argc && __argv[i]; ++i) {
        const char* param = __argv[i];
        BOOL flag = FALSE;
        if (param[0] == '-' || param[0] == '/') {
            flag = TRUE;
            ++param;
        }
        info.ParseParam(param, flag, i + 1 == __argc || !__argv[i + 1]);
    }
}

int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int cmdShow) {
    AFX_MODULE_STATE* state = AfxGetModuleState();
    state->m_hCurrentInstanceHandle = instance;
    if (!state->m_hCurrentResourceHandle) state->m_hCurrentResourceHandle = instance;
    CWinApp* app = state->m_pCurrentWinApp;
    if (!app) return -1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = cmdLine;
    app->m_nCmdShow = cmdShow;
    app->m_nThreadID = GetCurrentThreadId();
    if (app->m_strAppName.IsEmpty()) app->m_strAppName = AfxAppTitle();
    AfxInitControls();

    int code = app->InitInstance() ? app->Run() : app->ExitInstance();
    AfxOleTerm();
    return code;
}

// ---- message routing ------------------------------------------------------------

void AfxInitControls() {
    static LONG done = 0;
    if (InterlockedExchange(&done, 1)) return;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
}

static bool IsDialogWindow(HWND h) {
    char cls[16] = {};
    return GetClassNameA(h, cls, sizeof cls) && lstrcmpA(cls, "#32770") == 0;
}

bool AfxPreTranslate(MSG& msg) {
    if (!msg.hwnd) return false;
    // The target first, then each parent up to its top-level window.
    for (HWND h = msg.hwnd; h;) {
        CWnd* wnd = CWnd::FromHandlePermanent(h);
        if (wnd && wnd->PreTranslateMessage(&msg)) return true;
        if (!::IsWindow(h) || !(GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD)) break;
        h = ::GetParent(h);
    }
    if (!::IsWindow(msg.hwnd)) return false;
    // The dialog manager of the top-level dialog does the keyboard interface,
    // pages nested in it (DS_CONTROL children) included.
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (root && IsDialogWindow(root) && CWnd::FromHandlePermanent(root)) return IsDialogMessageA(root, &msg) != FALSE;
    return false;
}

BOOL AfxPumpPendingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Put back for the loop that owns it.
            PostQuitMessage(int(msg.wParam));
            return FALSE;
        }
        if (!AfxPreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return TRUE;
}
