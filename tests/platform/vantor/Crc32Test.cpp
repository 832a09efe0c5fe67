// The checksum of the encoded copies: known values, and the same value
// whether the processor computes it or the tables do, whatever the split.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "Crc32.h"

namespace {

using vantor::Crc32HasHardware;
using vantor::Crc32Update;
using vantor::Crc32UpdateHardware;
using vantor::Crc32UpdateTables;

std::vector<uint8_t> Noise(size_t size, uint32_t seed)
{
    std::vector<uint8_t> data(size);
    for (uint8_t& b : data) {
        seed = seed * 1103515245u + 12345u;
        b = uint8_t(seed >> 16);
    }
    return data;
}

TEST(Crc32c, KnownValues)
{
    const char digits[] = "123456789";
    EXPECT_EQ(0xE3069283u, Crc32UpdateTables(0, digits, 9));
    EXPECT_EQ(0xE3069283u, Crc32Update(0, digits, 9));
    uint8_t zeros[32] = {}, ones[32], rising[32];
    std::memset(ones, 0xFF, sizeof(ones));
    for (int i = 0; i < 32; ++i) rising[i] = uint8_t(i);
    EXPECT_EQ(0x8A9136AAu, Crc32UpdateTables(0, zeros, 32));
    EXPECT_EQ(0x62A8AB43u, Crc32UpdateTables(0, ones, 32));
    EXPECT_EQ(0x46DD794Eu, Crc32UpdateTables(0, rising, 32));
    EXPECT_EQ(0u, Crc32Update(0, digits, 0));
}

TEST(Crc32c, HardwareAndTablesAgree)
{
    if (!Crc32HasHardware()) GTEST_SKIP() << "no SSE4.2 here";
    const std::vector<uint8_t> data = Noise(4096 + 64, 7);
    for (size_t offset = 0; offset < 16; ++offset)
        for (size_t length = 0; length < 300; length += 7)
            ASSERT_EQ(Crc32UpdateTables(0, data.data() + offset, length),
                      Crc32UpdateHardware(0, data.data() + offset, length))
                << "offset " << offset << ", length " << length;
    EXPECT_EQ(Crc32UpdateTables(0, data.data(), data.size()), Crc32UpdateHardware(0, data.data(), data.size()));
}

TEST(Crc32c, ContinuingGivesTheWholeValue)
{
    const std::vector<uint8_t> data = Noise(1 << 20, 11);
    const uint32_t whole = Crc32Update(0, data.data(), data.size());
    for (size_t split : {size_t(1), size_t(13), size_t(4096), size_t(65537), size_t(1 << 19)}) {
        const uint32_t first = Crc32Update(0, data.data(), split);
        EXPECT_EQ(whole, Crc32Update(first, data.data() + split, data.size() - split)) << split;
        const uint32_t firstT = Crc32UpdateTables(0, data.data(), split);
        EXPECT_EQ(whole, Crc32UpdateTables(firstT, data.data() + split, data.size() - split)) << split;
    }
}

}  // namespace
