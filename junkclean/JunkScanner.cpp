#include "junkclean/JunkScanner.h"

#include "junkclean/ProtectedFiles.h"
#include "junkclean/ShortcutTest.h"

#include <cwchar>

namespace {

ULONGLONG ToUInt64(const FILETIME& ft) {
    return (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

bool IsDots(const char* name) {
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

bool IsExtension(const wchar_t* name, size_t length, const wchar_t* ext) {
    const size_t n = wcslen(ext);
    return length > n && name[length - n - 1] == L'.' && wmemcmp(name + length - n, ext, n) == 0;
}

// Opens a directory search for every entry of a folder. The basic search
// with large fetches (no short names to make) is the fastest where the
// platform has it; older systems refuse it and get the standard one.
HANDLE FindAll(const CString& pattern, WIN32_FIND_DATAA& data) {
    static std::atomic<bool> basicRefused(false);
    if (!basicRefused) {
        HANDLE h = FindFirstFileExA(pattern, FINDEX_INFO_LEVELS(1) /* FindExInfoBasic */, &data,
                                    FindExSearchNameMatch, NULL, 2 /* FIND_FIRST_EX_LARGE_FETCH */);
        if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_INVALID_PARAMETER) return h;
        basicRefused = true;
    }
    return FindFirstFileExA(pattern, FindExInfoStandard, &data, FindExSearchNameMatch, NULL, 0);
}

}  // namespace

CString FolderKey(const CString& folder) {
    CString path = folder;
    path.Trim();
    if (path.IsEmpty()) return path;
    char full[MAX_PATH] = {}, longer[MAX_PATH] = {};
    if (GetFullPathNameA(path, MAX_PATH, full, NULL)) path = full;
    if (GetLongPathNameA(path, longer, MAX_PATH)) path = longer;
    while (path.GetLength() > 3 && EndsWithBackslash(path)) path = path.Left(path.GetLength() - 1);
    path.MakeLower();
    return path;
}

CString JunkSizeText(ULONGLONG size) {
    const DWORD b = DWORD(size & 0xFFFFFFFFu);
    if (b < 1024) return "0 KB";
    CString text;
    text.Format("%d KB", int(b / 1024));
    return text;
}

CString JunkTimeText(const FILETIME& ft) {
    const ULONGLONG t = ToUInt64(ft);
    const ULONGLONG epoch = 116444736000000000ull;  // 1 January 1970 in file-time units
    if (t < epoch) return CString();
    return CTime(time_t((t - epoch) / 10000000ull)).Format("%H:%M %d-%m-%y");
}

void JunkScanner::SetDrives(const char* slots, short count) {
    m_drives.clear();
    for (int i = 0; i < count && i < 26; ++i) m_drives.push_back(CString(slots + i * 3));
}

void JunkScanner::SetMasks(const CStringArray& masks) {
    m_masks.RemoveAll();
    m_masks.Append(masks);
}

void JunkScanner::SetSafeFolders(const CStringArray& safeFolders, const CString& windowsTail) {
    m_safeFolders.RemoveAll();
    m_safeFolders.Append(safeFolders);
    m_windowsTail = windowsTail;
}

void JunkScanner::SetOptions(const JunkScanOptions& options) {
    m_options = options;
}

void JunkScanner::SetKeptOutFolder(const CString& folder) {
    m_keptOut = FolderKey(folder);
}

void JunkScanner::Begin() {
    m_nextRow = 0;
    m_totalKB = 0;
    m_skipFolders.RemoveAll();
    m_skipFolders.Append(m_safeFolders);
    AppendSkipFragments(m_skipFolders, m_windowsTail);
    m_maskSet.Assign(m_masks);
    m_threshold = 0;
    if (m_options.FindFilesBasedOnMonth) {
        ULONGLONG now = m_fixedNow;
        if (!now) {
            FILETIME ft;
            GetSystemTimeAsFileTime(&ft);
            now = ToUInt64(ft);
        }
        m_threshold = now - ULONGLONG(DWORD(m_options.FFNumMonths)) * kAgePeriod;
    }
    CStringArray names;
    AppendProtectedNames(names);
    m_excluded.Reset(names);
}

void JunkScanner::End() {
    m_excluded.Clear();
    m_skipFolders.RemoveAll();
}

void JunkScanner::Run(JunkScanSink& sink, const std::atomic<bool>& stop) {
    Begin();
    m_sink = &sink;
    m_stop = &stop;
    for (const CString& drive : m_drives) {
        const UINT type = GetDriveTypeA(drive + "\\");
        if (type == DRIVE_FIXED || type == DRIVE_REMOTE) Visit(drive);
        if (Stopped()) break;
    }
    End();
}

void JunkScanner::WalkRoot(const CString& root, JunkScanSink& sink, const std::atomic<bool>& stop) {
    m_sink = &sink;
    m_stop = &stop;
    Visit(root);
}

bool JunkScanner::IsKeptOut(const CString& folder) const {
    // The walk spells folders in long names already.
    if (m_keptOut.IsEmpty() || folder.GetLength() != m_keptOut.GetLength()) return false;
    CString lowered = folder;
    lowered.MakeLower();
    return lowered == m_keptOut;
}

void JunkScanner::Visit(const CString& folder) {
    if (Stopped()) return;
    // The folder is read once; its files are tested from this one listing
    // and its subfolders walked from it.
    m_files.clear();
    m_names.clear();
    std::vector<std::string> subfolders;
    WIN32_FIND_DATAA data;
    HANDLE find = FindAll(folder + "\\*.*", data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (IsDots(data.cFileName)) continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A link (junction, mount point, symbolic link) is never followed: a
            // link back to a parent would never end, one elsewhere leaves the drive.
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) subfolders.push_back(data.cFileName);
            continue;
        }
        const size_t start = m_names.size();
        const size_t length = AppendLowerWide(data.cFileName, m_names);
        m_files.push_back(Entry{data, start, length});
    } while (FindNextFileA(find, &data));
    FindClose(find);

