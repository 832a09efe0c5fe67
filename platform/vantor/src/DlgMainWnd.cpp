#include <vantor/DlgMainWnd.h>

#include "Handles.h"
#include "Skin.h"

CString CDlgChildWnd::m_strSettingsPath("Software\\Lumbrix\\Vantor 2");

BEGIN_MESSAGE_MAP(CDlgMainWnd, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CDlgMainWnd::CDlgMainWnd(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

CDlgMainWnd::~CDlgMainWnd() = default;

BOOL CDlgMainWnd::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The tool's only window: it belongs on the task bar even without an owner.
    if (!::GetWindow(m_hWnd, GW_OWNER)) ModifyStyleEx(0, WS_EX_APPWINDOW);
    return TRUE;
}

void CDlgMainWnd::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }

void CDlgMainWnd::OnOK() { CDialog::OnOK(); }

void CDlgMainWnd::OnCancel() { CDialog::OnCancel(); }

void CDlgMainWnd::OnSysCommand(UINT nID, LPARAM lParam)
{
    (void)nID;
    (void)lParam;
    Default();
}

BOOL CDlgMainWnd::LoadBackground(UINT bitmapId)
{
    m_background.DeleteObject();
    return m_background.LoadBitmap(bitmapId);
}

void CDlgMainWnd::PaintDlgNow(CDC* pDC, const CRect& rect)
{
    if (!pDC || !pDC->m_hDC || !m_hWnd) return;
    const HDC dc = pDC->m_hDC;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);

    BITMAP info = {};
    if (m_background.m_hObject && ::GetObjectA(m_background.m_hObject, sizeof(info), &info)) {
        // The gradient only where the picture ends, so nothing is painted twice.
        if (info.bmWidth < client.right || info.bmHeight < client.bottom) {
            const int clip = ::SaveDC(dc);
            ::ExcludeClipRect(dc, 0, 0, info.bmWidth, info.bmHeight);
            vantor::PaintSoftGradient(dc, client);
            ::RestoreDC(dc, clip);
        }
        RECT picture = {0, 0, info.bmWidth, info.bmHeight}, part;
        vantor::MemoryDC source(dc);
        if (source.Valid() && ::IntersectRect(&part, &picture, &rect)) {
            vantor::SelectGuard select(source, m_background.m_hObject);
            ::BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, source, part.left,
                     part.top, SRCCOPY);
        }
    } else {
        vantor::PaintSoftGradient(dc, client);
    }
    ::RestoreDC(dc, saved);
}

BOOL CDlgMainWnd::OnEraseBkgnd(CDC* pDC)
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    PaintDlgNow(pDC, CRect(client));
    return TRUE;
}

CDlgChildWnd::CDlgChildWnd(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

CDlgChildWnd::~CDlgChildWnd() = default;

void CDlgChildWnd::OnOK() {}

void CDlgChildWnd::OnCancel() {}
