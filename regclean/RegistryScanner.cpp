#include "regclean/RegistryScanner.h"

#include "regclean/ComChecks.h"
#include "regclean/FileProbe.h"
#include "regclean/FileReference.h"
#include "regclean/ListChecks.h"
#include "regclean/RegKey.h"

#include "host/HostServices.h"
#include "vantres/ids_regclean.h"

namespace {

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kVxdKey[] = "SYSTEM\\CurrentControlSet\\Services\\VXD";

// The keys the walking sections walk.
struct SectionWalk {
    int section;
    HKEY root;
    const char* subkey;
    REGSAM access;
    const char* path;
};
const SectionWalk kUserWalk{kSecUserSoftware, HKEY_CURRENT_USER, "Software", kFullAccess,
                            "HKEY_CURRENT_USER\\Software"};
const SectionWalk kMachineWalk{kSecSystemSoftware, HKEY_LOCAL_MACHINE, "Software", kFullAccess,
                               "HKEY_LOCAL_MACHINE\\Software"};
const SectionWalk kVxdWalk{kSecVxd, HKEY_LOCAL_MACHINE, kVxdKey, kReadAccess,
                           "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\VXD"};
const SectionWalk kMachineRunWalk{kSecRun, HKEY_LOCAL_MACHINE, kRunKey, kReadAccess,
                                  "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"};
const SectionWalk kUserRunWalk{kSecRun, HKEY_CURRENT_USER, kRunKey, kReadAccess,
                               "HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"};
const SectionWalk kSoundsWalk{kSecSounds, HKEY_CURRENT_USER, "AppEvents", kReadAccess, "HKEY_CURRENT_USER\\AppEvents"};

// Walks one key of a root if it opens; false when it does not.
bool WalkRoot(ScanContext& ctx, const SectionWalk& walk)
{
    RegKey key;
    if (key.Open(walk.root, walk.subkey, walk.access) != ERROR_SUCCESS) return false;
    WalkKey(ctx, key.get(), walk.path);
    return true;
}

// Every key this scan is going to walk, known before the first walk: a link
// met by one walk that leads into a key another walk covers is left to that one.
void AddWalkRoots(ScanContext& ctx, const SectionSwitches& on)
{
    const bool runWalked = on.on[kSecRun] && !on.on[kSecUserSoftware] && !on.on[kSecSystemSoftware];
    for (const SectionWalk* walk :
         {&kUserWalk, &kMachineWalk, &kVxdWalk, &kMachineRunWalk, &kUserRunWalk, &kSoundsWalk})
        if (on.on[walk->section] && (walk->section != kSecRun || runWalked))
            AddWalkRoot(ctx, walk->root, walk->subkey);
}

}  // namespace

void RunScanSteps(ScanContext& ctx, SectionSwitches on, std::vector<int>* ran)
{
    auto step = [&](int section) {
        if (!ctx.KeepGoing() || !on.on[section]) return false;
        if (ran) ran->push_back(section);
        return true;
    };
    AddWalkRoots(ctx, on);
    ComLists lists;
    if (step(kSecCom)) {
        RunComChecks(ctx, lists);
        lists.Clear();
    }
    if (step(kSecUserSoftware) && !WalkRoot(ctx, kUserWalk)) on.on[kSecUserSoftware] = false;
    if (step(kSecSystemSoftware) && !WalkRoot(ctx, kMachineWalk)) on.on[kSecSystemSoftware] = false;
    if (step(kSecSharedDlls)) CheckSharedDlls(ctx);
    if (step(kSecVxd)) WalkRoot(ctx, kVxdWalk);
    // The software walks cover the Run keys, the Uninstall key's neighbours,
    // the help keys and App Paths; these steps stand in when the walks are off.
    const bool userWalked = on.on[kSecUserSoftware];
    const bool machineWalked = on.on[kSecSystemSoftware];
    if (!userWalked && !machineWalked && step(kSecRun)) {
        WalkRoot(ctx, kMachineRunWalk);
        if (ctx.KeepGoing()) WalkRoot(ctx, kUserRunWalk);
    }
    if (step(kSecSounds)) WalkRoot(ctx, kSoundsWalk);
    // The walker never goes below the Uninstall key; its entries are tested here.
    if (!machineWalked && step(kSecUninstall)) CheckUninstallEntries(ctx);
    if (!machineWalked && step(kSecAppPaths)) CheckAppPaths(ctx);
    if (step(kSecFonts)) CheckFonts(ctx);
    if (!machineWalked && step(kSecHelp)) CheckHelpFiles(ctx);
    if (step(kSecFileAssociations)) CheckFileAssociations(ctx);
}

void ShowScanOutcome(const ScanFlags& flags, ScanSink& sink)
{
    sink.ShowStatus("");
    sink.ShowStatus(LoadTextById(flags.KeepGoing ? IDS_RC_SCAN_DONE : IDS_RC_SCAN_ABORTED));
    sink.ScanEnding();
    CString count;
    count.Format(LoadTextById(IDS_RC_FOUND_COUNT), sink.RowCount());
    sink.ShowStatus(count);
}

void RunRegistryScan(ScanFlags& flags, ScanSink& sink, FileProbe& probe, const SectionSwitches& switches,
                     std::vector<int>* ran)
{
    probe.Reset();
    FileReferenceTest files(probe);
    ScanContext ctx{flags, sink, files};
    flags.WalkCounter = 0;
    RunScanSteps(ctx, switches, ran);
    ShowScanOutcome(flags, sink);
}
