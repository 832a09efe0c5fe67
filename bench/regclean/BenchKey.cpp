#include "BenchKey.h"

#include "regclean/FileReference.h"
#include "regclean/KeyWalker.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <string>

namespace rcbench {

namespace {
const char kFolder[] = "C:\\toolhost-bench\\regclean";
const int kFiles = 500;

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

class CountingSink : public ScanSink {
public:
    void AddFinding(const char*, const char*, const char*) override { ++rows; }
    void ShowStatus(const char*) override {}
    int RowCount() const override { return rows; }
    int rows = 0;
};

}  // namespace

const char kKey[] = "Software\\ToolhostBench\\RegClean";
const char kKeyPath[] = "HKEY_CURRENT_USER\\Software\\ToolhostBench\\RegClean";

double Now()
{
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return double(c.QuadPart) / double(f.QuadPart);
}

void Seed(int values)
{
    ::SetEnvironmentVariableA("RCBENCH", kFolder);
    std::printf("seeding %d values and %d files...\n", values, kFiles);
    std::fflush(stdout);
    ::SHDeleteKeyA(HKEY_CURRENT_USER, kKey);
    HKEY key;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    for (int i = 0; i < kFiles; ++i) {
        std::string dir = std::string(kFolder) + "\\app" + std::to_string(i);
        ::SHCreateDirectoryExA(nullptr, dir.c_str(), nullptr);
        HANDLE f = ::CreateFileA(FileName(i).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (f != INVALID_HANDLE_VALUE) ::CloseHandle(f);
    }
    for (int i = 0; i < values; ++i) {
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

double EngineWalk(HKEY key, FileProbe& probe, int& rows)
{
    ScanFlags flags;
    flags.KeepGoing = true;
    CountingSink sink;
    FileReferenceTest files(probe);
    ScanContext ctx{flags, sink, files};
    probe.Reset();
    double start = Now();
    WalkKey(ctx, key, kKeyPath);
    double seconds = Now() - start;
    rows = sink.rows;
    return seconds;
}

void Unseed()
{
    ::SHDeleteKeyA(HKEY_CURRENT_USER, kKey);
    ::SHDeleteEmptyKeyA(HKEY_CURRENT_USER, "Software\\ToolhostBench");
    char from[MAX_PATH + 2] = {};
    std::snprintf(from, MAX_PATH, "%s", kFolder);
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from;
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    ::SHFileOperationA(&op);
}

}  // namespace rcbench
