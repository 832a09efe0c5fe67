#include "RegCleanTestSupport.h"

#include "regclean/RegistryScanner.h"

#include "host/HostServices.h"
#include "testsupport.h"

#include <commctrl.h>

namespace rctest {

void LoadResources()
{
    static HMODULE library = nullptr;
    if (!library) {
        ::InitCommonControls();
        library = ::LoadLibraryA((testsupport::ProgramDir() + "vantres.dll").c_str());
    }
    if (library) AfxSetResourceHandle(library);
}

std::string Text(UINT id)
{
    LoadResources();
    return LoadTextById(id);
}

CollectSink::CollectSink() = default;

CollectSink::~CollectSink() = default;

void CollectSink::AddFinding(const char* keyPath, const char* valueName, const char* data)
{
    CSingleLock hold(&m_lock, TRUE);
    RegistryFinding row;
    row.KeyPath = keyPath;
    row.ValueName = valueName ? valueName : "";
    row.Data = data ? data : "";
    m_rows.push_back(row);
    if (m_stopFlags && int(m_rows.size()) >= m_stopAfter) m_stopFlags->KeepGoing = false;
}

void CollectSink::ShowStatus(const char* text)
{
    CSingleLock hold(&m_lock, TRUE);
    m_statuses.push_back(text ? text : "");
}

int CollectSink::RowCount() const
{
    CSingleLock hold(&m_lock, TRUE);
    return int(m_rows.size());
}

std::vector<RegistryFinding> CollectSink::Rows() const
{
    CSingleLock hold(&m_lock, TRUE);
    return m_rows;
}

std::vector<std::string> CollectSink::Statuses() const
{
    CSingleLock hold(&m_lock, TRUE);
    return m_statuses;
}

std::vector<RegistryFinding> ScanRun::Scan(std::initializer_list<int> sections)
{
    SectionSwitches on(false);
    for (int s : sections) on.on[s] = true;
    RunScanSteps(ctx, on);
    return sink.Rows();
}

int CountRows(const std::vector<RegistryFinding>& rows, const std::string& key, const std::string& name,
              const std::string& data)
{
    int n = 0;
    for (const RegistryFinding& row : rows)
        if (row.KeyPath.str() == key && row.ValueName.str() == name && row.Data.str() == data) ++n;
    return n;
}

std::vector<RegistryFinding> RowsBelow(const std::vector<RegistryFinding>& rows, const std::string& prefix)
{
    std::vector<RegistryFinding> out;
    CString upperPrefix(prefix.c_str());
    upperPrefix.MakeUpper();
    for (const RegistryFinding& row : rows) {
        CString key(row.KeyPath);
        key.MakeUpper();
        if (key.Find(upperPrefix) == 0) out.push_back(row);
    }
    return out;
}

std::string Describe(const std::vector<RegistryFinding>& rows)
{
    std::string out;
    for (const RegistryFinding& row : rows)
        out += "  [" + row.KeyPath.str() + "] [" + row.ValueName.str() + "] [" + row.Data.str() + "]\n";
    return out.empty() ? "  (no rows)\n" : out;
}

HiddenList::HiddenList()
{
    ::InitCommonControls();
    m_parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
    HWND list = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 600, 400, m_parent,
                                  HMENU(1), nullptr, nullptr);
    m_list.Attach(list);
    m_list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    m_list.InsertColumn(0, "path", LVCFMT_LEFT, 200);
    m_list.InsertColumn(1, "value", LVCFMT_LEFT, 100);
    m_list.InsertColumn(2, "data", LVCFMT_LEFT, 200);
}

HiddenList::~HiddenList()
{
    HWND list = m_list.Detach();
    ::DestroyWindow(list);
    ::DestroyWindow(m_parent);
}

int HiddenList::AddRow(const std::string& key, const std::string& name, const std::string& data, bool ticked)
{
    int row = m_list.InsertItem(m_list.GetItemCount(), key.c_str());
    m_list.SetItemText(row, 1, name.c_str());
    m_list.SetItemText(row, 2, data.c_str());
    m_list.SetCheck(row, ticked);
    return row;
}

KeySnapshot::KeySnapshot(HKEY root, const std::string& path) : m_root(root), m_path(path)
{
    HKEY key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    m_existed = true;
    for (DWORD i = 0;; ++i) {
        char name[1024];
        DWORD nameSize = sizeof name, type = 0, size = 0;
        if (::RegEnumValueA(key, i, name, &nameSize, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        Value v{name, type, std::string(size, '\0')};
        nameSize = sizeof name;
        ::RegEnumValueA(key, i, name, &nameSize, nullptr, &type, size ? reinterpret_cast<BYTE*>(&v.bytes[0]) : nullptr,
                        &size);
        m_values.push_back(v);
    }
    ::RegCloseKey(key);
}

KeySnapshot::~KeySnapshot()
{
    testsupport::RegDeleteTree(m_root, m_path);
    if (!m_existed) return;
    for (const Value& v : m_values) SetValue(m_root, m_path, v.name.c_str(), v.type, v.bytes);
    if (m_values.empty()) {
        HKEY key;
        if (::RegCreateKeyExA(m_root, m_path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
            ERROR_SUCCESS)
            ::RegCloseKey(key);
    }
}

bool ReadValue(HKEY root, const std::string& path, const char* name, DWORD& type, std::string& bytes)
{
    HKEY key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    bool ok = ::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    if (ok) {
        bytes.assign(size, '\0');
        ok = ::RegQueryValueExA(key, name, nullptr, &type, size ? reinterpret_cast<BYTE*>(&bytes[0]) : nullptr,
                                &size) == ERROR_SUCCESS;
        bytes.resize(size);
    }
    ::RegCloseKey(key);
    return ok;
}

void SetValue(HKEY root, const std::string& path, const char* name, DWORD type, const std::string& bytes)
{
    HKEY key;
    if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), DWORD(bytes.size()));
    ::RegCloseKey(key);
}

void SetText(HKEY root, const std::string& path, const char* name, const std::string& text, DWORD type)
{
    SetValue(root, path, name, type, text + '\0');
}

void DeleteValue(HKEY root, const std::string& path, const char* name)
{
    HKEY key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    ::RegDeleteValueA(key, name);
    ::RegCloseKey(key);
}

}  // namespace rctest
