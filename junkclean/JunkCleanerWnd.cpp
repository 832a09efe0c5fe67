#include "junkclean/JunkCleanerWnd.h"

#include "host/ButtonColumn.h"
#include "host/HostServices.h"
#include "junkclean/DeleteProgressDlg.h"
#include "junkclean/PageLook.h"

#include <shellapi.h>
#include <vantor/Paint.h>
#include <vantres/ids_host.h>
#include <vantres/ids_junk.h>

BEGIN_MESSAGE_MAP(CJunkCleanerWnd, CDlgMainWnd)
    ON_WM_PAINT()
    ON_BN_CLICKED(IDC_JK_START, OnStart)
    ON_BN_CLICKED(IDC_JK_STOP, OnStop)
    ON_BN_CLICKED(IDC_JK_EXIT, OnExit)
    ON_BN_CLICKED(IDC_JK_OPTIONS, OnToggleOptions)
    ON_BN_CLICKED(IDC_JK_SELECT_ALL, OnSelectAll)
    ON_BN_CLICKED(IDC_JK_SELECT_NONE, OnSelectNone)
    ON_BN_CLICKED(IDC_JK_DELETE, OnDelete)
    ON_NOTIFY(NM_DBLCLK, IDC_JK_RESULTS, OnResultsDblClk)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_JK_RESULTS, OnColumnClick)
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_MESSAGE(WM_JUNK_SHOW_RESULTS, OnShowResults)
    ON_MESSAGE(WM_JUNK_REPAINT_HEADER, OnRepaintHeader)
    ON_MESSAGE(WM_JUNK_SCAN_ENDED, OnScanEnded)
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CJunkCleanerWnd::CJunkCleanerWnd(CWnd* pParent) : CDlgMainWnd(IDD_JUNK_MAIN, pParent) {
    // The option area's pages have loaded the settings by now.
    const UINT reasons[4] = {IDS_JK_REASON_MASK, IDS_JK_REASON_SHORTCUT, IDS_JK_REASON_OLD, IDS_JK_REASON_EMPTY};
    for (int i = 0; i < 4; ++i) m_reasonTexts[i] = LoadTextById(reasons[i]);
}

CJunkCleanerWnd::~CJunkCleanerWnd() {
    if (m_worker) {
        WaitForSingleObject(m_worker->m_hThread, INFINITE);
        delete m_worker;
    }
}

namespace {
// Width of the left column of the window's background picture, in its pixels.
const int kLeftColumnWidth = 172;
}  // namespace

void CJunkCleanerWnd::StretchToContentRight(CWnd* control) {
    if (!control || !control->m_hWnd) return;
    CRect place;
    control->GetWindowRect(&place);
    ScreenToClient(&place);
    if (m_contentRight > place.right) place.right = m_contentRight;
    control->MoveWindow(&place, FALSE);
}

void CJunkCleanerWnd::ShiftToContentRight(CWnd* control) {
    CRect place;
    control->GetWindowRect(&place);
    ScreenToClient(&place);
    if (m_contentRight > place.right) place.OffsetRect(m_contentRight - place.right, 0);
    control->MoveWindow(&place, FALSE);
}

