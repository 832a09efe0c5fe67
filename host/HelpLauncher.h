// The program's help: an HTML Help file beside the program, with the same
// base name; the English one carries "-en" after it.
#pragma once

#include <afxwin.h>

// The help file of a program path: the whole path lower-cased, ".exe"
// replaced by ".chm".
CString HelpFilePath(LPCSTR programPath);

// The help file for a program path in a language: English (any English
// LANGID) is the Chinese file's name with "-en" before ".chm"
// (c:\tools\toolhost-en.chm); every other language gets the Chinese file.
CString HelpFileFor(LPCSTR programPath, LANGID language);

// Shows the table of contents of the help file in the program's language.
// Without the HTML Help component nothing happens; when the viewer fails, the
// user is offered the download of the component.
void LaunchHelp(LPCSTR programPath);
