#include "junkclean/SettingsKey.h"

#include <vantor/DlgMainWnd.h>
#include <vantor/System.h>

CString JunkSettingsPath() {
    return CDlgChildWnd::m_strSettingsPath;
}

CString JunkSubKeyPath(LPCSTR subKey) {
    CString path = CDlgChildWnd::m_strSettingsPath;
    VantorAppendRegPath(path, subKey);
    return path;
}
