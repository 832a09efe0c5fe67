// An open registry key, closed when it goes.
#pragma once

#include <windows.h>

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    LONG Open(HKEY parent, const char* path, REGSAM access, DWORD options = 0)
    {
        Close();
        return ::RegOpenKeyExA(parent, path, options, access, &m_key);
    }
    void Close()
    {
        if (m_key) ::RegCloseKey(m_key);
        m_key = nullptr;
    }
    HKEY get() const { return m_key; }
    explicit operator bool() const { return m_key != nullptr; }

private:
    HKEY m_key = nullptr;
};

// The access rights the checks ask for.
const REGSAM kFullAccess = 0xF003F;  // KEY_ALL_ACCESS
const REGSAM kReadAccess = 0x20019;  // KEY_READ
