// Makes the prefix's Recycle Bin unusable for as long as the object lives:
// Wine keeps it as the freedesktop trash folder $XDG_DATA_HOME/Trash, and a
// plain file in its place is a trash nothing can go into. Wine looks at the
// trash once per process: a process that used it before keeps its view.
#pragma once

#include <windows.h>

#include <string>

namespace junktest {

class UnusableTrash {
public:
    UnusableTrash() {
        char xdg[MAX_PATH] = {};
        if (!GetEnvironmentVariableA("XDG_DATA_HOME", xdg, MAX_PATH)) return;
        std::string base = std::string("\\\\?\\unix") + xdg;
        for (char& c : base)
            if (c == '/') c = '\\';
        m_trash = base + "\\Trash";
        m_kept = base + "\\Trash.kept-by-test";
        const DWORD attributes = GetFileAttributesA(m_trash.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !MoveFileA(m_trash.c_str(), m_kept.c_str())) return;
        m_moved = attributes != INVALID_FILE_ATTRIBUTES;
        HANDLE file = CreateFileA(m_trash.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL);
        if (file == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        WriteFile(file, "not a folder", 12, &written, NULL);
        CloseHandle(file);
        m_ready = true;
    }
    ~UnusableTrash() {
        if (m_ready) DeleteFileA(m_trash.c_str());
        if (m_moved) MoveFileA(m_kept.c_str(), m_trash.c_str());
    }
    UnusableTrash(const UnusableTrash&) = delete;
    UnusableTrash& operator=(const UnusableTrash&) = delete;
    // The trash folder is a plain file now.
    bool Ready() const { return m_ready; }

private:
    std::string m_trash, m_kept;
    bool m_moved = false;
    bool m_ready = false;
};

}  // namespace junktest
