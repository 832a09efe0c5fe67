// "Load defaults" of the option area: drives, filters, other options and
// removal options back to their defaults, in this order. The safe list stays.
#pragma once

class DriveSelection;
class FilterTable;
class OtherScanOptions;
class RemovalOptions;

void RestoreJunkDefaults(DriveSelection& drives, FilterTable& filters, OtherScanOptions& other,
                         RemovalOptions& removal);
