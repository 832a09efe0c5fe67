// CFolderDialog: the shell's folder picker.
#pragma once

#include <afxwin.h>
#include <vantor/VantorApi.h>

class VANTOR_API CFolderDialog {
public:
    // `title` is shown above the tree; when it names an existing folder it is
    // taken as the start folder instead (the picker opens on it). `flags` are
    // the BIF_ flags of the shell (0x37: file-system folders, edit box,
    // validation, status text). `parent` owns the picker (NULL: the active window).
    CFolderDialog(LPCSTR title, UINT flags, CWnd* parent);

    // IDOK when a folder was chosen, IDCANCEL otherwise.
    INT_PTR DoModal();
    // The chosen folder, empty before DoModal returned IDOK.
    CString GetPathName() const { return m_strPath; }

private:
    static int CALLBACK BrowseCallback(HWND hwnd, UINT message, LPARAM lParam, LPARAM data);

    CString m_strTitle;
    CString m_strStart;
    UINT m_nFlags;
    CWnd* m_pParent;
    CString m_strPath;
};
