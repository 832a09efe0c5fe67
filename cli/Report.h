// The JSON report of an unattended run (see docs/report-schema.md): UTF-8,
// written whole under a temporary name and renamed into place, so a reader
// never sees half a report.
#pragma once

#include <afxwin.h>
#include <nlohmann/json.hpp>

#include <string>

// Text of the program's code page as UTF-8.
std::string Utf8(LPCSTR ansi);

// "2026-12-08T16:31:15+01:00": local time with its offset from UTC.
std::string IsoLocalTime(const SYSTEMTIME& local);
std::string IsoLocalNow();
// A file time as local "2026-12-08T16:31:15+01:00".
std::string IsoLocalTime(const FILETIME& utc);

// The program's version as its version resource gives it ("1.1" without one).
std::string ProgramVersion();

class CliReport {
public:
    CliReport(LPCSTR tool, LPCSTR command);
    nlohmann::json& Body() { return m_body; }
    // Stamps "finished" and "exit_code" and writes the whole report.
    bool Write(const CString& path, int exitCode);

private:
    nlohmann::json m_body;
};

// Whether a report could be written at `path`: its folder exists and takes a
// new file, and the path is not a folder or a read-only file. Checked before
// any work starts; `why` tells the user what is wrong.
bool ReportPathUsable(const CString& path, CString& why);
