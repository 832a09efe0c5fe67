// A list view of another process, read and ticked the way accessibility and
// automation tools drive one: the item record and its text buffer are put
// into that process's memory, the message is sent, the answer read back.
#pragma once

#include <windows.h>

#include <string>

namespace junktest {

class RemoteList {
public:
    explicit RemoteList(HWND list);
    ~RemoteList();
    RemoteList(const RemoteList&) = delete;
    RemoteList& operator=(const RemoteList&) = delete;

    bool Ready() const { return m_remote != nullptr; }
    int Count() const;
    std::string Text(int item, int column) const;
    // The check box: state image 2.
    bool Ticked(int item) const;
    void SetTicked(int item, bool ticked) const;
    // The row whose first column is path (any case), -1 when none.
    int RowOf(const std::string& path) const;

private:
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const;

    HWND m_list;
    HANDLE m_process = nullptr;
    char* m_remote = nullptr;  // an LVITEMA, then the text buffer
};

}  // namespace junktest
