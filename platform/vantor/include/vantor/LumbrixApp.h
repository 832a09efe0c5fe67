// CLumbrixApp: the application base of the suite's programs.
#pragma once

#include <afxwin.h>
#include <vantor/VantorApi.h>

class VANTOR_API CLumbrixApp : public CWinApp {
public:
    CLumbrixApp();
    // Registers the common control classes the suite's windows use (list
    // views, progress bars, tool tips, headers). Returns TRUE.
    BOOL InitInstance() override;
};