BOOL CJunkCleanerWnd::OnInitDialog() {
    CDlgMainWnd::OnInitDialog();
    LoadBackground(IDB_JUNK_BACKGROUND);
    SetWindowText(LoadTextById(IDS_JUNK_INSTANCE_NAME));
    CenterWindow();  // sized by its template, in dialog units

    struct { CHoverButton* button; UINT id; UINT face; } hover[] = {
        {&m_btnStart, IDC_JK_START, IDB_FACE_START},
        {&m_btnStop, IDC_JK_STOP, IDB_FACE_STOP},
        {&m_btnOptions, IDC_JK_OPTIONS, IDB_FACE_OPTIONS},
        {&m_btnExit, IDC_JK_EXIT, IDB_FACE_EXIT},
    };
    for (auto& h : hover) {
        h.button->SubclassDlgItem(h.id, this);
        h.button->LoadBitmapA(h.face);
    }
    m_btnSelectAll.SubclassDlgItem(IDC_JK_SELECT_ALL, this);
    m_btnSelectNone.SubclassDlgItem(IDC_JK_SELECT_NONE, this);
    m_btnDelete.SubclassDlgItem(IDC_JK_DELETE, this);
    m_label.SubclassDlgItem(IDC_JK_LABEL, this);
    m_status.SubclassDlgItem(IDC_JK_STATUS, this);
    m_label.StartTimer();
    m_status.StartTimer();
    m_status.SetWindowText(" ");
    m_label.SetWindowText(LoadTextById(IDS_WAIT));

    // The results column reaches to the window's right edge, leaving the
    // margin it keeps from the left column: no blank strip at the right.
    CRect client, results;
    GetClientRect(&client);
    GetDlgItem(IDC_JK_RESULTS)->GetWindowRect(&results);
    ScreenToClient(&results);
    const int margin = results.left - kLeftColumnWidth;
    m_contentRight = client.right - margin;
    StretchToContentRight(GetDlgItem(IDC_JK_RESULTS));
    StretchToContentRight(&m_status);
    ShiftToContentRight(&m_btnDelete);

    m_list.TakeOver(this, IDC_JK_RESULTS);
    m_list.SetStore(&m_rows);
    m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB |
                            LVS_EX_INFOTIP);
    SetupJunkColumns(m_list);
    UseSuiteFont(this, m_font);
    // The panel behind the buttons leaves 6 pixels at the left; keep 3.
    FitButtonColumn({{&m_btnStart, ""}, {&m_btnStop, ""}, {&m_btnOptions, LoadTextById(IDS_JK_HIDE_OPTIONS)},
                     {&m_btnExit, ""}},
                    3);

    m_intro.Create(IDD_JUNK_INTRO, this);
    m_intro.PlaceInMainWindow();
    StretchToContentRight(&m_intro);
    m_intro.ShowWindow(SW_SHOW);
    m_options.SetNotifyWindow(this);
    m_options.Create(IDD_JUNK_OPTIONS, this);
    m_options.PlaceInMainWindow();
    StretchToContentRight(&m_options);
    m_options.ShowWindow(SW_HIDE);
    m_list.DeleteAllItems();
    m_scan.ScanInProgress = false;

    // A move folder that is gone switches the move off before anything is removed.
    RemovalOptions& removal = m_options.m_removalPage.Removal();
    if (removal.SC_MoveToFolder && !MoveFolderUsable(removal.SC_StrFolderName)) {
        removal.SC_MoveToFolder = 0;
        removal.ApplyRemovalOptions();
        AfxMessageBox(LoadTextById(IDS_JK_MOVE_FOLDER_MISSING), MB_ICONINFORMATION);
        FallBackToRecycleBin();
    }

    m_btnStart.SetFocus();
    if (CHeaderCtrl* header = m_list.GetHeaderCtrl()) m_sortHeader.SubclassWindow(header->m_hWnd);
    m_tips.Create(this);
    LOGFONT tipFont;
    ZeroMemory(&tipFont, sizeof tipFont);
    tipFont.lfHeight = 11;
    tipFont.lfWeight = FW_BOLD;
    tipFont.lfQuality = PROOF_QUALITY;
    lstrcpynA(tipFont.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    m_tips.SetLogFont(&tipFont);
    struct { CWnd* control; UINT text; } tips[] = {
        {&m_btnStart, IDS_JK_TIP_START},       {&m_btnStop, IDS_JK_TIP_STOP},
        {&m_btnOptions, IDS_JK_TIP_OPTIONS},   {&m_btnExit, IDS_JK_TIP_EXIT},
        {&m_list, IDS_JK_TIP_LIST},            {&m_btnSelectAll, IDS_JK_TIP_SELECT_ALL},
        {&m_btnSelectNone, IDS_JK_TIP_SELECT_NONE}, {&m_btnDelete, IDS_JK_TIP_DELETE},
    };
    for (auto& t : tips) m_tips.AddTool(t.control, LoadTextById(t.text));

    ShowResultsWidgets(FALSE);
    return FALSE;  // the focus is on Start
}

