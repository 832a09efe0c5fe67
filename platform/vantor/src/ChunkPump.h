// Streams one file into another in 1 MiB chunks with a reading thread ahead
// of the writing one, so the work done on each chunk overlaps the disk.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

namespace vantor {

const DWORD kPumpChunk = 1u << 20;

struct PumpJob {
    HANDLE in = INVALID_HANDLE_VALUE;
    HANDLE out = INVALID_HANDLE_VALUE;
    // Bytes to move; reading stops there. UINT64_MAX: up to the end of `in`.
    uint64_t limit = UINT64_MAX;
    // Run on the reading thread right after a chunk was read, and on the
    // writing thread right before it is written. `offset` is the chunk's
    // place in the stream. Either may be empty.
    std::function<void(uint8_t* data, DWORD size, uint64_t offset)> afterRead;
    std::function<void(uint8_t* data, DWORD size, uint64_t offset)> beforeWrite;
};

// Writes all `n` bytes; a short write without an error is a full disk.
bool WriteAll(HANDLE file, const uint8_t* p, DWORD n, DWORD& error);

// Moves the bytes; `moved` tells how many went through. False on a read or
// write error, a short write (ERROR_DISK_FULL), or an end of file before a
// set limit (ERROR_HANDLE_EOF); `error` then holds the reason.
bool PumpFile(const PumpJob& job, uint64_t& moved, DWORD& error);

}  // namespace vantor
