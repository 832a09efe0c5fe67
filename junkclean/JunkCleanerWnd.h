// The junk-file cleaner's main window (template 219): the introduction, the
// option area or the results of the last scan, with Start, Stop, the
// options button and Exit on the left, and Select all, Unselect and Delete
// under the results.
#pragma once

#include "junkclean/IntroPanel.h"
#include "junkclean/JunkResults.h"
#include "junkclean/JunkScanner.h"
#include "junkclean/OptionsContainer.h"

#include <afxwin.h>
#include <vantor/DlgMainWnd.h>
#include <vantor/GuiButton.h>
#include <vantor/HoverButton.h>
#include <vantor/SortHeader.h>
#include <vantor/StaticFader.h>
#include <vantor/ToolTipCtrl.h>
#include <xtlist/XTVirtualList.h>

#include <atomic>

// Message to the main window: repaint the list header and the window.
#define WM_JUNK_REPAINT_HEADER 0x8028
// From the scan worker, once, when its walk has ended: show the last rows.
#define WM_JUNK_SCAN_ENDED (WM_APP + 0x5D)

// What the window thread and the scan worker share; plain flags, atomic.
struct JunkScanState {
    std::atomic<bool> ScanInProgress{false};
    std::atomic<bool> StopRequested{false};
    std::atomic<int> WalksStarted{0};
};

class CJunkCleanerWnd : public CDlgMainWnd {
public:
    explicit CJunkCleanerWnd(CWnd* pParent = NULL);
    ~CJunkCleanerWnd() override;

    void StartJunkScan();
    void StopJunkScan();
    void DeleteChecked();
    void ToggleJunkOptions();
    void ShowResultsView();

    COptionsContainer& OptionArea() { return m_options; }
    CIntroPanel& Intro() { return m_intro; }
    CListCtrl& Results() { return m_list; }
    // The findings the results list shows.
    CXTRowStore& ResultRows() { return m_rows; }
    bool ScanInProgress() const { return m_scan.ScanInProgress.load(); }
    int WalksStarted() const { return m_scan.WalksStarted.load(); }
    bool JunkOptionsShown() const { return m_junkOptionsShown; }
    int SortColumn() const { return m_sortColumn; }
    bool SortAscending() const { return m_sortAscending; }
    // Sorts as a header click on column would (left: flip or start ascending;
    // right: the direction the header shows). Ignored during a scan.
    void OnHeaderClick(int column, bool rightButton);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    afx_msg void OnPaint();
    afx_msg void OnStart();
    afx_msg void OnStop();
    afx_msg void OnExit();
    afx_msg void OnToggleOptions();
    afx_msg void OnSelectAll();
    afx_msg void OnSelectNone();
    afx_msg void OnDelete();
    afx_msg void OnResultsDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg LRESULT OnShowResults(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRepaintHeader(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnScanEnded(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    // The removal of the ticked rows: the progress dialog, run modally.
    virtual void RunRemoval(DWORD mode, const CString& folder, RemovalItems& items);

private:
    static UINT JunkScanWorker(LPVOID param);
    void RunScan();
    void ShowResultsWidgets(BOOL show);
    void EnableResultButtons(BOOL enable);
    void FallBackToRecycleBin();
    bool HeadingAreaToggle(CPoint point);
    void ShowProperties();
    // Shows the rows found so far and the folder being walked.
    void ShowProgress();

    CHoverButton m_btnStart, m_btnStop, m_btnOptions, m_btnExit;
    CXTRowStore m_rows{5};
    CXTLatestText m_walkFolder;  // shown a few times a second during a walk
    // Widens a control of the results column to m_contentRight, or moves it there.
    void StretchToContentRight(CWnd* control);
    void ShiftToContentRight(CWnd* control);

    CXTVirtualList m_list;
    CGuiButton m_btnSelectAll, m_btnSelectNone, m_btnDelete;
    CStaticFader m_label, m_status;
    COXToolTipCtrl m_tips;
    CSortHeader m_sortHeader;
    CIntroPanel m_intro;
    COptionsContainer m_options;
    CFont m_font;
    CString m_reasonTexts[4];
    JunkScanState m_scan;
    JunkScanner m_scanner;
    JunkFindingStamps m_stamps;
    CWinThread* m_worker = nullptr;
    bool m_junkOptionsShown = false;
    int m_headingToggles = 0;
    bool m_introByHeading = false;
    int m_contentRight = 0;  // pixels: where the results column ends
    int m_sortColumn = -1;
    bool m_sortAscending = true;
};
