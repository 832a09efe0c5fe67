// The module state and its resource chain, extension libraries, per-thread
// state, string resources and the framework's message boxes.
#include "afximpl.h"

namespace {

// Guards the extension-library list; extension libraries join and leave from
// their DllMain, under the loader lock, so nothing here calls out while held.
// Never destroyed: a library leaving at process end may still take it.
CCriticalSection& ChainLock() {
    static CCriticalSection* lock = new CCriticalSection;
    return *lock;
}

DWORD g_tlsIndex = TLS_OUT_OF_INDEXES;

DWORD TlsIndex() {
    // Allocated in DllMain normally; the lazy path covers an early caller.
    if (g_tlsIndex == TLS_OUT_OF_INDEXES) {
        DWORD index = TlsAlloc();
        if (InterlockedCompareExchange(reinterpret_cast<volatile LONG*>(&g_tlsIndex), LONG(index),
                                       LONG(TLS_OUT_OF_INDEXES)) != LONG(TLS_OUT_OF_INDEXES))
            TlsFree(index);
    }
    return g_tlsIndex;
}

bool g_oleInitialized = false;

// Candidate modules in search order, without repeats.
std::vector<HINSTANCE> SearchOrder() {
    AFX_MODULE_STATE* state = AfxGetModuleState();
    std::vector<HINSTANCE> order;
    auto add = [&order](HINSTANCE h) {
        if (h && std::find(order.begin(), order.end(), h) == order.end()) order.push_back(h);
    };
    add(AfxGetResourceHandle());
    add(AfxGetInstanceHandle());
    CSingleLock hold(&ChainLock(), TRUE);
    for (CDynLinkLibrary* dll = state->m_pFirstDLL; dll; dll = dll->m_pNextDLL)
        add(dll->m_hResource ? dll->m_hResource : dll->m_hModule);
    return order;
}

} // namespace

AfxThreadState* AfxPeekThreadState() {
    return g_tlsIndex == TLS_OUT_OF_INDEXES ? nullptr : static_cast<AfxThreadState*>(TlsGetValue(g_tlsIndex));
}

AfxThreadState* AfxGetThreadState() {
    DWORD index = TlsIndex();
    auto* state = static_cast<AfxThreadState*>(TlsGetValue(index));
    if (!state) {
        state = new AfxThreadState;
        TlsSetValue(index, state);
    }
    return state;
}

void AfxFreeThreadState() {
    AfxThreadState* state = AfxPeekThreadState();
    if (!state) return;
    // Per-thread values first, while the state they may reach is still there.
    for (auto& entry : state->slots) entry.second.second(entry.second.first);
    state->slots.clear();
    TlsSetValue(g_tlsIndex, nullptr);
    for (auto& entry : state->tempWnds) {
        entry.second->m_hWnd = nullptr;
        delete entry.second;
    }
    for (auto& entry : state->tempDCs) {
        entry.second->Detach();
        delete entry.second;
    }
    delete state;
}

// Slot numbers are never reused, so a value left behind by a slot that is
// gone cannot be mistaken for a new slot's.
CThreadSlot::CThreadSlot() {
    static volatile LONG s_lastSlot = 0;
    m_nSlot = InterlockedIncrement(&s_lastSlot);
}

CThreadSlot::~CThreadSlot() { SetValue(nullptr, nullptr); }

void* CThreadSlot::GetValue() const {
    AfxThreadState* state = AfxPeekThreadState();
    if (!state) return nullptr;
    auto found = state->slots.find(m_nSlot);
    return found == state->slots.end() ? nullptr : found->second.first;
}

void CThreadSlot::SetValue(void* value, void (*destroy)(void*)) {
    AfxThreadState* state = value ? AfxGetThreadState() : AfxPeekThreadState();
    if (!state) return;
    auto found = state->slots.find(m_nSlot);
    if (found != state->slots.end()) {
        auto old = found->second;
        state->slots.erase(found);
        if (old.first && old.first != value) old.second(old.first);
    }
    if (value) state->slots[m_nSlot] = {value, destroy};
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        TlsIndex();
        break;
    case DLL_THREAD_DETACH:
        AfxFreeThreadState();
        break;
    case DLL_PROCESS_DETACH:
        // At process exit other threads are gone already; their state goes with the process.
        if (!reserved) AfxFreeThreadState();
        break;
    }
    return TRUE;
}

