#include "junkclean/RemovalOptions.h"

#include "junkclean/SettingsKey.h"

#include <vantor/Registry.h>

bool MoveFolderUsable(LPCSTR folder) {
    CString text(folder);
    text.Trim();
    if (text.IsEmpty()) return false;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(text, &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    return true;
}

void RemovalOptions::LoadRemovalOptions() {
    SC_RecycleBin = 1;
    SC_DirectDel = 0;
    SC_MoveToFolder = 0;
    Mode = REMOVAL_RECYCLE;
    SC_StrFolderName.Empty();

    CRegistry reg(HKEY_CURRENT_USER);
    reg.Open(HKEY_CURRENT_USER, JunkSettingsPath(), TRUE);
    struct { const char* name; DWORD* value; } flags[] = {
        {"SC_DirectDel", &SC_DirectDel}, {"SC_MoveToFolder", &SC_MoveToFolder}, {"SC_RecycleBin", &SC_RecycleBin}};
    for (auto& f : flags) {
        if (reg.VerifyValue(f.name))
            reg.ReadDWORD(f.name, *f.value);
        else
            reg.WriteDWORD(f.name, *f.value);
    }
    if (reg.VerifyValue("SC_StrFolderName")) reg.ReadString("SC_StrFolderName", SC_StrFolderName);
    reg.Close();

    // First set flag wins; none set means delete. Not written back here.
    if (SC_DirectDel)
        Select(1, 0, 0, REMOVAL_DELETE);
    else if (SC_RecycleBin)
        Select(0, 1, 0, REMOVAL_RECYCLE);
    else if (SC_MoveToFolder)
        Select(0, 0, 1, REMOVAL_MOVE);
    else
        Select(1, 0, 0, REMOVAL_DELETE);
}

void RemovalOptions::Select(DWORD del, DWORD recycle, DWORD move, DWORD mode) {
    SC_DirectDel = del;
    SC_RecycleBin = recycle;
    SC_MoveToFolder = move;
    Mode = mode;
}

void RemovalOptions::RestoreDefaultRemovalOptions() {
    Select(0, 1, 0, REMOVAL_RECYCLE);
    SC_StrFolderName.Empty();
    CRegistry reg(HKEY_CURRENT_USER);
    reg.Open(HKEY_CURRENT_USER, JunkSettingsPath(), TRUE);
    reg.WriteDWORD("SC_DirectDel", SC_DirectDel);
    reg.WriteDWORD("SC_MoveToFolder", SC_MoveToFolder);
    reg.WriteDWORD("SC_RecycleBin", SC_RecycleBin);
    reg.DeleteValue("SC_StrFolderName");
    reg.Close();
    ApplyRemovalOptions();
}

void RemovalOptions::SelectDirectDelete() {
    Select(1, 0, 0, REMOVAL_DELETE);
    ApplyRemovalOptions();
}

void RemovalOptions::SelectRecycleBin() {
    Select(0, 1, 0, REMOVAL_RECYCLE);
    ApplyRemovalOptions();
}

void RemovalOptions::SelectMoveToFolder() {
    Select(0, 0, 1, REMOVAL_MOVE);
    ApplyRemovalOptions();
}

void RemovalOptions::ApplyRemovalOptions() {
    {
        CRegistry reg(HKEY_CURRENT_USER);
        reg.Open(HKEY_CURRENT_USER, JunkSettingsPath(), TRUE);
        reg.WriteDWORD("SC_DirectDel", SC_DirectDel);
        reg.WriteDWORD("SC_MoveToFolder", SC_MoveToFolder);
        reg.WriteDWORD("SC_RecycleBin", SC_RecycleBin);
        reg.Close();
    }
    if (OnApplied) OnApplied();
}

void RemovalOptions::SetMoveFolder(LPCSTR path) {
    SC_StrFolderName = path;
    CRegistry reg(HKEY_CURRENT_USER);
    reg.Open(HKEY_CURRENT_USER, JunkSettingsPath(), TRUE);
    reg.WriteString("SC_StrFolderName", SC_StrFolderName, FALSE);
    reg.Close();
}
