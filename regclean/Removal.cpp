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

bool ValueGone(const CString& keyPath, const CString& valueName)
{
    DWORD type = 0;
    std::string bytes;
    return !ReadFindingValue(keyPath, valueName, type, bytes);
}

}  // namespace

RemovalOutcome RemoveFindings(const std::vector<RegistryFinding>& chosen, const CString& undoFolder,
                              std::vector<bool>& removed, const std::function<void(const char*)>& showStatus)
{
    RemovalOutcome outcome;
    removed.assign(chosen.size(), false);
    // First the whole undo text, from the values as they are now.
    CString text(kUndoHeader);
    for (const RegistryFinding& finding : chosen) text += UndoEntryFor(finding);
    outcome.undoPath = WriteUndoFile(text, undoFolder);
    outcome.written = !outcome.undoPath.IsEmpty();
    if (!outcome.written) return outcome;

    // Then the values; one already gone is still in the undo file.
    for (size_t i = 0; i < chosen.size(); ++i) {
        CString keyPath, valueName;
        FindingTarget(chosen[i], keyPath, valueName);
        if (showStatus) showStatus(keyPath);
        removed[i] = DeleteFindingValue(keyPath, valueName) || ValueGone(keyPath, valueName);
        if (removed[i]) ++outcome.removed;
    }
    return outcome;
}

RemovalOutcome RemoveCheckedFindings(CListCtrl& list, const CString& undoFolder,
                                     const std::function<void(const char*)>& showStatus)
{
    std::vector<int> rows;
    std::vector<RegistryFinding> chosen;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (!list.GetCheck(row)) continue;
        rows.push_back(row);
        chosen.push_back(RowFinding(list, row));
    }
    std::vector<bool> removed;
    RemovalOutcome outcome = RemoveFindings(chosen, undoFolder, removed);
    if (!outcome.written) return outcome;
    // A row goes when its value is gone; one whose value could not be
    // deleted stays. Last first, so the other indexes hold.
    for (size_t k = rows.size(); k-- > 0;) {
        if (!removed[k]) continue;
        list.DeleteItem(rows[k]);
        if (showStatus) {
            CString count;
            count.Format(LoadTextById(IDS_RC_FOUND_COUNT), list.GetItemCount());
            showStatus("");
            showStatus(count);
        }
    }
    return outcome;
}
