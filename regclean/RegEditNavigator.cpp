#include "regclean/RegEditNavigator.h"

#include "regclean/PathText.h"
#include "regclean/RegKey.h"

#include <shellapi.h>

namespace {

const struct {
    const char* name;
    HKEY root;
} kRoots[] = {
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}, {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG}, {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKEY_USERS", HKEY_USERS},
};

HWND FindEditor() { return ::FindWindowA("RegEdit_RegEdit", nullptr); }

// The tree and the value list sit below the editor's frame, not always as
// its direct children.
struct ClassSearch {
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND child, LPARAM param)
{
    ClassSearch* search = reinterpret_cast<ClassSearch*>(param);
    char name[64] = {};
    ::GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, search->className) != 0) return TRUE;
    search->found = child;
    return FALSE;
}

HWND FindDescendant(HWND parent, const char* className)
{
    ClassSearch search{className, nullptr};
    ::EnumChildWindows(parent, MatchClass, LPARAM(&search));
    return search.found;
}

HWND StartEditor()
{
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = "regedit.exe";
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExA(&info)) return nullptr;
    HWND editor = nullptr;
    if (info.hProcess) {
        ::WaitForInputIdle(info.hProcess, 100000);
        // Idle may come before the main window is made.
        for (int i = 0; i < 100 && !(editor = FindEditor()); ++i) {
            if (::WaitForSingleObject(info.hProcess, 100) == WAIT_OBJECT_0) break;
        }
        ::CloseHandle(info.hProcess);
    }
    return editor ? editor : FindEditor();
}

void Pause(DWORD ms)
{
    if (ms) ::Sleep(ms);
}

void PressKey(HWND target, UINT key)
{
    ::SendMessageA(target, WM_KEYDOWN, key, 1);
    ::SendMessageA(target, WM_KEYUP, key, LPARAM(0xC0000001));
}

void TypeText(HWND target, const CString& text)
{
    CString upper(text);
    upper.MakeUpper();
    for (int i = 0; i < upper.GetLength(); ++i)
        ::SendMessageA(target, WM_CHAR, WPARAM(static_cast<unsigned char>(upper[i])), 1);
}

}  // namespace

RegEditTarget RegEditTargetFor(const RegistryFinding& finding)
{
    CString target;
    if (IsComFindingKey(finding.KeyPath))
        target = ComFindingKey(finding.KeyPath, finding.ValueName);
    else
        target = finding.KeyPath + "\\" + finding.ValueName;
    target = target.Left(259);

    RegEditTarget out;
    out.TreePath = target;
    for (const auto& r : kRoots) {
        CString name(r.name);
        if (target.Left(name.GetLength()).CompareNoCase(name) != 0) continue;
        out.TreePath = "\\" + name + target.Mid(name.GetLength());
        CString rest = target.Mid(name.GetLength());
        if (!rest.IsEmpty() && rest[0] == '\\') rest = rest.Mid(1);
        RegKey key;
        out.IsKey = key.Open(r.root, rest, KEY_READ) == ERROR_SUCCESS;
        break;
    }
    if (out.IsKey) {
        out.TreePath += "\\";
    } else {
        int slash = TextReverseFindChar(out.TreePath, '\\');
        if (slash >= 0) {
            out.ValueName = out.TreePath.Mid(slash + 1);
            out.TreePath = out.TreePath.Left(slash);
        }
    }
    return out;
}

bool ShowInRegistryEditor(const RegistryFinding& finding)
{
    const RegEditTarget target = RegEditTargetFor(finding);
    // On a slow (palette) display the editor keeps up without pauses.
    HDC screen = ::GetDC(nullptr);
    const DWORD pause = ::GetDeviceCaps(screen, BITSPIXEL) > 8 ? 750 : 0;
    ::ReleaseDC(nullptr, screen);

    HWND editor = FindEditor();
    if (!editor) editor = StartEditor();
    if (!editor) return false;
    ::ShowWindow(editor, SW_SHOW);
    ::SetForegroundWindow(editor);
    HWND tree = FindDescendant(editor, "SysTreeView32");
    if (!tree) return false;
    // Focus can only be moved within one input queue: share the editor's.
    const DWORD self = ::GetCurrentThreadId();
    const DWORD other = ::GetWindowThreadProcessId(editor, nullptr);
    const bool attached = other != self && ::AttachThreadInput(self, other, TRUE);
    ::SetFocus(tree);
    for (int i = 0; i < 30; ++i) PressKey(tree, VK_LEFT);  // back to the top
    Pause(pause);
    // Characters, not bytes: a double-byte character may end in "\".
    for (const char* p = target.TreePath; *p;) {
        const char* next = ::CharNextA(p);
        if (next == p + 1 && *p == '\\') {
            PressKey(tree, VK_RIGHT);
            Pause(pause);
        } else {
            TypeText(tree, CString(p, int(next - p)));
        }
        p = next;
    }
    if (!target.IsKey && !target.ValueName.IsEmpty()) {
        HWND values = FindDescendant(editor, "SysListView32");
        if (values) {
            ::SetFocus(values);
            ::Sleep(10);
            PressKey(values, VK_HOME);
            TypeText(values, target.ValueName);
        }
    }
    ::SetForegroundWindow(editor);
    ::SetFocus(editor);
    if (attached) ::AttachThreadInput(self, other, FALSE);
    return true;
}
