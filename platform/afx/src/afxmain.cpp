// The program's entry: a static library, so that WinMain lands in the
// program itself while everything else stays in the framework DLL.
#include "afxwin.h"

extern "C" int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int cmdShow) {
    return AfxWinMain(instance, previous, cmdLine, cmdShow);
}
