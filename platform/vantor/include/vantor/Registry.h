// CRegistry: one open registry key at a time, closed by the destructor.
#pragma once

#include <windows.h>
#include <afxstr.h>
#include <vantor/VantorApi.h>

class VANTOR_API CRegistry {
public:
    // `root` is where ListValues looks when no key is open.
    explicit CRegistry(const HKEY& root);
    ~CRegistry();

    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    // Opens `path` below `root` for reading and writing, closing any key
    // opened before. bCreate TRUE creates the key when it is missing; FALSE
    // opens an existing key only. A key that exists but refuses write access
    // (HKLM for a limited user) is opened for reading instead. 0 = failure.
    BOOL Open(HKEY root, LPCSTR path, BOOL bCreate);
    void Close();
    HKEY GetKey() const { return m_hKey; }

    // Nonzero when the open key has a value of that name ("" = default value).
    BOOL VerifyValue(LPCSTR name);

    // FALSE when the value is missing or is not a 4-byte value.
    BOOL ReadDWORD(LPCSTR name, DWORD& value);
    BOOL WriteDWORD(LPCSTR name, DWORD value);

    // REG_SZ or REG_EXPAND_SZ (left unexpanded), any length. `text` is left
    // alone on failure.
    BOOL ReadString(LPCSTR name, CString& text);
    // bExpand TRUE stores REG_EXPAND_SZ, else REG_SZ.
    BOOL WriteString(LPCSTR name, LPCSTR text, BOOL bExpand);

    // Raw bytes of any type. FALSE when missing or larger than `size`;
    // *pStored receives the stored length in both cases when the value exists.
    BOOL Read(LPCSTR name, LPVOID buffer, DWORD size, DWORD* pStored = NULL);
    // Stores REG_BINARY.
    BOOL Write(LPCSTR name, LPCVOID buffer, DWORD size);

    // "" (or NULL) deletes the key's default value.
    BOOL DeleteValue(LPCSTR name);

    // Replaces `names` with the value names of `path`, taken below the open
    // key, or below the root given to the constructor when none is open;
    // "" or NULL lists that key itself. Names come in enumeration order.
    // FALSE (and `names` empty) when the key cannot be opened.
    BOOL ListValues(LPCSTR path, CStringArray& names);

private:
    HKEY m_hRoot;
    HKEY m_hKey;
};
