#include "regbackup/BackupMainWnd.h"

#include <ctime>
#include <vantor/Paint.h>
#include <vantor/Registry.h>
#include <vantres/ids_backup.h>
#include <vantres/ids_host.h>
#include <vantres/ids_junk.h>

#include "host/HostServices.h"
#include "regbackup/BackupMessages.h"
#include "regbackup/BackupPlatform.h"
#include "regbackup/ToolFont.h"

BEGIN_MESSAGE_MAP(CBackupMainWnd, CDlgMainWnd)
    ON_BN_CLICKED(IDC_BK_BACKUP, OnBackupButton)
    ON_BN_CLICKED(IDC_BK_LOCATE, OnLocateButton)
    ON_BN_CLICKED(IDC_BK_RESTORE, OnRestoreButton)
    ON_BN_CLICKED(IDC_BK_OPTIONS, OnOptionsButton)
    ON_BN_CLICKED(IDC_BK_EXIT, OnExitButton)
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
    ON_MESSAGE(WM_SHOW_DEFAULT_PAGE, OnShowDefaultPage)
    ON_MESSAGE(WM_SETS_CHANGED, OnSetsChanged)
    ON_MESSAGE(WM_BACKUP_DONE, OnBackupDone)
END_MESSAGE_MAP()

CBackupMainWnd::CBackupMainWnd(CWnd* pParent)
    : CDlgMainWnd(IDD_BACKUP_MAIN, pParent),
      m_pCurrent(this),
      m_bHome(true),
      m_bBackupShown(false),
      m_bLocateShown(false),
      m_bRestoreShown(false)
{
}

void CBackupMainWnd::DoDataExchange(CDataExchange* pDX)
{
    CDlgMainWnd::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BK_BACKUP, m_btnBackup);
    DDX_Control(pDX, IDC_BK_LOCATE, m_btnLocate);
    DDX_Control(pDX, IDC_BK_RESTORE, m_btnRestore);
    DDX_Control(pDX, IDC_BK_OPTIONS, m_btnOptions);
    DDX_Control(pDX, IDC_BK_EXIT, m_btnExit);
}

