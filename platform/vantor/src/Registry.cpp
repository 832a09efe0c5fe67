#include <vantor/Registry.h>

#include <vector>

#include "Handles.h"

CRegistry::CRegistry(const HKEY& root) : m_hRoot(root), m_hKey(NULL) {}

CRegistry::~CRegistry() { Close(); }

BOOL CRegistry::Open(HKEY root, LPCSTR path, BOOL bCreate)
{
    Close();
    if (!root || !path) return FALSE;
    HKEY key = NULL;
    LONG rc;
    if (bCreate) {
        DWORD disposition = 0;
        rc = RegCreateKeyExA(root, path, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, NULL, &key,
                             &disposition);
    } else {
        rc = RegOpenKeyExA(root, path, 0, KEY_READ | KEY_WRITE, &key);
    }
    // A limited user may read HKLM but not write there: readers still get in.
    if (rc == ERROR_ACCESS_DENIED) rc = RegOpenKeyExA(root, path, 0, KEY_READ, &key);
    if (rc != ERROR_SUCCESS) return FALSE;
    m_hKey = key;
    return TRUE;
}

void CRegistry::Close()
{
    if (m_hKey) {
        RegCloseKey(m_hKey);
        m_hKey = NULL;
    }
}

BOOL CRegistry::VerifyValue(LPCSTR name)
{
    if (!m_hKey) return FALSE;
    return RegQueryValueExA(m_hKey, name, NULL, NULL, NULL, NULL) == ERROR_SUCCESS;
}

BOOL CRegistry::ReadDWORD(LPCSTR name, DWORD& value)
{
    if (!m_hKey) return FALSE;
    DWORD type = 0, data = 0, size = sizeof(data);
    if (RegQueryValueExA(m_hKey, name, NULL, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS)
        return FALSE;
    if (size != sizeof(DWORD) || (type != REG_DWORD && type != REG_BINARY)) return FALSE;
    value = data;
    return TRUE;
}

BOOL CRegistry::WriteDWORD(LPCSTR name, DWORD value)
{
    if (!m_hKey) return FALSE;
    return RegSetValueExA(m_hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) ==
           ERROR_SUCCESS;
}

BOOL CRegistry::ReadString(LPCSTR name, CString& text)
{
    if (!m_hKey) return FALSE;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(m_hKey, name, NULL, &type, NULL, &size) != ERROR_SUCCESS) return FALSE;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return FALSE;
    // The value may grow between the two calls: retry with the new size.
    std::vector<char> buffer;
    for (int attempt = 0; attempt < 8; ++attempt) {
        buffer.assign(size_t(size) + 2, '\0');
        DWORD got = size;
        LONG rc = RegQueryValueExA(m_hKey, name, NULL, &type, reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (rc == ERROR_MORE_DATA) {
            size = got;
            continue;
        }
        if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return FALSE;
        // Stored data need not end with a NUL, or may carry several.
        size_t length = 0;
        while (length < got && buffer[length] != '\0') ++length;
        text = CString(buffer.data(), int(length));
        return TRUE;
    }
    return FALSE;
}

BOOL CRegistry::WriteString(LPCSTR name, LPCSTR text, BOOL bExpand)
{
    if (!m_hKey) return FALSE;
    if (!text) text = "";
    DWORD size = DWORD(lstrlenA(text)) + 1;
    return RegSetValueExA(m_hKey, name, 0, bExpand ? REG_EXPAND_SZ : REG_SZ, reinterpret_cast<const BYTE*>(text),
                          size) == ERROR_SUCCESS;
}

BOOL CRegistry::Read(LPCSTR name, LPVOID buffer, DWORD size, DWORD* pStored)
{
    if (!m_hKey) return FALSE;
    DWORD got = size;
    LONG rc = RegQueryValueExA(m_hKey, name, NULL, NULL, static_cast<BYTE*>(buffer), &got);
    if (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
        if (pStored) *pStored = got;
    }
    return rc == ERROR_SUCCESS;
}

BOOL CRegistry::Write(LPCSTR name, LPCVOID buffer, DWORD size)
{
    if (!m_hKey) return FALSE;
    if (!buffer && size) return FALSE;
    return RegSetValueExA(m_hKey, name, 0, REG_BINARY, static_cast<const BYTE*>(buffer), size) == ERROR_SUCCESS;
}

BOOL CRegistry::DeleteValue(LPCSTR name)
{
    if (!m_hKey) return FALSE;
    return RegDeleteValueA(m_hKey, name ? name : "") == ERROR_SUCCESS;
}

BOOL CRegistry::ListValues(LPCSTR path, CStringArray& names)
{
    names.RemoveAll();
    HKEY base = m_hKey ? m_hKey : m_hRoot;
    if (!base) return FALSE;
    vantor::RegKey key;
    if (RegOpenKeyExA(base, path ? path : "", 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) return FALSE;

    DWORD longest = 0;
    if (RegQueryInfoKeyA(key, NULL, NULL, NULL, NULL, NULL, NULL, NULL, &longest, NULL, NULL, NULL) != ERROR_SUCCESS)
        longest = 0;
    std::vector<char> name(size_t(longest < 256 ? 256 : longest) + 1);
    for (DWORD index = 0;;) {
        DWORD length = DWORD(name.size());
        LONG rc = RegEnumValueA(key, index, name.data(), &length, NULL, NULL, NULL, NULL);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc == ERROR_MORE_DATA) {
            // A name added while we walk may be longer than the key said.
            if (name.size() > 65536) break;
            name.resize(name.size() * 2);
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        names.Add(CString(name.data(), int(length)));
        ++index;
    }
    return TRUE;
}