BOOL CJunkCleanerWnd::PreTranslateMessage(MSG* pMsg) {
    if (m_tips.m_hWnd) m_tips.RelayEvent(pMsg);
    // A right click on the list header sorts in the direction the header shows.
    if (pMsg->message == WM_RBUTTONDOWN && m_sortHeader.m_hWnd && pMsg->hwnd == m_sortHeader.m_hWnd) {
        HDHITTESTINFO hit;
        ZeroMemory(&hit, sizeof hit);
        hit.pt.x = short(LOWORD(pMsg->lParam));
        hit.pt.y = short(HIWORD(pMsg->lParam));
        int column = int(::SendMessageA(m_sortHeader.m_hWnd, HDM_HITTEST, 0, LPARAM(&hit)));
        if (column >= 0 && (hit.flags & HHT_ONHEADER)) {
            OnHeaderClick(column, true);
            return TRUE;
        }
    }
    return CDlgMainWnd::PreTranslateMessage(pMsg);
}

void CJunkCleanerWnd::ShowResultsWidgets(BOOL show) {
    const int cmd = show ? SW_SHOW : SW_HIDE;
    m_list.ShowWindow(cmd);
    m_btnSelectAll.ShowWindow(cmd);
    m_btnSelectNone.ShowWindow(cmd);
    m_btnDelete.ShowWindow(cmd);
    m_label.ShowWindow(cmd);
    m_status.ShowWindow(cmd);
}

void CJunkCleanerWnd::EnableResultButtons(BOOL enable) {
    m_btnSelectAll.EnableWindow(enable);
    m_btnSelectNone.EnableWindow(enable);
    m_btnDelete.EnableWindow(enable);
}

void CJunkCleanerWnd::ToggleJunkOptions() {
    m_junkOptionsShown = !m_junkOptionsShown;
    m_intro.ShowWindow(SW_HIDE);
    if (m_junkOptionsShown) {
        ShowResultsWidgets(FALSE);
        m_options.ShowWindow(SW_SHOW);
        m_btnOptions.SetWindowText(LoadTextById(IDS_JK_HIDE_OPTIONS));
    } else {
        m_options.ShowWindow(SW_HIDE);
        ShowResultsWidgets(TRUE);
        m_btnOptions.SetWindowText(LoadTextById(IDS_JK_SHOW_OPTIONS));
    }
    m_btnOptions.Invalidate();
}

void CJunkCleanerWnd::ShowResultsView() {
    m_options.ShowWindow(SW_HIDE);
    ShowResultsWidgets(TRUE);
}

void CJunkCleanerWnd::FallBackToRecycleBin() {
    ToggleJunkOptions();
    m_options.ShowPage(PAGE_REMOVAL);
    m_options.m_removalPage.Removal().SelectRecycleBin();
}

bool CJunkCleanerWnd::HeadingAreaToggle(CPoint point) {
    CRect client;
    GetClientRect(&client);
    CRect area(client.Width() - 180, 9, client.Width() - 34, 129);
    if (!area.PtInRect(point)) return false;
    if (m_headingToggles++ == 0) m_introByHeading = m_intro.IsWindowVisible() != FALSE;
    m_introByHeading = !m_introByHeading;
    m_junkOptionsShown = false;
    m_options.ShowWindow(SW_HIDE);
    m_btnOptions.SetWindowText(LoadTextById(IDS_JK_SHOW_OPTIONS));
    m_intro.ShowWindow(m_introByHeading ? SW_SHOW : SW_HIDE);
    ShowResultsWidgets(m_introByHeading ? FALSE : TRUE);
    return true;
}

void CJunkCleanerWnd::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (!HeadingAreaToggle(point)) Default();
}

void CJunkCleanerWnd::OnRButtonDown(UINT nFlags, CPoint point) {
    if (!HeadingAreaToggle(point)) Default();
}

