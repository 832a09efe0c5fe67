// Option page: the fixed drives to scan, each with a check box.
#pragma once

#include "junkclean/DriveSelection.h"

#include <afxwin.h>
#include <vantor/DlgMainWnd.h>
#include <vantor/Heading.h>

class CDrivesPage : public CDlgChildWnd {
public:
    CDrivesPage();
    DriveSelection& Drives() { return m_drives; }
    // Fills the list from the fixed drives, ticking the selected ones.
    void FillDrives();

protected:
    BOOL OnInitDialog() override;
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDriveChanged(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    DriveSelection m_drives;
    CHeading m_heading;
    CListCtrl m_list;
    CFont m_font;
    bool m_filling = false;
};

// The list text of a fixed drive: "C:\  ( label ) ". An unreadable label
// shows as empty.
CString DriveItemText(const char* root);
