#include "regclean/RegCleanWindow.h"

#include "regclean/RegEditNavigator.h"
#include "regclean/RegistryScanner.h"
#include "regclean/Removal.h"
#include "regclean/Sections.h"
#include "regclean/UndoStore.h"

#include "host/ButtonColumn.h"
#include "host/GuardedCall.h"
#include "host/HostServices.h"
#include "host/ResourceScope.h"
#include "vantres/ids_host.h"
#include "vantres/ids_junk.h"
#include "vantres/ids_regclean.h"

#include <vantor/Paint.h>

namespace {
// While a scan runs: the rows found and the key walked reach the window this often.
const UINT_PTR kProgressTimer = 0x5C01;
const UINT kProgressMs = 250;
// The worker's one call into the window, when the scan ends.
const UINT WM_RC_SCAN_ENDING = WM_APP + 0x5C;
}  // namespace

// The worker's sink: findings go to the window's store and the walk status
// to a slot the window shows now and then, so the worker never waits for
// the window while it walks. At the end the window takes the last rows and
// goes back to idle; the count line follows.
class RegCleanWindow::WindowSink : public ScanSink {
public:
    explicit WindowSink(RegCleanWindow& window) : m_window(window) {}
    void Begin() { m_ended = false; }
    void AddFinding(const char* keyPath, const char* valueName, const char* data) override
    {
        const char* texts[3] = {keyPath, valueName ? valueName : "", data ? data : ""};
        m_window.m_findings.Append(texts);
    }
    void ShowStatus(const char* text) override
    {
        if (!m_ended) {
            m_window.m_walkStatus.Put(text);
            return;
        }
        HWND status = m_window.m_status.m_hWnd;
        if (::IsWindow(status)) ::SetWindowTextA(status, text);
    }
    int RowCount() const override { return m_window.m_findings.Count(); }
    void ScanEnding() override
    {
        // From here on only the count line is left to show: the window may
        // take commands again.
        m_window.m_flags.Scanning = false;
        if (::IsWindow(m_window.m_hWnd)) ::SendMessageA(m_window.m_hWnd, WM_RC_SCAN_ENDING, 0, 0);
        m_ended = true;
    }

private:
    RegCleanWindow& m_window;
    bool m_ended = false;
};

RegCleanWindow::RegCleanWindow(CWnd* pParent) : CDlgMainWnd(IDD_REGCLEAN_MAIN, pParent), m_undoPanel(nullptr) {}

RegCleanWindow::~RegCleanWindow()
{
    // The worker holds this object: it ends within one value once told.
    m_flags.KeepGoing = false;
    WaitForWorker(INFINITE);
    delete m_sink;
}

BEGIN_MESSAGE_MAP(RegCleanWindow, CDlgMainWnd)
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
    ON_WM_SYSCOMMAND()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_RC_SCAN_ENDING, OnScanEnding)
    ON_BN_CLICKED(IDC_RC_START, OnStart)
    ON_BN_CLICKED(IDC_RC_STOP, OnStop)
    ON_BN_CLICKED(IDC_RC_OPTIONS, OnToggleOptions)
    ON_BN_CLICKED(IDC_RC_UNDO, OnToggleUndo)
    ON_BN_CLICKED(IDC_RC_EXIT, OnExit)
    ON_BN_CLICKED(IDC_RC_SELECT_ALL, OnSelectAll)
    ON_BN_CLICKED(IDC_RC_SELECT_NONE, OnSelectNone)
    ON_BN_CLICKED(IDC_RC_DELETE, OnDelete)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_RC_SECTIONS, OnSectionChanged)
    ON_NOTIFY(NM_DBLCLK, IDC_RC_RESULTS, OnResultDblClk)
END_MESSAGE_MAP()

void RegCleanWindow::DoDataExchange(CDataExchange* pDX)
{
    CDlgMainWnd::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RC_START, m_start);
    DDX_Control(pDX, IDC_RC_STOP, m_stop);
    DDX_Control(pDX, IDC_RC_OPTIONS, m_options);
    DDX_Control(pDX, IDC_RC_UNDO, m_undo);
    DDX_Control(pDX, IDC_RC_EXIT, m_exit);
    DDX_Control(pDX, IDC_RC_SELECT_ALL, m_selectAll);
    DDX_Control(pDX, IDC_RC_SELECT_NONE, m_selectNone);
    DDX_Control(pDX, IDC_RC_DELETE, m_delete);
    DDX_Control(pDX, IDC_RC_SECTIONS, m_sections);
    DDX_Control(pDX, IDC_RC_STATUS, m_status);
}

