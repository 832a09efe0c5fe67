#include "junkclean/ProtectedFiles.h"

#include <cstring>

namespace {

// Entry 16 is made at each scan from the Windows directory; it stands here as NULL.
const char* const kSkipFragments[SKIP_FRAGMENT_COUNT] = {
    ":\\recycle", ":\\recycler", ":\\recycled", ":\\_restore", ":\\system volume information",
    "symantec shared\\virusdefs", "\\sendto", "\\paprport\\data", "chaos32", "\\system32\\dllcache",
    "\\program files\\common files", "\\resources\\themes", "\\system32\\security", "\\system32\\config",
    "\\system32\\catroot", NULL, "\\system32\\usmt", "office\\data", "office\\templates", "\\content.ie",
    "\\microsoft\\office\\", "microsoft office", "\\microsoft\\templates\\", "system32\\config\\systemprofile",
    "\\vbox\\", "\\microsoft\\outlook\\", "\\outlook", "\\pchealth\\", "\\microsoft\\address", "\\backup\\",
    "\\application data\\m", "\\application data\\r", "\\identities\\{", "\\opera7\\profile", "\\opera7\\mail",
    "\\opera\\profile", "\\opera\\mail", "\\norton antivirus\\", "\\quarantine\\",
    "installshield installation information", "assemblyinfo",
};

}  // namespace

const char* const kProtectedFileNames[PROTECTED_NAME_COUNT] = {
    "ntldr", "ntdetect.com", "ntdll.dll", "ntoskrnl.exe", "svchost.exe", "lsass.exe", "services.exe",
    "csrss.exe", "smss.exe", "boot.ini", "bootsect.dos", "io.sys", "msdos.sys", "command.com", "software",
    "system", "ntuser.dat", "ntuser.dat.log", "ntuser.ini", "system.dat", "user.dat", "classes.dat",
    "drvspace.bin", "protocol.ini", "win.ini", "system.ini", "win.com", "program.ini", "dosprmpt.pif",
    "win386.swp", "pagefile.sys", "hiberfile.sys", "config.sys", "autoexec.bat", "wz.pif", "passwd.log",
    "oakley.log", "ssl.log", "usrclass.dat", "usrclass.dat.log", "cleanup.log", "desktop.ini", "userdiff.log",
    "userdiff", "tempkey.log", "system.sav", "system.log", "software.sav", "software.log", "security.log",
    "sam.log", "default.sav", "default.log", "sysevent.evt", "appevent.evt", "secevent.evt", "security",
    "default", "sam", ".default", "winnt32.log", "h32log.txt", "objects.data", "outlook.srs", "extend.dat",
    "scan.dat", "outlook.pst", "index.dat", "normal.dot", "schedlog.txt", "vmm32.vxd", "hcdata.edb",
    "setup.exe", "unwise.exe", "install.log", "uninstall.exe", "uninstall.ini", "uninstal.exe",
    "uninstal.ini", "uninst.isu", "unins000.exe", "unins000.dat", "unins001.dat", "unwise32.exe", "setup.in",
};

const char* const kSystemFileTypes[SYSTEM_FILE_TYPE_COUNT] = {"exe", "sys", "dll", "com", "ocx",
                                                               "cpl", "drv", "tlb", "dot"};

CString WindowsDirTail() {
    char dir[MAX_PATH] = {};
    GetWindowsDirectoryA(dir, MAX_PATH);
    CString tail = CString(dir).Mid(3);
    tail.MakeLower();
    tail.Trim();
    return tail;
}

void AppendSkipFragments(CStringArray& list, const CString& windowsTail) {
    for (const char* fragment : kSkipFragments) list.Add(fragment ? CString(fragment) : windowsTail + "\\security");
}

void AppendProtectedNames(CStringArray& list) {
    for (const char* name : kProtectedFileNames) list.Add(name);
}

bool IsOrdinaryFileType(LPCSTR path) {
    // The extension runs from the last dot of the final component, as the
    // C library's path splitter takes it.
    const char* name = path;
    for (const char* p = path; *p; p = CharNextA(p))
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    const char* dot = std::strrchr(name, '.');
    if (!dot) return true;
    CString ext(dot);
    ext.SetAt(0, ' ');
    ext.Trim();
    ext.MakeLower();
    for (const char* type : kSystemFileTypes)
        if (ext == type) return false;
    return true;
}

bool FolderIsSkipped(const CString& folderPath, const CStringArray& skipFolders) {
    if (skipFolders.IsEmpty()) return false;
    CString lowered = folderPath;
    lowered.MakeLower();
    lowered.Trim();
    for (int i = 0; i < skipFolders.GetSize(); ++i)
        if (lowered.Find(skipFolders[i]) >= 0) return true;
    return false;
}
