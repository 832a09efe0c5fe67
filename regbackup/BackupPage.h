// The backup page: where the set goes, Start (inside the exclusive-access
// dialog on the NT line) and the emergency boot disk.
#pragma once

#include <afxwin.h>
#include <vantor/DlgMainWnd.h>
#include <vantor/StaticFader.h>

class CBackupPage : public CDlgChildWnd {
public:
    CBackupPage();

    BOOL Create(CWnd* pParent);
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

protected:
    afx_msg void OnBrowse();
    afx_msg void OnStart();
    afx_msg void OnBootDisk();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    void SetStatus(LPCSTR text);
    // A backup that left no set: the status line and a message box say why.
    void ReportFailure(const CString& text);

    CEdit m_location;
    CStaticFader m_status;
    CFont m_font;

    DECLARE_MESSAGE_MAP()
};
