#include "regbackup/SetVerify.h"

#include <vantor/FileCopy.h>

#include "regbackup/ArbFormat.h"
#include "regbackup/HiveTools.h"

BOOL VerifyHiveCopy(LPCSTR copyPath)
{
    if (GetFileAttributesA(copyPath) == INVALID_FILE_ATTRIBUTES) return FALSE;  // error: not found
    char folder[MAX_PATH] = {};
    const DWORD n = GetTempPathA(MAX_PATH, folder);
    if (n == 0 || n >= MAX_PATH) lstrcpyA(folder, ".");
    char decoded[MAX_PATH] = {};
    // Creates an empty file of a fresh name; the decoded copy replaces it.
    if (!GetTempFileNameA(folder, "RVF", 0, decoded)) return FALSE;
    BOOL ok = SetCopier().CopyFileDec(copyPath, decoded);
    DWORD error = GetLastError();
    // A hive is never empty: an empty result is as bad as a failed decode.
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (ok && GetFileAttributesExA(decoded, GetFileExInfoStandard, &data) && !data.nFileSizeLow &&
        !data.nFileSizeHigh) {
        ok = FALSE;
        error = ERROR_FILE_CORRUPT;
    }
    DeleteFileA(decoded);
    SetLastError(ok ? ERROR_SUCCESS : error);
    return ok;
}

bool VerifySetCopies(LPCSTR infoPath, std::vector<HiveCheck>& hives)
{
    hives.clear();
    ArbIndex index;
    ArbLegacyRecord legacy;
    if (ReadArbIndex(infoPath, index)) {
        const CString folder = FolderOfPath(infoPath);
        for (const ArbEntry& entry : index.entries) {
            HiveCheck check;
            check.name = entry.name;
            check.key = HiveKeyText(ArbToRoot(entry.root), entry.subkey);
            check.verified = VerifyHiveCopy(folder + entry.name) != FALSE;
            hives.push_back(check);
        }
    } else if (ReadLegacyRecord(infoPath, legacy)) {
        // The 9x line's set: one copy of the machine hive, one of the users hive.
        const CString copies[2] = {legacy.sys, legacy.user};
        const HKEY roots[2] = {HKEY_LOCAL_MACHINE, HKEY_USERS};
        for (int i = 0; i < 2; ++i) {
            HiveCheck check;
            const int slash = copies[i].ReverseFind('\\');
            check.name = slash >= 0 ? copies[i].Mid(slash + 1) : copies[i];
            check.key = HiveKeyText(roots[i], CString());
            check.verified = VerifyHiveCopy(copies[i]) != FALSE;
            hives.push_back(check);
        }
    } else {
        return false;
    }
    for (const HiveCheck& check : hives)
        if (!check.verified) return false;
    return true;
}

CString HiveKeyText(HKEY root, const CString& subkey)
{
    CString text = root == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE" : root == HKEY_USERS ? "HKEY_USERS" : "";
    if (!subkey.IsEmpty()) text += text.IsEmpty() ? subkey : "\\" + subkey;
    return text;
}
