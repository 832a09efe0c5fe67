// Start, Stop and Delete of the junk cleaner's main window, and the scan
// worker that walks the drives while the window stays responsive.
#include "junkclean/JunkCleanerWnd.h"

#include "host/HostServices.h"
#include "junkclean/DeleteProgressDlg.h"
#include "junkclean/ProtectedFiles.h"

#include <objbase.h>
#include <vantres/ids_host.h>
#include <vantres/ids_junk.h>

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
    m_list.DeleteAllItems();
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
    m_list.SendMessage(WM_SETREDRAW, FALSE);
    m_list.DeleteAllItems();
    m_list.Invalidate();
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
    const OtherScanOptions& other = m_options.m_otherPage.Options();
    JunkScanOptions options;
    options.FindFilesBasedOnMonth = other.FindFilesBasedOnMonth;
    options.FFNumMonths = other.FFNumMonths;
    options.SkipReadOnlyFiles = other.SkipReadOnlyFiles;
    options.FindEmptyFiles = other.FindEmptyFiles;
    options.FindInvalidShortCuts = other.FindInvalidShortCuts;
    m_scanner.SetOptions(options);

    ListResultSink sink(m_list, &m_status, m_reasonTexts, m_stamps);
    m_scanner.Run(sink, m_scan.StopRequested);

    if (m_btnOptions.m_hWnd) m_btnOptions.EnableWindow(TRUE);
    if (m_status.m_hWnd) {
        CString summary;
        summary.Format(CString(LoadTextById(IDS_JK_SUMMARY)), m_list.GetItemCount(), unsigned(m_scanner.TotalKB()));
        m_status.SetWindowText(summary);
    }
    CoUninitialize();
    EnableResultButtons(TRUE);
    m_label.SetWindowText(" ");
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate();
    m_list.UpdateWindow();
    m_scan.ScanInProgress = false;
}

void CJunkCleanerWnd::DeleteChecked() {
    if (m_list.GetItemCount() < 1) return;
    RemovalOptions& removal = m_options.m_removalPage.Removal();
    if (removal.Mode == REMOVAL_MOVE && !MoveFolderUsable(removal.SC_StrFolderName)) {
        AfxMessageBox(LoadTextById(IDS_JK_MOVE_FOLDER_MISSING), MB_ICONINFORMATION);
        FallBackToRecycleBin();
        return;
    }
    m_list.SendMessage(WM_SETREDRAW, FALSE);
    bool anyTicked = false;
    for (int i = 0; i < m_list.GetItemCount() && !anyTicked; ++i) anyTicked = m_list.GetCheck(i) != FALSE;
    if (anyTicked) {
        CDeleteProgressDlg dlg(removal.Mode, removal.SC_StrFolderName, this, &m_list, &m_stamps);
        m_list.ShowWindow(SW_HIDE);
        dlg.DoModal();
    }
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate();
    m_list.ShowWindow(SW_SHOW);
}