// One state for the process. Plain data, so it is ready before any
// constructor runs and can be used from another library's DllMain.
AFX_MODULE_STATE* AfxGetModuleState() {
    static AFX_MODULE_STATE state;
    return &state;
}

CWinApp* AfxGetApp() { return AfxGetModuleState()->m_pCurrentWinApp; }

CWnd* AfxGetMainWnd() {
    CWinApp* app = AfxGetApp();
    return app ? app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    HINSTANCE h = AfxGetModuleState()->m_hCurrentInstanceHandle;
    return h ? h : GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    HINSTANCE h = AfxGetModuleState()->m_hCurrentResourceHandle;
    return h ? h : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE resource) { AfxGetModuleState()->m_hCurrentResourceHandle = resource; }

namespace {

// 0 until a program chooses: resources are then found as Windows finds them.
LANGID g_resourceLanguage = 0;

const LANGID kChineseLanguage = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

// Finds `name` in one module: in exactly the chosen language (`exact`), or
// else in Simplified Chinese, the language every resource exists in, and
// then in whatever language the module has it.
HRSRC FindInModule(HINSTANCE module, LPCSTR name, LPCSTR type, bool exact) {
    const LANGID language = g_resourceLanguage;
    if (!language) return exact ? FindResourceA(module, name, type) : nullptr;
    if (exact) return FindResourceExA(module, type, name, language);
    HRSRC found = FindResourceExA(module, type, name, kChineseLanguage);
    return found ? found : FindResourceA(module, name, type);
}

} // namespace

void AfxSetResourceLanguage(LANGID language) { g_resourceLanguage = language; }

LANGID AfxGetResourceLanguage() { return g_resourceLanguage; }

HRSRC AfxFindResourceIn(HINSTANCE module, LPCSTR name, LPCSTR type) {
    HRSRC found = FindInModule(module, name, type, true);
    return found ? found : FindInModule(module, name, type, false);
}

HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type) {
    // A translation anywhere in the chain wins over an untranslated copy.
    const std::vector<HINSTANCE> order = SearchOrder();
    for (bool exact : {true, false})
        for (HINSTANCE h : order)
            if (FindInModule(h, name, type, exact)) return h;
    return nullptr;
}

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& module, HMODULE hModule) {
    if (module.bInitialized) return TRUE;
    if (!hModule) return FALSE;
    module.hModule = hModule;
    module.hResource = hModule;
    module.bInitialized = TRUE;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& module, BOOL all) {
    if (!module.bInitialized) return;
    // Unlink under the lock, delete outside it: the destructors take it too.
    std::vector<CDynLinkLibrary*> doomed;
    {
        CSingleLock hold(&ChainLock(), TRUE);
        for (CDynLinkLibrary* dll = AfxGetModuleState()->m_pFirstDLL; dll; dll = dll->m_pNextDLL)
            if (all || dll->m_hModule == module.hModule) doomed.push_back(dll);
    }
    for (CDynLinkLibrary* dll : doomed) delete dll;
    module.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& module)
    : m_hModule(module.hModule), m_hResource(module.hResource) {
    CSingleLock hold(&ChainLock(), TRUE);
    // Appended, so the chain is searched in the order the libraries joined.
    CDynLinkLibrary** link = &AfxGetModuleState()->m_pFirstDLL;
    while (*link) link = &(*link)->m_pNextDLL;
    *link = this;
}

CDynLinkLibrary::~CDynLinkLibrary() {
    CSingleLock hold(&ChainLock(), TRUE);
    for (CDynLinkLibrary** link = &AfxGetModuleState()->m_pFirstDLL; *link; link = &(*link)->m_pNextDLL) {
        if (*link == this) {
            *link = m_pNextDLL;
            break;
        }
    }
}

