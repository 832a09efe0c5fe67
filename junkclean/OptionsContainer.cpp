#include "junkclean/OptionsContainer.h"

#include "host/HostServices.h"
#include "junkclean/JunkDefaults.h"

#include <vantor/Paint.h>
#include <vantres/ids_junk.h>

BEGIN_MESSAGE_MAP(COptionsContainer, CDialog)
    ON_WM_CTLCOLOR()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_BN_CLICKED(IDC_JKO_LOAD_DEFAULTS, OnLoadDefaults)
END_MESSAGE_MAP()

namespace {

const char* const kPageMessages[PAGE_COUNT] = {
    "msg_SCO_BTN_CLICK_DRIVES_OPT", "msg_SCO_BTN_CLICK_FILES_OPT", "msg_SCO_BTN_CLICK_FOLDER_OPT",
    "msg_SCO_BTN_CLICK_OTHERS_OPT", "msg_SCO_BTN_CLICK_REMOVAL_OPT",
};

struct ButtonLayout {
    RECT rect;
    UINT text;
    UINT face;
};

// Everything here is in the container's dialog units, so the area grows with
// the dialog font of the language; the button faces stretch to fit.
const ButtonLayout kButtons[6] = {
    {{7, 11, 57, 30}, IDS_JKO_BTN_DRIVES, IDB_JKO_FACE_DRIVES},
    {{7, 41, 57, 63}, IDS_JKO_BTN_FILES, IDB_JKO_FACE_FILES},
    {{7, 74, 57, 96}, IDS_JKO_BTN_FOLDERS, IDB_JKO_FACE_FOLDERS},
    {{7, 107, 57, 129}, IDS_JKO_BTN_OTHER, IDB_JKO_FACE_OTHER},
    {{7, 140, 57, 162}, IDS_JKO_BTN_REMOVAL, IDB_JKO_FACE_REMOVAL},
    {{7, 171, 57, 196}, IDS_JKO_BTN_DEFAULTS, IDB_JKO_FACE_DEFAULTS},
};
const RECT kPageArea = {74, 2, 74 + 252, 2 + 177};  // a page template's size
const RECT kSidePicture = {3, 7, 3 + 72, 7 + 178};
const int kDividerX = 32;
// The area's place in the main window: that of the results list and its
// buttons, which the introduction panel takes too.
const RECT kPlaceInMainWindow = {120, 62, 120 + 333, 62 + 226};

CRect InUnits(CWnd* dialog, const RECT& r) {
    CRect out;
    SetCRectPos(dialog, out, r.left, r.top, r.right - r.left, r.bottom - r.top);
    return out;
}

const UINT kPageTemplates[PAGE_COUNT] = {IDD_JKO_DRIVES, IDD_JKO_FILTERS, IDD_JKO_FOLDERS, IDD_JKO_OTHER,
                                         IDD_JKO_REMOVAL};

}  // namespace

// The pages are members: they are built (and load their settings) in the
// order removal, other, folders, filters, drives.
COptionsContainer::COptionsContainer() : CDialog(IDD_JUNK_OPTIONS, NULL) {
    m_side.LoadBitmap(IDB_JKO_SIDE_PICTURE);
    for (int i = 0; i < PAGE_COUNT; ++i) m_pageIds[i] = RegisterWindowMessageA(kPageMessages[i]) & 0xFFFF;
}

CDialog* COptionsContainer::Page(int page) {
    switch (page) {
    case PAGE_DRIVES: return &m_drivesPage;
    case PAGE_FILTERS: return &m_filtersPage;
    case PAGE_FOLDERS: return &m_foldersPage;
    case PAGE_OTHER: return &m_otherPage;
    case PAGE_REMOVAL: return &m_removalPage;
    default: return nullptr;
    }
}

