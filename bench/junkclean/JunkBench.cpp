// The junk scan against a bare walk of the same tree: 100,000 files in
// 1,000 folders on a drive of their own, junk names mixed in with a few
// empty files and shortcuts. Prints the scan's time, the bare walk's time
// and their ratio (target: at most 1.3), and the scan's time with 10,000
// and with 50,000 findings (the second at most 6 times the first).
#include "junkclean/FilterTable.h"
#include "junkclean/JunkResults.h"
#include "junkclean/JunkScanner.h"
#include "junkclean/ProtectedFiles.h"
#include "JunkBenchTree.h"
#include "JunkTestSupport.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>

using junkbench::BareWalk;
using junkbench::BuildTree;
using junkbench::kDrive;
using junkbench::MapDrive;
using junkbench::UnmapDrive;

namespace {

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
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
