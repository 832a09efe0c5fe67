// Seeds 50,000 string values under one key (about 60% naming files that
// exist, 40% missing paths on a fixed drive with arguments, quotes and
// %variables%), then times, in one run, the walker over that key and a bare
// enumeration of the same values with one GetFileAttributesA each.
#include "regclean/FileProbe.h"

#include "BenchKey.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using rcbench::Now;
const int kValues = 50000;

}  // namespace

int main()
{
    rcbench::Seed(kValues);
    HKEY key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, rcbench::kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 1;

    // Best of three of each, interleaved, so both see the same warm caches.
    double bare = 1e9, walk = 1e9;
    int rows = 0;
    unsigned long long calls = 0;
    for (int round = 0; round < 3; ++round) {
        bare = std::min(bare, rcbench::BareEnumeration(key));
        FileProbe probe;
        walk = std::min(walk, rcbench::EngineWalk(key, probe, rows));
        calls = probe.Calls();
    }
    FileProbe plain(false);
    int plainRows = 0;
    double plainWalk = rcbench::EngineWalk(key, plain, plainRows);
    ::RegCloseKey(key);

    std::printf("values:                       %d\n", kValues);
    std::printf("bare enumeration + 1 probe:   %.3f s\n", bare);
    std::printf("walk (probes kept per scan):  %.3f s, %d findings\n", walk, rows);
    std::printf("ratio walk / bare:            %.2f (target <= 2.00)\n", walk / bare);
    std::printf("file-system probes per value: %.2f (plain rules: %.2f, %.3f s, %d findings)\n",
                double(calls) / kValues, double(plain.Calls()) / kValues, plainWalk, plainRows);
    if (plainRows != rows) std::printf("MISMATCH: the plain rules found %d, the walk %d\n", plainRows, rows);

    rcbench::Unseed();
    return 0;
}
