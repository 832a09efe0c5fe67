// A caption can come out a few pixels wider than the template's button: the
// windows draw their buttons in a font of their own, and the two languages'
// captions differ in length.
#include "host/ButtonColumn.h"

#include <algorithm>

namespace {
const int kAir = 4;  // a caption that touches the face's edge looks cut
}

int FitButtonColumn(const std::vector<ColumnButton>& column, int maxGrowth)
{
    int growth = 0;
    for (const ColumnButton& entry : column) {
        if (!entry.button || !entry.button->m_hWnd) continue;
        CRect client;
        entry.button->GetClientRect(&client);
        CString captions[2];
        entry.button->GetWindowText(captions[0]);
        captions[1] = entry.otherCaption;
        for (const CString& caption : captions) {
            if (caption.IsEmpty()) continue;
            const int missing = entry.button->WidthToShow(caption) + kAir - client.Width();
            growth = std::max(growth, (missing + 1) / 2);
        }
    }
    growth = std::min(growth, maxGrowth);
    if (growth <= 0) return 0;

    for (const ColumnButton& entry : column) {
        if (!entry.button || !entry.button->m_hWnd) continue;
        CRect place;
        entry.button->GetWindowRect(&place);
        entry.button->GetParent()->ScreenToClient(&place);
        place.InflateRect(growth, 0);
        entry.button->MoveWindow(&place, FALSE);
    }
    return growth;
}
