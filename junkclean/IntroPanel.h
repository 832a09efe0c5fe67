// The introduction shown in place of the results before the first scan:
// a picture with the description of junk files and of the cleaner.
#pragma once

#include <afxwin.h>

class CIntroPanel : public CDialog {
public:
    CIntroPanel();
    // Moves the panel over the place of the results list and its buttons, in
    // the main window's dialog units.
    void PlaceInMainWindow();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    CFont m_bold;
    CString m_text;
    CBitmap m_picture;
    int m_pictureWidth = 0, m_pictureHeight = 0;
};
