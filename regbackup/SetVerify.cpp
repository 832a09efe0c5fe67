#include "regbackup/SetVerify.h"

#include "regbackup/ArbFormat.h"
#include "regbackup/HiveTools.h"

#include <vantor/FileCopy.h>

namespace {

CString RootName(DWORD root)
{
    if (ArbToRoot(root) == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
    if (ArbToRoot(root) == HKEY_USERS) return "HKEY_USERS";
    return CString();
}

// Decodes the copy into a temporary file of the temp folder and deletes it.
bool CopyDecodes(const CString& copy)
{
    if (::GetFileAttributesA(copy) == INVALID_FILE_ATTRIBUTES) return false;
    char folder[MAX_PATH] = {}, temp[MAX_PATH] = {};
    if (!::GetTempPathA(MAX_PATH, folder) || !::GetTempFileNameA(folder, "vfy", 0, temp)) return false;
    const bool decoded = SetCopier().CopyFileDec(copy, temp) != FALSE;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    // A hive is never empty: an empty result is as bad as a failed decode.
    const bool filled = decoded && ::GetFileAttributesExA(temp, GetFileExInfoStandard, &data) &&
                        (data.nFileSizeLow || data.nFileSizeHigh);
    ::DeleteFileA(temp);
    return filled;
}

}  // namespace

bool VerifySetCopies(LPCSTR infoPath, std::vector<HiveCopyCheck>& hives)
{
    hives.clear();
    ArbIndex index;
    ArbLegacyRecord legacy;
    if (ReadArbIndex(infoPath, index)) {
        const CString folder = FolderOfPath(infoPath);
        for (const ArbEntry& entry : index.entries) {
            HiveCopyCheck check;
            check.name = entry.name;
            check.key = RootName(entry.root) + "\\" + entry.subkey;
            check.verified = CopyDecodes(folder + entry.name);
            hives.push_back(check);
        }
    } else if (ReadLegacyRecord(infoPath, legacy)) {
        const CString copies[2] = {legacy.sys, legacy.user};
        const char* keys[2] = {"HKEY_LOCAL_MACHINE", "HKEY_USERS"};
        for (int i = 0; i < 2; ++i) {
            HiveCopyCheck check;
            const int slash = copies[i].ReverseFind('\\');
            check.name = slash >= 0 ? copies[i].Mid(slash + 1) : copies[i];
            check.key = keys[i];
            check.verified = CopyDecodes(copies[i]);
            hives.push_back(check);
        }
    } else {
        return false;
    }
    for (const HiveCopyCheck& check : hives)
        if (!check.verified) return false;
    return true;
}
