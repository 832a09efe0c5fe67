#include "host/HostApp.h"

#include "host/HelpLauncher.h"
#include "host/HostServices.h"
#include "host/Language.h"
#include "host/OwnDataRemoval.h"
#include "host/ProgramLocale.h"
#include "host/ResourceScope.h"
#include "host/SingleInstanceGuard.h"
#include "vantres/ids_host.h"

#include "cli/CommandLine.h"
#include "cli/CliRun.h"

#include "junkclean/JunkCleanerWnd.h"
#include "regbackup/BackupMainWnd.h"
#include "regclean/RegCleanWindow.h"

#include <vantor/DlgMainWnd.h>
#include <vantor/Registry.h>

#include <cstdlib>
#include <memory>

// The resource library's one export (ordinal 1 of vantres.dll, see
// vantres-bind.def). Calling it binds the library to the program at load
// time, so its resources are in the framework's chain before anything runs.
extern "C" __declspec(dllimport) HMODULE VantresBind(void);

CHostApp theApp;

CHostApp::CHostApp()
{
    ApplyProgramLocale();
    VantresBind();
    CreateSharedDrawingObjects();
}

namespace {

LPCSTR Argument(int index)
{
    return index < __argc && __argv[index] ? __argv[index] : "";
}

// The window object lives on the heap: a tool's window holds its pages and
// lists and may be large.
template <class Window>
void RunMainWindow(CWinApp& app)
{
    std::unique_ptr<Window> window(new Window(nullptr));
    app.m_pMainWnd = window.get();
    window->DoModal();
    app.m_pMainWnd = nullptr;
}

}  // namespace

BOOL CHostApp::InitInstance()
{
    AfxEnableControlContainer();
    AfxOleInit();

    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    CLumbrixApp::InitInstance();

    CString word(Argument(1));
    RecordProgramLocation(Argument(0));
    if (word.IsEmpty()) {
        ::PostQuitMessage(0);
        return FALSE;
    }

    // The tools take every template, string and bitmap from the resource
    // library, in the run's language; the scope puts the previous source back
    // on the way out.
    ApplyProgramLanguage();
    ResourceScope resources("vantres.dll");
    // Switches after the tool word: an unattended run, never a window.
    if (IsCommandLineStart(__argc, __argv)) {
        m_nExitCode = RunCommandLine(__argc, __argv);
        ::PostQuitMessage(m_nExitCode);
        return FALSE;
    }
    const HostCommand command = MatchToolWord(word);
    if (command == HostCommand::Uninstall)
        RemoveOwnData();
    else if (command != HostCommand::None)
        RunTool(command);

    ::PostQuitMessage(0);
    return FALSE;
}

int CHostApp::ExitInstance()
{
    ReleaseSharedDrawingObjects();
    return CLumbrixApp::ExitInstance();
}

void CHostApp::WinHelp(DWORD_PTR data, UINT command)
{
    LaunchHelp(Argument(0));
}

void CHostApp::RecordProgramLocation(LPCSTR programPath)
{
    CRegistry settings(HKEY_CURRENT_USER);
    if (!settings.Open(HKEY_CURRENT_USER, CDlgChildWnd::m_strSettingsPath, TRUE)) return;
    settings.WriteString("OVN Path", programPath, FALSE);
    settings.WriteDWORD("OVN_MAJOR", 1);
    settings.WriteDWORD("OVN_MINOR", 1);
    settings.WriteDWORD("OVN_INFO", 1);
    settings.Close();
}

void CHostApp::RunTool(HostCommand tool)
{
    // The instance name is copied: the text buffer is reused by the window.
    const CString instanceName(LoadTextById(InstanceNameId(tool)));
    SingleInstanceGuard guard(instanceName);
    if (!guard.Allowed()) {
        // Held by a run without a window: say so rather than do nothing.
        if (!guard.RaisedWindow()) AfxMessageBox(IDS_HOST_BUSY, MB_ICONINFORMATION);
        return;
    }

    switch (tool) {
    case HostCommand::JunkClean: RunMainWindow<CJunkCleanerWnd>(*this); break;
    case HostCommand::RegClean: RunMainWindow<RegCleanWindow>(*this); break;
    case HostCommand::Backup: RunMainWindow<CBackupMainWnd>(*this); break;
    default: break;
    }
}
