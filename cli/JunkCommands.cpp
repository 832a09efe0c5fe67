#include "cli/JunkCommands.h"

#include "cli/Console.h"
#include "cli/Report.h"

#include "junkclean/DriveSelection.h"
#include "junkclean/FilterTable.h"
#include "junkclean/JunkRemoval.h"
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
// masks, safe folders and options; never the folder files are moved to.
void RunJunkScan(const CliRequest& request, const CString& moveFolder, CollectingJunkSink& sink)
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
    scanner.SetKeptOutFolder(moveFolder);
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

// What became of each finding in a removal pass.
class FindingItems : public RemovalItems {
public:
    FindingItems(const std::vector<JunkFinding>& findings, DWORD mode)
        : m_findings(findings), m_mode(mode), m_rows(findings.size())
    {
        for (nlohmann::json& row : m_rows) row = {{"action", "kept"}, {"why", "not reached"}};
    }
    int Count() const override { return int(m_findings.size()); }
    bool Ticked(int) const override { return true; }
    CString Path(int i) const override { return m_findings[size_t(i)].path; }
    void OnRemoved(int i, const CString& movedTo) override
    {
        nlohmann::json& row = m_rows[size_t(i)];
        row = {{"action", m_mode == REMOVAL_DELETE ? "deleted" : m_mode == REMOVAL_RECYCLE ? "recycled" : "moved"}};
        if (m_mode == REMOVAL_MOVE) row["to"] = Utf8(movedTo);
    }
    void OnKept(int i, const char* why) override
    {
        std::string text = why ? why : "";
        // Nobody is there to confirm a file of a system type: it stays.
        if (text == "declined") text = "system file type";
        if (text == "in move folder") text = "already in the move folder";
        if (text == "no recycle bin")
            text = HasRecycleBin(Path(i)) ? "the Recycle Bin cannot take this file" : "no Recycle Bin on this drive";
        m_rows[size_t(i)] = {{"action", "kept"}, {"why", text}};
    }
    // The finding's outcome, for its report row.
    const nlohmann::json& Outcome(int i) const { return m_rows[size_t(i)]; }
    bool Removed(int i) const { return m_rows[size_t(i)]["action"] != "kept"; }

private:
    const std::vector<JunkFinding>& m_findings;
    DWORD m_mode;
    std::vector<nlohmann::json> m_rows;
};

// A pass without a window: no waits, no questions (a system file is kept).
class UnattendedPassHost : public RemovalPassHost {
public:
    bool Running() const override { return true; }
    void Pause(DWORD) override {}
    int AskSystemFile(LPCSTR, DWORD) override { return IDNO; }
    // A file the Recycle Bin will not take would go for good: it stays.
    int AskNoRecycleBin(LPCSTR) override { return IDNO; }
    void Progress(LPCSTR path) override { CliLinef("Removing %s", path); }
};

struct RemovalChoice {
    DWORD mode = REMOVAL_RECYCLE;
    CString folder;
};

// The mode and folder of this run: the ones given, else the stored ones.
// False (with the reason) when the folder cannot be used or made.
bool ChooseRemoval(const CliRequest& request, RemovalChoice& choice, CString& why)
{
    RemovalOptions stored;
    stored.LoadRemovalOptions();
    choice.mode = request.hasMode ? request.mode : stored.Mode;
    choice.folder = stored.SC_StrFolderName;
    if (request.hasTo) {
        choice.folder = request.to;
        choice.folder.Trim();
        // A trailing separator does not name the folder for the move's existence test.
        while (choice.folder.GetLength() > 3 && EndsWithBackslash(choice.folder))
            choice.folder = choice.folder.Left(choice.folder.GetLength() - 1);
        if (!MakeFolderPath(choice.folder)) {
            why = "The folder \"" + request.to + "\" does not exist and cannot be created.";
            return false;
        }
    }
    if (choice.mode == REMOVAL_MOVE && !MoveFolderUsable(choice.folder)) {
        why = "The folder for moved files \"" + choice.folder + "\" cannot be used; give one with /to:FOLDER.";
        return false;
    }
    return true;
}

int CleanFindings(CliContext& ctx, const RemovalChoice& choice, const CollectingJunkSink& sink, nlohmann::json& rows)
{
    const std::vector<JunkFinding>& findings = sink.Findings();
    FindingItems items(findings, choice.mode);
    ctx.report["findings"] = rows;
    if (!ctx.WriteReportBeforeRemoval()) return kExitFailed;
    UnattendedPassHost host;
    RunRemovalPass(choice.mode, choice.folder, items, &sink.Stamps(), host);
    int kept = 0;
    for (int i = 0; i < items.Count(); ++i) {
        rows[size_t(i)].update(items.Outcome(i));
        if (!items.Removed(i)) ++kept;
    }
    if (kept) ctx.Note(CString("Some files were kept; their \"why\" tells the reason."));
    CliLinef("%d of %d files removed.", items.Count() - kept, items.Count());
    return kept ? kExitFailed : kExitDone;
}

}  // namespace

int RunJunkCommand(CliContext& ctx)
{
    RemovalChoice choice;
    CString why;
    if (ctx.request.command == CliCommand::Clean && !ChooseRemoval(ctx.request, choice, why)) return ctx.Refuse(why);

    CollectingJunkSink sink;
    const bool moving = ctx.request.command == CliCommand::Clean && choice.mode == REMOVAL_MOVE;
    RunJunkScan(ctx.request, moving ? choice.folder : CString(), sink);
    const std::vector<JunkFinding>& findings = sink.Findings();
    CliLinef("%d junk files found.", int(findings.size()));
    nlohmann::json rows = nlohmann::json::array();
    for (const JunkFinding& finding : findings) rows.push_back(FindingJson(finding));
    int code = findings.empty() ? kExitDone : kExitFound;
    if (ctx.request.command == CliCommand::Clean && !findings.empty()) code = CleanFindings(ctx, choice, sink, rows);
    ctx.report["findings"] = rows;
    return code;
}