BOOL COptionsContainer::OnInitDialog() {
    CDialog::OnInitDialog();
    SetControlsPosDlu(this, 0, 0, 328, 182);
    m_tile.LoadBitmap(IDB_JKO_TILE);
    for (int i = 0; i < 6; ++i) {
        const UINT id = i < PAGE_COUNT ? m_pageIds[i] : UINT(IDC_JKO_LOAD_DEFAULTS);
        m_buttons[i].Create(LoadTextById(kButtons[i].text), 0x5001000B, InUnits(this, kButtons[i].rect), this, id);
        m_buttons[i].LoadBitmapA(kButtons[i].face);
    }
    const CRect pageArea = InUnits(this, kPageArea);
    for (int i = 0; i < PAGE_COUNT; ++i) {
        CDialog* page = Page(i);
        page->Create(kPageTemplates[i], this);
        page->MoveWindow(&pageArea, TRUE);
        page->ShowWindow(SW_HIDE);
    }
    m_visible = &m_drivesPage;
    m_visible->ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL COptionsContainer::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    // The page buttons' identifiers come from registered messages, known only at run time.
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        for (int i = 0; i < PAGE_COUNT; ++i) {
            if (LOWORD(wParam) == m_pageIds[i]) {
                ShowPage(i);
                if (pResult) *pResult = 0;
                return TRUE;
            }
        }
    }
    return CDialog::OnWndMsg(message, wParam, lParam, pResult);
}

void COptionsContainer::PlaceInMainWindow() {
    const RECT& r = kPlaceInMainWindow;
    SetControlsPosDlu(this, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void COptionsContainer::ShowPage(CDialog* page) {
    if (!page || page == m_visible) return;
    if (m_visible) m_visible->ShowWindow(SW_HIDE);
    page->ShowWindow(SW_SHOW);
    m_visible = page;
}

void COptionsContainer::ShowPage(int page) {
    ShowPage(Page(page));
}

void COptionsContainer::LoadDefaults() {
    RestoreJunkDefaults(m_drivesPage.Drives(), m_filtersPage.Filters(), m_otherPage.Options(),
                        m_removalPage.Removal());
    m_drivesPage.FillDrives();
    m_filtersPage.FillFilters();
    m_otherPage.ShowOptions();
    m_removalPage.FollowOptions();
}

void COptionsContainer::OnLoadDefaults() {
    LoadDefaults();
}

void COptionsContainer::OnOK() {
    if (m_notify && m_notify->m_hWnd) m_notify->SendMessage(WM_JUNK_SHOW_RESULTS);
}

void COptionsContainer::OnCancel() {
    if (m_notify && m_notify->m_hWnd) m_notify->SendMessage(WM_JUNK_SHOW_RESULTS);
}

HBRUSH COptionsContainer::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    pDC->SetTextColor(RGB(35, 63, 189));
    pDC->SetBkMode(TRANSPARENT);
    return HBRUSH(SharedWhiteBrush().m_hObject);
}

BOOL COptionsContainer::OnEraseBkgnd(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    pDC->FillRect(&client, &SharedWhiteBrush());
    if (m_side.m_hObject) {
        if (m_tile.m_hObject)
            for (int y = 0; y < client.Height(); y += 14)
                for (int x = 0; x < client.Width(); x += 15) PaintBMP(pDC, x, y, 14, 15, &m_tile, SRCAND);
        const CRect side = InUnits(this, kSidePicture);
        PaintBMPStretch(pDC, side.left, side.top, side.Width(), side.Height(), &m_side, SRCAND);
    }
    return TRUE;
}

void COptionsContainer::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CPen pen(PS_SOLID, 1, RGB(225, 234, 255));
    HGDIOBJ old = dc.SelectObject(&pen);
    HGDIOBJ oldBrush = dc.SelectStockObject(NULL_BRUSH);
    dc.Rectangle(&client);
    int oldMix = ::SetROP2(dc, R2_MASKPEN);
    const int divider = InUnits(this, {kDividerX, 0, kDividerX, 0}).left;
    dc.MoveTo(divider, 0);
    dc.LineTo(divider, client.Height());
    ::SetROP2(dc, oldMix);
    dc.SelectObject(oldBrush);
    dc.SelectObject(old);
}