namespace {

// String tables hold blocks of 16 counted UTF-16 strings; block n+1 holds ids
// 16n..16n+15. Reading the block directly gives texts of any length.
bool ReadStringFromBlock(HINSTANCE module, HRSRC res, UINT id, CString& text) {
    if (!res) return false;
    HGLOBAL loaded = LoadResource(module, res);
    const WCHAR* p = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
    if (!p) return false;
    const WCHAR* end = reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(p) + SizeofResource(module, res));
    for (UINT i = 0; i < (id & 15); ++i) {
        if (p >= end) return false;
        p += 1 + *p;
    }
    if (p >= end || *p == 0 || p + 1 + *p > end) return false;
    int length = int(*p);
    int bytes = WideCharToMultiByte(CP_ACP, 0, p + 1, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return false;
    std::string out(size_t(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, p + 1, length, &out[0], bytes, nullptr, nullptr);
    text = CString(out);
    return true;
}

// A block may be translated while a string in it is not (yet): each string
// falls back on its own.
bool LoadStringFrom(HINSTANCE module, UINT id, CString& text, bool exact) {
    LPCSTR block = MAKEINTRESOURCEA((id >> 4) + 1);
    return ReadStringFromBlock(module, FindInModule(module, block, MAKEINTRESOURCEA(6) /* RT_STRING */, exact), id,
                               text);
}

} // namespace

bool AfxLoadStringFrom(HINSTANCE module, UINT id, CString& text) {
    return LoadStringFrom(module, id, text, true) || LoadStringFrom(module, id, text, false);
}

BOOL CString::LoadString(UINT id) {
    const std::vector<HINSTANCE> order = SearchOrder();
    for (bool exact : {true, false}) {
        for (HINSTANCE h : order) {
            CString text;
            if (LoadStringFrom(h, id, text, exact)) {
                *this = text;
                return TRUE;
            }
        }
    }
    return FALSE;
}

CString AfxAppTitle() {
    CString title;
    if (title.LoadString(AFX_IDS_APP_TITLE) && !title.IsEmpty()) return title;
    CWinApp* app = AfxGetApp();
    if (app && !app->m_strAppName.IsEmpty()) return app->m_strAppName;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    CString name(path);
    int slash = std::max(name.ReverseFind('\\'), name.ReverseFind('/'));
    name = name.Mid(slash + 1);
    int dot = name.ReverseFind('.');
    return dot > 0 ? name.Left(dot) : name;
}

int AfxMessageBox(LPCSTR text, UINT type, UINT helpId) {
    HWND owner = nullptr;
    CWnd* main = AfxGetMainWnd();
    if (main && main->m_hWnd && ::IsWindow(main->m_hWnd) && ::IsWindowEnabled(main->m_hWnd))
        owner = main->m_hWnd;
    else
        owner = ::GetActiveWindow();
    CString caption = AfxAppTitle();
    return ::MessageBoxA(owner, text ? text : "", caption, type);
}

int AfxMessageBox(UINT textId, UINT type, UINT helpId) {
    CString text;
    text.LoadString(textId);
    return AfxMessageBox(text, type, helpId == UINT(-1) ? textId : helpId);
}

// The dialogs of this program hold only standard and common controls, never
// ActiveX controls, so there is no container support to switch on; the call
// stays so programs keep their usual start-up sequence.
BOOL AfxEnableControlContainer() { return TRUE; }

BOOL AfxOleInit() {
    if (g_oleInitialized) return TRUE;
    HRESULT hr = OleInitialize(nullptr);
    if (FAILED(hr)) return FALSE;
    // Only the call that initialised OLE here is balanced at exit.
    g_oleInitialized = true;
    return TRUE;
}

void AfxOleTerm() {
    if (g_oleInitialized) {
        OleUninitialize();
        g_oleInitialized = false;
    }
}
