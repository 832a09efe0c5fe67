// Entry point of the resource library. The library holds no logic: on load it
// joins the host's resource chain, so that dialog templates, strings and
// bitmaps are found here too, and initialises the HTML display control.
#include <afxwin.h>

namespace {

AFX_EXTENSION_MODULE extensionModule = {FALSE, nullptr, nullptr};
HINSTANCE libraryInstance = nullptr;

// The display control exports its initialiser by ordinal only.
using QhtmInitializeFn = BOOL(WINAPI*)(HINSTANCE);

// Loaded by name on first use; a missing QHTM.dll fails right here, at the
// library's first call into it.
void InitializeHtmlControl(HINSTANCE instance) {
    HMODULE qhtm = LoadLibraryA("QHTM.dll");
    FARPROC proc = qhtm ? GetProcAddress(qhtm, MAKEINTRESOURCEA(1)) : nullptr;
    if (!proc) {
        RaiseException(static_cast<DWORD>(0xC06D007E) /* module or entry point not found */,
                       0, 0, nullptr);
        return;
    }
    reinterpret_cast<QhtmInitializeFn>(reinterpret_cast<void*>(proc))(instance);
}

}  // namespace

// Ordinal 1, no name: binds the program to this library at load time.
extern "C" HMODULE WINAPI VantresModuleHandle() {
    return libraryInstance;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        libraryInstance = instance;
        if (!AfxInitExtensionModule(extensionModule, instance)) return FALSE;
        new CDynLinkLibrary(extensionModule);  // owned by the chain, freed at detach
        InitializeHtmlControl(instance);
        break;
    case DLL_PROCESS_DETACH:
        AfxTermExtensionModule(extensionModule);
        break;
    default:
        break;
    }
    return TRUE;
}
