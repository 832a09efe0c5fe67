// Start, Stop and Delete of the junk cleaner's main window, and the scan
// worker that walks the drives while the window stays responsive.
#include "junkclean/JunkCleanerWnd.h"

#include "host/HostServices.h"
#include "junkclean/DeleteProgressDlg.h"
#include "junkclean/ProtectedFiles.h"

#include <objbase.h>
#include <vantres/ids_host.h>
#include <vantres/ids_junk.h>

namespace {
// While a walk runs: the rows found and the folder walked reach the window this often.
const UINT_PTR kProgressTimer = 0x5D01;
const UINT kProgressMs = 250;
}  // namespace

void CJunkCleanerWnd::StartJunkScan() {
    m_intro.ShowWindow(SW_HIDE);
    EnableResultButtons(FALSE);
    const bool workerAlive = m_worker && WaitForSingleObject(m_worker->m_hThread, 0) == WAIT_TIMEOUT;
    if (m_scan.ScanInProgress || workerAlive) {
        // A walk is under way: only bring its results back into view.
        m_options.ShowWindow(SW_HIDE);
        ShowResultsWidgets(TRUE);
        return;
    }
    m_status.SetWindowText(" ");
    m_label.SetWindowText(LoadTextById(IDS_JK_ANALYSING));
    m_rows.Clear();
    m_walkFolder.Drop();
    m_list.SyncCount(true);
    m_junkOptionsShown = false;
    m_options.ShowWindow(SW_HIDE);
    ShowResultsWidgets(TRUE);
    m_btnOptions.SetWindowText(LoadTextById(IDS_JK_SHOW_OPTIONS));
    m_btnOptions.EnableWindow(FALSE);
    m_scan.StopRequested = false;

    delete m_worker;
    m_worker = AfxBeginThread(JunkScanWorker, this, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
    if (m_worker) {
        m_worker->m_bAutoDelete = FALSE;
        SetTimer(kProgressTimer, kProgressMs);
        m_worker->ResumeThread();
    }
    Sleep(100);
}

void CJunkCleanerWnd::StopJunkScan() {
    try {
        Sleep(0);
        m_scan.StopRequested = true;
        Sleep(0);
        Sleep(128);
        // The worker changes this window's controls through this thread, so
        // the wait keeps dispatching.
        if (m_scan.ScanInProgress && m_worker) WaitPumping(m_worker->m_hThread, INFINITE);
        EnableResultButtons(TRUE);
        m_label.SetWindowText(" ");
        m_btnOptions.EnableWindow(TRUE);
    } catch (...) {
    }
}

UINT CJunkCleanerWnd::JunkScanWorker(LPVOID param) {
    static_cast<CJunkCleanerWnd*>(param)->RunScan();
    return 0;
}

void CJunkCleanerWnd::RunScan() {
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    const CString windowsTail = WindowsDirTail();
    EnableResultButtons(FALSE);
    m_label.SetWindowText(LoadTextById(IDS_JK_ANALYSING));
    bool expected = false;
    if (!m_scan.ScanInProgress.compare_exchange_strong(expected, true)) {
        CoUninitialize();
        return;  // another walk holds the list
    }
    ++m_scan.WalksStarted;
    Sleep(0);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    // Start emptied the rows; the window shows them as they come.
    m_stamps.Clear();

    // The settings as the pages hold them now; a change during the walk counts next time.
    char slots[DRIVE_SLOTS * DRIVE_SLOT_SIZE];
    short count = 0;
    m_options.m_drivesPage.Drives().ScanDrives(slots, count);
    m_scanner.SetDrives(slots, count);
    CStringArray masks, safe;
    m_options.m_filtersPage.Filters().EnabledMasks(masks);
    m_scanner.SetMasks(masks);
    m_options.m_foldersPage.SafeFolders().ScanSafeFolders(safe);
    m_scanner.SetSafeFolders(safe, windowsTail);
    m_scanner.SetOptions(ScanOptionsOf(m_options.m_otherPage.Options()));
    // Files moved out earlier are not junk to be moved again.
    const RemovalOptions& removal = m_options.m_removalPage.Removal();
    const bool moving = removal.Mode == REMOVAL_MOVE && MoveFolderUsable(removal.SC_StrFolderName);
    m_scanner.SetKeptOutFolder(moving ? removal.SC_StrFolderName : CString());

    StoreResultSink sink(m_rows, m_walkFolder, m_reasonTexts, m_stamps);
    m_scanner.Run(sink, m_scan.StopRequested);

    // The one call into the window for the whole walk: the last rows show and
    // no folder text comes after the summary.
    if (::IsWindow(m_hWnd)) ::SendMessageA(m_hWnd, WM_JUNK_SCAN_ENDED, 0, 0);
    if (m_btnOptions.m_hWnd) m_btnOptions.EnableWindow(TRUE);
    if (m_status.m_hWnd) {
        CString summary;
        summary.Format(CString(LoadTextById(IDS_JK_SUMMARY)), m_rows.Count(), unsigned(m_scanner.TotalKB()));
        m_status.SetWindowText(summary);
    }
    CoUninitialize();
    EnableResultButtons(TRUE);
    m_label.SetWindowText(" ");
    m_scan.ScanInProgress = false;
}

void CJunkCleanerWnd::ShowProgress() {
    m_list.SyncCount();
    CString folder;
    if (m_walkFolder.Take(folder)) m_status.SetWindowText(folder);
}

void CJunkCleanerWnd::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kProgressTimer)
        ShowProgress();
    else
        CDlgMainWnd::OnTimer(nIDEvent);
}

LRESULT CJunkCleanerWnd::OnScanEnded(WPARAM, LPARAM) {
    KillTimer(kProgressTimer);
    m_walkFolder.Drop();
    m_list.SyncCount();
    return 0;
}

void CJunkCleanerWnd::OnDestroy() {
    KillTimer(kProgressTimer);
    CDlgMainWnd::OnDestroy();
}

void CJunkCleanerWnd::DeleteChecked() {
    if (m_rows.Count() < 1) return;
    RemovalOptions& removal = m_options.m_removalPage.Removal();
    if (removal.Mode == REMOVAL_MOVE && !MoveFolderUsable(removal.SC_StrFolderName)) {
        AfxMessageBox(LoadTextById(IDS_JK_MOVE_FOLDER_MISSING), MB_ICONINFORMATION);
        FallBackToRecycleBin();
        return;
    }
    m_list.SendMessage(WM_SETREDRAW, FALSE);
    if (m_rows.TickedCount() > 0) {
        StoreRemovalItems items(m_rows);
        m_list.ShowWindow(SW_HIDE);
        RunRemoval(removal.Mode, removal.SC_StrFolderName, items);
        // The rows of the files that went leave the list.
        m_rows.RemoveRows(items.Gone());
        m_list.SyncCount(true);
    }
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate();
    m_list.ShowWindow(SW_SHOW);
}

void CJunkCleanerWnd::RunRemoval(DWORD mode, const CString& folder, RemovalItems& items) {
    CDeleteProgressDlg dlg(mode, folder, this, items, &m_stamps);
    dlg.DoModal();
}
