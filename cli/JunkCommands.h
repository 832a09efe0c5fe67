// sysclean /scan and /clean: the window's junk scan and removal passes.
#pragma once

#include "cli/CliContext.h"
#include "junkclean/JunkResults.h"
#include "junkclean/JunkScanner.h"

#include <vector>

// Collects a scan's findings with what the scan saw of each file, so the
// removal leaves alone a file changed since.
class CollectingJunkSink : public JunkScanSink {
public:
    void OnFolder(const CString& folder) override;
    void OnFinding(int row, const JunkFinding& finding) override;
    const std::vector<JunkFinding>& Findings() const { return m_findings; }
    const JunkFindingStamps& Stamps() const { return m_stamps; }

private:
    std::vector<JunkFinding> m_findings;
    JunkFindingStamps m_stamps;
};

// "mask", "shortcut", "old", "empty".
const char* JunkReasonName(int reason);
