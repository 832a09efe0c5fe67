// The look the option pages share: placement from template rectangles,
// the heading, the control font and the control-colour answer.
#pragma once

#include <afxwin.h>

// Places a control (id 0: the page itself) at a rectangle given in the
// template's dialog units, through the shared library's placement.
void PlaceFromTemplate(CWnd* page, int id, int left, int top, int width, int height);

// The suite's font description with the pages' face (text 104), a height
// and a weight (0 keeps the weight as read).
void PageLogFont(LOGFONT& font, int height, int weight);

// Transparent text of the given colour on the shared white brush.
HBRUSH PageCtlColor(CDC* pDC, COLORREF textColour);

// Sets the font on every child control of a window.
void SetFontOnChildren(CWnd* parent, CFont* font);

// Gives every child of a window the suite's default font (made into font),
// so texts of this code page draw wherever the template's face lacks them.
void UseSuiteFont(CWnd* parent, CFont& font);

// Heading colour of every page.
const COLORREF kHeadingColour = RGB(45, 54, 162);
const COLORREF kPageTextColour = RGB(35, 45, 180);
