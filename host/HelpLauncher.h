// The program's help: an HTML Help file beside the program, with the same
// base name.
#pragma once

#include <afxwin.h>

// The help file of a program path: the whole path lower-cased, ".exe"
// replaced by ".chm".
CString HelpFilePath(LPCSTR programPath);

// Shows the help file's table of contents. Without the HTML Help component
// nothing happens; when the viewer fails, the user is offered the download
// of the component.
void LaunchHelp(LPCSTR programPath);
