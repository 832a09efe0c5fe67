#include "regbackup/SetVerify.h"

#include <vantor/FileCopy.h>

#include "regbackup/ArbFormat.h"
#include "regbackup/HiveTools.h"

BOOL VerifyHiveCopy(LPCSTR copyPath)
{
    char folder[MAX_PATH] = {};
    const DWORD n = GetTempPathA(MAX_PATH, folder);
    if (n == 0 || n >= MAX_PATH) lstrcpyA(folder, ".");
    char decoded[MAX_PATH] = {};
    // Creates an empty file of a fresh name; the decoded copy replaces it.
    if (!GetTempFileNameA(folder, "RVF", 0, decoded)) return FALSE;
    const BOOL ok = SetCopier().CopyFileDec(copyPath, decoded);
    const DWORD error = GetLastError();
    DeleteFileA(decoded);
    SetLastError(ok ? ERROR_SUCCESS : error);
    return ok;
}

bool VerifySetCopies(LPCSTR infoPath, std::vector<HiveCheck>& hives)
{
    hives.clear();
    ArbIndex index;
    if (!ReadArbIndex(infoPath, index)) return false;
    const CString folder = FolderOfPath(infoPath);
    bool all = true;
    for (const ArbEntry& entry : index.entries) {
        HiveCheck check;
        check.name = entry.name;
        check.key = HiveKeyText(ArbToRoot(entry.root), entry.subkey);
        check.verified = VerifyHiveCopy(folder + entry.name) != FALSE;
        all = all && check.verified;
        hives.push_back(check);
    }
    return all;
}

CString HiveKeyText(HKEY root, const CString& subkey)
{
    CString text = root == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE" : root == HKEY_USERS ? "HKEY_USERS" : "";
    if (!subkey.IsEmpty()) text += text.IsEmpty() ? subkey : "\\" + subkey;
    return text;
}
