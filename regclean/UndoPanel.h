// The undo panel inside the registry cleaner's window (template 294): the
// recorded undo files with their dates, merged back or dropped one at a time.
#pragma once

#include <afxwin.h>
#include <vantor/DlgMainWnd.h>

class UndoPanel : public CDlgChildWnd {
public:
    explicit UndoPanel(CWnd* pParent = NULL);
    ~UndoPanel() override;

    // Lists the recorded undo files afresh.
    void RefillUndoList();
    // The path of the last selected row; empty when none is selected.
    CString SelectedPath() const;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnMerge();
    afx_msg void OnRemove();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnSize(UINT nType, int cx, int cy);

    int SelectedRow() const;
    void PlaceControls();

    CListCtrl m_list;
    CStatic m_info;
    CButton m_merge;
    CButton m_remove;

    DECLARE_MESSAGE_MAP()
};
