#include "cli/Console.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

HANDLE g_output = INVALID_HANDLE_VALUE;
bool g_isConsole = false;
bool g_opened = false;
DWORD g_lastProgress = 0;

bool Usable(HANDLE h) { return h && h != INVALID_HANDLE_VALUE && ::GetFileType(h) != FILE_TYPE_UNKNOWN; }

}  // namespace

bool OpenCliConsole()
{
    if (g_opened) return CliConsoleOpen();
    g_opened = true;
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    // Windows 9x has no AttachConsole: there only a redirected output is used.
    typedef BOOL(WINAPI * AttachCall)(DWORD);
    const AttachCall attach = reinterpret_cast<AttachCall>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "AttachConsole")));
    // Refused with ERROR_ACCESS_DENIED when the process has a console already
    // (Wine hands a windowed program its parent's console): that one serves.
    if (!Usable(out) && attach && (attach(ATTACH_PARENT_PROCESS) || ::GetLastError() == ERROR_ACCESS_DENIED)) {
        // Lives as long as the process: the system closes it at the end.
        out = ::CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                            OPEN_EXISTING, 0, NULL);
    }
    if (!Usable(out)) return false;
    g_output = out;
    DWORD mode = 0;
    g_isConsole = ::GetConsoleMode(out, &mode) != FALSE;
    return true;
}

bool CliConsoleOpen() { return g_output != INVALID_HANDLE_VALUE; }

void CliLine(LPCSTR text)
{
    if (!CliConsoleOpen()) return;
    std::string line(text ? text : "");
    if (g_isConsole) {
        // The console shows its own code page: hand it the characters instead.
        line += "\r\n";
        const int n = ::MultiByteToWideChar(CP_ACP, 0, line.c_str(), int(line.size()), NULL, 0);
        std::wstring wide(size_t(n > 0 ? n : 0), L'\0');
        if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, line.c_str(), int(line.size()), &wide[0], n);
        DWORD written = 0;
        ::WriteConsoleW(g_output, wide.c_str(), DWORD(wide.size()), &written, NULL);
        return;
    }
    line += "\r\n";
    DWORD written = 0;
    ::WriteFile(g_output, line.data(), DWORD(line.size()), &written, NULL);
}

void CliLinef(LPCSTR format, ...)
{
    char buffer[2048];
    va_list args;
    va_start(args, format);
    _vsnprintf(buffer, sizeof buffer - 1, format, args);
    va_end(args);
    buffer[sizeof buffer - 1] = '\0';
    CliLine(buffer);
}

void CliProgress(LPCSTR text)
{
    const DWORD now = ::GetTickCount();
    if (g_lastProgress && now - g_lastProgress < 1000) return;
    g_lastProgress = now;
    CliLine(text);
}

void ShowCliUsage(LPCSTR text)
{
    if (CliConsoleOpen()) {
        std::string all(text);
        // Line by line, without the text's own line ends.
        size_t start = 0;
        while (start < all.size()) {
            size_t end = all.find("\r\n", start);
            if (end == std::string::npos) end = all.size();
            CliLine(all.substr(start, end - start).c_str());
            start = end + 2;
        }
        return;
    }
    ::MessageBoxA(NULL, text, "toolhost", MB_OK | MB_ICONINFORMATION);
}
