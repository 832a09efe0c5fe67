// Registry symbolic links as the walker meets them. Wine makes the keys a
// 64-bit system shares between its two views links below Wow6432Node (App
// Paths, Fonts, Policies and some fifty more), and "...\CurrentVersion\Time
// Zones" a link to its "Windows NT" twin: a walk that followed every link
// would list one value under two paths.
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