    ScanFolderFiles(folder);
    for (const std::string& name : subfolders) {
        if (Stopped()) return;
        CString path = folder + "\\" + name.c_str();
        if (FolderIsSkipped(path, m_skipFolders)) continue;
        if (IsKeptOut(path)) continue;
        m_sink->OnFolder(path);
        Visit(path);
    }
}

void JunkScanner::ScanFolderFiles(const CString& folder) {
    // Age and empty files first.
    if (m_options.FindFilesBasedOnMonth || m_options.FindEmptyFiles) {
        for (const Entry& e : m_files) {
            if (Stopped()) return;
            if (m_options.FindFilesBasedOnMonth) {
                const ULONGLONG d = ToUInt64(e.data.ftLastAccessTime) - m_threshold;
                const DWORD months = DWORD((d / kAgePeriod) & 0xFFFFFFFFu);
                if (months > m_options.FFNumMonths && IsOrdinaryFileType(e.data.cFileName))
                    AddJunkResult(folder, e.data, JUNK_REASON_OLD);
            }
            if (m_options.FindEmptyFiles && e.data.nFileSizeHigh == 0 && e.data.nFileSizeLow == 0)
                AddJunkResult(folder, e.data, JUNK_REASON_EMPTY);
        }
    }
    // Shortcuts: the .lnk files, then the .pif files.
    if (m_options.FindInvalidShortCuts) {
        for (const wchar_t* ext : {L"lnk", L"pif"}) {
            for (const Entry& e : m_files) {
                if (Stopped()) return;
                if (!IsExtension(&m_names[e.nameStart], e.nameLength, ext)) continue;
                CString path = folder + "\\" + e.data.cFileName;
                CString lowered = path;
                lowered.MakeLower();
                if (!ShortcutIsValid(path, m_excluded) && lowered.Find("floppy") < 0)
                    AddJunkResult(folder, e.data, JUNK_REASON_SHORTCUT);
            }
        }
    }
    // The masks, in table order: each mask's files in the order of the listing.
    if (m_maskSet.Count() == 0) return;
    if (int(m_hitsByMask.size()) < m_maskSet.Count()) m_hitsByMask.resize(size_t(m_maskSet.Count()));
    for (auto& hits : m_hitsByMask) hits.clear();
    for (size_t i = 0; i < m_files.size(); ++i) {
        m_hits.clear();
        m_maskSet.Match(&m_names[m_files[i].nameStart], m_files[i].nameLength, m_hits);
        for (int mask : m_hits) m_hitsByMask[size_t(mask)].push_back(i);
    }
    for (int mask = 0; mask < m_maskSet.Count(); ++mask) {
        for (size_t i : m_hitsByMask[size_t(mask)]) {
            if (Stopped()) return;
            AddJunkResult(folder, m_files[i].data, JUNK_REASON_MASK);
        }
    }
}

void JunkScanner::AddJunkResult(const CString& folder, const WIN32_FIND_DATAA& entry, int reason) {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return;
    if (m_options.SkipReadOnlyFiles && (entry.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)))
        return;
    JunkFinding f;
    f.path = folder + "\\" + entry.cFileName;
    CString lowered = f.path;
    lowered.MakeLower();
    if (m_excluded.Contains(lowered.str())) return;
    m_excluded.Add(lowered.str());

    f.reason = reason;
    f.size = (ULONGLONG(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    f.created = entry.ftCreationTime;
    f.accessed = entry.ftLastAccessTime;
    f.written = entry.ftLastWriteTime;
    const DWORD b = entry.nFileSizeLow;
    m_totalKB += b < 1024 ? 1 : b / 1024;
    m_sink->OnFinding(m_nextRow++, f);
}
