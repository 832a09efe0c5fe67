#include "junkclean/DeleteProgressDlg.h"

#include "host/HostServices.h"
#include "junkclean/JunkResults.h"
#include "junkclean/PageLook.h"

#include <vantor/Paint.h>
#include <vantres/ids_junk.h>

namespace {
const UINT_PTR kStartTimer = 1;
const UINT_PTR kCloseTimer = 2;
const UINT kTimerDelay = 1024;
const UINT kProgressCell = 3022;  // the progress bar's bitmap cell
}  // namespace

void WaitPumping(HANDLE handle, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (timeoutMs != INFINITE && elapsed >= timeoutMs) return;
        DWORD wait = timeoutMs == INFINITE ? INFINITE : timeoutMs - elapsed;
        DWORD rc = MsgWaitForMultipleObjects(1, &handle, FALSE, wait, QS_ALLINPUT);
        if (rc != WAIT_OBJECT_0 + 1) return;  // ended, timed out or failed
        AfxPumpPendingMessages();
    }
}

BEGIN_MESSAGE_MAP(CDeleteProgressDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CDeleteProgressDlg::CDeleteProgressDlg(DWORD mode, const CString& folder, CWnd* owner, RemovalItems& items,
                                       const JunkFindingStamps* stamps)
    : CDialog(IDD_JUNK_DELETE_PROGRESS, owner),
      m_mode(mode ? mode : DWORD(REMOVAL_RECYCLE)),
      m_folder(folder),
      m_owner(owner),
      m_items(&items),
      m_stamps(stamps),
      m_removalRunning(true),
      m_processed(0),
      m_totalRows(0) {}

CDeleteProgressDlg::CDeleteProgressDlg(DWORD mode, const CString& folder, CWnd* owner, CListCtrl* list,
                                       const JunkFindingStamps* stamps)
    : CDeleteProgressDlg(mode, folder, owner, *new ListRemovalItems(*list), stamps) {
    m_listItems.reset(static_cast<ListRemovalItems*>(m_items));
}

CDeleteProgressDlg::~CDeleteProgressDlg() {
    if (m_worker) {
        // The worker may still finish the file in hand, calling into this
        // thread's windows: keep dispatching while it ends.
        WaitPumping(m_worker->m_hThread, INFINITE);
        delete m_worker;
    }
}

BOOL CDeleteProgressDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    UseSuiteFont(this, m_font);
    m_progress.SubclassDlgItem(IDC_JKD_PROGRESS, this);
    m_progress.SetBitmap(kProgressCell, FALSE);
    m_progress.SetRange(1, 100);
    m_progress.SetPos(0);
    m_removalRunning = true;

    LOGFONT lf;
    ZeroMemory(&lf, sizeof lf);
    lf.lfHeight = 16;
    lf.lfWeight = FW_BOLD;
    lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    m_captionFont.CreateFontIndirect(&lf);
    m_bandTop.LoadBitmap(IDB_JKD_BAND_TOP);
    m_bandBottom.LoadBitmap(IDB_JKD_BAND_BOTTOM);

    CRect client;
    GetClientRect(&client);
    CRect box(client.Width() - 21, 5, client.Width() - 21 + 14, 5 + 14);
    m_close.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, box, this, IDCANCEL);
    m_close.LoadBitmapA(IDB_JKD_CLOSE_FACE);

    SetTimer(kStartTimer, kTimerDelay);
    return TRUE;
}

void CDeleteProgressDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kStartTimer) {
        KillTimer(kStartTimer);
        if (!m_worker) {
            m_worker = AfxBeginThread(RemovalWorker, this, THREAD_PRIORITY_LOWEST, 0, CREATE_SUSPENDED);
            if (m_worker) {
                m_worker->m_bAutoDelete = FALSE;
                m_worker->ResumeThread();
            }
        }
    } else if (nIDEvent == kCloseTimer) {
        KillTimer(kCloseTimer);
        Sleep(0);
        EndDialog(IDOK);
    }
}

