// CFile over Win32 file handles, file and folder status, and the common file
// dialog with '|'-separated filters.
#include "afximpl.h"

time_t AfxFileTimeToTime(const FILETIME& ft) {
    ULONGLONG t = (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    const ULONGLONG epoch = 116444736000000000ULL; // 1601 to 1970 in 100 ns steps
    if (t < epoch) return 0;
    return time_t((t - epoch) / 10000000ULL);
}

CFile::~CFile() { Close(); }

BOOL CFile::Open(LPCSTR fileName, UINT flags) {
    Close();
    if (!fileName || !*fileName) return FALSE;
    DWORD access = 0;
    switch (flags & 3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    case modeReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    default: return FALSE;
    }
    DWORD share = 0;
    switch (flags & 0x70) {
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    case shareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: share = 0; break; // exclusive, and the old compatibility mode with it
    }
    DWORD disposition = OPEN_EXISTING;
    if (flags & modeCreate) disposition = (flags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, (flags & modeNoInherit) ? FALSE : TRUE};
    HANDLE h = CreateFileA(fileName, access, share, &sa, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return FALSE;
    m_hFile = h;
    char full[MAX_PATH * 2] = {};
    DWORD n = GetFullPathNameA(fileName, sizeof full, full, nullptr);
    m_strFileName = (n > 0 && n < sizeof full) ? full : fileName;
    return TRUE;
}

void CFile::Close() {
    if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_strFileName.Empty();
}

UINT CFile::Read(void* buffer, UINT count) {
    DWORD got = 0;
    if (m_hFile == INVALID_HANDLE_VALUE || !count) return 0;
    if (!ReadFile(m_hFile, buffer, count, &got, nullptr)) return 0;
    return got;
}

BOOL CFile::Write(const void* buffer, UINT count) {
    if (m_hFile == INVALID_HANDLE_VALUE) return FALSE;
    if (!count) return TRUE;
    DWORD written = 0;
    return WriteFile(m_hFile, buffer, count, &written, nullptr) && written == count;
}

// The new position, or ULONGLONG(-1) when the move failed.
ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
    LARGE_INTEGER distance, position;
    distance.QuadPart = offset;
    DWORD method = from == current ? FILE_CURRENT : from == end ? FILE_END : FILE_BEGIN;
    if (m_hFile == INVALID_HANDLE_VALUE || !SetFilePointerEx(m_hFile, distance, &position, method))
        return ULONGLONG(-1);
    return ULONGLONG(position.QuadPart);
}

ULONGLONG CFile::GetLength() const {
    LARGE_INTEGER size;
    if (m_hFile == INVALID_HANDLE_VALUE || !GetFileSizeEx(m_hFile, &size)) return 0;
    return ULONGLONG(size.QuadPart);
}

// The attribute query answers for files, folders and drive roots alike, and
// refuses wildcards, so a mask never counts as an existing file.
BOOL CFile::GetStatus(LPCSTR fileName, CFileStatus& status) {
    if (!fileName || !*fileName) return FALSE;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(fileName, GetFileExInfoStandard, &data)) return FALSE;
    char full[MAX_PATH] = {};
    DWORD n = GetFullPathNameA(fileName, MAX_PATH, full, nullptr);
    if (n == 0 || n >= MAX_PATH) lstrcpynA(full, fileName, MAX_PATH);
    lstrcpynA(status.m_szFullName, full, MAX_PATH);
    status.m_ctime = CTime(AfxFileTimeToTime(data.ftCreationTime));
    status.m_atime = CTime(AfxFileTimeToTime(data.ftLastAccessTime));
    status.m_mtime = CTime(AfxFileTimeToTime(data.ftLastWriteTime));
    if (status.m_ctime.GetTime() == 0) status.m_ctime = status.m_mtime;
    if (status.m_atime.GetTime() == 0) status.m_atime = status.m_mtime;
    status.m_size = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                        ? 0
                        : (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    status.m_attribute = BYTE(data.dwFileAttributes);
    return TRUE;
}

// ---- file dialog -------------------------------------------------------------------

CFileDialog::CFileDialog(BOOL openDialog, LPCSTR defExt, LPCSTR fileName, DWORD flags, LPCSTR filter,
                         CWnd* parent)
    : m_bOpen(openDialog), m_filter(filter), m_defExt(defExt), m_parent(parent) {
    // "Text files|*.txt|All files|*.*||" becomes the NUL-separated list the
    // dialog wants; the string's own terminator closes it.
    m_filter.Replace('|', '\0');
    if (fileName) lstrcpynA(m_file, fileName, sizeof m_file);
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.Flags = flags | OFN_EXPLORER;
    m_ofn.lpstrFile = m_file;
    m_ofn.nMaxFile = sizeof m_file;
    m_ofn.lpstrFilter = m_filter.IsEmpty() ? nullptr : m_filter.GetString();
    m_ofn.lpstrDefExt = m_defExt.IsEmpty() ? nullptr : m_defExt.GetString();
    m_ofn.hInstance = AfxGetInstanceHandle();
}

INT_PTR CFileDialog::DoModal() {
    HWND owner = m_parent ? m_parent->m_hWnd : nullptr;
    if (!owner && AfxGetMainWnd() && ::IsWindowEnabled(AfxGetMainWnd()->m_hWnd)) owner = AfxGetMainWnd()->m_hWnd;
    if (!owner) owner = ::GetActiveWindow();
    m_ofn.hwndOwner = owner;
    // The buffers are ours; they may have moved if the object was copied into place.
    m_ofn.lpstrFile = m_file;
    m_ofn.nMaxFile = sizeof m_file;
    if (m_ofn.lpstrFilter == nullptr && !m_filter.IsEmpty()) m_ofn.lpstrFilter = m_filter.GetString();
    BOOL ok = m_bOpen ? GetOpenFileNameA(&m_ofn) : GetSaveFileNameA(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const { return CString(m_file); }

CString CFileDialog::GetFileName() const {
    CString path(m_file);
    if (m_ofn.nFileOffset > 0 && m_ofn.nFileOffset < path.GetLength()) return path.Mid(m_ofn.nFileOffset);
    int slash = path.ReverseFind('\\');
    return path.Mid(slash + 1);
}
