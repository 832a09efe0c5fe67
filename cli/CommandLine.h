// The command line of unattended runs: which tool, which command, and the
// settings given for this run only. Parsing does nothing else, so a line
// that is refused has changed nothing.
#pragma once

#include <afxwin.h>

enum class CliTool { None, RegClean, JunkClean, Backup };
enum class CliCommand { None, Help, Scan, Fix, Clean, Backup, List, Verify };

const int kCliSectionCount = 12;

struct CliRequest {
    CliTool tool = CliTool::None;
    CliCommand command = CliCommand::None;

    bool hasSections = false;
    bool sections[kCliSectionCount] = {};
    bool hasDrives = false;
    CString drives;  // upper-case letters
    bool hasMode = false;
    DWORD mode = 0;  // RemovalMode: 1 delete, 2 Recycle Bin, 3 move
    bool hasTo = false;
    CString to;
    bool hasLocation = false;
    CString location;
    int keep = 0;  // 0: keep every set
    CString verifyPath;  // empty: every registered set
    CString report;      // empty: no report
};

// Whether the host hands this start to the command line: "toolhost /?", or
// a word other than "uninstall" followed by at least one switch (an unknown
// word is then refused). A tool word alone (or with plain words after it)
// opens the window as always.
bool IsCommandLineStart(int argc, char** argv);

// Reads argv[1..]. False with the reason in `error` for anything unknown,
// repeated, missing or out of range; what could be read (the tool, the
// command, the report path) is left in `request` even then.
bool ParseCommandLine(int argc, char** argv, CliRequest& request, CString& error);

// "regclean", "sysclean", "backup" and "scan", "fix", ... as reports name them.
const char* CliToolName(CliTool tool);
const char* CliCommandName(CliCommand command);

// The usage text of one tool, or of all (CliTool::None), lines ending in "\r\n".
CString CliUsage(CliTool tool);
