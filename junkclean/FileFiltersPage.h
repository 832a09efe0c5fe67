// Option page: the junk filter table, each mask with a check box, and the
// Add, Edit and Remove buttons.
#pragma once

#include "junkclean/FilterTable.h"

#include <afxwin.h>
#include <vantor/DlgMainWnd.h>
#include <vantor/GuiButton.h>
#include <vantor/Heading.h>

class CFileFiltersPage : public CDlgChildWnd {
public:
    CFileFiltersPage();
    FilterTable& Filters() { return m_filters; }
    void FillFilters();

protected:
    BOOL OnInitDialog() override;
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnFilterChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnAdd();
    afx_msg void OnEdit();
    afx_msg void OnRemove();
    DECLARE_MESSAGE_MAP()

private:
    int SelectedItem() const;
    FilterTable m_filters;
    CGuiButton m_add, m_edit, m_remove;
    CHeading m_heading;
    CListCtrl m_list;
    CFont m_buttonFont;
    bool m_filling = false;
};
