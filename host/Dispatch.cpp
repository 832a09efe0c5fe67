#include "host/Dispatch.h"

#include <vantres/ids_host.h>

const ToolWord kToolWords[4] = {
    {"uninstall", HostCommand::Uninstall, 0},
    {"sysclean", HostCommand::JunkClean, IDS_JUNK_INSTANCE_NAME},
    {"regclean", HostCommand::RegClean, IDS_REGCLEAN_INSTANCE_NAME},
    {"backup", HostCommand::Backup, IDS_REGBACKUP_INSTANCE_NAME},
};

CString NormalizeToolWord(const CString& word)
{
    CString normal(word);
    normal.MakeLower();
    normal.TrimLeft();
    normal.TrimRight();
    return normal;
}

HostCommand MatchToolWord(const CString& word)
{
    const CString normal = NormalizeToolWord(word);
    for (const ToolWord& entry : kToolWords)
        if (normal.Find(entry.word) != -1) return entry.command;
    return HostCommand::None;
}

UINT InstanceNameId(HostCommand command)
{
    for (const ToolWord& entry : kToolWords)
        if (entry.command == command) return entry.instanceNameId;
    return 0;
}
