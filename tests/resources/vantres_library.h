// The resource library loaded for one test, as the program loads it.
#pragma once

#include <windows.h>

namespace restest {

// Language of every resource in the library.
constexpr WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

class VantresLibrary {
public:
    VantresLibrary() : m_module(LoadLibraryA("vantres.dll")) {}
    ~VantresLibrary() {
        if (m_module) FreeLibrary(m_module);
    }
    VantresLibrary(const VantresLibrary&) = delete;
    VantresLibrary& operator=(const VantresLibrary&) = delete;
    HMODULE get() const { return m_module; }

private:
    HMODULE m_module;
};

// Bytes of one resource in the library's language; null when absent.
inline const BYTE* FindChinese(HMODULE module, LPCSTR type, LPCSTR name, DWORD* size = nullptr) {
    HRSRC res = FindResourceExA(module, type, name, kChinese);
    if (!res) return nullptr;
    HGLOBAL data = LoadResource(module, res);
    if (size) *size = SizeofResource(module, res);
    return data ? static_cast<const BYTE*>(LockResource(data)) : nullptr;
}

}  // namespace restest
