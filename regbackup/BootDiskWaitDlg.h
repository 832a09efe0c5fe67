// The small notice shown while the NT boot files are copied to the floppy:
// it paints itself first, then does the copying from its first timer tick
// and closes.
#pragma once

#include <afxwin.h>

class CBootDiskWaitDlg : public CDialog {
public:
    explicit CBootDiskWaitDlg(CWnd* pParent = NULL);

    BOOL OnInitDialog() override;

    CString m_strMessage;
    CString m_strFrom = "C:\\";
    CString m_strTo = "A:\\";
    int m_nCopied = 0;

protected:
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    CFont m_font;

    DECLARE_MESSAGE_MAP()
};
