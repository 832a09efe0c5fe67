// The option area: six picture buttons on the left, five pages on the
// right, one of them visible. Every page stores its changes at once.
#pragma once

#include "junkclean/DrivesPage.h"
#include "junkclean/FileFiltersPage.h"
#include "junkclean/OtherOptionsPage.h"
#include "junkclean/RemovalOptionsPage.h"
#include "junkclean/SafeFoldersPage.h"

#include <afxwin.h>
#include <vantor/HoverButton.h>

// Message to the main window: show the results view.
#define WM_JUNK_SHOW_RESULTS 0x8006

enum OptionPage {
    PAGE_DRIVES = 0,
    PAGE_FILTERS = 1,
    PAGE_FOLDERS = 2,
    PAGE_OTHER = 3,
    PAGE_REMOVAL = 4,
    PAGE_COUNT = 5,
};

class COptionsContainer : public CDialog {
public:
    COptionsContainer();
    void SetNotifyWindow(CWnd* wnd) { m_notify = wnd; }
    // Moves the area to its place in the main window, in the window's dialog units.
    void PlaceInMainWindow();

    void ShowPage(CDialog* page);
    void ShowPage(int page);
    CDialog* Page(int page);
    CDialog* VisiblePage() const { return m_visible; }
    void LoadDefaults();
    // The command identifier of a page's button (from its registered message).
    UINT PageButtonId(int page) const { return m_pageIds[page]; }

    CRemovalOptionsPage m_removalPage;
    COtherOptionsPage m_otherPage;
    CSafeFoldersPage m_foldersPage;
    CFileFiltersPage m_filtersPage;
    CDrivesPage m_drivesPage;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnLoadDefaults();
    DECLARE_MESSAGE_MAP()

private:
    CWnd* m_notify = nullptr;
    CDialog* m_visible = nullptr;
    CHoverButton m_buttons[6];
    UINT m_pageIds[PAGE_COUNT] = {};
    CBitmap m_tile;   // 302
    CBitmap m_side;   // 232
};
