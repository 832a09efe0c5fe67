// regclean /scan and /fix: the window's scan, and its removal with undo.
#pragma once

#include "cli/CliContext.h"
#include "regclean/ScanModel.h"

#include <vector>

// Collects a scan's findings; status texts go to the console as progress.
class CollectingScanSink : public ScanSink {
public:
    void AddFinding(const char* keyPath, const char* valueName, const char* data) override;
    void ShowStatus(const char* text) override;
    int RowCount() const override { return int(m_findings.size()); }
    const std::vector<RegistryFinding>& Findings() const { return m_findings; }

private:
    std::vector<RegistryFinding> m_findings;
};
