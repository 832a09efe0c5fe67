#include "junkclean/JunkDefaults.h"

#include "junkclean/DriveSelection.h"
#include "junkclean/FilterTable.h"
#include "junkclean/RemovalOptions.h"
#include "junkclean/ScanOptions.h"

void RestoreJunkDefaults(DriveSelection& drives, FilterTable& filters, OtherScanOptions& other,
                         RemovalOptions& removal) {
    drives.RestoreDefaultDrives();
    filters.RestoreDefaultFilters();
    other.RestoreDefaultOtherOptions();
    removal.RestoreDefaultRemovalOptions();
}
