#include "cli/JunkCommands.h"

#include "cli/Console.h"
#include "cli/Report.h"

#include "junkclean/DriveSelection.h"
#include "junkclean/FilterTable.h"
#include "junkclean/ProtectedFiles.h"
#include "junkclean/RemovalOptions.h"
#include "junkclean/ScanOptions.h"

#include <atomic>

void CollectingJunkSink::OnFolder(const CString& folder) { CliProgress(folder); }

void CollectingJunkSink::OnFinding(int row, const JunkFinding& finding)
{
    m_findings.push_back(finding);
    m_stamps.Record(finding);
}

const char* JunkReasonName(int reason)
{
    switch (reason) {
    case JUNK_REASON_MASK: return "mask";
    case JUNK_REASON_SHORTCUT: return "shortcut";
    case JUNK_REASON_OLD: return "old";
    case JUNK_REASON_EMPTY: return "empty";
    default: return "";
    }
}

namespace {

// The scan as the window sets it up: the stored drives (or the ones given),
// masks, safe folders and options.
void RunJunkScan(const CliRequest& request, CollectingJunkSink& sink)
{
    DriveSelection drives;
    drives.LoadDriveList();
    if (request.hasDrives) drives.SetDriveText(request.drives);  // this run only, never stored
    char slots[DRIVE_SLOTS * DRIVE_SLOT_SIZE];
    short count = 0;
    drives.ScanDrives(slots, count);

    FilterTable filters;
    filters.LoadFilters();
    CStringArray masks, safe;
    filters.EnabledMasks(masks);
    SafeFolderList safeFolders;
    safeFolders.ScanSafeFolders(safe);
    OtherScanOptions other;
    other.LoadOtherOptions();

    JunkScanner scanner;
    scanner.SetDrives(slots, count);
    scanner.SetMasks(masks);
    scanner.SetSafeFolders(safe, WindowsDirTail());
    scanner.SetOptions(ScanOptionsOf(other));
    CliLinef("Scanning drives %s...", drives.DriveText().GetString());
    const std::atomic<bool> stop(false);
    scanner.Run(sink, stop);
}

nlohmann::json FindingJson(const JunkFinding& finding)
{
    nlohmann::json row;
    row["path"] = Utf8(finding.path);
    row["reason"] = JunkReasonName(finding.reason);
    row["size"] = finding.size;
    return row;
}

}  // namespace

int RunJunkCommand(CliContext& ctx)
{
    CollectingJunkSink sink;
    RunJunkScan(ctx.request, sink);
    const std::vector<JunkFinding>& findings = sink.Findings();
    CliLinef("%d junk files found.", int(findings.size()));
    nlohmann::json rows = nlohmann::json::array();
    for (const JunkFinding& finding : findings) rows.push_back(FindingJson(finding));
    ctx.report["findings"] = rows;
    return findings.empty() ? kExitDone : kExitFound;
}
