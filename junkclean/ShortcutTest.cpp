#include "junkclean/ShortcutTest.h"

#include "junkclean/ExcludedNames.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>

namespace {

// Releases a COM interface when it goes out of scope.
template <class T>
class ComPtr {
public:
    ~ComPtr() {
        if (p) p->Release();
    }
    T* p = nullptr;
};

class FindHandle {
public:
    explicit FindHandle(HANDLE h) : m_h(h) {}
    ~FindHandle() {
        if (m_h != INVALID_HANDLE_VALUE) FindClose(m_h);
    }
    bool ok() const { return m_h != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_h;
};

// Name and extension after the last "\" or ":", lower-cased and trimmed.
std::string NameOf(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; p = CharNextA(p))
        if (*p == '\\' || *p == ':') name = p + 1;
    CString n(name);
    n.MakeLower();
    n.Trim();
    return n.str();
}

bool Expand(LPCSTR path, char longPath[MAX_PATH]) {
    CString p(path);
    p.Replace('/', '\\');
    CString out;
    int pos = 0;
    if (p.GetLength() >= 2 && p[0] == '\\' && p[1] == '\\') {
        // \\server\share\ stays as it is.
        int server = p.Find('\\', 2);
        if (server < 0) return false;
        int share = p.Find('\\', server + 1);
        if (share < 0) return false;
        pos = share + 1;
    } else if (p.GetLength() >= 2 && p[1] == ':') {
        if (p.GetLength() < 3 || p[2] != '\\') return false;
        pos = 3;
    } else {
        return false;
    }
    out = p.Left(pos);
    while (pos < p.GetLength()) {
        int next = p.Find('\\', pos);
        CString upTo = next < 0 ? p : p.Left(next);
        WIN32_FIND_DATAA data;
        HANDLE h = FindFirstFileA(upTo, &data);
        FindHandle guard(h);
        if (!guard.ok()) return false;
        out += data.cFileName;
        if (next < 0) break;
        out += '\\';
        pos = next + 1;
    }
    if (out.GetLength() >= MAX_PATH) return false;
    lstrcpynA(longPath, out, MAX_PATH);
    return true;
}

// Whether a drive-letter target lies on a disk that is always there. A
// missing target on a network, removable or CD drive, or on a letter that is
// not mapped now, may only be offline: its shortcut is not broken.
bool OnLocalDisk(const char* target) {
    if (!target[0] || target[1] != ':') return true;
    const char root[] = {target[0], ':', '\\', 0};
    const UINT type = GetDriveTypeA(root);
    return type == DRIVE_FIXED || type == DRIVE_RAMDISK;
}

}  // namespace

bool PathFound(LPCSTR path) {
    if (!path || !*path) return false;
    WIN32_FIND_DATAA data;
    FindHandle find(FindFirstFileA(path, &data));
    return find.ok();
}

int ExpandLongPath(LPCSTR path, char longPath[MAX_PATH]) {
    lstrcpynA(longPath, path, MAX_PATH);
    if (!PathFound(path)) return lstrlenA(longPath);
    char expanded[MAX_PATH] = {};
    if (Expand(path, expanded)) lstrcpynA(longPath, expanded, MAX_PATH);
    return lstrlenA(longPath);
}

void ReadShortcut(LPCSTR path, bool resolve, char target[MAX_PATH], char description[MAX_PATH]) {
    ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link.p))))
        return;
    ComPtr<IPersistFile> file;
    if (FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)))) return;
    WCHAR wide[MAX_PATH] = {};
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH)) return;
    if (FAILED(file.p->Load(wide, STGM_READ))) return;
    if (resolve && FAILED(link.p->Resolve(GetDesktopWindow(), SLR_NO_UI | SLR_ANY_MATCH))) return;
    WIN32_FIND_DATAA data;
    if (FAILED(link.p->GetPath(target, MAX_PATH, &data, SLGP_SHORTPATH))) return;
    link.p->GetDescription(description, MAX_PATH);
}

bool ShortcutIsValid(LPCSTR path, const ExcludedNames& excluded) {
    CString lowered(path);
    lowered.MakeLower();
    lowered.Trim();
    if (lowered.Find("administrative tools") >= 0) return true;

    char target[MAX_PATH] = {};
    char longTarget[MAX_PATH] = {};
    char description[MAX_PATH] = {};
    ReadShortcut(path, false, target, description);

    if ((target[0] == '\\' && target[1] == '\\') || target[0] == '%') return true;
    const size_t length = std::strlen(target);
    if (length == 3) return PathFound(target);
    if (length > 3) {
        if (!OnLocalDisk(target)) return true;
        ExpandLongPath(target, longTarget);
        if (excluded.EqualsAny(NameOf(target)) || excluded.EqualsAny(NameOf(longTarget))) return true;
        const char* open = std::strchr(longTarget, '{');
        if (open && std::strchr(open, '}')) return true;
    }
    if (!target[0] && !description[0]) {
        ReadShortcut(path, true, target, description);
        return true;
    }
    if (!target[0]) return true;
    if (PathFound(target)) return true;

    ZeroMemory(target, sizeof target);
    ReadShortcut(path, true, target, description);
    if (!target[0] || PathFound(target)) return true;
    return false;
}
