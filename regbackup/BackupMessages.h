// Messages of the backup tool's main window (application range, sent with
// zero parameters).
#pragma once

#include <windows.h>

enum : UINT {
    WM_SHOW_DEFAULT_PAGE = 0x800A,  // show the home view; answered with 1
    WM_SETS_CHANGED = 0x800B,       // a set was imported: refill the restore list
    WM_BACKUP_DONE = 0x8016,        // a backup was written: refill the restore list
};
