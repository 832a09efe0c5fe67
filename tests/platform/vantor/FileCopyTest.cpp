// CFileCopy on real files: the encoded copy round-trips, hides its contents,
// and a damaged or foreign file is refused without leaving a target behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include <vantor/FileCopy.h>
#include <vantor/System.h>

namespace {

class FileCopyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        ASSERT_TRUE(GetTempPathA(sizeof(temp), temp));
        char name[64];
        wsprintfA(name, "vantor-filecopy-%lu-%lu\\", GetCurrentProcessId(), GetTickCount());
        m_dir = std::string(temp) + name;
        ASSERT_TRUE(CreateDirectoryA(m_dir.c_str(), NULL));
    }
    void TearDown() override { EraseFolderContents(m_dir.c_str(), ERASE_FOLDER_TOO); }

    std::string Path(const char* name) const { return m_dir + name; }

    static std::vector<uint8_t> Pattern(size_t size, uint32_t seed)
    {
        std::vector<uint8_t> data(size);
        uint32_t x = seed;
        for (size_t i = 0; i < size; ++i) {
            x = x * 1664525u + 1013904223u;
            data[i] = uint8_t(x >> 24);
        }
        return data;
    }
    static void WriteBytes(const std::string& path, const std::vector<uint8_t>& data)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
        ASSERT_TRUE(out.good());
    }
    static std::vector<uint8_t> ReadBytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    // Names in the test folder, to catch temporary files left behind.
    std::vector<std::string> Listing() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((m_dir + "*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            std::string name = found.cFileName;
            if (name != "." && name != "..") names.push_back(name);
        } while (FindNextFileA(find, &found));
        FindClose(find);
        return names;
    }

    // Encodes `data` into "enc.bin" and returns the encoded bytes.
    std::vector<uint8_t> Encoded(const std::vector<uint8_t>& data)
    {
        WriteBytes(Path("plain.bin"), data);
        CFileCopy copy;
        EXPECT_TRUE(copy.CopyFileEnc(Path("plain.bin").c_str(), Path("enc.bin").c_str()));
        return ReadBytes(Path("enc.bin"));
    }

    // A damaged source must give FALSE, no target and no stray file.
    void ExpectRefused(const std::vector<uint8_t>& source, const char* why)
    {
        WriteBytes(Path("bad.bin"), source);
        const std::vector<std::string> before = Listing();
        CFileCopy copy;
        EXPECT_FALSE(copy.CopyFileDec(Path("bad.bin").c_str(), Path("restored.bin").c_str())) << why;
        EXPECT_FALSE(Exists(Path("restored.bin"))) << why << ": a target was left";
        EXPECT_EQ(before, Listing()) << why << ": a temporary file was left";
    }

    std::string m_dir;
};

TEST_F(FileCopyTest, EncodedCopyRoundTripsMultiMegabyteFile)
{
    // Not a multiple of the chunk or word size, so the tail paths run too.
    const std::vector<uint8_t> data = Pattern(5 * 1024 * 1024 + 13, 1);
    const std::vector<uint8_t> enc = Encoded(data);
    ASSERT_GT(enc.size(), data.size());
    EXPECT_LE(enc.size(), data.size() + 64) << "the encoded form adds only a small header";

    CFileCopy copy;
    ASSERT_TRUE(copy.CopyFileDec(Path("enc.bin").c_str(), Path("restored.bin").c_str()));
    EXPECT_TRUE(ReadBytes(Path("restored.bin")) == data) << "decoding must give back the original bytes";
    EXPECT_EQ(3u, Listing().size()) << "plain, enc and restored, nothing else";
}

TEST_F(FileCopyTest, EncodedCopyHidesTheContents)
{
    // A hive is full of readable names; none may survive in the copy.
    std::string text;
    while (text.size() < 300000) text += "Software\\Lumbrix\\Vantor 2\\AdvRegBackup ";
    const std::vector<uint8_t> enc = Encoded(std::vector<uint8_t>(text.begin(), text.end()));
    const std::string stored(enc.begin(), enc.end());
    EXPECT_EQ(std::string::npos, stored.find("Lumbrix"));
    EXPECT_EQ(std::string::npos, stored.find("AdvRegBackup"));
    // Nor may the keystream repeat with a short period.
    EXPECT_NE(stored.substr(64, 4096), stored.substr(64 + 40 * 1000, 4096));
}

TEST_F(FileCopyTest, EmptyAndTinyFilesRoundTrip)
{
    for (size_t size : {size_t(0), size_t(1), size_t(7), size_t(8), size_t(9)}) {
        const std::vector<uint8_t> data = Pattern(size, uint32_t(size) + 5);
        Encoded(data);
        CFileCopy copy;
        ASSERT_TRUE(copy.CopyFileDec(Path("enc.bin").c_str(), Path("restored.bin").c_str())) << size;
        EXPECT_TRUE(ReadBytes(Path("restored.bin")) == data) << size;
    }
}

