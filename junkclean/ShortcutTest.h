// Whether a shortcut (.lnk, .pif) still points at something. The test stays
// quiet wherever it cannot be sure: network and variable targets, targets
// named like protected files, shell-namespace targets, the administrative
// tools folder, and targets the shell's own resolution still finds.
#pragma once

#include <afxwin.h>

class ExcludedNames;

// False when the shortcut at path is broken. The calling thread has COM
// initialised (apartment model).
bool ShortcutIsValid(LPCSTR path, const ExcludedNames& excluded);

// Reads target (short form) and description of a shortcut file, each into
// 260 bytes; with resolve, lets the shell resolve the link first (no UI).
// The first step that fails ends the reading; the buffers keep what they held.
void ReadShortcut(LPCSTR path, bool resolve, char target[MAX_PATH], char description[MAX_PATH]);

// The long form of path (each component as the directory search names it).
// Returns the length of longPath; longPath stays a copy of path when path
// does not exist or cannot be expanded.
int ExpandLongPath(LPCSTR path, char longPath[MAX_PATH]);

// A directory search for exactly this text finds an entry.
bool PathFound(LPCSTR path);
