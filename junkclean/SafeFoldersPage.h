// Option page: the safe list, folders the scan never enters.
#pragma once

#include "junkclean/ScanOptions.h"

#include <afxwin.h>
#include <vantor/DlgMainWnd.h>
#include <vantor/GuiButton.h>
#include <vantor/Heading.h>

class CSafeFoldersPage : public CDlgChildWnd {
public:
    CSafeFoldersPage();
    SafeFolderList& SafeFolders() { return m_safe; }
    void FillFolders();
    // Adds a folder as the picker would return it; shows message 180 for a drive root.
    SafeFolderResult AddFolder(const CString& path);

protected:
    BOOL OnInitDialog() override;
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnAdd();
    afx_msg void OnRemove();
    DECLARE_MESSAGE_MAP()

private:
    SafeFolderList m_safe;
    CGuiButton m_buttons[3];  // Add, (unused), Remove
    CHeading m_heading;
    CListCtrl m_list;
    CFont m_font;
};
