// The registry cleaner's benchmark key: string values of which six in ten
// name files that exist (plain, quoted with arguments, through a
// %variable%) and four in ten name missing ones, under
// HKEY_CURRENT_USER\Software\ToolhostBench\RegClean.
#pragma once

#include "regclean/FileProbe.h"

#include <windows.h>

namespace rcbench {

extern const char kKey[];      // below HKEY_CURRENT_USER
extern const char kKeyPath[];  // as the results list writes it

double Now();
// Seeds `values` values (and the files they name); each tenth value's
// data is of one kind, so 40% name missing files.
void Seed(int values);
// RegEnumValueA over the key with one GetFileAttributesA on each value's data.
double BareEnumeration(HKEY key);
// The scan's walker over the key alone, with findings only counted.
double EngineWalk(HKEY key, FileProbe& probe, int& rows);
// Removes the key and the files.
void Unseed();

}  // namespace rcbench
