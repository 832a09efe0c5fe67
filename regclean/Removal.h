// Removal of the ticked findings. Every value is read as it is and written
// to the undo file first; only once that file is written, closed and
// recorded are the values deleted and their rows taken out of the list.
#pragma once

#include "regclean/ScanModel.h"

#include <functional>
#include <string>
#include <vector>

// The key and value a finding stands for: for COM rows the value column is
// a subkey (or version path) whose default value is meant.
void FindingTarget(const RegistryFinding& finding, CString& keyPath, CString& valueName);

// Reads a value's type and bytes; false when it cannot be read.
bool ReadFindingValue(const CString& keyPath, const CString& valueName, DWORD& type, std::string& bytes);

// Deletes one value (an empty name or a single blank: the default value).
// Keys themselves are never deleted, and a value of a key whose name the
// registry editor cannot merge back (a line break in it) is kept.
bool DeleteFindingValue(const CString& keyPath, const CString& valueName);

// The undo entry of one finding: the value's own type and bytes, or the
// data column as a string when the value can no longer be read.
CString UndoEntryFor(const RegistryFinding& finding);

struct RemovalOutcome {
    bool written = false;  // the undo file and its record stand
    CString undoPath;
    int removed = 0;       // values gone (for a list: rows taken out of it)
};

// Removes the values of `chosen`: first one undo file (and its record) for
// all of them, from the values as they are now; nothing is deleted when
// that fails (`written` false, the caller tells the user). Then each value
// goes; removed[i] is true when finding i's value is gone afterwards.
// `showStatus` (optional) gets each finding's key path as its value goes.
RemovalOutcome RemoveFindings(const std::vector<RegistryFinding>& chosen, const CString& undoFolder,
                              std::vector<bool>& removed,
                              const std::function<void(const char*)>& showStatus = nullptr);

// Removes every ticked row of `list` through RemoveFindings; the rows leave
// the list once the undo file stands. `showStatus` (optional) gets the
// count line after each row.
RemovalOutcome RemoveCheckedFindings(CListCtrl& list, const CString& undoFolder,
                                     const std::function<void(const char*)>& showStatus = nullptr);
