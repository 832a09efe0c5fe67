// The application object, worker threads, the module state with its resource
// chain, extension libraries, and the framework's free functions.
#pragma once

#include "afxctrls.h"

class AFX_API CWinThread {
public:
    CWinThread() = default;
    virtual ~CWinThread(); // closes m_hThread
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    BOOL m_bAutoDelete = TRUE; // the object deletes itself when its thread ends
    CWnd* m_pMainWnd = nullptr;
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    BOOL SetThreadPriority(int priority) { return ::SetThreadPriority(m_hThread, priority); }
};

typedef UINT (*AFX_THREADPROC)(LPVOID);

// Starts fn(param) on a new thread. With CREATE_SUSPENDED the caller may set
// m_bAutoDelete = FALSE (to keep the handle) before ResumeThread.
AFX_API CWinThread* AfxBeginThread(AFX_THREADPROC fn, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                                   UINT stackSize = 0, DWORD createFlags = 0,
                                   LPSECURITY_ATTRIBUTES security = nullptr);

class AFX_API CCommandLineInfo {
public:
    virtual ~CCommandLineInfo() = default;
    virtual void ParseParam(const char* param, BOOL flag, BOOL last);
    BOOL m_bShowSplash = TRUE;
    CString m_strFileName;
};

class AFX_API CWinApp : public CWinThread {
public:
    explicit CWinApp(LPCSTR appName = nullptr); // registers itself as the application
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();          // message loop until WM_QUIT
    virtual void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT);
    void ParseCommandLine(CCommandLineInfo& info);

    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CString m_strAppName;
    int m_nExitCode = 0;
};

struct AFX_MODULE_STATE {
    CWinApp* m_pCurrentWinApp = nullptr;
    HINSTANCE m_hCurrentInstanceHandle = nullptr;  // the program
    HINSTANCE m_hCurrentResourceHandle = nullptr;  // searched first for resources
    class CDynLinkLibrary* m_pFirstDLL = nullptr;  // extension libraries, searched after the program
};

AFX_API AFX_MODULE_STATE* AfxGetModuleState();
AFX_API CWinApp* AfxGetApp();
AFX_API CWnd* AfxGetMainWnd();
AFX_API HINSTANCE AfxGetInstanceHandle();
AFX_API HINSTANCE AfxGetResourceHandle();
AFX_API void AfxSetResourceHandle(HINSTANCE resource);
// The module holding a resource: the current resource handle, then the
// program, then each extension library in the order they joined. Null if none.
// Within that order a copy in the resource language comes first, then one in
// Simplified Chinese, then one in any language.
AFX_API HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type);
// The resource in one module, preferring languages the same way; null if none.
AFX_API HRSRC AfxFindResourceIn(HINSTANCE module, LPCSTR name, LPCSTR type);

// The language resources are looked up in (a LANGID such as 0x0409); 0, the
// default, leaves the choice to Windows. A program sets it once at start.
AFX_API void AfxSetResourceLanguage(LANGID language);
AFX_API LANGID AfxGetResourceLanguage();

struct AFX_EXTENSION_MODULE {
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
};

AFX_API BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& module, HMODULE hModule);
AFX_API void AfxTermExtensionModule(AFX_EXTENSION_MODULE& module, BOOL all = FALSE);

// Joins an extension library to the resource chain for as long as it lives;
// AfxTermExtensionModule deletes the ones made for its module.
class AFX_API CDynLinkLibrary {
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& module);
    virtual ~CDynLinkLibrary();
    HMODULE m_hModule;
    HMODULE m_hResource;
    CDynLinkLibrary* m_pNextDLL = nullptr;
};

AFX_API BOOL AfxEnableControlContainer();
AFX_API BOOL AfxOleInit();

// Message boxes with the program's title (string 57344 of the resource chain,
// else the program's name) as caption, owned by the active main window.
AFX_API int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
AFX_API int AfxMessageBox(UINT textId, UINT type = MB_OK, UINT helpId = UINT(-1));

// Dispatches every message waiting for this thread and returns at once; a
// WM_QUIT found on the way is posted again and FALSE returned.
AFX_API BOOL AfxPumpPendingMessages();

// The program's entry; WinMain of the afxmain library calls it.
AFX_API int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int cmdShow);

#define AFX_IDS_APP_TITLE 0xE000
