// The application object: picks the tool named on the command line, keeps one
// instance per tool and runs that tool's main window until it closes.
#pragma once

#include <afxwin.h>
#include <vantor/LumbrixApp.h>

#include "host/Dispatch.h"

class CHostApp : public CLumbrixApp {
public:
    CHostApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
    void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT) override;

private:
    // Records where the program lies, in the settings key; done on every start.
    void RecordProgramLocation(LPCSTR programPath);
    // Runs the tool's main window modally if no other process runs the tool.
    void RunTool(HostCommand tool);
};