CRect RegCleanWindow::ContentArea() const
{
    CRect area;
    SetCRectPos(area, REGCLEAN_CONTENT_X, REGCLEAN_CONTENT_Y, REGCLEAN_CONTENT_W, REGCLEAN_CONTENT_H);
    ::MapDialogRect(m_hWnd, &area);
    return area;
}

BOOL RegCleanWindow::OnInitDialog()
{
    ResourceScope resources("vantres.dll");
    CDlgMainWnd::OnInitDialog();
    LoadBackground(IDB_REGCLEAN_BACKGROUND);
    // The caption doubles as the instance name a second start looks for.
    SetWindowText(LoadTextById(IDS_REGCLEAN_INSTANCE_NAME));

    m_start.LoadBitmapA(IDB_FACE_START);
    m_stop.LoadBitmapA(IDB_FACE_STOP);
    m_options.LoadBitmapA(IDB_FACE_OPTIONS);
    m_undo.LoadBitmapA(IDB_FACE_UNDO);
    m_exit.LoadBitmapA(IDB_FACE_EXIT);
    m_results.TakeOver(this, IDC_RC_RESULTS);
    m_results.SetStore(&m_findings);

    const DWORD listStyle = LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB;  // 0x125
    m_results.SetExtendedStyle(listStyle);
    m_sections.SetExtendedStyle(listStyle);
    CRect results;
    m_results.GetClientRect(&results);
    const int w = results.Width() / 5;
    m_sections.InsertColumn(0, LoadTextById(IDS_RC_COL_SECTION), LVCFMT_LEFT, 2 * w - 5);
    m_sections.InsertColumn(1, LoadTextById(IDS_RC_COL_DESCRIPTION), LVCFMT_LEFT, 3 * w);
    m_results.InsertColumn(0, LoadTextById(IDS_RC_COL_PATH), LVCFMT_LEFT, 3 * w);
    m_results.InsertColumn(1, LoadTextById(IDS_RC_COL_VALUE), LVCFMT_LEFT, w);
    m_results.InsertColumn(2, LoadTextById(IDS_RC_COL_DATA), LVCFMT_LEFT, 5 * w);

    m_filling = true;
    FillSectionList(m_sections);
    m_filling = false;
    m_options.SetWindowText(LoadTextById(IDS_RC_SHOW_OPTIONS));
    m_optionsShown = false;

    m_undoPanel.Create(IDD_REGCLEAN_UNDO, this);
    SetContentArea(m_undoPanel);
    m_undoPanel.ShowWindow(SW_HIDE);

    m_font.CreateFont(15, 0, 0, 0, 400, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::SendMessageA(child, WM_SETFONT, WPARAM(HFONT(m_font)), TRUE);
    // The panel behind the buttons leaves 13 pixels each side; keep 6 of them.
    FitButtonColumn({{&m_start, ""}, {&m_stop, ""}, {&m_options, LoadTextById(IDS_RC_HIDE_OPTIONS)}, {&m_undo, ""},
                     {&m_exit, ""}},
                    7);

    ShowResultButtons(false);
    m_stop.EnableWindow(FALSE);
    m_status.SetColors(RGB(0, 51, 153), CLR_DEFAULT);
    m_status.StartTimer();
    m_sink = new WindowSink(*this);
    return TRUE;
}

void RegCleanWindow::SetContentArea(CWnd& control)
{
    CRect area = ContentArea();
    control.MoveWindow(area.left, area.top, area.Width(), area.Height());
}

void RegCleanWindow::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    PaintDlgNow(&dc, client);
    CRect frame = ContentArea();
    frame.InflateRect(6, 6);
    PaintPanelFrame(&dc, frame);
}

HBRUSH RegCleanWindow::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    pDC->SetBkMode(TRANSPARENT);
    return SharedWhiteBrush();
}

void RegCleanWindow::ShowResultButtons(bool show)
{
    const int cmd = show ? SW_SHOW : SW_HIDE;
    m_selectAll.ShowWindow(cmd);
    m_selectNone.ShowWindow(cmd);
    m_delete.ShowWindow(cmd);
}

void RegCleanWindow::EnableResultButtons(bool enable)
{
    m_selectAll.EnableWindow(enable);
    m_selectNone.EnableWindow(enable);
    m_delete.EnableWindow(enable);
}

// ---- scanning -------------------------------------------------------------

