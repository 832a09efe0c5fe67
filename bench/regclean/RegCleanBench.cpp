// Seeds 50,000 string values under one key (about 60% naming files that
// exist, 40% missing paths on a fixed drive with arguments, quotes and
// %variables%), then times, in one run, the walker over that key and a bare
// enumeration of the same values with one GetFileAttributesA each.
#include "regclean/FileProbe.h"
#include "regclean/FileReference.h"
#include "regclean/KeyWalker.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char kKey[] = "Software\\ToolhostBench\\RegClean";
const char kFolder[] = "C:\\toolhost-bench\\regclean";
const int kValues = 50000;
const int kFiles = 500;

class CountingSink : public ScanSink {
public:
    void AddFinding(const char*, const char*, const char*) override { ++rows; }
    void ShowStatus(const char*) override {}
    int RowCount() const override { return rows; }
    int rows = 0;
};

double Now()
{
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return double(c.QuadPart) / double(f.QuadPart);
}

std::string FileName(int i) { return std::string(kFolder) + "\\app" + std::to_string(i % kFiles) + "\\program" +
                                     std::to_string(i % kFiles) + ".exe"; }

std::string ValueData(int i)
{
    switch (i % 10) {
    case 0: case 1: case 2: return FileName(i);                                      // existing, plain
    case 3: return "\"" + FileName(i) + "\" /run";                                  // existing, quoted with arguments
    case 4: return FileName(i) + " -minimized";                                      // existing with arguments
    case 5: return "%RCBENCH%\\app" + std::to_string(i % kFiles) + "\\program" + std::to_string(i % kFiles) + ".exe";
    case 6: return "C:\\Program Files\\Gone Vendor " + std::to_string(i) + "\\bin\\tool" + std::to_string(i) +
                   ".exe -x";                                                        // missing with arguments
    case 7: return "\"C:\\Program Files\\Removed App " + std::to_string(i) + "\\app.exe\" \"%1\"";
    case 8: return "%SystemRoot%\\system32\\gone" + std::to_string(i) + ".dll";
    default: return std::string(kFolder) + "\\app" + std::to_string(i % kFiles) + "\\missing" + std::to_string(i) +
                    ".dll,1";                                                        // missing in an existing folder
    }
}

void Seed()
{
    ::SHDeleteKeyA(HKEY_CURRENT_USER, kKey);
    HKEY key;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    for (int i = 0; i < kFiles; ++i) {
        std::string dir = std::string(kFolder) + "\\app" + std::to_string(i);
        ::SHCreateDirectoryExA(nullptr, dir.c_str(), nullptr);
        HANDLE f = ::CreateFileA(FileName(i).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (f != INVALID_HANDLE_VALUE) ::CloseHandle(f);
    }
    for (int i = 0; i < kValues; ++i) {
        std::string name = "value" + std::to_string(i);
        std::string data = ValueData(i);
        DWORD type = data.find('%') != std::string::npos ? REG_EXPAND_SZ : REG_SZ;
        ::RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                         DWORD(data.size() + 1));
    }
    ::RegCloseKey(key);
}

double BareEnumeration(HKEY key)
{
    double start = Now();
    for (DWORD index = 0;; ++index) {
        char name[260];
        BYTE data[261];
        DWORD nameSize = sizeof name, dataSize = 260, type = 0;
        LONG rc = ::RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) continue;
        data[dataSize] = 0;
        ::GetFileAttributesA(reinterpret_cast<const char*>(data));
    }
    return Now() - start;
}

double Walk(HKEY key, FileProbe& probe, int& rows)
{
    ScanFlags flags;
    flags.KeepGoing = true;
    CountingSink sink;
    FileReferenceTest files(probe);
    ScanContext ctx{flags, sink, files};
    probe.Reset();
    double start = Now();
    WalkKey(ctx, key, "HKEY_CURRENT_USER\\Software\\ToolhostBench\\RegClean");
    double seconds = Now() - start;
    rows = sink.rows;
    return seconds;
}

}  // namespace

int main()
{
    ::SetEnvironmentVariableA("RCBENCH", kFolder);
    std::printf("seeding %d values and %d files...\n", kValues, kFiles);
    std::fflush(stdout);
    Seed();
    HKEY key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 1;

    // Best of three of each, interleaved, so both see the same warm caches.
    double bare = 1e9, walk = 1e9;
    int rows = 0;
    unsigned long long calls = 0;
    for (int round = 0; round < 3; ++round) {
        bare = std::min(bare, BareEnumeration(key));
        FileProbe probe;
        walk = std::min(walk, Walk(key, probe, rows));
        calls = probe.Calls();
    }
    FileProbe plain(false);
    int plainRows = 0;
    double plainWalk = Walk(key, plain, plainRows);
    ::RegCloseKey(key);

    std::printf("values:                       %d\n", kValues);
    std::printf("bare enumeration + 1 probe:   %.3f s\n", bare);
    std::printf("walk (probes kept per scan):  %.3f s, %d findings\n", walk, rows);
    std::printf("ratio walk / bare:            %.2f (target <= 2.00)\n", walk / bare);
    std::printf("file-system probes per value: %.2f (plain rules: %.2f, %.3f s, %d findings)\n",
                double(calls) / kValues, double(plain.Calls()) / kValues, plainWalk, plainRows);
    if (plainRows != rows) std::printf("MISMATCH: the plain rules found %d, the walk %d\n", plainRows, rows);

    ::SHDeleteKeyA(HKEY_CURRENT_USER, kKey);
    ::SHDeleteEmptyKeyA(HKEY_CURRENT_USER, "Software\\ToolhostBench");
    char from[MAX_PATH + 2] = {};
    std::snprintf(from, MAX_PATH, "%s", kFolder);
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from;
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    ::SHFileOperationA(&op);
    return 0;
}
