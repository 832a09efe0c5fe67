#include "regclean/Removal.h"

#include "regclean/UndoFormat.h"
#include "regclean/UndoStore.h"

#include "host/HostServices.h"
#include "vantres/ids_regclean.h"

#include <vantor/Registry.h>


void FindingTarget(const RegistryFinding& finding, CString& keyPath, CString& valueName)
{
    if (IsComFindingKey(finding.KeyPath)) {
        keyPath = ComFindingKey(finding.KeyPath, finding.ValueName);
        valueName.Empty();
    } else {
        keyPath = finding.KeyPath;
        valueName = finding.ValueName;
    }
}

bool ReadFindingValue(const CString& keyPath, const CString& valueName, DWORD& type, std::string& bytes)
{
    HKEY root;
    CString subkey;
    if (!SplitKeyPath(keyPath, root, subkey)) return false;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    const char* name = IsDefaultValueName(valueName) ? "" : valueName.GetString();
    DWORD size = 0;
    bool ok = false;
    if (::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        bytes.assign(size, '\0');
        ok = ::RegQueryValueExA(key, name, nullptr, &type, size ? reinterpret_cast<BYTE*>(&bytes[0]) : nullptr,
                                &size) == ERROR_SUCCESS;
        if (ok) bytes.resize(size);
    }
    ::RegCloseKey(key);
    return ok;
}

bool DeleteFindingValue(const CString& keyPath, const CString& valueName)
{
    // A value whose undo entry could never be merged back stays.
    if (!UndoEntryMergeable(keyPath)) return false;
    HKEY root;
    CString subkey;
    if (!SplitKeyPath(keyPath, root, subkey)) return false;
    CRegistry registry(root);
    // Open only: a key removed meanwhile is not made again.
    if (!registry.Open(root, subkey, FALSE)) return false;
    bool ok = registry.DeleteValue(IsDefaultValueName(valueName) ? "" : valueName.GetString()) != FALSE;
    registry.Close();
    return ok;
}

CString UndoEntryFor(const RegistryFinding& finding)
{
    CString keyPath, valueName;
    FindingTarget(finding, keyPath, valueName);
    DWORD type = REG_SZ;
    std::string bytes;
    if (ReadFindingValue(keyPath, valueName, type, bytes)) return FormatUndoEntry(keyPath, valueName, type, bytes);
    return FormatUndoEntry(keyPath, valueName, finding.Data);
}

namespace {

RegistryFinding RowFinding(CListCtrl& list, int row)
{
    RegistryFinding finding;
    finding.KeyPath = list.GetItemText(row, 0);
    finding.ValueName = list.GetItemText(row, 1);
    finding.Data = list.GetItemText(row, 2);
    return finding;
}

}  // namespace

RemovalOutcome RemoveCheckedFindings(CListCtrl& list, const CString& undoFolder,
                                     const std::function<void(const char*)>& showStatus)
{
    RemovalOutcome outcome;
    // First the whole undo text, from the values as they are now.
    CString text(kUndoHeader);
    for (int row = 0; row < list.GetItemCount(); ++row)
        if (list.GetCheck(row)) text += UndoEntryFor(RowFinding(list, row));
    outcome.undoPath = WriteUndoFile(text, undoFolder);
    outcome.written = !outcome.undoPath.IsEmpty();
    if (!outcome.written) return outcome;

    // Then the values, row by row; the row that moves up is looked at next.
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (!list.GetCheck(row)) continue;
        RegistryFinding finding = RowFinding(list, row);
        CString keyPath, valueName;
        FindingTarget(finding, keyPath, valueName);
        // A value already gone is still in the undo file; its row goes too.
        DeleteFindingValue(keyPath, valueName);
        list.DeleteItem(row);
        --row;
        ++outcome.removed;
        if (showStatus) {
            CString count;
            count.Format(LoadTextById(IDS_RC_FOUND_COUNT), list.GetItemCount());
            showStatus("");
            showStatus(count);
        }
    }
    return outcome;
}