void RegCleanWindow::OnStart()
{
    if (m_flags.Scanning) return;
    WaitForWorker(INFINITE);  // the last one has ended already; its handle goes
    m_flags.KeepGoing = true;
    m_flags.Scanning = true;
    m_sink->Begin();
    m_walkStatus.Drop();
    m_findings.Clear();
    m_results.SyncCount(true);
    SetTimer(kProgressTimer, kProgressMs);
    m_status.ShowWindow(SW_SHOW);
    m_start.EnableWindow(FALSE);
    m_options.EnableWindow(FALSE);
    m_undo.EnableWindow(FALSE);
    m_exit.EnableWindow(FALSE);
    m_stop.EnableWindow(TRUE);
    ShowResultButtons(true);
    EnableResultButtons(false);
    m_worker = AfxBeginThread(ScanThread, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!m_worker) {
        m_flags.Scanning = false;
        KillTimer(kProgressTimer);
        SetControlsIdle();
        return;
    }
    m_worker->m_bAutoDelete = FALSE;
    m_worker->ResumeThread();
}

UINT RegCleanWindow::ScanThread(LPVOID param)
{
    RegCleanWindow* window = static_cast<RegCleanWindow*>(param);
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    // A fault or an exception inside the scan ends it here, as Stop would:
    // the rows found so far stay and the window goes back to idle.
    if (!GuardedCall([](void* self) { static_cast<RegCleanWindow*>(self)->RunScan(); }, window)) {
        window->m_flags.KeepGoing = false;
        GuardedCall([](void* self) {
            RegCleanWindow* w = static_cast<RegCleanWindow*>(self);
            if (::IsWindow(w->m_hWnd)) ShowScanOutcome(w->m_flags, *w->m_sink);
        }, window);
    }
    window->m_flags.Scanning = false;
    return 0;
}

void RegCleanWindow::RunScan()
{
    PrepareForScan();
    const SectionSwitches switches = ReadSectionSwitches();
    if (!::IsWindow(m_hWnd)) return;
    RunRegistryScan(m_flags, *m_sink, m_probe, switches);
}

void RegCleanWindow::PrepareForScan()
{
    m_status.SetWindowText("");
    m_status.SetWindowText(LoadTextById(IDS_RC_ANALYSING));
    m_options.SetWindowText(LoadTextById(IDS_RC_SHOW_OPTIONS));
    m_optionsShown = false;
    m_sections.ShowWindow(SW_HIDE);
    m_results.ShowWindow(SW_SHOW);
    m_results.DeleteAllItems();
    if (m_undoShown) {
        m_undoShown = false;
        m_undoPanel.ShowWindow(SW_HIDE);
    }
}

void RegCleanWindow::SetControlsIdle()
{
    m_start.EnableWindow(TRUE);
    m_stop.EnableWindow(FALSE);
    m_options.EnableWindow(TRUE);
    m_undo.EnableWindow(TRUE);
    m_exit.EnableWindow(TRUE);
    EnableResultButtons(true);
    m_results.EnableWindow(TRUE);
    m_sections.EnableWindow(TRUE);
}

void RegCleanWindow::ShowProgress()
{
    m_results.SyncCount();
    CString text;
    if (m_walkStatus.Take(text)) m_status.SetWindowText(text);
}

void RegCleanWindow::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kProgressTimer)
        ShowProgress();
    else
        CDlgMainWnd::OnTimer(nIDEvent);
}

LRESULT RegCleanWindow::OnScanEnding(WPARAM, LPARAM)
{
    KillTimer(kProgressTimer);
    ShowProgress();
    SetControlsIdle();
    return 0;
}

void RegCleanWindow::OnDestroy()
{
    KillTimer(kProgressTimer);
    CDlgMainWnd::OnDestroy();
}

void RegCleanWindow::StopScan()
{
    m_flags.KeepGoing = false;
    m_status.StopTimer();
    for (int round = 0; round < 4; ++round) {
        if (round == 3 && m_flags.Scanning) ::Sleep(100);
        ::Sleep(0);
        AfxPumpPendingMessages();
    }
    if (!m_undoShown && !m_optionsShown) {
        m_status.ShowWindow(SW_SHOW);
        ShowResultButtons(true);
    }
    EnableResultButtons(true);
    m_options.EnableWindow(TRUE);
    m_undo.EnableWindow(TRUE);
    m_exit.EnableWindow(TRUE);
    m_results.EnableWindow(TRUE);
    m_sections.EnableWindow(TRUE);
    m_status.StartTimer();
}