BOOL CBackupMainWnd::OnInitDialog()
{
    CDlgMainWnd::OnInitDialog();
    // The caption is the instance name: a second start finds this window by it.
    SetWindowText(LoadTextById(IDS_REGBACKUP_INSTANCE_NAME));
    LoadBackground(IDB_BACKUP_BACKGROUND);

    CreateToolFont(m_font, 16, 500);
    SetFontOnChildren(*this, m_font);
    LOGFONTA text = {};
    if (!ReadLogFont(text)) {
        text.lfHeight = 15;
        text.lfCharSet = DEFAULT_CHARSET;
        lstrcpyA(text.lfFaceName, "Tahoma");
    }
    m_textFont.CreateFontIndirect(&text);

    m_btnBackup.LoadBitmapA(IDB_FACE_BACKUP);
    m_btnLocate.LoadBitmapA(IDB_FACE_LOCATE);
    m_btnRestore.LoadBitmapA(IDB_FACE_RESTORE);
    m_btnOptions.LoadBitmapA(IDB_FACE_OPTIONS);
    m_btnExit.LoadBitmapA(IDB_FACE_EXIT);

    // The pages sit inside the panel's frame, which stays visible around them.
    CRect area = PageRect();
    area.DeflateRect(6, 6);
    CDialog* pages[] = {&m_pageBackup, &m_pageLocate, &m_pageRestore};
    m_pageBackup.Create(this);
    m_pageLocate.Create(this);
    m_pageRestore.Create(this);
    for (CDialog* page : pages) {
        if (!page->GetSafeHwnd()) continue;
        page->SetWindowPos(NULL, area.left, area.top, area.Width(), area.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        page->ShowWindow(SW_HIDE);
    }
    ShowPage(this);
    return TRUE;
}

CRect CBackupMainWnd::PageRect() const
{
    CRect area(BACKUP_PAGE_X, BACKUP_PAGE_Y, BACKUP_PAGE_X + 295, BACKUP_PAGE_Y + 220);
    MapDialogRect(GetSafeHwnd(), &area);
    CRect client;
    GetClientRect(&client);
    if (area.right > client.right - 4) area.right = client.right - 4;
    if (area.bottom > client.bottom - 4) area.bottom = client.bottom - 4;
    return area;
}

void CBackupMainWnd::ShowPage(CWnd* p)
{
    if (m_pCurrent && m_pCurrent != this && m_pCurrent->GetSafeHwnd()) m_pCurrent->ShowWindow(SW_HIDE);
    if (p == this) {
        m_pCurrent = this;
        m_bHome = true;
        m_bBackupShown = m_bLocateShown = m_bRestoreShown = false;
    } else {
        m_bHome = false;
        p->ShowWindow(SW_SHOW);
        m_pCurrent = p;
    }
    Invalidate();
}

void CBackupMainWnd::OnBackupButton()
{
    m_bBackupShown = !m_bBackupShown;
    if (!m_bBackupShown) {
        ShowPage(this);
        return;
    }
    m_bLocateShown = m_bRestoreShown = false;
    ShowPage(&m_pageBackup);
}

void CBackupMainWnd::OnLocateButton()
{
    m_bLocateShown = !m_bLocateShown;
    if (!m_bLocateShown) {
        ShowPage(this);
        return;
    }
    m_bBackupShown = m_bRestoreShown = false;
    ShowPage(&m_pageLocate);
}

void CBackupMainWnd::OnRestoreButton()
{
    m_bRestoreShown = !m_bRestoreShown;
    if (!m_bRestoreShown) {
        ShowPage(this);
        return;
    }
    m_bBackupShown = m_bLocateShown = false;
    ShowPage(&m_pageRestore);
}

void CBackupMainWnd::OnOptionsButton()
{
    // This tool has nothing to set: say so rather than do nothing at all.
    BackupPlatform().Ask(GetSafeHwnd(), LoadTextById(IDS_BK_OPTIONS_NONE), NULL, MB_OK | MB_ICONINFORMATION);
}

void CBackupMainWnd::OnExitButton() { EndDialog(IDOK); }

CString CBackupMainWnd::CountLine() const
{
    CString line;
    line.Format(LoadTextById(IDS_BK_HOME_COUNT), m_pageRestore.SetCount());
    return line;
}

CString CBackupMainWnd::LastBackupLine() const
{
    DWORD last = 0;
    CRegistry registry(HKEY_CURRENT_USER);
    if (registry.Open(HKEY_CURRENT_USER, CDlgChildWnd::m_strSettingsPath, TRUE)) {
        if (!registry.VerifyValue("LastRegBackup") || !registry.ReadDWORD("LastRegBackup", last)) last = 0;
        registry.Close();
    }
    if (last == 0) return CString(LoadTextById(IDS_BK_LAST_NEVER));
    time_t when = time_t(last);
    struct tm* local = localtime(&when);
    const char* text = local ? asctime(local) : NULL;
    CString line(LoadTextById(IDS_BK_LAST_PREFIX));
    if (text) {
        line += text;
        line.TrimRight();  // asctime ends with a line break
    }
    return line;
}

void CBackupMainWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    PaintDlgNow(&dc, client);
    const CRect area = PageRect();
    PaintPanelFrame(&dc, area);
    if (!m_bHome) return;

    CRect text(area);
    text.DeflateRect(16, 14);
    dc.SetBkMode(TRANSPARENT);
    HGDIOBJ old = dc.SelectObject(&m_textFont);
    dc.SetTextColor(RGB(45, 27, 144));
    const CString paragraphs[] = {CString(LoadTextById(IDS_BK_HOME_TEXT1)), CString(LoadTextById(IDS_BK_HOME_TEXT2))};
    for (const CString& paragraph : paragraphs) {
        CRect measure(text);
        dc.DrawText(paragraph, &measure, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
        dc.DrawText(paragraph, &text, DT_WORDBREAK | DT_NOPREFIX);
        text.top += measure.Height() + 12;
    }
    dc.SelectObject(&m_font);
    dc.SetTextColor(RGB(0, 0, 128));
    const CString lines[] = {CountLine(), LastBackupLine()};
    for (const CString& line : lines) {
        dc.DrawText(line, &text, DT_SINGLELINE | DT_NOPREFIX);
        text.top += 26;
    }
    dc.SelectObject(old);
}

HBRUSH CBackupMainWnd::OnCtlColor(CDC* pDC, CWnd*, UINT nCtlColor) { return ToolCtlColor(pDC, nCtlColor); }

LRESULT CBackupMainWnd::OnShowDefaultPage(WPARAM, LPARAM)
{
    ShowPage(this);
    return 1;
}

LRESULT CBackupMainWnd::OnSetsChanged(WPARAM, LPARAM)
{
    m_pageRestore.FillList();
    Invalidate();
    return 0;
}

LRESULT CBackupMainWnd::OnBackupDone(WPARAM, LPARAM)
{
    m_pageRestore.FillList();
    Invalidate();
    return 0;
}
