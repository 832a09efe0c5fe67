#include "cli/RegCleanCommands.h"

#include "cli/Console.h"
#include "cli/Report.h"

#include "regclean/FileProbe.h"
#include "regclean/RegistryScanner.h"
#include "regclean/Sections.h"

void CollectingScanSink::AddFinding(const char* keyPath, const char* valueName, const char* data)
{
    RegistryFinding finding;
    finding.KeyPath = keyPath;
    finding.ValueName = valueName;
    finding.Data = data;
    m_findings.push_back(finding);
}

void CollectingScanSink::ShowStatus(const char* text)
{
    if (text && *text && *text != ' ') CliProgress(text);
}

namespace {

nlohmann::json FindingJson(const RegistryFinding& finding)
{
    nlohmann::json row;
    row["key"] = Utf8(finding.KeyPath);
    row["value"] = Utf8(finding.ValueName);
    row["data"] = Utf8(finding.Data);
    return row;
}

// The sections of this run: the ones given, else the stored switches as
// the window uses them.
SectionSwitches RunSections(const CliRequest& request)
{
    if (!request.hasSections) return ReadSectionSwitches();
    SectionSwitches switches(false);
    for (int i = 0; i < kSectionCount && i < kCliSectionCount; ++i) switches.on[i] = request.sections[i];
    return switches;
}

}  // namespace

int RunRegCleanCommand(CliContext& ctx)
{
    CliLine("Scanning the registry...");
    ScanFlags flags;
    flags.KeepGoing = true;
    CollectingScanSink sink;
    FileProbe probe;
    RunRegistryScan(flags, sink, probe, RunSections(ctx.request));
    const std::vector<RegistryFinding>& findings = sink.Findings();
    CliLinef("%d invalid entries found.", int(findings.size()));

    nlohmann::json rows = nlohmann::json::array();
    for (const RegistryFinding& finding : findings) rows.push_back(FindingJson(finding));

    if (ctx.request.command == CliCommand::Scan) {
        ctx.report["findings"] = rows;
        return findings.empty() ? kExitDone : kExitFound;
    }
    ctx.report["findings"] = rows;
    ctx.report["undo_file"] = nullptr;
    return findings.empty() ? kExitDone : kExitFailed;  // removal: see RemoveAll
}