void RegCleanWindow::WaitForWorker(DWORD timeoutMs)
{
    if (!m_worker) return;
    const DWORD start = ::GetTickCount();
    HANDLE thread = m_worker->m_hThread;
    for (;;) {
        DWORD elapsed = ::GetTickCount() - start;
        DWORD left = timeoutMs == INFINITE ? INFINITE : (elapsed >= timeoutMs ? 0 : timeoutMs - elapsed);
        // The worker talks to the window by sent messages: keep them flowing.
        DWORD wait = ::MsgWaitForMultipleObjects(1, &thread, FALSE, left, QS_SENDMESSAGE);
        if (wait == WAIT_OBJECT_0) break;
        if (wait != WAIT_OBJECT_0 + 1) return;  // still running: keep the handle
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    delete m_worker;
    m_worker = nullptr;
}

void RegCleanWindow::OnStop() { StopScan(); }

void RegCleanWindow::OnExit()
{
    if (m_flags.Scanning || m_flags.KeepGoing) StopScan();
    WaitForWorker(10000);
    m_status.StopTimer();
    CDlgMainWnd::OnCancel();
}

void RegCleanWindow::OnCancel()
{
    m_status.StopTimer();
    StopScan();
    WaitForWorker(10000);
    CDlgMainWnd::OnCancel();
}

void RegCleanWindow::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == SC_CLOSE) {
        StopScan();
        WaitForWorker(10000);
    }
    CDlgMainWnd::OnSysCommand(nID, lParam);
}

// ---- views ----------------------------------------------------------------

void RegCleanWindow::OnToggleOptions()
{
    m_undoShown = false;
    m_undoPanel.ShowWindow(SW_HIDE);
    m_optionsShown = !m_optionsShown;
    const int results = m_optionsShown ? SW_HIDE : SW_SHOW;
    m_options.SetWindowText(LoadTextById(m_optionsShown ? IDS_RC_HIDE_OPTIONS : IDS_RC_SHOW_OPTIONS));
    m_results.ShowWindow(results);
    m_sections.ShowWindow(m_optionsShown ? SW_SHOW : SW_HIDE);
    ShowResultButtons(!m_optionsShown);
    m_status.ShowWindow(results);
}

void RegCleanWindow::OnToggleUndo()
{
    m_undoShown = !m_undoShown;
    m_optionsShown = false;
    m_options.SetWindowText(LoadTextById(IDS_RC_SHOW_OPTIONS));
    m_sections.ShowWindow(SW_HIDE);
    const int others = m_undoShown ? SW_HIDE : SW_SHOW;
    m_status.ShowWindow(others);
    m_results.ShowWindow(others);
    ShowResultButtons(!m_undoShown);
    if (m_undoShown) m_undoPanel.RefillUndoList();
    m_undoPanel.ShowWindow(m_undoShown ? SW_SHOW : SW_HIDE);
}

// ---- results --------------------------------------------------------------

void RegCleanWindow::OnSelectAll()
{
    m_findings.SetTicked(-1, true);
    m_results.SyncCount(true);
}

void RegCleanWindow::OnSelectNone()
{
    m_findings.SetTicked(-1, false);
    m_results.SyncCount(true);
}

RegistryFinding RegCleanWindow::FindingAt(int row) const
{
    RegistryFinding finding;
    finding.KeyPath = m_findings.Text(row, 0);
    finding.ValueName = m_findings.Text(row, 1);
    finding.Data = m_findings.Text(row, 2);
    return finding;
}

void RegCleanWindow::OnDelete()
{
    if (m_flags.Scanning) return;
    const int rows = m_results.ShownCount();
    std::vector<RegistryFinding> chosen;
    std::vector<int> chosenRows;
    for (int row = 0; row < rows; ++row) {
        if (!m_findings.Ticked(row)) continue;
        chosenRows.push_back(row);
        chosen.push_back(FindingAt(row));
    }
    std::vector<bool> removed;
    RemovalOutcome outcome = RemoveFindings(chosen, UndoFolder(), removed);
    if (!outcome.written) {
        AfxMessageBox(IDS_RC_UNDO_WRITE_FAILED, MB_ICONERROR);
        return;
    }
    // A row goes when its value is gone; one whose value is still there (it
    // could not be deleted) stays listed and ticked.
    std::vector<bool> gone(size_t(rows), false);
    for (size_t k = 0; k < chosenRows.size(); ++k) gone[size_t(chosenRows[k])] = removed[k];
    m_findings.RemoveRows(gone);
    m_results.SyncCount(true);
    CString count;
    count.Format(LoadTextById(IDS_RC_FOUND_COUNT), m_findings.Count());
    m_status.SetWindowText("");
    m_status.SetWindowText(count);
    m_undoPanel.RefillUndoList();
}

void RegCleanWindow::OnSectionChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    if (m_filling || change->iItem < 0 || !(change->uChanged & LVIF_STATE)) return;
    // Only the check box (the state image) is a switch; selection is not.
    if (((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK) == 0) return;
    SaveSectionSwitch(m_sections, change->iItem);
}

void RegCleanWindow::OnResultDblClk(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (m_flags.Scanning) return;
    const NMITEMACTIVATE* item = reinterpret_cast<const NMITEMACTIVATE*>(pNMHDR);
    int row = item->iItem;
    if (row < 0) row = m_results.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0) return;
    ShowInRegistryEditor(FindingAt(row));
}
