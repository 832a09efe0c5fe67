#include <vantor/FileCopy.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "ChunkPump.h"
#include "Crc32.h"
#include "Handles.h"

namespace {

using vantor::FileHandle;
using vantor::PumpJob;
using vantor::WriteAll;
using vantor::PumpFile;

const uint32_t kVersion = 1;
const char kMagic[8] = {'V', 'T', 'R', 'C', 'O', 'P', 'Y', '\x1A'};

// On-disk header, little-endian, 32 bytes. Written last, so a copy that was
// cut short never carries a valid magic.
struct EncodedHeader {
    char magic[8];
    uint32_t version;
    uint32_t seed;         // picks the keystream
    uint64_t length;       // bytes of the original
    uint32_t crc;          // CRC-32C of the original bytes
    uint32_t headerCrc;    // CRC-32C of the 28 bytes before it
};
static_assert(sizeof(EncodedHeader) == 32, "the header layout is part of the file format");

uint32_t HeaderCrc(const EncodedHeader& h)
{
    return vantor::Crc32Update(0, &h, offsetof(EncodedHeader, headerCrc));
}

inline uint64_t Mix(uint64_t seed, uint64_t k)
{
    uint64_t z = seed + (k + 1) * 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// The transform: each 8-byte word of the stream is XOR-ed with a word of a
// 4 KiB pad made from the seed and with a key of its 4 KiB block, so no
// stretch of the keystream repeats. Running it again undoes it. It keeps
// the copies from a casual look; it is obfuscation, not security.
class Keystream {
public:
    explicit Keystream(uint32_t seed32) : m_seed((uint64_t(seed32) << 32 | seed32) ^ 0x5634E1A7C0DE2B19ull)
    {
        for (uint64_t i = 0; i < kPadWords; ++i) m_pad[i] = Mix(m_seed, i);
    }

    // XORs `n` bytes that sit at `offset` of the stream.
    void Apply(uint8_t* p, size_t n, uint64_t offset) const
    {
        while (n && (offset & 7)) {
            *p++ ^= uint8_t(Word(offset >> 3) >> (8 * (offset & 7)));
            ++offset;
            --n;
        }
        uint64_t k = offset >> 3;
        while (n >= 8) {
            // One block key per 4 KiB, then plain word-at-a-time XORs.
            const uint64_t blockKey = BlockKey(k / kPadWords);
            size_t j = size_t(k % kPadWords);
            for (; j < kPadWords && n >= 8; ++j, ++k, p += 8, n -= 8) {
                uint64_t w;
                std::memcpy(&w, p, 8);
                w ^= m_pad[j] ^ blockKey;
                std::memcpy(p, &w, 8);
            }
        }
        if (n) {
            const uint64_t w = Word(k);
            for (size_t i = 0; i < n; ++i) p[i] ^= uint8_t(w >> (8 * i));
        }
    }

private:
    static const uint64_t kPadWords = 512;
    uint64_t BlockKey(uint64_t block) const { return Mix(~m_seed, block); }
    uint64_t Word(uint64_t k) const { return m_pad[k % kPadWords] ^ BlockKey(k / kPadWords); }

    uint64_t m_seed;
    uint64_t m_pad[kPadWords];
};

// Reads up to `want` bytes, looping over short reads; `got` < `want` only
// at the end of the file.
bool ReadExact(HANDLE file, void* buffer, DWORD want, DWORD& got, DWORD& error)
{
    got = 0;
    uint8_t* p = static_cast<uint8_t*>(buffer);
    while (got < want) {
        DWORD n = 0;
        if (!ReadFile(file, p + got, want - got, &n, NULL)) {
            error = GetLastError();
            return false;
        }
        if (n == 0) break;
        got += n;
    }
    return true;
}

// A temporary file in the target's folder that is deleted unless Commit
// moves it into place; so a failed copy leaves nothing at the target.
class StagedTarget {
public:
    explicit StagedTarget(LPCSTR target) : m_target(target ? target : "") {}
    ~StagedTarget()
    {
        m_file.Close();
        if (!m_temp.empty() && !m_committed) DeleteFileA(m_temp.c_str());
    }
    StagedTarget(const StagedTarget&) = delete;
    StagedTarget& operator=(const StagedTarget&) = delete;

    bool Create(DWORD& error)
    {
        if (m_target.empty()) {
            error = ERROR_INVALID_PARAMETER;
            return false;
        }
        char full[MAX_PATH * 2];
        char* namePart = NULL;
        DWORD n = GetFullPathNameA(m_target.c_str(), sizeof(full), full, &namePart);
        if (n == 0 || n >= sizeof(full) || !namePart || namePart == full) {
            error = n == 0 ? GetLastError() : ERROR_INVALID_NAME;
            return false;
        }
        std::string folder(full, size_t(namePart - full));
        char temp[MAX_PATH * 2];
        if (!GetTempFileNameA(folder.c_str(), "vtc", 0, temp)) {
            error = GetLastError();
            return false;
        }
        m_temp = temp;  // GetTempFileName made the file: from here on it is ours to delete
        // Opened as it is (empty): truncating would make the file system
        // flush the whole copy when it is closed.
        m_file.Reset(CreateFileA(temp, GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, NULL));
        if (!m_file.Valid()) {
            error = GetLastError();
            return false;
        }
        return true;
    }

    HANDLE File() const { return m_file.Get(); }

    // Moves the finished copy to the target's name. An older target is first
    // renamed aside and deleted only once the copy stands in its place (a
    // rename over it would make the file system flush the whole copy first).
    bool Commit(DWORD& error)
    {
        if (!m_file.Close()) {
            error = GetLastError();
            return false;
        }
        const DWORD existing = GetFileAttributesA(m_target.c_str());
        if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY)) {
            error = ERROR_ACCESS_DENIED;
            return false;
        }
        std::string aside;
        if (existing != INVALID_FILE_ATTRIBUTES) {
            aside = m_temp + ".old";
            if (!MoveFileA(m_target.c_str(), aside.c_str())) {
                error = GetLastError();
                return false;
            }
        }
        if (!MoveFileA(m_temp.c_str(), m_target.c_str())) {
            error = GetLastError();
            if (!aside.empty()) MoveFileA(aside.c_str(), m_target.c_str());
            return false;
        }
        m_committed = true;
        if (!aside.empty() && !DeleteFileA(aside.c_str())) {
            SetFileAttributesA(aside.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(aside.c_str());
        }
        return true;
    }

private:
    std::string m_target;
    std::string m_temp;
    FileHandle m_file;
    bool m_committed = false;
};

HANDLE OpenSource(LPCSTR source)
{
    if (!source || !*source) return INVALID_HANDLE_VALUE;
    return CreateFileA(source, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                       FILE_FLAG_SEQUENTIAL_SCAN, NULL);
}

bool Encode(LPCSTR source, LPCSTR target, DWORD& error)
{
    FileHandle in(OpenSource(source));
    if (!in.Valid()) {
        error = source && *source ? GetLastError() : ERROR_INVALID_PARAMETER;
        return false;
    }
    StagedTarget out(target);
    if (!out.Create(error)) return false;

    EncodedHeader header = {};
    if (!WriteAll(out.File(), reinterpret_cast<const uint8_t*>(&header), sizeof(header), error)) return false;

    header.seed = GetTickCount() * 2654435761u ^ GetCurrentProcessId() ^ uint32_t(uintptr_t(&header));
    const Keystream keys(header.seed);
    uint32_t crc = 0;
    PumpJob job;
    job.in = in.Get();
    job.out = out.File();
    // The checksum is taken while reading, the transform while writing: the
    // two threads share the work.
    job.afterRead = [&crc](uint8_t* data, DWORD size, uint64_t) { crc = vantor::Crc32Update(crc, data, size); };
    job.beforeWrite = [&keys](uint8_t* data, DWORD size, uint64_t offset) { keys.Apply(data, size, offset); };
    uint64_t length = 0;
    if (!PumpFile(job, length, error)) return false;

    std::memcpy(header.magic, kMagic, sizeof(kMagic));
    header.version = kVersion;
    header.length = length;
    header.crc = crc;
    header.headerCrc = HeaderCrc(header);
    LARGE_INTEGER start = {};
    if (!SetFilePointerEx(out.File(), start, NULL, FILE_BEGIN)) {
        error = GetLastError();
        return false;
    }
    if (!WriteAll(out.File(), reinterpret_cast<const uint8_t*>(&header), sizeof(header), error)) return false;
    in.Close();  // lets the copy replace its own source
    return out.Commit(error);
}

bool Decode(LPCSTR source, LPCSTR target, DWORD& error)
{
    FileHandle in(OpenSource(source));
    if (!in.Valid()) {
        error = source && *source ? GetLastError() : ERROR_INVALID_PARAMETER;
        return false;
    }
    EncodedHeader header = {};
    DWORD got = 0;
    if (!ReadExact(in.Get(), &header, sizeof(header), got, error)) return false;
    if (got != sizeof(header) || std::memcmp(header.magic, kMagic, sizeof(kMagic)) != 0 ||
        header.version != kVersion || header.headerCrc != HeaderCrc(header)) {
        error = ERROR_INVALID_DATA;
        return false;
    }
    // Cheap early answer for a copy cut short or grown; the stream below
    // checks again, since the file may change while we read it.
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(in.Get(), &size)) {
        const uint64_t expected = header.length + sizeof(header);
        if (uint64_t(size.QuadPart) != expected) {
            error = uint64_t(size.QuadPart) < expected ? ERROR_HANDLE_EOF : ERROR_INVALID_DATA;
            return false;
        }
    }

