// Dialog bases of the suite: CDlgMainWnd for a tool's modal main window,
// CDlgChildWnd for pages that live inside one.
#pragma once

#include <afxwin.h>
#include <vantor/VantorApi.h>

class VANTOR_API CDlgMainWnd : public CDialog {
public:
    CDlgMainWnd(UINT nIDTemplate, CWnd* pParent = NULL);
    ~CDlgMainWnd() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);

    // The skin picture PaintDlgNow draws, from the resource chain. FALSE when
    // the bitmap is missing (PaintDlgNow then paints the gradient).
    BOOL LoadBackground(UINT bitmapId);
    BOOL HasBackground() const { return m_background.m_hObject != NULL; }
    // Paints the skin into `rect` (client coordinates): the picture 1:1 from
    // the top-left corner, the soft gradient wherever the picture does not reach.
    void PaintDlgNow(CDC* pDC, const CRect& rect);

protected:
    // The background is painted here already, so nothing flashes grey first.
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    CBitmap m_background;

    DECLARE_MESSAGE_MAP()
};

class VANTOR_API CDlgChildWnd : public CDialog {
public:
    // The suite's settings key below HKEY_CURRENT_USER.
    static CString m_strSettingsPath;

    CDlgChildWnd(UINT nIDTemplate, CWnd* pParent = NULL);
    ~CDlgChildWnd() override;

    // A page never ends itself on Enter or Escape.
    void OnOK() override;
    void OnCancel() override;
};
