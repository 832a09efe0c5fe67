// Text of unattended runs: to the output the caller redirected, or to the
// console of the process that started us. A program without a console shows
// nothing (the usage text excepted, which then comes in a message box).
#pragma once

#include <windows.h>

// Finds the output once: a redirected standard output, else the parent's
// console (AttachConsole). False when there is neither.
bool OpenCliConsole();
bool CliConsoleOpen();

// One line in the program's code page; a console gets it converted.
void CliLine(LPCSTR text);
void CliLinef(LPCSTR format, ...);

// A progress line at most once a second, so a long walk does not flood the console.
void CliProgress(LPCSTR text);

// The usage text: on the console, or in a message box when there is none.
void ShowCliUsage(LPCSTR text);
