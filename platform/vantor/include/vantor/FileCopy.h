// CFileCopy: the file copies behind backup sets.
//
// CopyFileEnc writes an encoded copy that checks itself: a header (magic,
// format version, original length, key seed, a CRC-32C of the original and
// one of the header itself), then the bytes XOR-ed with a keystream. The
// transform keeps casual eyes and tools off the hive copies; it is
// obfuscation, not security.
// CopyFileDec gives back exactly the bytes CopyFileEnc read, or fails and
// leaves no target file behind (any file already at the target stays as it
// was). Both stream in 1 MiB chunks, write into a temporary file in the
// target's folder and move it into place only when everything was written.
// On failure GetLastError tells why (ERROR_INVALID_DATA: not an encoded copy
// or a damaged header; ERROR_CRC: the contents do not match; ERROR_HANDLE_EOF:
// truncated; ERROR_DISK_FULL: a short write).
#pragma once

#include <windows.h>
#include <vantor/VantorApi.h>

class VANTOR_API CFileCopy {
public:
    BOOL CopyFileEnc(LPCSTR source, LPCSTR target);
    BOOL CopyFileDec(LPCSTR source, LPCSTR target);
    // Plain copy, replacing an existing target.
    BOOL CopyFileNow(LPCSTR source, LPCSTR target);
};
