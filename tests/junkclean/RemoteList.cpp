#include "RemoteList.h"

#include <commctrl.h>

namespace junktest {

namespace {
const size_t kTextRoom = 1024;
}

RemoteList::RemoteList(HWND list) : m_list(list) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    m_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                            FALSE, pid);
    if (!m_process) return;
    m_remote = static_cast<char*>(
        VirtualAllocEx(m_process, NULL, sizeof(LVITEMA) + kTextRoom, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

RemoteList::~RemoteList() {
    if (m_remote) VirtualFreeEx(m_process, m_remote, 0, MEM_RELEASE);
    if (m_process) CloseHandle(m_process);
}

LRESULT RemoteList::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(m_list, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result);
    return LRESULT(result);
}

int RemoteList::Count() const { return int(Send(LVM_GETITEMCOUNT, 0, 0)); }

std::string RemoteList::Text(int item, int column) const {
    if (!m_remote) return "";
    LVITEMA lv = {};
    lv.iSubItem = column;
    lv.pszText = m_remote + sizeof(LVITEMA);
    lv.cchTextMax = int(kTextRoom);
    const char empty = 0;
    SIZE_T done = 0;
    WriteProcessMemory(m_process, m_remote, &lv, sizeof lv, &done);
    WriteProcessMemory(m_process, m_remote + sizeof(LVITEMA), &empty, 1, &done);
    Send(LVM_GETITEMTEXTA, WPARAM(item), LPARAM(m_remote));
    char text[kTextRoom + 1] = {};
    ReadProcessMemory(m_process, m_remote + sizeof(LVITEMA), text, kTextRoom, &done);
    return text;
}

bool RemoteList::Ticked(int item) const {
    return ((UINT(Send(LVM_GETITEMSTATE, WPARAM(item), LVIS_STATEIMAGEMASK)) & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void RemoteList::SetTicked(int item, bool ticked) const {
    if (!m_remote) return;
    LVITEMA lv = {};
    lv.stateMask = LVIS_STATEIMAGEMASK;
    lv.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
    SIZE_T done = 0;
    WriteProcessMemory(m_process, m_remote, &lv, sizeof lv, &done);
    Send(LVM_SETITEMSTATE, WPARAM(item), LPARAM(m_remote));
}

int RemoteList::RowOf(const std::string& path) const {
    for (int i = 0, n = Count(); i < n; ++i)
        if (lstrcmpiA(Text(i, 0).c_str(), path.c_str()) == 0) return i;
    return -1;
}

}  // namespace junktest
