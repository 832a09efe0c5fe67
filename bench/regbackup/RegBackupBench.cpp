// How fast the hive copies are written and read back: CopyFileEnc and
// CopyFileDec of a 256 MiB file against the plain CopyFileNow of the same
// file, as ratios (the aim is at most 2.0 each), and the whole backup of the
// hives this machine lists, with its time and the bytes it wrote.
#include <windows.h>
#include <shlwapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include <vantor/FileCopy.h>
#include <vantor/DlgMainWnd.h>

#include "regbackup/HiveBackup.h"

namespace {

const ULONGLONG kFileSize = 256ull << 20;

double Now()
{
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(frequency.QuadPart);
}

bool MakeSource(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::vector<unsigned> chunk((1u << 20) / sizeof(unsigned));
    unsigned x = 2463534242u;
    bool ok = true;
    for (ULONGLONG done = 0; ok && done < kFileSize; done += 1u << 20) {
        for (unsigned& v : chunk) {  // xorshift: contents a transform cannot shortcut
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            v = x;
        }
        DWORD written = 0;
        ok = WriteFile(file, chunk.data(), 1u << 20, &written, NULL) && written == 1u << 20;
    }
    CloseHandle(file);
    return ok;
}

// Best of three: the first run also warms the file cache.
template <class F>
double Best(F run)
{
    double best = 1e30;
    for (int i = 0; i < 3; ++i) {
        const double start = Now();
        if (!run()) return -1;
        const double t = Now() - start;
        if (t < best) best = t;
    }
    return best;
}

ULONGLONG FolderBytes(const std::string& folder)
{
    ULONGLONG total = 0;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            total += (ULONGLONG(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return total;
}

struct Silent : BackupProgress {
    void SetRange(int, int) override {}
    void SetPos(int) override {}
    void SetText(LPCSTR) override {}
};

int CopyBench(const std::string& temp)
{
    const std::string source = temp + "rb-bench-source.bin";
    const std::string plain = temp + "rb-bench-plain.bin";
    const std::string encoded = temp + "rb-bench-encoded.bin";
    const std::string decoded = temp + "rb-bench-decoded.bin";
    if (!MakeSource(source)) {
        std::printf("cannot write %s\n", source.c_str());
        return 1;
    }
    CFileCopy copier;
    const double now = Best([&] { return copier.CopyFileNow(source.c_str(), plain.c_str()) != FALSE; });
    const double enc = Best([&] { return copier.CopyFileEnc(source.c_str(), encoded.c_str()) != FALSE; });
    const double dec = Best([&] { return copier.CopyFileDec(encoded.c_str(), decoded.c_str()) != FALSE; });
    for (const std::string* f : {&source, &plain, &encoded, &decoded}) DeleteFileA(f->c_str());
    if (now <= 0 || enc <= 0 || dec <= 0) {
        std::printf("a copy failed (now %.3f s, enc %.3f s, dec %.3f s)\n", now, enc, dec);
        return 1;
    }
    std::printf("256 MiB: CopyFileNow %.3f s, CopyFileEnc %.3f s, CopyFileDec %.3f s\n", now, enc, dec);
    std::printf("ratio CopyFileEnc/CopyFileNow %.2f (target <= 2.0)%s\n", enc / now, enc / now <= 2.0 ? "" : "  OVER");
    std::printf("ratio CopyFileDec/CopyFileNow %.2f (target <= 2.0)%s\n", dec / now, dec / now <= 2.0 ? "" : "  OVER");
    return 0;
}

// The hive list of a real system, for a prefix whose list is empty.
void SeedHiveList(std::vector<std::string>& added)
{
    HKEY key = NULL;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\hivelist", 0, NULL, 0, KEY_ALL_ACCESS,
                        NULL, &key, NULL) != ERROR_SUCCESS)
        return;
    DWORD values = 0;
    RegQueryInfoKeyA(key, NULL, NULL, NULL, NULL, NULL, NULL, &values, NULL, NULL, NULL, NULL);
    if (values == 0) {
        char user[256] = {};
        DWORD size = sizeof user;
        GetUserNameA(user, &size);
        const std::pair<std::string, std::string> hives[] = {
            {"\\REGISTRY\\MACHINE\\SOFTWARE", "\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\SOFTWARE"},
            {"\\REGISTRY\\MACHINE\\SYSTEM", "\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\SYSTEM"},
            {"\\REGISTRY\\USER\\.DEFAULT", "\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\DEFAULT"},
        };
        for (const auto& hive : hives) {
            RegSetValueExA(key, hive.first.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(hive.second.c_str()),
                           DWORD(hive.second.size() + 1));
            added.push_back(hive.first);
        }
    }
    RegCloseKey(key);
}

int BackupBench(const std::string& temp)
{
    CDlgChildWnd::m_strSettingsPath = "Software\\ToolhostBench\\RegBackup";
    std::vector<std::string> added;
    SeedHiveList(added);
    const std::string location = temp + "rb-bench-sets";
    CreateDirectoryA(location.c_str(), NULL);

    CHiveBackup engine;
    engine.SetLocation(location.c_str());
    Silent silent;
    const double start = Now();
    engine.Run(silent);
    const double took = Now() - start;
    const std::string folder = std::string(engine.m_location);
    const ULONGLONG bytes = FolderBytes(folder);
    std::printf("backup: %d of %d hives saved in %.3f s, %llu bytes written to %s\n", engine.SavedCount(),
                int(engine.m_records.size()), took, bytes, folder.c_str());

    engine.DeleteSet(engine.InfoPath());
    RemoveDirectoryA(location.c_str());
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\ToolhostBench");
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\hivelist", 0, KEY_ALL_ACCESS, &key) ==
        ERROR_SUCCESS) {
        for (const std::string& name : added) RegDeleteValueA(key, name.c_str());
        RegCloseKey(key);
    }
    return engine.SetWritten() ? 0 : 1;
}

}  // namespace

int main()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    int failed = CopyBench(temp);
    failed |= BackupBench(temp);
    return failed;
}
