// The word on the command line and what it starts.
#pragma once

#include <afxwin.h>

enum class HostCommand {
    None,      // nothing recognised: quit at once
    Uninstall, // remove the program's own data, then quit
    JunkClean, // "sysclean": the junk-file cleaner
    RegClean,  // "regclean": the registry cleaner
    Backup,    // "backup": the registry backup tool
};

struct ToolWord {
    const char* word;
    HostCommand command;
    UINT instanceNameId; // string of the semaphore name and window caption; 0 for none
};

// The words in the order they are tried.
extern const ToolWord kToolWords[4];

// Lower-cased, then trimmed on both sides.
CString NormalizeToolWord(const CString& word);

// The first word of the table that stands anywhere in the normalised word;
// "uninstall" is tried first, so it wins over any tool word beside it.
HostCommand MatchToolWord(const CString& word);

// The instance name's string id of a tool; 0 for None and Uninstall.
UINT InstanceNameId(HostCommand command);
