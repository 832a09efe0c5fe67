#include "junkclean/RecycleBin.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cstring>

namespace {

const char kBitBucket[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket";
const char kExplorerPolicies[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const ULONGLONG kNoLimit = ~0ull;

bool ReadDword(HKEY hive, const std::string& key, const char* name, DWORD& value) {
    DWORD type = 0, data = 0, size = sizeof data;
    if (SHGetValueA(hive, key.c_str(), name, &type, &data, &size) != ERROR_SUCCESS || type != REG_DWORD) return false;
    value = data;
    return true;
}

// The shell asks before it deletes a file for good (FOF_WANTNUKEWARNING).
// Nobody answers that question here: it is declined as soon as its dialog
// is made, and the removal asks its own (or keeps the file). The shell shows
// it on the calling thread, which this hook watches.
LRESULT CALLBACK DeclineShellQuestion(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const HWND wnd = reinterpret_cast<HWND>(wParam);
        const CBT_CREATEWNDA* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
        char cls[16] = {};
        if (!(create->lpcs->style & WS_CHILD) && GetClassNameA(wnd, cls, sizeof cls) && lstrcmpA(cls, "#32770") == 0) {
            PostMessageA(wnd, WM_COMMAND, IDNO, 0);
            PostMessageA(wnd, WM_COMMAND, IDCANCEL, 0);
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

class ShellQuestionsDeclined {
public:
    ShellQuestionsDeclined() : m_hook(SetWindowsHookExA(WH_CBT, DeclineShellQuestion, NULL, GetCurrentThreadId())) {}
    ~ShellQuestionsDeclined() {
        if (m_hook) UnhookWindowsHookEx(m_hook);
    }
    ShellQuestionsDeclined(const ShellQuestionsDeclined&) = delete;
    ShellQuestionsDeclined& operator=(const ShellQuestionsDeclined&) = delete;
    bool Active() const { return m_hook != NULL; }

private:
    HHOOK m_hook;
};

}  // namespace

bool ShellPathList(char (&buffer)[kShellBuffer], LPCSTR path) {
    ZeroMemory(buffer, kShellBuffer);
    const size_t n = std::strlen(path);
    if (n + 2 > kShellBuffer) return false;
    CopyMemory(buffer, path, n);
    return true;
}

int RecycleFile(LPCSTR path) {
    char from[kShellBuffer];
    if (!ShellPathList(from, path)) return -1;
    SHFILEOPSTRUCTA op;
    ZeroMemory(&op, sizeof op);
    op.hwnd = NULL;
    op.wFunc = FO_DELETE;
    op.pFrom = from;
    // Without the nuke warning the shell deletes for good, silently, what no
    // bin takes (a bin turned off, a file larger than it, no usable bin).
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI | FOF_WANTNUKEWARNING;
    ShellQuestionsDeclined decline;
    if (!decline.Active()) return -1;  // a question nobody declines would hold the pass
    const int rc = SHFileOperationA(&op);
    const bool stays = GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
    if (rc == 0 && op.fAnyOperationsAborted) return stays ? kRecycleWouldDeleteForGood : -1;
    // The shell may answer 0 for a file it could not move: it did not go.
    if (rc == 0 && stays) return -1;
    return rc;
}

bool HasRecycleBin(LPCSTR path) {
    const CString text(path);
    // \\server\share\...: a network path.
    if (text.GetLength() >= 2 && text[0] == '\\' && text[1] == '\\') return false;
    const CString root = text.GetLength() >= 2 && text[1] == ':' ? text.Left(2) + "\\" : CString();
    switch (GetDriveTypeA(root.IsEmpty() ? NULL : root.GetString())) {
    case DRIVE_REMOTE:
    case DRIVE_REMOVABLE:
    case DRIVE_RAMDISK: return false;
    default: return true;
    }
}

bool RecycleBinCheck::Takes(LPCSTR path) {
    if (!HasRecycleBin(path)) return false;
    const std::string root = RootOf(path);
    auto bin = m_bins.find(root);
    if (bin == m_bins.end()) bin = m_bins.emplace(root, LookAt(root)).first;
    if (!bin->second.usable) return false;
    if (bin->second.capacity == kNoLimit) return true;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return true;  // the shell's own check decides
    const ULONGLONG size = (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return size <= bin->second.capacity;
}

void RecycleBinCheck::MarkRefused(LPCSTR path) { m_bins[RootOf(path)].usable = false; }

std::string RecycleBinCheck::RootOf(LPCSTR path) {
    char root[MAX_PATH] = {};
    if (!GetVolumePathNameA(path, root, MAX_PATH)) lstrcpynA(root, path, 4);
    CharLowerA(root);
    return root;
}

RecycleBinCheck::Bin RecycleBinCheck::LookAt(const std::string& root) {
    Bin bin;
    bin.capacity = kNoLimit;
    // A bin the shell cannot read (here: a trash folder that cannot be used) takes nothing.
    SHQUERYRBINFO info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    if (FAILED(SHQueryRecycleBinA(root.c_str(), &info))) return bin;
    bin.usable = true;

    // Turned off, or limited, for this volume (the user's settings of newer systems)...
    char volume[MAX_PATH] = {};
    if (GetVolumeNameForVolumeMountPointA(root.c_str(), volume, MAX_PATH)) {
        const std::string name(volume);
        const size_t open = name.find('{'), close = name.find('}');
        if (open != std::string::npos && close != std::string::npos && close > open) {
            const std::string key = std::string(kBitBucket) + "\\Volume\\" + name.substr(open, close - open + 1);
            DWORD nuke = 0, megabytes = 0;
            if (ReadDword(HKEY_CURRENT_USER, key, "NukeOnDelete", nuke) && nuke) bin.usable = false;
            if (ReadDword(HKEY_CURRENT_USER, key, "MaxCapacity", megabytes))
                bin.capacity = ULONGLONG(megabytes) * 1024 * 1024;
        }
    }
    // ...or by an administrator for every drive...
    for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        DWORD off = 0;
        if (ReadDword(hive, kExplorerPolicies, "NoRecycleFiles", off) && off) bin.usable = false;
    }
    // ...or for every drive or this drive letter, with a size in percent of the drive (older systems).
    ULARGE_INTEGER total = {};
    for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        DWORD global = 1, nuke = 0, percent = 0;
        ReadDword(hive, kBitBucket, "UseGlobalSettings", global);
        const std::string key = global ? std::string(kBitBucket) : std::string(kBitBucket) + "\\" + root.substr(0, 1);
        if (ReadDword(hive, key, "NukeOnDelete", nuke) && nuke) bin.usable = false;
        if (bin.capacity == kNoLimit && ReadDword(hive, key, "Percent", percent) &&
            GetDiskFreeSpaceExA(root.c_str(), NULL, &total, NULL))
            bin.capacity = total.QuadPart / 100 * percent;
    }
    return bin;
}
