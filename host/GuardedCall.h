// A guard around a call into code we do not control (the help viewer): a
// fault inside it (an access violation, a bad instruction) that nothing there
// handles comes back here as a FALSE result instead of ending the program.
#pragma once

#include <windows.h>

// Runs fn(context). FALSE when it raised a structured exception that no
// handler inside it took; the call is then abandoned where it stood.
BOOL GuardedCall(void (*fn)(void* context), void* context);
