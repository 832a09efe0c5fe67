// The registry cleaner's own window scanning "User Software Settings" with
// the benchmark key in it (50,000 values, 20,000 of them naming missing
// files), started and waited for as a user would, against a bare
// enumeration of the same values with one attribute probe each (target:
// at most 2.0). Prints the window's cost per finding and the process
// memory per finding. An argument gives another number of values (the old
// list took minutes).
#include "regclean/RegCleanWindow.h"
#include "regclean/Sections.h"

#include "BenchKey.h"
#include "../BenchMemory.h"

#include "vantres/ids_regclean.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

RegCleanWindow* volatile g_window = nullptr;
volatile HWND g_hwnd = NULL;

DWORD WINAPI WindowThread(LPVOID)
{
    RegCleanWindow window;
    g_window = &window;
    window.DoModal();
    g_window = nullptr;
    return 0;
}

BOOL CALLBACK FindMain(HWND hwnd, LPARAM)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != ::GetCurrentProcessId() || !::GetDlgItem(hwnd, IDC_RC_START)) return TRUE;
    g_hwnd = hwnd;
    return FALSE;
}

bool WaitUntil(bool (*done)(), DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(2);
    }
    return true;
}

HWND Item(int id) { return ::GetDlgItem(g_hwnd, id); }
int Rows() { return int(::SendMessageA(Item(IDC_RC_RESULTS), LVM_GETITEMCOUNT, 0, 0)); }

bool ScanEnded() { return g_window && !g_window->IsScanning() && ::IsWindowEnabled(Item(IDC_RC_START)); }


// Findings below the benchmark key, read from the list as another program would.
int BenchRows()
{
    HWND list = Item(IDC_RC_RESULTS);
    const std::string prefix = rcbench::kKeyPath;
    int ours = 0;
    char text[600];
    for (int row = 0, rows = Rows(); row < rows; ++row) {
        LVITEMA item{};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(row), LPARAM(&item));
        ours += prefix.compare(0, prefix.size(), text, 0, prefix.size()) == 0;
    }
    return ours;
}

}  // namespace

int main(int argc, char** argv)
{
    const int values = argc > 1 ? std::max(10, std::atoi(argv[1])) : 50000;
    ::InitCommonControls();
    HMODULE resources = ::LoadLibraryA("vantres.dll");
    if (!resources) {
        std::printf("vantres.dll must lie beside the benchmark\n");
        return 1;
    }
    AfxSetResourceHandle(resources);
    const SectionSwitches saved = ReadSectionSwitches();
    for (int s = 0; s < kSectionCount; ++s) WriteSectionSwitch(s, s == kSecUserSoftware);
    rcbench::Seed(values);

    HKEY key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, rcbench::kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 1;
    rcbench::BareEnumeration(key);  // warm the caches once
    double bare = rcbench::BareEnumeration(key);

    HANDLE thread = ::CreateThread(nullptr, 0, WindowThread, nullptr, 0, nullptr);
    WaitUntil([] { return g_window != nullptr && (::EnumWindows(FindMain, 0), g_hwnd != NULL); }, 30000);
    if (!g_hwnd) {
        std::printf("the window did not open\n");
        return 1;
    }
    const double before = HeapBytesInUse();
    const double start = rcbench::Now();
    ::PostMessageA(g_hwnd, WM_COMMAND, MAKEWPARAM(IDC_RC_START, BN_CLICKED), LPARAM(Item(IDC_RC_START)));
    WaitUntil([] { return g_window && g_window->IsScanning(); }, 10000);
    WaitUntil(ScanEnded, 3600000);
    const double window = rcbench::Now() - start;
    const double memory = HeapBytesInUse() - before;
    bare = std::min(bare, rcbench::BareEnumeration(key));
    FileProbe probe;
    int engineRows = 0;
    const double engine = rcbench::EngineWalk(key, probe, engineRows);
    ::RegCloseKey(key);

    const int rows = Rows();
    const int ours = BenchRows();
    std::printf("values in the key:                 %d\n", values);
    std::printf("bare enumeration + 1 probe:        %.3f s\n", bare);
    std::printf("window scan:                       %.3f s, %d findings (%d in the key)\n", window, rows, ours);
    std::printf("ratio window / bare:               %.2f (target <= 2.00) %s\n", window / bare,
                window / bare <= 2.0 ? "ok" : "OVER");
    std::printf("the scan's walker alone on the key: %.3f s, %d findings\n", engine, engineRows);
    std::printf("window time per finding:           %.1f us (window time less the walker's, per row)\n",
                1e6 * (window - engine) / std::max(1, rows));
    std::printf("heap memory per finding:           %.0f bytes\n", memory / std::max(1, rows));
#ifndef TOOLHOST_BENCH_BEFORE
    std::printf("results store:                     %.0f bytes per finding\n",
                double(g_window->Findings().BytesUsed()) / std::max(1, rows));
    // What the worker does per finding for the window: the row into the store.
    CXTRowStore store(3);
    const std::string keyPath = rcbench::kKeyPath;
    const double handStart = rcbench::Now();
    for (int i = 0; i < 50000; ++i) {
        const std::string name = "value" + std::to_string(i);
        const std::string data = "C:\\Program Files\\Gone Vendor " + std::to_string(i) + "\\bin\\tool.exe -x";
        const char* texts[3] = {keyPath.c_str(), name.c_str(), data.c_str()};
        store.Append(texts);
    }
    std::printf("window cost per finding:           %.2f us (the worker's hand-over of a finding to the window)\n",
                1e6 * (rcbench::Now() - handStart) / 50000);
#endif

    ::PostMessageA(g_hwnd, WM_COMMAND, IDCANCEL, 0);
    ::WaitForSingleObject(thread, 60000);
    ::CloseHandle(thread);
    rcbench::Unseed();
    for (int s = 0; s < kSectionCount; ++s) WriteSectionSwitch(s, saved.on[s]);
    return 0;
}
