#include "regclean/KeyLinks.h"

namespace {

// NtQueryKey's class and reply for a key's full name.
const int kKeyNameInformation = 3;
const LONG kBufferOverflow = LONG(0x80000005);
const LONG kBufferTooSmall = LONG(0xC0000023);
typedef LONG(WINAPI* NtQueryKeyFn)(HANDLE, int, void*, ULONG, ULONG*);

void Upper(std::wstring& text)
{
    if (!text.empty()) ::CharUpperBuffW(&text[0], DWORD(text.size()));
}

}  // namespace

std::wstring KernelKeyName(HKEY key)
{
    // Looked up at run time: the call is not in every system's import set.
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    NtQueryKeyFn query = ntdll ? reinterpret_cast<NtQueryKeyFn>(
                                     reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtQueryKey")))
                               : nullptr;
    if (!query) return std::wstring();
    std::vector<ULONG> buffer(256);
    ULONG needed = 0;
    LONG status = query(key, kKeyNameInformation, buffer.data(), ULONG(buffer.size() * sizeof(ULONG)), &needed);
    if (status == kBufferOverflow || status == kBufferTooSmall) {
        buffer.resize(needed / sizeof(ULONG) + 1);
        status = query(key, kKeyNameInformation, buffer.data(), ULONG(buffer.size() * sizeof(ULONG)), &needed);
    }
    if (status != 0) return std::wstring();
    const ULONG bytes = buffer[0];  // KEY_NAME_INFORMATION: length in bytes, then the name
    std::wstring name(reinterpret_cast<const wchar_t*>(&buffer[1]), bytes / sizeof(wchar_t));
    Upper(name);
    return name;
}

bool ReadLinkTarget(HKEY key, std::wstring& target)
{
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_LINK || size < sizeof(wchar_t))
        return false;
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
    if (::RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
        ERROR_SUCCESS)
        return false;
    target.assign(text.data(), size / sizeof(wchar_t));
    while (!target.empty() && (target.back() == L'\0' || target.back() == L'\\')) target.pop_back();
    Upper(target);
    return !target.empty();
}

bool KernelNameBelow(const std::wstring& name, const std::vector<std::wstring>& roots)
{
    for (const std::wstring& root : roots) {
        if (root.empty() || name.compare(0, root.size(), root) != 0) continue;
        if (name.size() == root.size() || name[root.size()] == L'\\') return true;
    }
    return false;
}
