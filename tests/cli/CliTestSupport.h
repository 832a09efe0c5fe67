// Running toolhost.exe's command line for a test: the exit code, what it
// wrote to its standard output, whether any window showed meanwhile, and
// the JSON report read back.
#pragma once

#include <nlohmann/json.hpp>
#include <testsupport.h>

#include <string>
#include <vector>

namespace clitest {

struct CliRun {
    DWORD exitCode = STILL_ACTIVE;
    std::string output;                 // standard output, as written
    std::vector<std::string> windows;   // visible top-level windows of the process ("class: title")
};

// How the program is started: by default with its standard output and error
// in a file, in the program's folder, as a redirected command line does.
struct CliStart {
    bool redirect = true;  // false: no standard handles at all
    DWORD flags = 0;       // CreateProcess flags, DETACHED_PROCESS for no console
    std::string folder;    // current folder; the program's when empty
    std::string launcher;  // put before the program's line: "cmd.exe /c start \"\" /wait "
};

// Runs "toolhost.exe <args>" to its end, looking for visible windows of the
// process every few milliseconds meanwhile. endOnWindow: the process is
// ended as soon as a window of it shows.
CliRun RunCli(const std::string& args, DWORD timeoutMs = 120000, bool endOnWindow = false,
              const CliStart& how = CliStart());

// Visible top-level windows of process pid, as "class: title", added to `seen` once each.
void NoteWindows(DWORD pid, std::vector<std::string>& seen);

// The report at `path` (UTF-8 JSON); null when missing or not JSON.
nlohmann::json ReadReport(const std::string& path);

// The keys every report has (docs/report-schema.md): tool, command, version,
// computer, started and finished as ISO 8601 local times with offset, exit_code.
void ExpectReportHead(const nlohmann::json& body, const char* tool, const char* command, int exitCode);

// Text of the program's code page as UTF-8, as reports give it.
std::string Utf8(const std::string& ansi);

// A file of bytes is there, or is not.
bool Exists(const std::string& path);

}  // namespace clitest
