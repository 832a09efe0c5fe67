#include "regbackup/HiveTools.h"

#include <cstdlib>
#include <cstring>

#include "regbackup/ArbFormat.h"

namespace {

bool g_backupEnabled = false;
bool g_restoreEnabled = false;

// One privilege of the process token; 1 when both calls succeed.
int SetPrivilege(HANDLE token, LPCSTR name, bool enable)
{
    LUID luid;
    if (!LookupPrivilegeValueA(NULL, name, &luid)) return 0;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Luid = luid;
    privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    return AdjustTokenPrivileges(token, FALSE, &privileges, sizeof privileges, NULL, NULL) ? 1 : 0;
}

class TokenHandle {
public:
    ~TokenHandle() { if (m_h) CloseHandle(m_h); }
    HANDLE* out() { return &m_h; }
    HANDLE get() const { return m_h; }

private:
    HANDLE m_h = NULL;
};

CString Lower(CString text)
{
    text.MakeLower();
    return text;
}

}  // namespace

int EnableBackupPrivileges()
{
    TokenHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, token.out())) return 0;
    if (g_backupEnabled && g_restoreEnabled) return 1;
    g_backupEnabled = SetPrivilege(token.get(), "SeBackupPrivilege", true) != 0;
    g_restoreEnabled = SetPrivilege(token.get(), "SeRestorePrivilege", true) != 0;
    SetPrivilege(token.get(), "SeChangeNotifyPrivilege", true);
    int shutdown = SetPrivilege(token.get(), "SeShutdownPrivilege", true);
    return (g_backupEnabled && g_restoreEnabled && shutdown) ? 1 : 0;
}

void DeviceToDrivePath(CString& path)
{
    if (path.IsEmpty()) return;
    char system[MAX_PATH] = {};
    if (!GetSystemDirectoryA(system, MAX_PATH)) return;
    const CString drive = DriveOfPath(system);
    const CString withoutDrive = CString(system).Mid(drive.GetLength());
    const CString dir = FolderOfPath(system).Mid(drive.GetLength());

    const CString lower = Lower(path);
    const CString markers[] = {
        Lower(withoutDrive),
        Lower(CString("\\Dokumente und")),
        CString("\\documents"),
        Lower(dir + "profile"),
    };
    for (const CString& marker : markers) {
        if (marker.IsEmpty()) continue;
        int hit = lower.Find(marker);
        if (hit >= 0) {
            path = drive + path.Mid(hit);
            return;
        }
    }
}

TempNameCounter& BackupNameCounter()
{
    static TempNameCounter counter;
    return counter;
}

TempNameCounter& RestoreNameCounter()
{
    static TempNameCounter counter;
    return counter;
}

TempNameCounter& LegacyNameCounter()
{
    static TempNameCounter counter{0, false, false};
    return counter;
}

CString MakeTempName(LPCSTR folder, LPCSTR prefix, TempNameCounter& counter, LPCSTR fallback)
{
    if (!counter.seeded) {
        counter.value = ((counter.withRand ? UINT(rand()) : 0u) + GetTickCount()) & 0xFFFF;
        counter.seeded = true;
    }
    // A unique number of 0 would make the system create the file itself.
    do {
        counter.value = (counter.value + ((counter.value & 2) ? 5 : 3)) & 0xFFFF;
    } while (counter.value == 0);

    char buffer[MAX_PATH] = {};
    CString name = GetTempFileNameA(folder, prefix, counter.value, buffer) ? CString(buffer) : CString(fallback);
    // RegSaveKeyA refuses to write over an existing file.
    DeleteFileA(name);
    return name;
}

CString ShortPath(LPCSTR path)
{
    char buffer[MAX_PATH] = {};
    DWORD n = GetShortPathNameA(path, buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return CString(path);
    return CString(buffer);
}

CString ShortSystemDirectory()
{
    char system[MAX_PATH] = {};
    if (!GetSystemDirectoryA(system, MAX_PATH)) return CString(".");
    return ShortPath(system);
}

CString LegacyTempFolder()
{
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    CString folder(windows);
    if (!folder.IsEmpty() && !EndsWithBackslash(folder)) folder += '\\';
    folder += "temp";
    CreateDirectoryA(folder, NULL);
    return ShortPath(folder);
}

HKEY SplitHiveName(const CString& name, CString& subkey)
{
    const CString lower = Lower(name);
    int at = lower.Find("\\machine\\");
    if (at >= 0) {
        subkey = name.Mid(at + 9);
        return HKEY_LOCAL_MACHINE;
    }
    at = lower.Find("\\user\\");
    if (at >= 0) {
        subkey = name.Mid(at + 6);
        return HKEY_USERS;
    }
    subkey = name;
    return NULL;
}

void DispatchPendingMessages()
{
    MSG msg;
    // Bounded: a WM_QUIT stays in the queue for the modal loop that owns it.
    for (int rounds = 0; rounds < 64 && PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE); ++rounds) {
        if (msg.message == WM_QUIT || !AfxPumpPendingMessages()) break;
    }
}

CString CompletedText(int done, int count)
{
    CString text;
    text.Format("%d%% Completed ", count > 0 ? 100 * done / count : 100);
    return text;
}