UINT CDeleteProgressDlg::RemovalWorker(LPVOID param) {
    auto* dlg = static_cast<CDeleteProgressDlg*>(param);
    try {
        Sleep(kTimerDelay);
        dlg->m_processed = 0;
        dlg->m_totalRows = dlg->m_items->Count();
        switch (dlg->m_mode) {
        case REMOVAL_DELETE: dlg->DeletePermanently(); break;
        case REMOVAL_RECYCLE: dlg->RecyclePass(); break;
        case REMOVAL_MOVE: dlg->MovePass(); break;
        default: break;
        }
    } catch (...) {
    }
    ::PostMessageA(dlg->m_hWnd, WM_COMMAND, IDCANCEL, 0);
    return 0;
}

void CDeleteProgressDlg::OnCancel() {
    // Stop, the close box, Esc and the worker's own close all end here; the
    // dialog goes a second later, once the file in hand is done.
    m_removalRunning = false;
    if (m_closing) return;
    m_closing = true;
    Sleep(0);
    if (CWnd* stop = GetDlgItem(IDCANCEL)) stop->EnableWindow(FALSE);
    SetTimer(kCloseTimer, kTimerDelay);
    Sleep(0);
    AfxPumpPendingMessages();
}

void CDeleteProgressDlg::OnDestroy() {
    KillTimer(kStartTimer);
    KillTimer(kCloseTimer);
    m_removalRunning = false;
}

void CDeleteProgressDlg::Pause(DWORD ms) {
    Sleep(ms);
    AfxPumpPendingMessages();
}

int CDeleteProgressDlg::AskSystemFile(LPCSTR path, DWORD mode) {
    CString text;
    text.Format(CString(LoadTextById(IDS_JK_SYSTEM_FILE_WARNING)), path);
    const UINT style = MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_TASKMODAL;
    switch (mode) {
    case REMOVAL_DELETE: return ::MessageBoxA(m_hWnd, text, "Confirm Deletion", style | MB_DEFBUTTON1);
    case REMOVAL_RECYCLE: return AfxMessageBox(text, style | MB_DEFBUTTON2);
    default: return ::MessageBoxA(m_hWnd, text, "Confirm Deletion", style | MB_DEFBUTTON2);
    }
}

int CDeleteProgressDlg::AskNoRecycleBin(LPCSTR path) {
    CString text;
    // A drive that keeps no bin at all, or a bin that will not take the file.
    text.Format(CString(LoadTextById(HasRecycleBin(path) ? IDS_JKD_BIN_REFUSES : IDS_JKD_NO_RECYCLE_BIN)), path);
    // No is the default: files that cannot come back are kept unless the user says so.
    return AfxMessageBox(text, MB_YESNO | MB_ICONEXCLAMATION | MB_TASKMODAL | MB_DEFBUTTON2) == IDYES ? IDYES : IDNO;
}

void CDeleteProgressDlg::UpdateRemovalProgress(LPCSTR path) {
    SetDlgItemText(IDC_JKD_FILE, path);
    const int processed = ++m_processed;
    const int total = m_totalRows;
    CString counter;
    counter.Format("%d / %d", processed, total);
    SetDlgItemText(IDC_JKD_COUNTER, counter);
    if (total != 0) m_progress.SetPos(processed * 100 / total);
}

void CDeleteProgressDlg::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CBrush frame(RGB(90, 126, 189));
    CRect edge = client;
    dc.FrameRect(&edge, &frame);
    edge.DeflateRect(1, 1);
    dc.FrameRect(&edge, &frame);
    if (m_bandTop.m_hObject) PaintBMPStretch(&dc, 0, 0, 423, 32, &m_bandTop, SRCCOPY);
    if (m_bandBottom.m_hObject) PaintBMPStretch(&dc, 0, client.Height() - 27, 423, 32, &m_bandBottom, SRCCOPY);
    HGDIOBJ oldFont = dc.SelectObject(&m_captionFont);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(255, 255, 255));
    dc.TextOut(9, 9, CString(LoadTextById(IDS_JKD_CAPTION)));
    dc.SelectObject(oldFont);
}

void CDeleteProgressDlg::OnLButtonDown(UINT nFlags, CPoint point) {
    // A press anywhere drags the dialog, as if its caption were held.
    ReleaseCapture();
    SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, 0);
}
