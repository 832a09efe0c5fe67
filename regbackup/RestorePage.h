// The restore page: every valid recorded set with its date and time;
// restores the chosen one at the next start or deletes it.
#pragma once

#include <afxwin.h>
#include <vantor/DlgMainWnd.h>

class CRestorePage : public CDlgChildWnd {
public:
    CRestorePage();

    BOOL Create(CWnd* pParent);
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // Lists the valid sets afresh.
    void FillList();
    int SetCount() const { return m_list.GetSafeHwnd() ? m_list.GetItemCount() : 0; }

protected:
    afx_msg void OnRestore();
    afx_msg void OnDeleteSet();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    CListCtrl m_list;
    CFont m_font;

    DECLARE_MESSAGE_MAP()
};
