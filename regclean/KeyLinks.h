// Registry symbolic links as the walker meets them. Windows on 64 bits (and
// Wine) links many keys below Wow6432Node to their 64-bit twins, and keys such
// as "Time Zones" to keys elsewhere: a walk that followed every link would list
// one value under two paths.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The registry's own name of an open key ("\REGISTRY\MACHINE\SOFTWARE..."),
// upper-cased; empty where the system cannot tell it.
std::wstring KernelKeyName(HKEY key);

// The target of a key opened as a link (REG_OPTION_OPEN_LINK), upper-cased;
// false when the key is no link.
bool ReadLinkTarget(HKEY key, std::wstring& target);

// Whether `name` (a kernel name, upper-cased) is one of `roots` or lies below one.
bool KernelNameBelow(const std::wstring& name, const std::vector<std::wstring>& roots);
