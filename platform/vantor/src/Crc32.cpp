#include "Crc32.h"

#include <cpuid.h>
#include <cstring>
#include <nmmintrin.h>

namespace vantor {
namespace {

const uint32_t kPolynomial = 0x82F63B78u;

struct CrcTables {
    uint32_t t[16][256];
    CrcTables()
    {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ kPolynomial : c >> 1;
            t[0][i] = c;
        }
        for (uint32_t i = 0; i < 256; ++i)
            for (int s = 1; s < 16; ++s) t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
    }
};

const CrcTables& Tables()
{
    static const CrcTables tables;
    return tables;
}

bool DetectHardware()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    return __get_cpuid(1, &a, &b, &c, &d) && (c & bit_SSE4_2);
}

}  // namespace

uint32_t Crc32UpdateTables(uint32_t crc, const void* data, size_t size)
{
    const CrcTables& tb = Tables();
    const uint8_t* p = static_cast<const uint8_t*>(data);
    uint32_t c = ~crc;
    // Sixteen bytes per step: the Windows targets are all little-endian.
    while (size >= 16) {
        uint32_t w0, w1, w2, w3;
        std::memcpy(&w0, p, 4);
        std::memcpy(&w1, p + 4, 4);
        std::memcpy(&w2, p + 8, 4);
        std::memcpy(&w3, p + 12, 4);
        w0 ^= c;
        c = tb.t[15][w0 & 0xFF] ^ tb.t[14][(w0 >> 8) & 0xFF] ^ tb.t[13][(w0 >> 16) & 0xFF] ^ tb.t[12][w0 >> 24] ^
            tb.t[11][w1 & 0xFF] ^ tb.t[10][(w1 >> 8) & 0xFF] ^ tb.t[9][(w1 >> 16) & 0xFF] ^ tb.t[8][w1 >> 24] ^
            tb.t[7][w2 & 0xFF] ^ tb.t[6][(w2 >> 8) & 0xFF] ^ tb.t[5][(w2 >> 16) & 0xFF] ^ tb.t[4][w2 >> 24] ^
            tb.t[3][w3 & 0xFF] ^ tb.t[2][(w3 >> 8) & 0xFF] ^ tb.t[1][(w3 >> 16) & 0xFF] ^ tb.t[0][w3 >> 24];
        p += 16;
        size -= 16;
    }
    while (size--) c = tb.t[0][(c ^ *p++) & 0xFF] ^ (c >> 8);
    return ~c;
}

__attribute__((target("sse4.2"))) uint32_t Crc32UpdateHardware(uint32_t crc, const void* data, size_t size)
{
    const uint8_t* p = static_cast<const uint8_t*>(data);
#if defined(__x86_64__)
    uint64_t c = ~crc;
    for (; size >= 8; size -= 8, p += 8) {
        uint64_t w;
        std::memcpy(&w, p, 8);
        c = _mm_crc32_u64(c, w);
    }
    uint32_t c32 = uint32_t(c);
#else
    uint32_t c32 = ~crc;
    for (; size >= 4; size -= 4, p += 4) {
        uint32_t w;
        std::memcpy(&w, p, 4);
        c32 = _mm_crc32_u32(c32, w);
    }
#endif
    while (size--) c32 = _mm_crc32_u8(c32, *p++);
    return ~c32;
}

bool Crc32HasHardware()
{
    static const bool available = DetectHardware();
    return available;
}

uint32_t Crc32Update(uint32_t crc, const void* data, size_t size)
{
    return Crc32HasHardware() ? Crc32UpdateHardware(crc, data, size) : Crc32UpdateTables(crc, data, size);
}

}  // namespace vantor
