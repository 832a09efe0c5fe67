#include <vantor/FolderDialog.h>

#include <shlobj.h>

namespace {

bool IsFolder(const char* path)
{
    if (!path || !*path) return false;
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The PIDL the shell hands back is ours to free.
struct ItemList {
    LPITEMIDLIST pidl = nullptr;
    ~ItemList() { if (pidl) ::CoTaskMemFree(pidl); }
};

}  // namespace

CFolderDialog::CFolderDialog(LPCSTR title, UINT flags, CWnd* parent) : m_nFlags(flags), m_pParent(parent)
{
    if (IsFolder(title))
        m_strStart = title;
    else if (title)
        m_strTitle = title;
}

int CALLBACK CFolderDialog::BrowseCallback(HWND hwnd, UINT message, LPARAM lParam, LPARAM data)
{
    CFolderDialog* self = reinterpret_cast<CFolderDialog*>(data);
    switch (message) {
    case BFFM_INITIALIZED:
        if (!self->m_strStart.IsEmpty())
            ::SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(self->m_strStart.GetString()));
        break;
    case BFFM_SELCHANGED:
        if (self->m_nFlags & BIF_STATUSTEXT) {
            // The status line shows where the choice leads.
            char path[MAX_PATH] = "";
            if (lParam) ::SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), path);
            ::SendMessageA(hwnd, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
        }
        break;
    case BFFM_VALIDATEFAILEDA:
        return 1;  // a name typed that is no folder: keep the picker open
    default:
        break;
    }
    return 0;
}

INT_PTR CFolderDialog::DoModal()
{
    m_strPath.Empty();
    // The shell's picker needs COM on this thread; a thread that has it already keeps it.
    const HRESULT com = ::CoInitialize(NULL);

    char display[MAX_PATH] = "";
    BROWSEINFOA info = {};
    info.hwndOwner = m_pParent && m_pParent->m_hWnd ? m_pParent->m_hWnd : ::GetActiveWindow();
    info.pszDisplayName = display;
    info.lpszTitle = m_strTitle.IsEmpty() ? NULL : m_strTitle.GetString();
    info.ulFlags = m_nFlags;
    info.lpfn = &CFolderDialog::BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);

    INT_PTR result = IDCANCEL;
    {
        ItemList chosen;
        chosen.pidl = ::SHBrowseForFolderA(&info);
        char path[MAX_PATH] = "";
        if (chosen.pidl && ::SHGetPathFromIDListA(chosen.pidl, path) && path[0]) {
            m_strPath = path;
            result = IDOK;
        }
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return result;
}
