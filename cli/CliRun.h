// The unattended run: no window and no message box (the usage text without
// a console excepted), a summary on the parent's console, a JSON report on
// request, and an exit code an administrator can act on.
#pragma once

// argv as the program got it: argv[1] is the tool word (or "/?").
int RunCommandLine(int argc, char** argv);
