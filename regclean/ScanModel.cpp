#include "regclean/ScanModel.h"

#include "regclean/PathText.h"

const char kRootClasses[] = "HKEY_CLASSES_ROOT";
const char kRootMachine[] = "HKEY_LOCAL_MACHINE";
const char kRootUser[] = "HKEY_CURRENT_USER";
const char kRootUsers[] = "HKEY_USERS";

void ListFindingSink::AddFinding(const char* keyPath, const char* valueName, const char* data)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = m_findingCount;
    item.pszText = const_cast<char*>(keyPath);
    int row = int(::SendMessageA(m_list, LVM_INSERTITEMA, 0, LPARAM(&item)));
    if (row < 0) return;
    LVITEMA sub{};
    sub.iSubItem = 1;
    sub.pszText = const_cast<char*>(valueName ? valueName : "");
    ::SendMessageA(m_list, LVM_SETITEMTEXTA, WPARAM(row), LPARAM(&sub));
    sub.iSubItem = 2;
    sub.pszText = const_cast<char*>(data ? data : "");
    ::SendMessageA(m_list, LVM_SETITEMTEXTA, WPARAM(row), LPARAM(&sub));
    ++m_findingCount;
}

void ListFindingSink::ShowStatus(const char* text)
{
    if (m_status) ::SetWindowTextA(m_status, text);
}

int ListFindingSink::RowCount() const
{
    return int(::SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0));
}

bool IsComFindingKey(const CString& keyPath)
{
    CString upper(keyPath);
    upper.MakeUpper();
    return TextFind(upper, "HKEY_CLASSES_ROOT\\CLSID\\{") >= 0 || TextFind(upper, "HKEY_CLASSES_ROOT\\TYPELIB\\{") >= 0 ||
           TextFind(upper, "HKEY_CLASSES_ROOT\\INTERFACE\\{") >= 0;
}

CString ComFindingKey(const CString& keyPath, const CString& valueColumn)
{
    CString key(keyPath);
    if (valueColumn.GetLength() > 0 && valueColumn[0] == '\\')
        key += valueColumn;
    else
        key += "\\" + valueColumn;
    // A version path ends with "\": the key itself has no empty last name.
    while (TextEndsWith(key, '\\')) key = key.Left(key.GetLength() - 1);
    return key;
}

bool SplitKeyPath(const CString& keyPath, HKEY& root, CString& subkey)
{
    static const struct {
        const char* prefix;
        HKEY root;
    } kRoots[] = {
        {"HKEY_CLASSES_ROOT\\", HKEY_CLASSES_ROOT},
        {"HKEY_LOCAL_MACHINE\\", HKEY_LOCAL_MACHINE},
        {"HKEY_CURRENT_USER\\", HKEY_CURRENT_USER},
        {"HKEY_USERS\\", HKEY_USERS},
    };
    CString upper(keyPath);
    upper.MakeUpper();
    for (const auto& r : kRoots) {
        if (upper.Find(r.prefix) != 0) continue;
        root = r.root;
        subkey = keyPath.Mid(int(strlen(r.prefix)));
        return true;
    }
    return false;
}
