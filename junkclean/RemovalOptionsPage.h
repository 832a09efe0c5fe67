// Option page: what Delete does with the ticked results.
#pragma once

#include "junkclean/RemovalOptions.h"

#include <afxwin.h>
#include <vantor/DlgMainWnd.h>
#include <vantor/GuiButton.h>
#include <vantor/Heading.h>

class CRemovalOptionsPage : public CDlgChildWnd {
public:
    CRemovalOptionsPage();
    RemovalOptions& Removal() { return m_removal; }
    // Enables, ticks and places the controls after the flags.
    void FollowOptions();
    // Takes a folder as the picker returned it: an existing one becomes the
    // move folder, a missing one switches to the Recycle Bin.
    void TakeChosenFolder(const CString& path);

protected:
    BOOL OnInitDialog() override;
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDelete();
    afx_msg void OnMove();
    afx_msg void OnRecycle();
    afx_msg void OnBrowse();
    DECLARE_MESSAGE_MAP()

private:
    void MoveIcon(int id, int x, int y);
    RemovalOptions m_removal;
    CGuiButton m_browse;
    CHeading m_heading;
    CFont m_font;
};
