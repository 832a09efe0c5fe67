// The removal's progress dialog (template 8774): caption-less, painted with
// its own frame and caption band, dragged by a press anywhere. Its timer
// starts the removal worker; Stop (or the close box, Esc) ends it after the
// file in hand.
#pragma once

#include "junkclean/JunkRemoval.h"

#include <afxwin.h>
#include <vantor/HoverButton.h>
#include <vantor/ProgressST.h>

#include <atomic>
#include <memory>

class JunkFindingStamps;

// Waits for handle while dispatching this thread's messages (the workers
// call into this thread's windows and would block otherwise).
void WaitPumping(HANDLE handle, DWORD timeoutMs);

class CDeleteProgressDlg : public CDialog, private RemovalPassHost {
public:
    CDeleteProgressDlg(DWORD mode, const CString& folder, CWnd* owner, RemovalItems& items,
                       const JunkFindingStamps* stamps);
    // Over the rows of a report list: removed rows leave it as the pass goes.
    CDeleteProgressDlg(DWORD mode, const CString& folder, CWnd* owner, CListCtrl* list,
                       const JunkFindingStamps* stamps);
    ~CDeleteProgressDlg() override;

    bool RemovalRunning() const { return m_removalRunning.load(); }
    int ProcessedCount() const { return m_processed; }
    int TotalRows() const { return m_totalRows; }

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override {}

    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    static UINT RemovalWorker(LPVOID param);
    void DeletePermanently() { RunRemovalPass(REMOVAL_DELETE, m_folder, *m_items, m_stamps, *this); }
    void RecyclePass() { RunRemovalPass(REMOVAL_RECYCLE, m_folder, *m_items, m_stamps, *this); }
    void MovePass() { RunRemovalPass(REMOVAL_MOVE, m_folder, *m_items, m_stamps, *this); }
    void UpdateRemovalProgress(LPCSTR path);

    // RemovalPassHost
    bool Running() const override { return m_removalRunning.load(); }
    void Pause(DWORD ms) override;
    int AskSystemFile(LPCSTR path, DWORD mode) override;
    void Progress(LPCSTR path) override { UpdateRemovalProgress(path); }

    DWORD m_mode;
    CString m_folder;
    CWnd* m_owner;
    std::unique_ptr<ListRemovalItems> m_listItems;  // when built over a list
    RemovalItems* m_items;
    const JunkFindingStamps* m_stamps;
    std::atomic<bool> m_removalRunning;
    std::atomic<int> m_processed;
    std::atomic<int> m_totalRows;
    CWinThread* m_worker = nullptr;
    bool m_closing = false;
    CFont m_captionFont, m_font;
    CBitmap m_bandTop, m_bandBottom;
    CProgressST m_progress;
    CHoverButton m_close;
};
