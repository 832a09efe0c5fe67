#include "cli/BackupCommands.h"

#include "cli/Console.h"
#include "cli/Report.h"

#include "regbackup/HiveBackup.h"
#include "regbackup/HiveTools.h"
#include "regbackup/LegacyHiveBackup.h"
#include "regbackup/SetFolder.h"
#include "regbackup/SetRecords.h"
#include "regbackup/SetVerify.h"

#include <vantor/DlgMainWnd.h>
#include <vantor/Registry.h>
#include <vantor/System.h>

#include <algorithm>
#include <ctime>

namespace {

ULONGLONG AsNumber(const FILETIME& time)
{
    ULARGE_INTEGER n;
    n.LowPart = time.dwLowDateTime;
    n.HighPart = time.dwHighDateTime;
    return n.QuadPart;
}

SetListing Describe(const CString& info)
{
    SetListing set;
    set.info = info;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    FILETIME localWritten = {};
    if (::GetFileAttributesExA(info, GetFileExInfoStandard, &data)) {
        set.written = AsNumber(data.ftLastWriteTime);
        ::FileTimeToLocalFileTime(&data.ftLastWriteTime, &localWritten);
    }
    const SetDate named = ParseSetFolderName(SetFolderNameOfInfo(info));
    SYSTEMTIME when = {};
    when.wYear = WORD(named.year);
    when.wMonth = WORD(named.month);
    when.wDay = WORD(named.day);
    when.wHour = WORD(named.hour);
    when.wMinute = WORD(named.minute);
    FILETIME namedTime;
    if (named.year && ::SystemTimeToFileTime(&when, &namedTime)) {
        set.named = AsNumber(namedTime);
        set.date = IsoLocalTime(when);
    } else {
        // A folder the user renamed: the index's own time stands in.
        set.named = AsNumber(localWritten);
        set.date = IsoLocalTime(data.ftLastWriteTime);
    }
    return set;
}

nlohmann::json HivesJson(const std::vector<HiveCheck>& hives)
{
    nlohmann::json list = nlohmann::json::array();
    for (const HiveCheck& hive : hives)
        list.push_back({{"name", Utf8(hive.name)}, {"key", Utf8(hive.key)}, {"verified", hive.verified}});
    return list;
}

bool DeleteRegisteredSet(const CString& info)
{
    if (IsOsWinNT()) {
        CHiveBackup engine;
        engine.DeleteSet(info);
    } else {
        CLegacyHiveBackup engine;
        engine.DeleteSet(info);
    }
    return !PathExists(info);
}

// The console's view of a backup run.
class ConsoleProgress : public BackupProgress {
public:
    void SetRange(int, int) override {}
    void SetPos(int) override {}
    void SetText(LPCSTR text) override { CliLine(text); }
};

struct NewSet {
    CString info;
    bool written = false;
    bool allSaved = false;  // every hive the system lists was saved and copied
};

NewSet MakeSet(const CString& location)
{
    NewSet made;
    if (IsOsWinNT()) {
        CHiveBackup engine;
        // Set directly: a drive root ("D:\") is a chosen location too.
        engine.m_location = location;
        engine.m_userLocation = !location.IsEmpty();
        EnableBackupPrivileges();
        ConsoleProgress progress;
        engine.Run(progress);
        made.info = engine.InfoPath();
        made.written = engine.SetWritten() != FALSE;
        made.allSaved = engine.SavedCount() > 0 && size_t(engine.SavedCount()) == engine.m_records.size();
        if (made.written && engine.SavedCount() > 0) {
            CRegistry registry(HKEY_CURRENT_USER);
            if (registry.Open(HKEY_CURRENT_USER, CDlgChildWnd::m_strSettingsPath, TRUE)) {
                registry.WriteDWORD("LastRegBackup", DWORD(time(NULL)));
                registry.Close();
            }
        }
        return made;
    }
    CLegacyHiveBackup engine;
    engine.m_location = location;
    engine.m_userLocation = !location.IsEmpty();
    made.written = made.allSaved = engine.Backup();
    made.info = engine.InfoPath();
    return made;
}

// The folder that holds a set's folder: where the sets of one schedule lie.
CString SetsFolderOf(const CString& info)
{
    CString folder = FolderOfPath(info);
    while (EndsWithBackslash(folder)) folder = folder.Left(folder.GetLength() - 1);
    return FolderOfPath(folder);
}

// Deletes the oldest sets beyond the `keep` newest among those beside the new
// set (which counts as one). A set kept somewhere else (made at another
// location, or imported from a copy on another disk) is never touched.
bool KeepNewest(const CString& newInfo, int keep, nlohmann::json& deleted)
{
    bool ok = true;
    int kept = 1;
    const CString beside = SetsFolderOf(newInfo);
    for (const SetListing& set : ListSetsNewestFirst()) {
        if (set.info.CompareNoCase(newInfo) == 0 || SetsFolderOf(set.info).CompareNoCase(beside) != 0) continue;
        if (kept < keep) {
            ++kept;
            continue;
        }
        CliLinef("Deleting the old set %s", set.info.GetString());
        if (DeleteRegisteredSet(set.info))
            deleted.push_back(Utf8(set.info));
        else
            ok = false;
    }
    CStringArray drop;  // listing again drops the records of the deleted sets
    if (IsOsWinNT()) CHiveBackup().ListSets(drop);
    else CLegacyHiveBackup().ListSets(drop);
    return ok;
}

int Backup(CliContext& ctx)
{
    CString location = ctx.request.location;
    if (ctx.request.hasLocation && !MakeFolderPath(location))
        return ctx.Refuse("The folder \"" + location + "\" does not exist and cannot be created.");

    const NewSet made = MakeSet(location);
    std::vector<HiveCheck> hives;
    const bool verified = made.written && VerifySetCopies(made.info, hives);
    const bool complete = made.written && made.allSaved && verified;
    ctx.report["set"] = {{"info", made.written ? nlohmann::json(Utf8(made.info)) : nlohmann::json(nullptr)},
                         {"complete", complete},
                         {"hives", HivesJson(hives)}};
    nlohmann::json deleted = nlohmann::json::array();
    bool pruned = true;
    if (!complete) {
        ctx.Note("The backup is not complete; no old set was deleted.");
    } else {
        CliLinef("Backup set %s written and verified.", made.info.GetString());
        if (ctx.request.keep > 0) pruned = KeepNewest(made.info, ctx.request.keep, deleted);
        if (!pruned) ctx.Note("An old set could not be deleted.");
    }
    ctx.report["deleted_sets"] = deleted;
    for (const HiveCheck& hive : hives)
        if (!hive.verified) CliLinef("Hive %s (%s) does not verify.", hive.name.GetString(), hive.key.GetString());
    return complete && pruned ? kExitDone : kExitFailed;
}

int List(CliContext& ctx)
{
    nlohmann::json sets = nlohmann::json::array();
    for (const SetListing& set : ListSetsNewestFirst()) {
        CliLinef("%s  %s", set.date.c_str(), set.info.GetString());
        sets.push_back({{"info", Utf8(set.info)}, {"date", set.date}});
    }
    ctx.report["sets"] = sets;
    return kExitDone;
}

int Verify(CliContext& ctx)
{
    std::vector<SetListing> sets;
    if (!ctx.request.verifyPath.IsEmpty()) {
        if (!PathExists(ctx.request.verifyPath))
            return ctx.Refuse("The set \"" + ctx.request.verifyPath + "\" does not exist.");
        sets.push_back(Describe(ctx.request.verifyPath));
    } else {
        sets = ListSetsNewestFirst();
    }
    bool all = true;
    nlohmann::json rows = nlohmann::json::array();
    for (const SetListing& set : sets) {
        std::vector<HiveCheck> hives;
        const bool good = VerifySetCopies(set.info, hives);
        for (const HiveCheck& hive : hives)
            if (!hive.verified)
                CliLinef("%s: hive %s (%s) does not verify.", set.info.GetString(), hive.name.GetString(),
                         hive.key.GetString());
        if (good) CliLinef("%s verified.", set.info.GetString());
        if (!good && hives.empty()) CliLinef("%s: the index cannot be read.", set.info.GetString());
        all = all && good;
        rows.push_back({{"info", Utf8(set.info)},
                        {"date", set.date},
                        {"complete", good},
                        {"hives", HivesJson(hives)}});
    }
    ctx.report["sets"] = rows;
    return all ? kExitDone : kExitFailed;
}

}  // namespace

std::vector<SetListing> ListSetsNewestFirst()
{
    CStringArray infos;
    if (IsOsWinNT()) CHiveBackup().ListSets(infos);
    else CLegacyHiveBackup().ListSets(infos);
    std::vector<SetListing> sets;
    for (int i = 0; i < infos.GetSize(); ++i) sets.push_back(Describe(infos[i]));
    std::stable_sort(sets.begin(), sets.end(), [](const SetListing& a, const SetListing& b) {
        return a.named != b.named ? a.named > b.named : a.written > b.written;
    });
    return sets;
}

int RunBackupCommand(CliContext& ctx)
{
    switch (ctx.request.command) {
    case CliCommand::Backup: return Backup(ctx);
    case CliCommand::List: return List(ctx);
    case CliCommand::Verify: return Verify(ctx);
    default: return kExitUsage;
    }
}
