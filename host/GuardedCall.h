// A guard around a call into code we do not trust to stay sound (the help
// viewer, the scan worker, the path resolver): a fault inside it (an access
// violation, a bad instruction) that nothing there handles, or a C++
// exception that leaves it, comes back here as a FALSE result instead of
// ending the program.
#pragma once

#include <windows.h>

// Runs fn(context). FALSE when it raised a structured exception that no
// handler inside it took, or let a C++ exception out; the call is then
// abandoned where it stood (destructors of its abandoned frames do not run
// after a fault). A stack overflow is not caught: the thread could not grow
// its stack again.
BOOL GuardedCall(void (*fn)(void* context), void* context);
