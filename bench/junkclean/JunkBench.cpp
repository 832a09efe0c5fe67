// The junk scan against a bare walk of the same tree: 100,000 files in
// 1,000 folders on a drive of their own, junk names mixed in with a few
// empty files and shortcuts. Prints the scan's time, the bare walk's time
// and their ratio (target: at most 1.3), and the scan's time with 10,000
// and with 50,000 findings (the second at most 6 times the first).
#include "junkclean/FilterTable.h"
#include "junkclean/JunkResults.h"
#include "junkclean/JunkScanner.h"
#include "junkclean/ProtectedFiles.h"
#include "JunkTestSupport.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>

using junktest::MakeFile;
using junktest::MakeShortcut;

namespace {

const char kDrive[] = "J:";
const int kFolders = 1000;
const int kFilesPerFolder = 100;

// The default table's enabled extensions and names, one in ten files.
const char* const kJunkNames[] = {"tmp", "bak", "old", "chk", "gid", "err", "dmp", "swp", "temp", "prv"};
const char* const kPlainNames[] = {"txt", "doc", "jpg", "xls", "pdf"};

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

typedef char*(CDECL* UnixNameFn)(LPCWSTR);

std::string UnixPathOf(const char* path) {
    UnixNameFn unixName = reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return "";
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
    char* name = unixName(wide);
    std::string out = name ? name : "";
    if (name) HeapFree(GetProcessHeap(), 0, name);
    return out;
}

// Runs one of the system's programs by its Unix path, then waits until
// done() holds (the process handle tells nothing about its end here).
bool RunUnixTool(const char* tool, std::string arguments, bool (*done)()) {
    std::string app = std::string("\\\\?\\unix\\bin\\") + tool;
    std::string command = std::string(tool) + " " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(app.c_str(), &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    for (int i = 0; i < 1000 && !done(); ++i) Sleep(10);
    return done();
}

bool DriveIsFixed() { return GetDriveTypeA("J:\\") == DRIVE_FIXED; }
bool DriveIsGone() { return GetDriveTypeA("J:\\") == DRIVE_NO_ROOT_DIR; }

// The prefix's drive links, beside the C: link: ".../dosdevices/".
std::string DriveLinks() {
    std::string c = UnixPathOf("C:\\");
    while (!c.empty() && c.back() == '/') c.pop_back();
    return c.substr(0, c.rfind('/') + 1);
}

// Gives the tree a fixed drive of its own, J:, as a user's data disk: a
// folder of the prefix outside every other drive, linked in as the
// prefix's drives are. Nothing else ever walks it.
bool MapDrive() {
    if (DriveIsFixed()) return true;
    const std::string links = DriveLinks();
    if (links.size() < 2) return false;
    const std::string tree = links.substr(0, links.rfind('/', links.size() - 2) + 1) + "jk-bench-tree";
    RunUnixTool("mkdir", "-p \"" + tree + "\"", [] { return true; });
    Sleep(200);
    return RunUnixTool("ln", "-sfn \"" + tree + "\" \"" + links + "j:\"", DriveIsFixed);
}

void UnmapDrive() {
    RunUnixTool("rm", "-f \"" + DriveLinks() + "j:\"", DriveIsGone);
}

// Made once; a marker file says the tree is complete.
bool BuildTree() {
    const char* kTreeFolder = "J:";
    const std::string marker = std::string(kTreeFolder) + "\\tree-complete";
    if (GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    std::printf("building the tree (once)...\n");
    int made = 0;
    for (int d = 0; d < kFolders; ++d) {
        char folder[MAX_PATH];
        wsprintfA(folder, "%s\\g%02d", kTreeFolder, d / 50);
        CreateDirectoryA(folder, NULL);
        wsprintfA(folder, "%s\\g%02d\\folder%04d", kTreeFolder, d / 50, d);
        CreateDirectoryA(folder, NULL);
        for (int j = 0; j < kFilesPerFolder; ++j) {
            char name[MAX_PATH];
            if (j == 99 && d % 20 == 0) {
                wsprintfA(name, "%s\\empty%04d.txt", folder, d);
                if (!MakeFile(name, 0)) return false;
            } else if (j == 98 && d % 50 == 0) {
                wsprintfA(name, "%s\\link%04d.lnk", folder, d);
                // Half point at files that exist, half at ones that are gone.
                char target[MAX_PATH];
                wsprintfA(target, d % 100 ? "%s\\f0050.txt" : "%s\\gone\\missing.exe", folder);
                if (!MakeShortcut(name, target)) return false;
            } else if (j < 10) {
                wsprintfA(name, "%s\\f%04d.%s", folder, j, kJunkNames[(d + j) % 10]);
                if (!MakeFile(name, 100 + j * 10)) return false;
            } else if (j < 50) {
                wsprintfA(name, "%s\\f%04d.dat", folder, j);
                if (!MakeFile(name, 2000)) return false;
            } else {
                wsprintfA(name, "%s\\f%04d.%s", folder, j, kPlainNames[j % 5]);
                if (!MakeFile(name, 3000)) return false;
            }
            ++made;
        }
    }
    std::printf("  %d files in %d folders\n", made, kFolders);
    return MakeFile(marker, 0);
}

// The bare walk: one "*.*" search per folder, counting entries.
long BareWalk(const std::string& folder) {
    long count = 0;
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((folder + "\\*.*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        const char* n = data.cFileName;
        if (n[0] == '.' && (!n[1] || (n[1] == '.' && !n[2]))) continue;
        ++count;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) count += BareWalk(folder + "\\" + n);
    } while (FindNextFileA(h, &data));
    FindClose(h);
    return count;
}

// Keeps what a results list would show: the five texts of each row.
class RowSink : public JunkScanSink {
public:
    bool texts = true;
    void OnFinding(int row, const JunkFinding& f) override {
        ++rows;
        if (!texts) return;
        CString size = JunkSizeText(f.size), created = JunkTimeText(f.created), accessed = JunkTimeText(f.accessed);
        bytes += size.GetLength() + created.GetLength() + accessed.GetLength() + f.path.GetLength();
    }
    long rows = 0;
    long bytes = 0;
};

struct ScanResult {
    double seconds;
    long rows;
};

ScanResult TimeScan(const CStringArray& masks, const JunkScanOptions& options, bool texts = true) {
    JunkScanner scanner;
    char slots[78] = {};
    slots[0] = kDrive[0];
    slots[1] = ':';
    scanner.SetDrives(slots, 1);
    scanner.SetMasks(masks);
    scanner.SetSafeFolders(CStringArray(), WindowsDirTail());
    scanner.SetOptions(options);
    RowSink sink;
    sink.texts = texts;
    std::atomic<bool> stop(false);
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    scanner.Run(sink, stop);
    QueryPerformanceCounter(&b);
    return {Seconds(a, b), sink.rows};
}

double TimeBareWalk(long& entries) {
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    entries = BareWalk(kDrive);
    QueryPerformanceCounter(&b);
    return Seconds(a, b);
}

}  // namespace

int main() {
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    if (!MapDrive()) {
        std::printf("J: could not be made a fixed drive (type %u)\n", GetDriveTypeA("J:\\"));
        return 1;
    }
    if (!BuildTree()) {
        std::printf("could not build the tree\n");
        UnmapDrive();
        return 1;
    }

    std::vector<FilterRecord> defaults;
    FilterTable::BuildDefaults(defaults);
    CStringArray masks;
    for (const FilterRecord& r : defaults)
        if (r.enabled) masks.Add(CString(r.mask));
    const JunkScanOptions defaultOptions;  // shortcuts on, read-only skipped, no age, no empty files

    long entries = 0;
    TimeBareWalk(entries);  // warm the caches once
    double bare = 1e9, scan = 1e9;
    long defaultRows = 0;
    for (int round = 0; round < 3; ++round) {
        bare = std::min(bare, TimeBareWalk(entries));
        ScanResult r = TimeScan(masks, defaultOptions);
        scan = std::min(scan, r.seconds);
        defaultRows = r.rows;
    }
    std::printf("bare walk: %ld entries in %.3f s\n", entries, bare);
    std::printf("scan (default settings): %ld findings in %.3f s\n", defaultRows, scan);
    std::printf("ratio scan / bare walk: %.2f (target <= 1.30) %s\n", scan / bare, scan / bare <= 1.3 ? "ok" : "OVER");

    // Findings grow, the walk stays: the cost per finding must not grow with their number.
    JunkScanOptions plain;
    plain.FindInvalidShortCuts = 0;
    CStringArray tenThousand, fiftyThousand;
    tenThousand.Append(masks);
    fiftyThousand.Append(masks);
    fiftyThousand.Add("*.dat");
    double t10 = 1e9, t50 = 1e9;
    long r10 = 0, r50 = 0;
    for (int round = 0; round < 3; ++round) {
        ScanResult a = TimeScan(tenThousand, plain);
        ScanResult b = TimeScan(fiftyThousand, plain);
        t10 = std::min(t10, a.seconds);
        t50 = std::min(t50, b.seconds);
        r10 = a.rows;
        r50 = b.rows;
    }
    std::printf("scan with %ld findings: %.3f s\n", r10, t10);
    std::printf("scan with %ld findings: %.3f s\n", r50, t50);
    std::printf("ratio: %.2f (target <= 6.00) %s\n", t50 / t10, t50 / t10 <= 6.0 ? "ok" : "OVER");
    UnmapDrive();
    CoUninitialize();
    return 0;
}
