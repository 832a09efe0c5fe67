#include "JunkBenchTree.h"

#include "JunkTestSupport.h"

#include <windows.h>

#include <cstdio>

using junktest::MakeFile;
using junktest::MakeShortcut;

namespace junkbench {

const int kFolders = 1000;
const int kFilesPerFolder = 100;
const char* const kPlainNames[] = {"txt", "doc", "jpg", "xls", "pdf"};

const char kDrive[] = "J:";
const char* const kJunkNames[10] = {"tmp", "bak", "old", "chk", "gid", "err", "dmp", "swp", "temp", "prv"};


double Seconds(long long from, long long to) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(to - from) / double(f.QuadPart);
}

long long Ticks() {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return c.QuadPart;
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

using junktest::RunUnixTool;

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

}  // namespace junkbench
