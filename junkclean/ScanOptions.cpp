#include "junkclean/ScanOptions.h"
#include "junkclean/JunkScanner.h"

#include "junkclean/SettingsKey.h"

#include <vantor/Registry.h>

#include <cstdlib>

SafeFolderResult SafeFolderList::AddSafeFolder(LPCSTR path) {
    CString folder(path);
    CRegistry reg(HKEY_CURRENT_USER);
    reg.Open(HKEY_CURRENT_USER, JunkSubKeyPath(JUNK_SUBKEY_FOLDERS), TRUE);
    if (reg.VerifyValue(folder)) return SAFE_FOLDER_ALREADY_LISTED;
    if (folder.GetLength() <= 3) return SAFE_FOLDER_DRIVE_ROOT;
    CString root = folder.Left(3);
    if (GetDriveTypeA(root) != DRIVE_FIXED) return SAFE_FOLDER_NOT_FIXED;
    reg.WriteDWORD(folder, 3);
    reg.Close();
    return SAFE_FOLDER_ADDED;
}

void SafeFolderList::RemoveSafeFolder(LPCSTR path) {
    CRegistry reg(HKEY_CURRENT_USER);
    reg.Open(HKEY_CURRENT_USER, JunkSubKeyPath(JUNK_SUBKEY_FOLDERS), TRUE);
    reg.DeleteValue(path);
    reg.Close();
}

void SafeFolderList::ListSafeFolders(CStringArray& names) const {
    CStringArray all;
    CRegistry reg(HKEY_CURRENT_USER);
    reg.Open(HKEY_CURRENT_USER, JunkSettingsPath(), TRUE);
    reg.ListValues(JUNK_SUBKEY_FOLDERS, all);
    reg.Close();
    names.RemoveAll();
    for (int i = 0; i < all.GetSize(); ++i)
        if (!all[i].IsEmpty() && all[i] != " ") names.Add(all[i]);
}

void SafeFolderList::ScanSafeFolders(CStringArray& list) const {
    list.RemoveAll();
    CStringArray names;
    ListSafeFolders(names);
    for (int i = 0; i < names.GetSize(); ++i) {
        CString name = names[i];
        name.MakeLower();
        name.Trim();
        list.Add(name);
    }
}

DWORD ClampMonths(long n) {
    if (n > 100) return 100;
    if (n < 5) return 5;
    return DWORD(n);
}

void OtherScanOptions::SetDefaults() {
    FindFilesBasedOnMonth = 0;
    FFNumMonths = 90;
    SkipReadOnlyFiles = 1;
    FindEmptyFiles = 0;
    FindInvalidShortCuts = 1;
}

DWORD* OtherScanOptions::ValueByName(LPCSTR name) {
    CString n(name);
    if (n == "FindFilesBasedOnMonth") return &FindFilesBasedOnMonth;
    if (n == "FFNumMonths") return &FFNumMonths;
    if (n == "SkipReadOnlyFiles") return &SkipReadOnlyFiles;
    if (n == "FindEmptyFiles") return &FindEmptyFiles;
    if (n == "FindInvalidShortCuts") return &FindInvalidShortCuts;
    return NULL;
}

void OtherScanOptions::Store(LPCSTR name, DWORD value) {
    CRegistry reg(HKEY_CURRENT_USER);
    reg.Open(HKEY_CURRENT_USER, JunkSettingsPath(), TRUE);
    reg.WriteDWORD(name, value);
    reg.Close();
}

void OtherScanOptions::LoadOtherOptions() {
    SetDefaults();
    static const char* const kOrder[] = {"FindFilesBasedOnMonth", "FindInvalidShortCuts", "SkipReadOnlyFiles",
                                         "FindEmptyFiles", "FFNumMonths"};
    CRegistry reg(HKEY_CURRENT_USER);
    reg.Open(HKEY_CURRENT_USER, JunkSettingsPath(), TRUE);
    for (const char* name : kOrder) {
        DWORD* value = ValueByName(name);
        if (reg.VerifyValue(name))
            reg.ReadDWORD(name, *value);
        else
            reg.WriteDWORD(name, *value);
    }
    reg.Close();
}

void OtherScanOptions::SaveAllOtherOptions() {
    CRegistry reg(HKEY_CURRENT_USER);
    reg.Open(HKEY_CURRENT_USER, JunkSettingsPath(), TRUE);
    reg.WriteDWORD("FindFilesBasedOnMonth", FindFilesBasedOnMonth);
    reg.WriteDWORD("FFNumMonths", FFNumMonths);
    reg.WriteDWORD("SkipReadOnlyFiles", SkipReadOnlyFiles);
    reg.WriteDWORD("FindEmptyFiles", FindEmptyFiles);
    reg.WriteDWORD("FindInvalidShortCuts", FindInvalidShortCuts);
    reg.Close();
}

void OtherScanOptions::RestoreDefaultOtherOptions() {
    SetDefaults();
    SaveAllOtherOptions();
}

void OtherScanOptions::ToggleOption(LPCSTR name) {
    DWORD* value = ValueByName(name);
    if (!value || value == &FFNumMonths) return;
    *value = *value == 0 ? 1 : 0;
    Store(name, *value);
}

DWORD OtherScanOptions::SetMonths(LPCSTR text) {
    // strtol skips leading blanks and gives 0 without a number.
    long n = std::strtol(text ? text : "", NULL, 10);
    FFNumMonths = ClampMonths(n);
    Store("FFNumMonths", FFNumMonths);
    return FFNumMonths;
}

JunkScanOptions ScanOptionsOf(const OtherScanOptions& other) {
    JunkScanOptions options;
    options.FindFilesBasedOnMonth = other.FindFilesBasedOnMonth;
    options.FFNumMonths = other.FFNumMonths;
    options.SkipReadOnlyFiles = other.SkipReadOnlyFiles;
    options.FindEmptyFiles = other.FindEmptyFiles;
    options.FindInvalidShortCuts = other.FindInvalidShortCuts;
    return options;
}
