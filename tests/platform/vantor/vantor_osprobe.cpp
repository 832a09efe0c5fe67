// Exits with 1 on the NT line of Windows and 2 on the 9x line, as vantor.dll
// tells them apart; the system test runs it under both Windows versions.
#include <vantor/System.h>

int main() { return IsOsWinNT() ? 1 : 2; }
