#include "cli/CliRun.h"

#include "cli/CliContext.h"
#include "cli/Console.h"
#include "cli/Report.h"

#include "host/Dispatch.h"
#include "host/HostServices.h"

int CliContext::Refuse(const CString& why)
{
    CliLinef("toolhost: %s", why.GetString());
    report["error"] = Utf8(why);
    return kExitUsage;
}

void CliContext::Note(const CString& why)
{
    CliLinef("toolhost: %s", why.GetString());
    report["error"] = Utf8(why);
}

bool CliContext::WriteReportBeforeRemoval()
{
    if (request.report.IsEmpty() || writer.Write(request.report, kExitFailed)) return true;
    Note("The report could not be written; nothing was removed.");
    return false;
}

bool MakeFolderPath(const CString& folder)
{
    CString path(folder);
    // Whole characters only: the second byte of a double-byte name can be 0x5C.
    while (EndsWithBackslash(path) || (!path.IsEmpty() && path[path.GetLength() - 1] == '/'))
        path = path.Left(path.GetLength() - 1);
    if (path.IsEmpty()) return false;
    DWORD attributes = ::GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const int slash = path.ReverseFind('\\');
    if (slash > 0) {
        // Not above a drive's root ("C:") or a share's server ("\\\\server").
        const CString parent = path.Left(slash);
        if (parent[parent.GetLength() - 1] != ':' && !EndsWithBackslash(parent)) MakeFolderPath(parent);
    }
    ::CreateDirectoryA(path, NULL);
    attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

HostCommand HostToolOf(CliTool tool)
{
    switch (tool) {
    case CliTool::RegClean: return HostCommand::RegClean;
    case CliTool::JunkClean: return HostCommand::JunkClean;
    case CliTool::Backup: return HostCommand::Backup;
    default: return HostCommand::None;
    }
}

// The tool's instance rule without its window part: a running instance is
// left alone, not brought forward. The handle stays open for the life of the
// process, as the window's does.
bool TakeToolInstance(CliTool tool)
{
    const CString name(LoadTextById(InstanceNameId(HostToolOf(tool))));
    HANDLE semaphore = ::CreateSemaphoreA(NULL, 1, 1, name);
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        if (semaphore) ::CloseHandle(semaphore);
        return false;
    }
    return true;
}

int RunRequest(CliContext& ctx)
{
    switch (ctx.request.tool) {
    case CliTool::RegClean: return RunRegCleanCommand(ctx);
    case CliTool::JunkClean: return RunJunkCommand(ctx);
    case CliTool::Backup: return RunBackupCommand(ctx);
    default: return kExitUsage;
    }
}

const char* kExitWords[] = {"done", "found something", "usage error", "failed", "already running"};

}  // namespace

int RunCommandLine(int argc, char** argv)
{
    OpenCliConsole();
    CliRequest request;
    CString error;
    const bool parsed = ParseCommandLine(argc, argv, request, error);
    if (parsed && request.command == CliCommand::Help) {
        ShowCliUsage(CliUsage(request.tool));
        return kExitDone;
    }

    CliReport report(CliToolName(request.tool), CliCommandName(request.command));
    CliContext ctx{request, report.Body(), report};
    int code = kExitUsage;
    CString reportWhy;
    if (!parsed) {
        ctx.Refuse(error);
        CliLine("Type \"toolhost /?\" for the usage.");
    } else if (!request.report.IsEmpty() && !ReportPathUsable(request.report, reportWhy)) {
        // Nothing else can be written either: the console alone says why.
        ctx.Refuse(reportWhy);
        return kExitUsage;
    } else if (!TakeToolInstance(request.tool)) {
        code = kExitRunning;
        ctx.Note(CString(CliToolName(request.tool)) + " is already running; nothing was done.");
    } else {
        code = RunRequest(ctx);
    }

    if (!request.report.IsEmpty()) {
        CString why;
        if (!ReportPathUsable(request.report, why) || !report.Write(request.report, code)) {
            CliLinef("toolhost: the report \"%s\" could not be written.", request.report.GetString());
            if (code == kExitDone || code == kExitFound) code = kExitFailed;
        }
    }
    // A line refused before its command was known names no command.
    CString line("toolhost");
    if (*CliToolName(request.tool)) line += CString(" ") + CliToolName(request.tool);
    if (*CliCommandName(request.command)) line += CString(" /") + CliCommandName(request.command);
    CliLinef("%s: %s (exit code %d).", line.GetString(), kExitWords[code], code);
    return code;
}