void CJunkCleanerWnd::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    PaintDlgNow(&dc, client);
    PaintPanelFrame(&dc, CRect(27, 101, 134, 237));
    CBitmap corner;
    if (corner.LoadBitmap(IDB_JUNK_CORNER_PICTURE)) PaintBMP(&dc, 23, 351, 141, 121, &corner, SRCCOPY);
}

HBRUSH CJunkCleanerWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    pDC->SetBkMode(TRANSPARENT);
    return HBRUSH(SharedWhiteBrush().m_hObject);
}

void CJunkCleanerWnd::OnStart() { StartJunkScan(); }
void CJunkCleanerWnd::OnStop() { StopJunkScan(); }

void CJunkCleanerWnd::OnExit() {
    StopJunkScan();
    OnCancel();
}

void CJunkCleanerWnd::OnOK() {
    // Enter does not close the cleaner.
}

void CJunkCleanerWnd::OnCancel() {
    try {
        Sleep(0);
        m_scan.StopRequested = true;
        Sleep(0);
        StopJunkScan();
        Sleep(100);
        if (m_scan.ScanInProgress) {
            Sleep(100);
            MSG msg;
            for (int i = 0; i < 100 && PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE); ++i) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            if (m_scan.ScanInProgress) Sleep(100);
        }
    } catch (...) {
    }
    CDlgMainWnd::OnCancel();
}

void CJunkCleanerWnd::OnToggleOptions() { ToggleJunkOptions(); }

void CJunkCleanerWnd::OnSelectAll() {
    m_rows.SetTicked(-1, true);
    m_list.SyncCount(true);
}

void CJunkCleanerWnd::OnSelectNone() {
    m_rows.SetTicked(-1, false);
    m_list.SyncCount(true);
}

void CJunkCleanerWnd::OnDelete() { DeleteChecked(); }

LRESULT CJunkCleanerWnd::OnShowResults(WPARAM, LPARAM) {
    ShowResultsView();
    return 0;
}

LRESULT CJunkCleanerWnd::OnRepaintHeader(WPARAM, LPARAM) {
    if (m_sortHeader.m_hWnd) m_sortHeader.Invalidate();
    Invalidate();
    return 1;
}

void CJunkCleanerWnd::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    const NMLISTVIEW* click = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    OnHeaderClick(click->iSubItem, false);
}

void CJunkCleanerWnd::OnHeaderClick(int column, bool rightButton) {
    if (m_scan.ScanInProgress || column < 0) return;
    if (rightButton)
        m_sortAscending = m_sortHeader.m_hWnd ? m_sortHeader.GetAscending() != FALSE : true;
    else
        m_sortAscending = column == m_sortColumn ? !m_sortAscending : true;
    m_sortColumn = column;
    if (m_sortHeader.m_hWnd) m_sortHeader.SetSortImage(column, m_sortAscending);
    HCURSOR old = SetCursor(LoadCursor(NULL, IDC_WAIT));
    m_rows.SortByColumn(column, m_sortAscending);
    // The selection belonged to rows that have moved.
    m_list.SetItemState(-1, 0, LVIS_SELECTED);
    m_list.SyncCount(true);
    SetCursor(old);
}

void CJunkCleanerWnd::OnResultsDblClk(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    ShowProperties();
}

void CJunkCleanerWnd::ShowProperties() {
    int last = -1;
    for (int i = m_list.GetNextItem(-1, LVNI_SELECTED); i >= 0; i = m_list.GetNextItem(i, LVNI_SELECTED)) last = i;
    if (last < 0) return;
    CString path = m_rows.Text(last, JUNK_COL_PATH);
    SHELLEXECUTEINFOA info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    // A system without the sheet says nothing: no error box over the list.
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_FLAG_NO_UI;
    info.hwnd = m_hWnd;
    info.lpVerb = "properties";
    info.lpFile = path;
    info.nShow = SW_SHOW;
    ShellExecuteExA(&info);
    Invalidate();
}
