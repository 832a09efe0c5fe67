// The column of command buttons at the left of a main window.
#pragma once

#include <afxwin.h>
#include <vantor/HoverButton.h>

#include <vector>

struct ColumnButton {
    CHoverButton* button;
    CString otherCaption;  // a caption the button switches to, or empty
};

// Widens the column evenly about its middle until every button shows each
// of its captions whole, by at most `maxGrowth` pixels on each side (the
// panel painted behind the column). A column whose captions fit stays as
// its template placed it. Returns the pixels added on each side.
int FitButtonColumn(const std::vector<ColumnButton>& column, int maxGrowth);
