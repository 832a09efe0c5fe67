#include "cli/RegCleanCommands.h"

#include "cli/Console.h"
#include "cli/Report.h"

#include "regclean/FileProbe.h"
#include "regclean/RegistryScanner.h"
#include "regclean/Removal.h"
#include "regclean/Sections.h"
#include "regclean/UndoStore.h"

#include <cstring>

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
    // Progress is the key being walked (a type library by its {id}); the
    // window's status texts, in the run's language, stay off the console.
    if (text && (std::strncmp(text, "HKEY_", 5) == 0 || text[0] == '{')) CliProgress(text);
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

    if (ctx.request.command == CliCommand::Scan || findings.empty()) {
        if (ctx.request.command == CliCommand::Fix) ctx.report["undo_file"] = nullptr;
        ctx.report["findings"] = rows;
        return findings.empty() ? kExitDone : kExitFound;
    }

    ctx.report["findings"] = rows;
    ctx.report["undo_file"] = nullptr;
    if (!ctx.WriteReportBeforeRemoval()) return kExitFailed;

    // The window's Delete with every row ticked: the undo file first, then the values.
    std::vector<bool> removed;
    const RemovalOutcome outcome =
        RemoveFindings(findings, UndoFolder(), removed, [](const char* key) { CliProgress(key); });
    bool all = outcome.written;
    for (size_t i = 0; i < findings.size(); ++i) {
        const bool gone = outcome.written && i < removed.size() && removed[i];
        rows[i]["removed"] = gone;
        all = all && gone;
    }
    ctx.report["findings"] = rows;
    if (!outcome.written) {
        ctx.report["undo_file"] = nullptr;
        ctx.Note("The undo file could not be written; nothing was removed.");
        return kExitFailed;
    }
    ctx.report["undo_file"] = Utf8(outcome.undoPath);
    CliLinef("Undo file: %s", outcome.undoPath.GetString());
    if (!all) ctx.Note("Some values could not be removed.");
    return all ? kExitDone : kExitFailed;
}
