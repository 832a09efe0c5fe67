// The junk benchmarks' tree: 100,000 files in 1,000 folders on a fixed
// drive of their own (J:), made once; per folder ten files with the ten
// junk extensions below, forty "*.dat", fifty plain ones, and now and then
// an empty file or a shortcut.
#pragma once

#include <string>

namespace junkbench {

extern const char kDrive[];  // "J:"
extern const char* const kJunkNames[10];

double Seconds(long long from, long long to);
long long Ticks();
// Links J: to a folder of the prefix as a fixed drive; false when it cannot.
bool MapDrive();
void UnmapDrive();
bool BuildTree();
// One "*.*" search per folder, counting entries.
long BareWalk(const std::string& folder);

}  // namespace junkbench
