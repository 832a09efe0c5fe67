// What every command of the command line shares: the request, the report
// body it fills, and the exit codes.
#pragma once

#include "cli/CommandLine.h"

#include <nlohmann/json.hpp>

enum CliExit {
    kExitDone = 0,     // done, nothing left
    kExitFound = 1,    // a scan found something
    kExitUsage = 2,    // bad input: nothing was done
    kExitFailed = 3,   // failed wholly or in part
    kExitRunning = 4,  // the tool is already running: nothing was done
};

class CliReport;

struct CliContext {
    const CliRequest& request;
    nlohmann::json& report;
    CliReport& writer;

    // Bad input found before any work: the reason goes to the console and
    // the report; returns kExitUsage.
    int Refuse(const CString& why);
    // A fault the user must see (console and report "error"), the run goes on.
    void Note(const CString& why);
    // Before a removal starts: the report as it stands, marked failed until
    // the run ends, so a removal never runs without its report. True when
    // none was asked for or it was written.
    bool WriteReportBeforeRemoval();
};

// The commands of each tool; each returns its exit code.
int RunRegCleanCommand(CliContext& ctx);
int RunJunkCommand(CliContext& ctx);
int RunBackupCommand(CliContext& ctx);

// Creates `folder` with every missing level; true when it is a folder afterwards.
bool MakeFolderPath(const CString& folder);
