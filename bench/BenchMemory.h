// Memory a benchmark's process holds on its heaps: the bytes of every block
// in use, summed over all heaps (the C library's and the controls' included).
#pragma once

#include <windows.h>

#include <vector>

inline double HeapBytesInUse()
{
    std::vector<HANDLE> heaps(256);
    DWORD count = ::GetProcessHeaps(DWORD(heaps.size()), heaps.data());
    if (count > heaps.size()) return 0;
    double bytes = 0;
    for (DWORD i = 0; i < count; ++i) {
        if (!::HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry;
        entry.lpData = nullptr;
        while (::HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += double(entry.cbData);
        ::HeapUnlock(heaps[i]);
    }
    return bytes;
}
