// The modal dialog a backup runs in on the NT line: it asks for exclusive
// access to the registry, waits for Start, shows the run's progress and
// closes by itself when the set is written. It cannot be closed meanwhile.
#pragma once

#include <afxwin.h>
#include <vantor/GuiButton.h>
#include <vantor/ProgressST.h>

class CHiveBackup;

class CExclusiveAccessDlg : public CDialog {
public:
    explicit CExclusiveAccessDlg(CWnd* pParent = NULL);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;

    BYTE m_mode;              // 0: backup (the only mode this tool uses)
    bool m_busy;              // a run is going on
    bool m_done;              // Start ended the dialog
    CHiveBackup* m_engine;    // the caller's, set before DoModal

protected:
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    CGuiButton m_btnStart;
    CGuiButton m_btnCancel;
    CProgressST m_progress;
    CStatic m_explanation;
    CStatic m_status;
    CFont m_font;         // the explanation's
    CFont m_controlFont;  // the other controls'

    DECLARE_MESSAGE_MAP()
};
