#include "cli/CommandLine.h"

#include "host/Dispatch.h"

#include <cstdlib>

namespace {

bool IsSwitch(const char* arg) { return arg && (arg[0] == '/' || arg[0] == '-'); }

CliTool ToolOf(HostCommand command)
{
    switch (command) {
    case HostCommand::RegClean: return CliTool::RegClean;
    case HostCommand::JunkClean: return CliTool::JunkClean;
    case HostCommand::Backup: return CliTool::Backup;
    default: return CliTool::None;
    }
}

struct CommandWord {
    CliTool tool;
    const char* word;
    CliCommand command;
};

const CommandWord kCommands[] = {
    {CliTool::RegClean, "scan", CliCommand::Scan},    {CliTool::RegClean, "fix", CliCommand::Fix},
    {CliTool::JunkClean, "scan", CliCommand::Scan},   {CliTool::JunkClean, "clean", CliCommand::Clean},
    {CliTool::Backup, "backup", CliCommand::Backup},  {CliTool::Backup, "list", CliCommand::List},
    {CliTool::Backup, "verify", CliCommand::Verify},
};

// Options and the tool and commands that take them ("report": every one).
struct OptionRule {
    const char* name;
    CliTool tool;
    CliCommand commands[2];
};

const OptionRule kOptions[] = {
    {"sections", CliTool::RegClean, {CliCommand::Scan, CliCommand::Fix}},
    {"drives", CliTool::JunkClean, {CliCommand::Scan, CliCommand::Clean}},
    {"mode", CliTool::JunkClean, {CliCommand::Clean, CliCommand::None}},
    {"to", CliTool::JunkClean, {CliCommand::Clean, CliCommand::None}},
    {"location", CliTool::Backup, {CliCommand::Backup, CliCommand::None}},
    {"keep", CliTool::Backup, {CliCommand::Backup, CliCommand::None}},
    {"report", CliTool::None, {CliCommand::None, CliCommand::None}},
};

// A path of the line as the full path it names now: the engines may change the
// current folder (the 9x backup saves from the Windows folder), and a set's
// record must name its folder from anywhere.
CString FullPath(const CString& path)
{
    char full[MAX_PATH * 2] = {};
    const DWORD length = ::GetFullPathNameA(path, sizeof full, full, NULL);
    return length && length < sizeof full ? CString(full) : path;
}

bool AllDigits(const CString& text)
{
    if (text.IsEmpty()) return false;
    for (int i = 0; i < text.GetLength(); ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

bool ParseSections(const CString& value, CliRequest& request)
{
    int start = 0;
    for (;;) {
        int comma = value.Find(',', start);
        CString item = comma < 0 ? value.Mid(start) : value.Mid(start, comma - start);
        item.Trim();
        if (!AllDigits(item) || item.GetLength() > 2) return false;
        const int n = atoi(item);
        if (n < 0 || n >= kCliSectionCount) return false;
        request.sections[n] = true;
        if (comma < 0) return true;
        start = comma + 1;
    }
}

bool ParseDrives(const CString& value, CliRequest& request)
{
    CString letters;
    const DWORD present = ::GetLogicalDrives();
    for (int i = 0; i < value.GetLength(); ++i) {
        char c = value[i];
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        if (c < 'A' || c > 'Z') return false;
        if (!(present & (1u << (c - 'A')))) return false;  // no such drive
        if (letters.Find(c) < 0) letters += c;
    }
    if (letters.IsEmpty()) return false;
    request.drives = letters;
    return true;
}

bool ParseMode(CString value, CliRequest& request)
{
    value.MakeLower();
    if (value == "delete") request.mode = 1;
    else if (value == "recycle") request.mode = 2;
    else if (value == "move") request.mode = 3;
    else return false;
    return true;
}

bool OptionFits(const OptionRule& rule, CliTool tool, CliCommand command)
{
    if (rule.tool == CliTool::None) return true;
    return rule.tool == tool && (rule.commands[0] == command || rule.commands[1] == command);
}

bool KnownOption(const CString& name)
{
    for (const OptionRule& rule : kOptions)
        if (name == rule.name) return true;
    return false;
}

// One option's value into the request; false when the value is refused.
bool TakeOption(const CString& name, const CString& value, CliRequest& request)
{
    if (value.IsEmpty()) return false;
    if (name == "sections") return request.hasSections = ParseSections(value, request);
    if (name == "drives") return request.hasDrives = ParseDrives(value, request);
    if (name == "mode") return request.hasMode = ParseMode(value, request);
    if (name == "to") {
        request.to = FullPath(value);
        return request.hasTo = true;
    }
    if (name == "location") {
        request.location = FullPath(value);
        return request.hasLocation = true;
    }
    if (name == "keep") {
        if (!AllDigits(value) || value.GetLength() > 4) return false;
        request.keep = atoi(value);
        return request.keep >= 1;
    }
    if (name == "report") {
        request.report = FullPath(value);
        return true;
    }
    return false;
}

}  // namespace

bool IsCommandLineStart(int argc, char** argv)
{
    if (argc < 2 || !argv[1]) return false;
    if (IsSwitch(argv[1])) return true;
    // The installer's word is never a command line; an unknown word with
    // switches is one, refused, so a mistyped scheduled run does not pass as done.
    if (MatchToolWord(argv[1]) == HostCommand::Uninstall) return false;
    for (int i = 2; i < argc; ++i)
        if (IsSwitch(argv[i])) return true;
    return false;
}

bool ParseCommandLine(int argc, char** argv, CliRequest& request, CString& error)
{
    request = CliRequest();
    if (argc < 2 || !argv[1]) {
        error = "No tool named.";
        return false;
    }
    int first = 2;
    if (IsSwitch(argv[1])) {
        first = 1;  // "toolhost /?": no tool word
    } else {
        request.tool = ToolOf(MatchToolWord(argv[1]));
        if (request.tool == CliTool::None) {
            error.Format("Unknown tool \"%s\".", argv[1]);
            return false;
        }
    }

    // The report path first, so that even a refused line can be reported.
    for (int i = first; i < argc; ++i) {
        CString arg(argv[i]);
        if (IsSwitch(arg) && arg.GetLength() > 8 && arg.Mid(1, 7).CompareNoCase("report:") == 0)
            request.report = FullPath(arg.Mid(8));
    }

    bool seen[sizeof kOptions / sizeof kOptions[0]] = {};
    CString pending[sizeof kOptions / sizeof kOptions[0]];
    for (int i = first; i < argc; ++i) {
        CString arg(argv[i]);
        if (!IsSwitch(arg)) {
            error.Format("Unexpected argument \"%s\".", arg.GetString());
            return false;
        }
        CString name = arg.Mid(1), value;
        const int colon = name.Find(':');
        const bool hasValue = colon >= 0;
        if (hasValue) {
            value = name.Mid(colon + 1);
            name = name.Left(colon);
        }
        name.MakeLower();

        if (name == "?") {
            request.command = CliCommand::Help;
            return true;  // the usage text, whatever else stands there
        }
        if (request.tool == CliTool::None) {
            error.Format("Unknown switch \"%s\": name a tool first.", arg.GetString());
            return false;
        }
        bool isCommand = false;
        for (const CommandWord& entry : kCommands) {
            if (entry.tool != request.tool || name != entry.word) continue;
            isCommand = true;
            if (request.command != CliCommand::None) {
                error.Format("Only one command at a time: \"%s\".", arg.GetString());
                return false;
            }
            request.command = entry.command;
            if (hasValue && entry.command != CliCommand::Verify) {
                error.Format("The command \"/%s\" takes no value.", entry.word);
                return false;
            }
            if (hasValue) {
                if (value.IsEmpty()) {
                    error = "\"/verify:\" needs the path of an info.arb.";
                    return false;
                }
                request.verifyPath = FullPath(value);
            }
        }
        if (isCommand) continue;
        if (!KnownOption(name)) {
            error.Format("Unknown switch \"%s\".", arg.GetString());
            return false;
        }
        for (size_t k = 0; k < sizeof kOptions / sizeof kOptions[0]; ++k) {
            if (name != kOptions[k].name) continue;
            if (seen[k]) {
                error.Format("The switch \"/%s\" is given twice.", kOptions[k].name);
                return false;
            }
            seen[k] = true;
            pending[k] = hasValue ? value : CString();
            if (!hasValue || value.IsEmpty()) {
                error.Format("The switch \"/%s\" needs a value.", kOptions[k].name);
                return false;
            }
        }
    }
    if (request.command == CliCommand::None) {
        error = request.tool == CliTool::None ? "No tool named." : "No command given.";
        return false;
    }
    for (size_t k = 0; k < sizeof kOptions / sizeof kOptions[0]; ++k) {
        if (!seen[k]) continue;
        const CString name(kOptions[k].name);
        if (!OptionFits(kOptions[k], request.tool, request.command)) {
            error.Format("The switch \"/%s\" does not go with \"/%s\".", kOptions[k].name,
                         CliCommandName(request.command));
            return false;
        }
        if (!TakeOption(name, pending[k], request)) {
            error.Format("Bad value \"%s\" for \"/%s\".", pending[k].GetString(), kOptions[k].name);
            return false;
        }
    }
    return true;
}

const char* CliToolName(CliTool tool)
{
    switch (tool) {
    case CliTool::RegClean: return "regclean";
    case CliTool::JunkClean: return "sysclean";
    case CliTool::Backup: return "backup";
    default: return "";
    }
}

const char* CliCommandName(CliCommand command)
{
    switch (command) {
    case CliCommand::Help: return "help";
    case CliCommand::Scan: return "scan";
    case CliCommand::Fix: return "fix";
    case CliCommand::Clean: return "clean";
    case CliCommand::Backup: return "backup";
    case CliCommand::List: return "list";
    case CliCommand::Verify: return "verify";
    default: return "";
    }
}

CString CliUsage(CliTool tool)
{
    CString text;
    if (tool == CliTool::None)
        text += "Usage:\r\n";
    if (tool == CliTool::None || tool == CliTool::RegClean)
        text += "  toolhost regclean /scan  [/sections:LIST] [/report:FILE]\r\n"
                "  toolhost regclean /fix   [/sections:LIST] [/report:FILE]\r\n";
    if (tool == CliTool::None || tool == CliTool::JunkClean)
        text += "  toolhost sysclean /scan  [/drives:LETTERS] [/report:FILE]\r\n"
                "  toolhost sysclean /clean [/drives:LETTERS] [/mode:recycle|delete|move] [/to:FOLDER] "
                "[/report:FILE]\r\n";
    if (tool == CliTool::None || tool == CliTool::Backup)
        text += "  toolhost backup   /backup [/location:FOLDER] [/keep:N] [/report:FILE]\r\n"
                "  toolhost backup   /list   [/report:FILE]\r\n"
                "  toolhost backup   /verify[:INFO_ARB_PATH] [/report:FILE]\r\n";
    if (tool == CliTool::None)
        text += "  toolhost /?    toolhost <tool> /?\r\n"
                "Switches are case-insensitive and start with / or -. A tool word alone opens its window.\r\n";
    if (tool == CliTool::RegClean)
        text += "/sections: section numbers 0-11, comma-separated (default: the stored choice).\r\n";
    if (tool == CliTool::JunkClean)
        text += "/drives: drive letters, e.g. CD (default: the stored drives). /mode and /to default to the\r\n"
                "stored removal settings. Settings given here are used for this run only.\r\n";
    if (tool == CliTool::Backup)
        text += "/keep:N deletes the oldest sets beyond the N newest once the new set is verified.\r\n";
    text += "Exit codes: 0 done, nothing left; 1 the scan found something; 2 usage error, nothing done;\r\n"
            "3 failed wholly or in part; 4 the tool is already running.\r\n";
    return text;
}
