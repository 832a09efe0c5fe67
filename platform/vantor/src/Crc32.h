// CRC-32C (Castagnoli, reflected polynomial 0x82F63B78), the checksum of the
// encoded copies. Processors with SSE4.2 compute it in hardware; elsewhere
// sixteen bytes go at a time through 16 tables (16 KiB, built on first use).
// Both ways give the same value, so a copy written on one machine checks
// on any other.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vantor {

// Continues `crc` (0 for a fresh start) over `size` bytes.
uint32_t Crc32Update(uint32_t crc, const void* data, size_t size);

// The two ways, for the tests: the table way always works; the hardware way
// only where Crc32HasHardware() says so.
uint32_t Crc32UpdateTables(uint32_t crc, const void* data, size_t size);
uint32_t Crc32UpdateHardware(uint32_t crc, const void* data, size_t size);
bool Crc32HasHardware();

}  // namespace vantor