    StagedTarget out(target);
    if (!out.Create(error)) return false;
    const Keystream keys(header.seed);
    uint32_t crc = 0;
    PumpJob job;
    job.in = in.Get();
    job.out = out.File();
    job.limit = header.length;
    job.afterRead = [&keys](uint8_t* data, DWORD size, uint64_t offset) { keys.Apply(data, size, offset); };
    job.beforeWrite = [&crc](uint8_t* data, DWORD size, uint64_t) { crc = vantor::Crc32Update(crc, data, size); };
    uint64_t length = 0;
    if (!PumpFile(job, length, error)) return false;

    uint8_t extra = 0;
    if (!ReadExact(in.Get(), &extra, 1, got, error)) return false;
    if (got != 0) {
        error = ERROR_INVALID_DATA;  // longer than the header announced
        return false;
    }
    if (crc != header.crc) {
        error = ERROR_CRC;
        return false;
    }
    in.Close();
    return out.Commit(error);
}

}  // namespace

BOOL CFileCopy::CopyFileEnc(LPCSTR source, LPCSTR target)
{
    DWORD error = ERROR_SUCCESS;
    const bool ok = Encode(source, target, error);  // the temporary file is gone once Encode returns
    if (!ok) SetLastError(error ? error : ERROR_GEN_FAILURE);
    return ok;
}

BOOL CFileCopy::CopyFileDec(LPCSTR source, LPCSTR target)
{
    DWORD error = ERROR_SUCCESS;
    const bool ok = Decode(source, target, error);
    if (!ok) SetLastError(error ? error : ERROR_GEN_FAILURE);
    return ok;
}

BOOL CFileCopy::CopyFileNow(LPCSTR source, LPCSTR target)
{
    if (!source || !target || !*source || !*target) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return CopyFileA(source, target, FALSE);
}
