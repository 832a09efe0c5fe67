#include "regbackup/ToolFont.h"

#include "host/HostServices.h"

namespace {

// "Arial"
const BYTE kStoredFace[] = {171, 160, 168, 177, 128};

}  // namespace

CString UnscrambleFaceName(const BYTE* stored, int length)
{
    CString face;
    for (int i = length - 1; i >= 0; --i) face += char(stored[i] - 63);
    return face;
}

CString ToolFontFace() { return UnscrambleFaceName(kStoredFace, int(sizeof kStoredFace)); }

BOOL CreateToolFont(CFont& font, int height, int weight)
{
    LOGFONTA description = {};
    description.lfHeight = height;
    description.lfWeight = weight;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfQuality = PROOF_QUALITY;
    lstrcpynA(description.lfFaceName, ToolFontFace(), LF_FACESIZE);
    return font.CreateFontIndirect(&description);
}

void SetFontOnChildren(CWnd& parent, CFont& font)
{
    // Direct children only: a page inside the window gives its own controls theirs.
    for (HWND child = GetWindow(parent.GetSafeHwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageA(child, WM_SETFONT, WPARAM(HFONT(font)), TRUE);
}

HBRUSH ToolCtlColor(CDC* pDC, UINT nCtlColor)
{
    pDC->SetTextColor(RGB(45, 27, 144));
    if (nCtlColor == CTLCOLOR_EDIT || nCtlColor == CTLCOLOR_LISTBOX)
        pDC->SetBkColor(RGB(255, 255, 255));  // typed text repaints over itself
    else
        pDC->SetBkMode(TRANSPARENT);
    return SharedWhiteBrush();
}
