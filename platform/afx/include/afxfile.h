// Files and the file dialog.
#pragma once

#include "afxapp.h"

struct CFileStatus {
    CTime m_ctime;
    CTime m_mtime;
    CTime m_atime;
    ULONGLONG m_size = 0;
    BYTE m_attribute = 0;
    char m_szFullName[MAX_PATH] = {};
};

class AFX_API CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000, modeWrite = 0x0001, modeReadWrite = 0x0002,
        shareCompat = 0x0000, shareExclusive = 0x0010, shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030, shareDenyNone = 0x0040,
        modeNoInherit = 0x0080, modeCreate = 0x1000, modeNoTruncate = 0x2000,
        typeText = 0x4000, typeBinary = 0x8000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    virtual ~CFile(); // closes
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    BOOL Open(LPCSTR fileName, UINT flags);
    void Close();
    // Bytes read; 0 at the end or on failure.
    UINT Read(void* buffer, UINT count);
    // FALSE when not every byte was written.
    BOOL Write(const void* buffer, UINT count);
    ULONGLONG Seek(LONGLONG offset, UINT from);
    ULONGLONG GetLength() const;
    BOOL IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }
    CString GetFilePath() const { return m_strFileName; }

    // The status of a file or folder; FALSE when it does not exist.
    static BOOL GetStatus(LPCSTR fileName, CFileStatus& status);

private:
    CString m_strFileName;
};

class AFX_API CFileDialog {
public:
    CFileDialog(BOOL openDialog, LPCSTR defExt = nullptr, LPCSTR fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR filter = nullptr,
                CWnd* parent = nullptr);
    INT_PTR DoModal();
    CString GetPathName() const;
    CString GetFileName() const;
    OPENFILENAMEA m_ofn{};

private:
    BOOL m_bOpen;
    CString m_filter; // '|' separated, as given
    CString m_defExt;
    char m_file[MAX_PATH * 4] = {};
    CWnd* m_parent;
};
