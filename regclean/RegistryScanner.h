// The scan worker's steps: the sections in their fixed order, each step only
// while the scan may go on.
#pragma once

#include "regclean/KeyWalker.h"
#include "regclean/Sections.h"

#include <vector>

class FileProbe;

// Runs the sections that are on, in the worker's order. `ran` (optional)
// receives the sections whose step ran. Sections 1 and 2 count as off when
// their key cannot be opened; the Run, Uninstall, Help and App Paths steps
// run only when the walks that cover their keys are off.
void RunScanSteps(ScanContext& ctx, SectionSwitches switches, std::vector<int>* ran = nullptr);

// A whole scan as the worker runs it: the steps, then the closing status
// texts ("analysis complete" or "aborted", then the count of rows listed).
// `probe` is emptied first, so the file system is seen as it is now.
void RunRegistryScan(ScanFlags& flags, ScanSink& sink, FileProbe& probe, const SectionSwitches& switches,
                     std::vector<int>* ran = nullptr);

// The closing status texts alone.
void ShowScanOutcome(const ScanFlags& flags, ScanSink& sink);
