#include <vantor/LumbrixApp.h>

CLumbrixApp::CLumbrixApp() : CWinApp(NULL) {}

BOOL CLumbrixApp::InitInstance()
{
    INITCOMMONCONTROLSEX classes = {};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&classes);
    return TRUE;
}
