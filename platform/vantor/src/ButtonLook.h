// Pieces shared by the suite's owner-drawn buttons.
#pragma once

#include <windows.h>

namespace vantor {

// Asks for WM_MOUSELEAVE once the mouse has left `control`.
void TrackMouseLeave(HWND control);

// Makes sure the button is owner-drawn, keeping its other style bits.
void MakeOwnerDraw(HWND button);

// BM_SETSTYLE as the dialog manager sends it to move the default-button
// look: the type stays owner-drawn; returns whether the style asked for the
// default look.
bool KeepOwnerDraw(WPARAM& style);

// Draws the button's caption into `area`: single line, centred vertically,
// aligned by the BS_LEFT/BS_RIGHT bits (centred otherwise), mnemonic
// underlines only when the keyboard cues are on.
void DrawCaption(HDC dc, HWND button, const RECT& area, COLORREF colour, UINT itemState);

// The dotted focus rectangle inside `rect`, when the cues ask for one.
void DrawFocus(HDC dc, const RECT& rect, UINT itemState);

// Fills `rect` with what the parent shows behind the button: its control
// brush, or, when the parent answers with a hollow brush, its own background.
void PaintParentBackground(HWND button, HDC dc, const RECT& rect);

}  // namespace vantor
