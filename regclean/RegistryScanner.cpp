#include "regclean/RegistryScanner.h"

#include "regclean/ComChecks.h"
#include "regclean/FileProbe.h"
#include "regclean/FileReference.h"
#include "regclean/ListChecks.h"
#include "regclean/RegKey.h"

#include "host/HostServices.h"
#include "vantres/ids_regclean.h"

namespace {

// Walks one key of a root if it opens; false when it does not.
bool WalkRoot(ScanContext& ctx, HKEY root, const char* subkey, REGSAM access, const char* path)
{
    RegKey key;
    if (key.Open(root, subkey, access) != ERROR_SUCCESS) return false;
    WalkKey(ctx, key.get(), path);
    return true;
}

}  // namespace

void RunScanSteps(ScanContext& ctx, SectionSwitches on, std::vector<int>* ran)
{
    auto step = [&](int section) {
        if (!ctx.KeepGoing() || !on.on[section]) return false;
        if (ran) ran->push_back(section);
        return true;
    };
    ComLists lists;
    if (step(kSecCom)) {
        RunComChecks(ctx, lists);
        lists.Clear();
    }
    if (step(kSecUserSoftware) &&
        !WalkRoot(ctx, HKEY_CURRENT_USER, "Software", kFullAccess, "HKEY_CURRENT_USER\\Software"))
        on.on[kSecUserSoftware] = false;
    if (step(kSecSystemSoftware) &&
        !WalkRoot(ctx, HKEY_LOCAL_MACHINE, "Software", kFullAccess, "HKEY_LOCAL_MACHINE\\Software"))
        on.on[kSecSystemSoftware] = false;
    if (step(kSecSharedDlls)) CheckSharedDlls(ctx);
    if (step(kSecVxd))
        WalkRoot(ctx, HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\VXD", kReadAccess,
                 "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\VXD");
    // The software walks cover the Run keys, the Uninstall key's neighbours,
    // the help keys and App Paths; these steps stand in when the walks are off.
    const bool userWalked = on.on[kSecUserSoftware];
    const bool machineWalked = on.on[kSecSystemSoftware];
    if (!userWalked && !machineWalked && step(kSecRun)) {
        WalkRoot(ctx, HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", kReadAccess,
                 "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
        if (ctx.KeepGoing())
            WalkRoot(ctx, HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", kReadAccess,
                     "HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
    }
    if (step(kSecSounds)) WalkRoot(ctx, HKEY_CURRENT_USER, "AppEvents", kReadAccess, "HKEY_CURRENT_USER\\AppEvents");
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
