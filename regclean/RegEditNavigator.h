// Shows a finding in the system's registry editor: the editor is found (or
// started), its tree is collapsed and then walked by typing the key path, and
// a value name is typed into its value list.
#pragma once

#include "regclean/ScanModel.h"

// Where the editor is to go for a finding.
struct RegEditTarget {
    CString TreePath;   // "\HKEY_CURRENT_USER\Software\..."; ends with "\" when the whole target is a key
    CString ValueName;  // the last component, when the target did not open as a key
    bool IsKey = false;
};

// The tree path and value name of a finding (COM rows: the value column is
// part of the key). The target is tried as a key first; when it does not
// open, its last component is taken as a value name.
RegEditTarget RegEditTargetFor(const RegistryFinding& finding);

// Brings the editor to the front at the target; false when the editor
// cannot be found or started, or its tree is not there.
bool ShowInRegistryEditor(const RegistryFinding& finding);
