#include "junkclean/IntroPanel.h"

#include "host/HostServices.h"

#include <vantor/Paint.h>
#include <vantres/ids_junk.h>

BEGIN_MESSAGE_MAP(CIntroPanel, CDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CIntroPanel::CIntroPanel() : CDialog(IDD_JUNK_INTRO, NULL) {
    LOGFONT lf;
    ZeroMemory(&lf, sizeof lf);
    if (!ReadLogFont(lf)) {
        lf.lfHeight = -11;
        lf.lfQuality = 2;
        lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
    }
    lf.lfWeight = FW_BOLD;
    m_bold.CreateFontIndirect(&lf);
}

BOOL CIntroPanel::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_picture.LoadBitmap(IDB_JK_INTRO_PICTURE)) {
        BITMAP info;
        m_picture.GetBitmap(&info);
        m_pictureWidth = info.bmWidth;
        m_pictureHeight = info.bmHeight;
    }
    m_text = CString(LoadTextById(IDS_JK_INTRO_TEXT1));
    m_text += LoadTextById(IDS_JK_INTRO_TEXT2);
    return TRUE;
}

void CIntroPanel::PlaceInMainWindow() {
    SetControlsPosDlu(this, 120, 62, 333, 226);
}

BOOL CIntroPanel::OnEraseBkgnd(CDC* pDC) {
    return TRUE;  // the paint covers everything
}

void CIntroPanel::OnPaint() {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(&paint, client);
    if (m_picture.m_hObject)
        PaintBMPStretch(&dc, 0, 0, client.Width(), client.Height(), &m_picture, SRCCOPY);
    else
        dc.FillSolidRect(&client, RGB(255, 255, 255));
    HGDIOBJ old = dc.SelectObject(&m_bold);
    dc.SetTextColor(RGB(63, 72, 144));
    dc.SetBkMode(TRANSPARENT);
    CRect text = client;
    text.DeflateRect(18, 18, 1, 18);
    dc.DrawText(m_text, &text, DT_WORDBREAK | DT_VCENTER);
    dc.SelectObject(old);
}

HBRUSH CIntroPanel::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    pDC->SetTextColor(RGB(81, 99, 153));
    pDC->SetBkMode(TRANSPARENT);
    return HBRUSH(SharedWhiteBrush().m_hObject);
}
