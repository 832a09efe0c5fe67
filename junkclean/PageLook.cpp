#include "junkclean/PageLook.h"

#include "host/HostServices.h"

#include <vantor/Paint.h>
#include <vantres/ids_junk.h>

void PlaceFromTemplate(CWnd* page, int id, int left, int top, int width, int height) {
    CWnd* target = id ? page->GetDlgItem(id) : page;
    if (!target || !target->m_hWnd) return;
    CRect r;
    SetCRectPos(page, r, left, top, width, height);
    SetControlsPos(target, r.left, r.top, r.Width(), r.Height());
}

void PageLogFont(LOGFONT& font, int height, int weight) {
    ZeroMemory(&font, sizeof font);
    ReadLogFont(font);
    CString face = LoadTextById(IDS_JKO_FONT_FACE);
    lstrcpynA(font.lfFaceName, face, 32);
    font.lfHeight = height;
    if (weight) {
        font.lfWeight = weight;
        font.lfQuality = 2;
    }
}

HBRUSH PageCtlColor(CDC* pDC, COLORREF textColour) {
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(textColour);
    return HBRUSH(SharedWhiteBrush().m_hObject);
}

void SetFontOnChildren(CWnd* parent, CFont* font) {
    for (HWND child = ::GetWindow(parent->m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::SendMessageA(child, WM_SETFONT, WPARAM(font->m_hObject), TRUE);
}

void UseSuiteFont(CWnd* parent, CFont& font) {
    if (!font.m_hObject) {
        LOGFONT lf;
        ZeroMemory(&lf, sizeof lf);
        if (!ReadLogFont(lf)) return;
        font.CreateFontIndirect(&lf);
    }
    SetFontOnChildren(parent, &font);
}
