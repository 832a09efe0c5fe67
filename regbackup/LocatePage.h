// The locate page: imports a backup set found elsewhere (another disk, a
// network folder) by its info.arb and logs what happened.
#pragma once

#include <afxwin.h>
#include <vantor/DlgMainWnd.h>

class CLocatePage : public CDlgChildWnd {
public:
    CLocatePage();

    BOOL Create(CWnd* pParent);
    BOOL OnInitDialog() override;

    // The "..." command: choose an info.arb and import it.
    void ImportSet();

protected:
    afx_msg void OnImport();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    CFont m_font;

    DECLARE_MESSAGE_MAP()
};
