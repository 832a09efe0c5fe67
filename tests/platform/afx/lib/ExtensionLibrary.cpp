// A resource library joining the framework's resource chain the way the
// suite's resource library does: from its DllMain, at load time.
#include "afxwin.h"

static AFX_EXTENSION_MODULE g_module = {FALSE, nullptr, nullptr};

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        if (!AfxInitExtensionModule(g_module, instance)) return FALSE;
        new CDynLinkLibrary(g_module);
    } else if (reason == DLL_PROCESS_DETACH) {
        AfxTermExtensionModule(g_module);
    }
    return TRUE;
}

// The module handle the library registered, for the tests to compare.
extern "C" __declspec(dllexport) HMODULE JoinedModule() { return g_module.hModule; }
