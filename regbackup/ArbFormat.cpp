#include "regbackup/ArbFormat.h"

#include <algorithm>
#include <cstring>

namespace {

void PutDword(std::string& out, size_t at, DWORD value)
{
    for (int i = 0; i < 4; ++i) out[at + size_t(i)] = char((value >> (8 * i)) & 0xFF);
}

DWORD GetDword(const std::string& in, size_t at)
{
    DWORD value = 0;
    for (int i = 0; i < 4; ++i) value |= DWORD(BYTE(in[at + size_t(i)])) << (8 * i);
    return value;
}

// Copies text into a zero-filled field, always leaving room for the NUL.
void PutText(std::string& out, size_t at, size_t size, const CString& text)
{
    size_t n = size_t(text.GetLength());
    if (n > size - 1) n = size - 1;
    std::memcpy(&out[at], text.GetString(), n);
}

// A field's text; FALSE when it has no NUL inside the field.
BOOL GetText(const std::string& in, size_t at, size_t size, CString& text)
{
    const void* nul = std::memchr(in.data() + at, 0, size);
    if (!nul) return FALSE;
    text = CString(in.data() + at, int(static_cast<const char*>(nul) - (in.data() + at)));
    return TRUE;
}

// A copy name stays inside its set folder.
bool SafeCopyName(const CString& name)
{
    if (name.IsEmpty() || name == "." || name == "..") return false;
    return name.FindOneOf("\\/:") < 0;
}

}  // namespace

DWORD RootToArb(HKEY root)
{
    return DWORD(reinterpret_cast<ULONG_PTR>(root) & 0xFFFFFFFFu);
}

HKEY ArbToRoot(DWORD value)
{
    if (value == RootToArb(HKEY_LOCAL_MACHINE)) return HKEY_LOCAL_MACHINE;
    if (value == RootToArb(HKEY_USERS)) return HKEY_USERS;
    return NULL;
}

std::string EncodeArbIndex(const ArbIndex& index)
{
    std::string out(kArbHeaderSize + index.entries.size() * kArbEntrySize, '\0');
    PutDword(out, 0, DWORD(index.entries.size()));
    PutText(out, 4, kArbDirSize, index.systemDir);
    size_t at = kArbHeaderSize;
    for (const ArbEntry& entry : index.entries) {
        PutDword(out, at, entry.root);
        PutText(out, at + 4, kArbFieldSize, entry.name);
        PutText(out, at + 4 + kArbFieldSize, kArbFieldSize, entry.subkey);
        PutText(out, at + 4 + 2 * kArbFieldSize, kArbFieldSize, entry.hiveFile);
        at += kArbEntrySize;
    }
    return out;
}

std::string EncodeLegacyRecord(const ArbLegacyRecord& record)
{
    std::string out(kArbLegacySize, '\0');
    PutText(out, 0, kArbLegacyFieldSize, record.sys);
    PutText(out, kArbLegacyFieldSize, kArbLegacyFieldSize, record.user);
    return out;
}

BOOL DecodeArbIndex(const std::string& bytes, ArbIndex& out)
{
    // Filled aside: a caller that ignores the result still sees no entry of a bad index.
    out = ArbIndex();
    ArbIndex index;
    if (bytes.size() < kArbHeaderSize) return FALSE;
    const DWORD count = GetDword(bytes, 0);
    // The count is checked against what was read before anything is sized by it.
    if (count > kArbMaxEntries || count > (bytes.size() - kArbHeaderSize) / kArbEntrySize) return FALSE;
    if (!GetText(bytes, 4, kArbDirSize, index.systemDir)) return FALSE;
    index.entries.resize(count);
    size_t at = kArbHeaderSize;
    for (ArbEntry& entry : index.entries) {
        entry.root = GetDword(bytes, at);
        if (!ArbToRoot(entry.root)) return FALSE;
        if (!GetText(bytes, at + 4, kArbFieldSize, entry.name) ||
            !GetText(bytes, at + 4 + kArbFieldSize, kArbFieldSize, entry.subkey) ||
            !GetText(bytes, at + 4 + 2 * kArbFieldSize, kArbFieldSize, entry.hiveFile))
            return FALSE;
        if (!SafeCopyName(entry.name)) return FALSE;
        at += kArbEntrySize;
    }
    out = index;
    return TRUE;
}

BOOL DecodeLegacyRecord(const std::string& bytes, ArbLegacyRecord& out)
{
    out = ArbLegacyRecord();
    ArbLegacyRecord record;
    if (bytes.size() < kArbLegacySize) return FALSE;
    if (!GetText(bytes, 0, kArbLegacyFieldSize, record.sys) ||
        !GetText(bytes, kArbLegacyFieldSize, kArbLegacyFieldSize, record.user))
        return FALSE;
    if (record.sys.IsEmpty() || record.user.IsEmpty()) return FALSE;
    out = record;
    return TRUE;
}

BOOL ReadSmallFile(LPCSTR path, DWORD maxSize, std::string& bytes)
{
    bytes.clear();
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    LARGE_INTEGER size;
    BOOL ok = GetFileSizeEx(file, &size) && size.QuadPart <= LONGLONG(maxSize);
    if (ok) {
        bytes.resize(size_t(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() || (ReadFile(file, &bytes[0], DWORD(bytes.size()), &read, NULL) && read == bytes.size());
    }
    CloseHandle(file);
    if (!ok) bytes.clear();
    return ok;
}

BOOL ReadArbIndex(LPCSTR path, ArbIndex& index)
{
    std::string bytes;
    if (!ReadSmallFile(path, kArbHeaderSize + kArbMaxEntries * kArbEntrySize, bytes)) {
        index = ArbIndex();
        return FALSE;
    }
    return DecodeArbIndex(bytes, index);
}

BOOL ReadLegacyRecord(LPCSTR path, ArbLegacyRecord& record)
{
    std::string bytes;
    // A legacy record is small; anything much larger is not one.
    if (!ReadSmallFile(path, 64 * 1024, bytes)) {
        record = ArbLegacyRecord();
        return FALSE;
    }
    return DecodeLegacyRecord(bytes, record);
}

BOOL WriteFileReplacing(LPCSTR path, const std::string& bytes)
{
    const CString temp = CString(path) + ".new";
    HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, NULL) && written == bytes.size();
    ok = FlushFileBuffers(file) && ok;
    CloseHandle(file);
    if (ok) ok = MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileA(temp);
    return ok;
}

CString FolderOfPath(LPCSTR path)
{
    const CString text(path);
    const int cut = std::max(text.ReverseFind('\\'), text.ReverseFind('/'));
    if (cut >= 0) return text.Left(cut + 1);
    return DriveOfPath(path);
}

CString DriveOfPath(LPCSTR path)
{
    const CString text(path);
    return text.GetLength() >= 2 && text[1] == ':' ? text.Left(2) : CString();
}
