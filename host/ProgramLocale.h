// The C run time's locale of the program, set once while the application
// object is built.
#pragma once

// setlocale(category, "German") for the categories 0 to 5 in turn: all of
// them first, then each single one. The program's own case conversions go
// through the system's code page (CString), not through this locale, so
// Chinese texts keep their bytes whatever the run time makes of "German".
void ApplyProgramLocale();
