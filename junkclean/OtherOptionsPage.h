// Option page: old files (with the months), read-only and system files,
// empty files and broken shortcuts.
#pragma once

#include "junkclean/ScanOptions.h"

#include <afxwin.h>
#include <vantor/DlgMainWnd.h>
#include <vantor/Heading.h>

class COtherOptionsPage : public CDlgChildWnd {
public:
    COtherOptionsPage();
    OtherScanOptions& Options() { return m_options; }
    // Brings the boxes and the months edit in line with the options.
    void ShowOptions();

protected:
    BOOL OnInitDialog() override;
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnByMonth();
    afx_msg void OnShortcuts();
    afx_msg void OnSkipReadOnly();
    afx_msg void OnEmpty();
    afx_msg void OnClose();
    DECLARE_MESSAGE_MAP()

private:
    OtherScanOptions m_options;
    CHeading m_heading;
    CFont m_font;
};
