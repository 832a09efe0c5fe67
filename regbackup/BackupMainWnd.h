// The backup tool's main window: a column of buttons beside a home view
// (set count, last backup) and three pages (backup, locate, restore).
#pragma once

#include <afxwin.h>
#include <vantor/DlgMainWnd.h>
#include <vantor/HoverButton.h>

#include "regbackup/BackupPage.h"
#include "regbackup/LocatePage.h"
#include "regbackup/RestorePage.h"

class CBackupMainWnd : public CDlgMainWnd {
public:
    explicit CBackupMainWnd(CWnd* pParent = NULL);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // p is one of the pages, or this window for the home view.
    void ShowPage(CWnd* p);
    bool HomeShown() const { return m_pCurrent == this; }
    CWnd* CurrentPage() const { return m_pCurrent; }
    // The home view's lines, as painted.
    CString CountLine() const;
    CString LastBackupLine() const;

protected:
    afx_msg void OnBackupButton();
    afx_msg void OnLocateButton();
    afx_msg void OnRestoreButton();
    afx_msg void OnOptionsButton();
    afx_msg void OnExitButton();
    afx_msg void OnPaint();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg LRESULT OnShowDefaultPage(WPARAM, LPARAM);
    afx_msg LRESULT OnSetsChanged(WPARAM, LPARAM);
    afx_msg LRESULT OnBackupDone(WPARAM, LPARAM);

    CRect PageRect() const;

    CBackupPage m_pageBackup;
    CLocatePage m_pageLocate;
    CRestorePage m_pageRestore;
    CWnd* m_pCurrent;
    bool m_bHome;
    bool m_bBackupShown;
    bool m_bLocateShown;
    bool m_bRestoreShown;

    CHoverButton m_btnBackup;
    CHoverButton m_btnLocate;
    CHoverButton m_btnRestore;
    CHoverButton m_btnOptions;
    CHoverButton m_btnExit;
    CFont m_font;
    CFont m_textFont;

    DECLARE_MESSAGE_MAP()
};
