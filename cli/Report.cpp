#include "cli/Report.h"

#include "regbackup/ArbFormat.h"

#include <cstdio>
#include <vector>

std::string Utf8(LPCSTR ansi)
{
    if (!ansi || !*ansi) return std::string();
    const int wideLength = ::MultiByteToWideChar(CP_ACP, 0, ansi, -1, NULL, 0);
    if (wideLength <= 0) return std::string();
    std::vector<wchar_t> wide(static_cast<size_t>(wideLength));
    ::MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide.data(), wideLength);
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, NULL, 0, NULL, NULL);
    if (length <= 0) return std::string();
    std::string out(size_t(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, &out[0], length, NULL, NULL);
    out.resize(size_t(length - 1));  // without the NUL
    return out;
}

namespace {

typedef BOOL(WINAPI* LocalToUtcCall)(const TIME_ZONE_INFORMATION*, const SYSTEMTIME*, SYSTEMTIME*);

// Minutes east of UTC at that local moment. Windows 9x lacks the exact
// conversion: there the zone's bias of today stands in.
long OffsetMinutes(const SYSTEMTIME& local)
{
    static const LocalToUtcCall localToUtc = reinterpret_cast<LocalToUtcCall>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "TzSpecificLocalTimeToSystemTime")));
    TIME_ZONE_INFORMATION zone;
    const DWORD kind = ::GetTimeZoneInformation(&zone);
    SYSTEMTIME utc;
    if (kind != TIME_ZONE_ID_INVALID && localToUtc && localToUtc(&zone, &local, &utc)) {
        FILETIME fl, fu;
        ::SystemTimeToFileTime(&local, &fl);
        ::SystemTimeToFileTime(&utc, &fu);
        ULARGE_INTEGER l, u;
        l.LowPart = fl.dwLowDateTime;
        l.HighPart = fl.dwHighDateTime;
        u.LowPart = fu.dwLowDateTime;
        u.HighPart = fu.dwHighDateTime;
        const LONGLONG diff = LONGLONG(l.QuadPart) - LONGLONG(u.QuadPart);
        return long(diff / 600000000LL);
    }
    long bias = zone.Bias;
    if (kind == TIME_ZONE_ID_DAYLIGHT) bias += zone.DaylightBias;
    return -bias;
}

}  // namespace

std::string IsoLocalTime(const SYSTEMTIME& local)
{
    const long offset = OffsetMinutes(local);
    const long magnitude = offset < 0 ? -offset : offset;
    char text[40];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u%c%02ld:%02ld", local.wYear, local.wMonth,
                  local.wDay, local.wHour, local.wMinute, local.wSecond, offset < 0 ? '-' : '+', magnitude / 60,
                  magnitude % 60);
    return text;
}

std::string IsoLocalNow()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return IsoLocalTime(now);
}

std::string IsoLocalTime(const FILETIME& utc)
{
    FILETIME localTime;
    SYSTEMTIME local;
    if (!::FileTimeToLocalFileTime(&utc, &localTime) || !::FileTimeToSystemTime(&localTime, &local)) return "";
    return IsoLocalTime(local);
}

std::string ProgramVersion()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(NULL, path, MAX_PATH);
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path, &handle);
    if (size) {
        std::vector<char> data(size);
        VS_FIXEDFILEINFO* info = NULL;
        UINT length = 0;
        if (::GetFileVersionInfoA(path, 0, size, data.data()) &&
            ::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) && info) {
            char text[64];
            std::snprintf(text, sizeof text, "%u.%u.%u.%u", unsigned(HIWORD(info->dwFileVersionMS)),
                          unsigned(LOWORD(info->dwFileVersionMS)), unsigned(HIWORD(info->dwFileVersionLS)),
                          unsigned(LOWORD(info->dwFileVersionLS)));
            return text;
        }
    }
    return "1.1";  // the version the program records as OVN_MAJOR.OVN_MINOR
}

CliReport::CliReport(LPCSTR tool, LPCSTR command)
{
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = sizeof computer;
    ::GetComputerNameA(computer, &length);
    m_body["tool"] = tool;
    m_body["command"] = command;
    m_body["version"] = ProgramVersion();
    m_body["computer"] = Utf8(computer);
    m_body["started"] = IsoLocalNow();
}

bool CliReport::Write(const CString& path, int exitCode)
{
    m_body["finished"] = IsoLocalNow();
    m_body["exit_code"] = exitCode;
    std::string text;
    try {
        text = m_body.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    } catch (...) {
        return false;
    }
    return WriteFileReplacing(path, text) != FALSE;
}

namespace {

CString FolderOf(const CString& path)
{
    char full[MAX_PATH * 2] = {};
    char* name = NULL;
    if (!::GetFullPathNameA(path, sizeof full, full, &name) || !name) return CString();
    *name = '\0';
    return CString(full);
}

}  // namespace

bool ReportPathUsable(const CString& path, CString& why)
{
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        why.Format("The report \"%s\" names a folder.", path.GetString());
        return false;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        why.Format("The report \"%s\" is read-only.", path.GetString());
        return false;
    }
    // An existing report is replaced by a rename, which needs it free to delete.
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        HANDLE existing = ::CreateFileA(path, GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        NULL, OPEN_EXISTING, 0, NULL);
        if (existing == INVALID_HANDLE_VALUE) {
            why.Format("The report \"%s\" is in use and cannot be replaced.", path.GetString());
            return false;
        }
        ::CloseHandle(existing);
    }
    // A real file, made and dropped: a name alone (GetTempFileName under Wine)
    // proves nothing about a read-only folder.
    const CString folder = FolderOf(path);
    CString probe;
    probe.Format("%s~toolhost-report-%lu.tmp", folder.GetString(), ::GetCurrentProcessId());
    HANDLE file = folder.IsEmpty() ? INVALID_HANDLE_VALUE
                                   : ::CreateFileA(probe, GENERIC_WRITE, 0, NULL, CREATE_NEW,
                                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        why.Format("The report \"%s\" cannot be written there.", path.GetString());
        return false;
    }
    ::CloseHandle(file);
    return true;
}