TEST_F(FileCopyTest, DecodingReplacesAnOlderTarget)
{
    const std::vector<uint8_t> data = Pattern(100000, 9);
    Encoded(data);
    WriteBytes(Path("restored.bin"), Pattern(300000, 10));
    CFileCopy copy;
    ASSERT_TRUE(copy.CopyFileDec(Path("enc.bin").c_str(), Path("restored.bin").c_str()));
    EXPECT_TRUE(ReadBytes(Path("restored.bin")) == data);
    EXPECT_EQ(3u, Listing().size()) << "the older file is gone, not left aside";

    // A folder of the target's name is never replaced.
    ASSERT_TRUE(CreateDirectoryA(Path("folder").c_str(), NULL));
    EXPECT_FALSE(copy.CopyFileDec(Path("enc.bin").c_str(), Path("folder").c_str()));
    EXPECT_FALSE(copy.CopyFileEnc(Path("plain.bin").c_str(), Path("folder").c_str()));
    EXPECT_TRUE(GetFileAttributesA(Path("folder").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(4u, Listing().size());
}

TEST_F(FileCopyTest, DamagedOrForeignFilesAreRefused)
{
    const std::vector<uint8_t> data = Pattern(3 * 1024 * 1024 + 5, 2);
    const std::vector<uint8_t> enc = Encoded(data);
    ASSERT_FALSE(enc.empty());

    std::vector<uint8_t> flipped = enc;
    flipped[flipped.size() / 2] ^= 0x01;
    ExpectRefused(flipped, "one flipped bit in the body");

    std::vector<uint8_t> lastByte = enc;
    lastByte.back() ^= 0x80;
    ExpectRefused(lastByte, "a flipped last byte");

    for (size_t at = 0; at < 32; at += 4) {
        std::vector<uint8_t> header = enc;
        header[at] ^= 0x10;
        ExpectRefused(header, ("a changed header byte at " + std::to_string(at)).c_str());
    }

    ExpectRefused(std::vector<uint8_t>(enc.begin(), enc.end() - 1), "one byte cut off");
    ExpectRefused(std::vector<uint8_t>(enc.begin(), enc.begin() + enc.size() / 3), "a third of the file");
    ExpectRefused(std::vector<uint8_t>(enc.begin(), enc.begin() + 20), "half a header");

    std::vector<uint8_t> longer = enc;
    longer.push_back(0);
    ExpectRefused(longer, "longer than announced");

    ExpectRefused(data, "a plain, never encoded file");
    ExpectRefused(std::vector<uint8_t>(), "an empty file");
}

TEST_F(FileCopyTest, FailedDecodeKeepsAnExistingTarget)
{
    std::vector<uint8_t> enc = Encoded(Pattern(50000, 3));
    enc[100] ^= 0xFF;
    WriteBytes(Path("bad.bin"), enc);
    const std::vector<uint8_t> old = Pattern(1234, 4);
    WriteBytes(Path("restored.bin"), old);
    CFileCopy copy;
    EXPECT_FALSE(copy.CopyFileDec(Path("bad.bin").c_str(), Path("restored.bin").c_str()));
    EXPECT_TRUE(ReadBytes(Path("restored.bin")) == old);
}

TEST_F(FileCopyTest, MissingSourceOrFolderFails)
{
    CFileCopy copy;
    EXPECT_FALSE(copy.CopyFileEnc(Path("none.bin").c_str(), Path("enc.bin").c_str()));
    EXPECT_FALSE(copy.CopyFileDec(Path("none.bin").c_str(), Path("out.bin").c_str()));
    EXPECT_FALSE(copy.CopyFileNow(Path("none.bin").c_str(), Path("out.bin").c_str()));
    EXPECT_TRUE(Listing().empty());

    WriteBytes(Path("plain.bin"), Pattern(1000, 5));
    EXPECT_FALSE(copy.CopyFileEnc(Path("plain.bin").c_str(), Path("no\\such\\folder\\enc.bin").c_str()));
    EXPECT_EQ(1u, Listing().size());
}

TEST_F(FileCopyTest, EncodingOntoItsOwnSourceWorks)
{
    const std::vector<uint8_t> data = Pattern(2 * 1024 * 1024 + 1, 6);
    WriteBytes(Path("hive.bin"), data);
    CFileCopy copy;
    ASSERT_TRUE(copy.CopyFileEnc(Path("hive.bin").c_str(), Path("hive.bin").c_str()));
    ASSERT_TRUE(copy.CopyFileDec(Path("hive.bin").c_str(), Path("hive.bin").c_str()));
    EXPECT_TRUE(ReadBytes(Path("hive.bin")) == data);
}

TEST_F(FileCopyTest, PlainCopy)
{
    const std::vector<uint8_t> data = Pattern(1500000, 7);
    WriteBytes(Path("ntldr"), data);
    WriteBytes(Path("copy"), Pattern(10, 8));
    CFileCopy copy;
    ASSERT_TRUE(copy.CopyFileNow(Path("ntldr").c_str(), Path("copy").c_str()));
    EXPECT_TRUE(ReadBytes(Path("copy")) == data) << "the plain copy replaces the older file byte for byte";
    EXPECT_TRUE(ReadBytes(Path("ntldr")) == data);
}

}  // namespace
