// The safe list (folders never scanned) and the other scan options.
#pragma once

#include <afxwin.h>

enum SafeFolderResult {
    SAFE_FOLDER_ADDED,
    SAFE_FOLDER_ALREADY_LISTED,  // refused silently
    SAFE_FOLDER_DRIVE_ROOT,      // refused with message 180
    SAFE_FOLDER_NOT_FIXED,       // refused silently
};

class SafeFolderList {
public:
    SafeFolderResult AddSafeFolder(LPCSTR path);
    void RemoveSafeFolder(LPCSTR path);
    void ListSafeFolders(CStringArray& names) const;
    // As listed, lower-cased and trimmed, for the scan's skip list.
    void ScanSafeFolders(CStringArray& list) const;
};

class OtherScanOptions {
public:
    void LoadOtherOptions();
    void SaveAllOtherOptions();
    void RestoreDefaultOtherOptions();
    // Flips one of the four switches by its value name and stores it.
    void ToggleOption(LPCSTR name);
    // The number at the start of text, forced into 5..100; stored. Returns it.
    DWORD SetMonths(LPCSTR text);

    DWORD FindFilesBasedOnMonth = 0;
    DWORD FFNumMonths = 90;
    DWORD SkipReadOnlyFiles = 1;
    DWORD FindEmptyFiles = 0;
    DWORD FindInvalidShortCuts = 1;

private:
    void SetDefaults();
    DWORD* ValueByName(LPCSTR name);
    void Store(LPCSTR name, DWORD value);
};

struct JunkScanOptions;
// The five values as the scan engine takes them.
JunkScanOptions ScanOptionsOf(const OtherScanOptions& other);

// The months threshold as the options page shows it.
DWORD ClampMonths(long n);
