// The font the backup window and its pages give their controls. Its face
// name is kept scrambled (bytes reversed, each raised by 63) and turned back
// into text when the font is made.
#pragma once

#include <afxwin.h>

CString UnscrambleFaceName(const BYTE* stored, int length);
CString ToolFontFace();
// Height in pixels, weight as LOGFONT has it, proof quality.
BOOL CreateToolFont(CFont& font, int height, int weight);
// Gives the font to the controls directly inside `parent`.
void SetFontOnChildren(CWnd& parent, CFont& font);

// The tool's control colours: dark blue text on the shared white brush.
HBRUSH ToolCtlColor(CDC* pDC, UINT nCtlColor);
