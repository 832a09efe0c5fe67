// The registry cleaner's main window (template 208): the section list, the
// results list with its status line and buttons, and the undo panel, which
// take turns in the window's content area.
#pragma once

#include "regclean/FileProbe.h"
#include "regclean/ScanModel.h"
#include "regclean/UndoPanel.h"

#include <afxwin.h>
#include <vantor/DlgMainWnd.h>
#include <vantor/GuiButton.h>
#include <vantor/HoverButton.h>
#include <vantor/StaticFader.h>
#include <xtlist/XTVirtualList.h>

class RegCleanWindow : public CDlgMainWnd {
public:
    explicit RegCleanWindow(CWnd* pParent = NULL);
    ~RegCleanWindow() override;

    bool IsScanning() const { return m_flags.Scanning; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnCancel() override;

    afx_msg void OnPaint();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnStart();
    afx_msg void OnStop();
    afx_msg void OnToggleOptions();
    afx_msg void OnToggleUndo();
    afx_msg void OnExit();
    afx_msg void OnSelectAll();
    afx_msg void OnSelectNone();
    afx_msg void OnDelete();
    afx_msg void OnSectionChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnResultDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnScanEnding(WPARAM wParam, LPARAM lParam);

private:
    class WindowSink;
    static UINT ScanThread(LPVOID param);
    void RunScan();
    // Controls while the worker prepares a scan, and once it has ended.
    void PrepareForScan();
    void SetControlsIdle();
    void ShowResultButtons(bool show);
    void EnableResultButtons(bool enable);
    void SetContentArea(CWnd& control);
    CRect ContentArea() const;
    // Lets the window breathe while the worker finishes its current value.
    void StopScan();
    // Waits (dispatching messages) until the worker has ended.
    void WaitForWorker(DWORD timeoutMs);
    // Shows the rows found so far and the latest walk status.
    void ShowProgress();
    RegistryFinding FindingAt(int row) const;

    CHoverButton m_start, m_stop, m_options, m_undo, m_exit;
    CGuiButton m_selectAll, m_selectNone, m_delete;
    // The findings, held here; the results list shows them.
    CXTRowStore m_findings{3};
    CXTLatestText m_walkStatus;  // the key being walked, shown a few times a second
    CXTVirtualList m_results;
    CListCtrl m_sections;
    CStaticFader m_status;
    UndoPanel m_undoPanel;
    CFont m_font;

    bool m_optionsShown = false;
    bool m_undoShown = false;
    bool m_filling = false;  // the section list is being filled: no switch is saved

    ScanFlags m_flags;
    FileProbe m_probe;
    WindowSink* m_sink = nullptr;
    CWinThread* m_worker = nullptr;

    DECLARE_MESSAGE_MAP()
};
