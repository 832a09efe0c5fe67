#include "CleanerWindowFixture.h"

#include "regclean/RegCleanWindow.h"
#include "regclean/Sections.h"
#include "regclean/UndoStore.h"

#include "testsupport.h"
#include "vantres/ids_regclean.h"

#include <commctrl.h>

namespace rctest {

namespace {

struct IdSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchId(HWND child, LPARAM param)
{
    IdSearch* s = reinterpret_cast<IdSearch*>(param);
    if (::GetDlgCtrlID(child) != s->id) return TRUE;
    s->found = child;
    return FALSE;
}

}  // namespace

HWND FindChild(HWND parent, int id)
{
    IdSearch search{id, nullptr};
    ::EnumChildWindows(parent, MatchId, LPARAM(&search));
    return search.found;
}

CleanerWindowTest::CleanerWindowTest()
    : m_switches(HKEY_CURRENT_USER, kSwitchKey), m_records(HKEY_CURRENT_USER, kUndoRecordsKey)
{
}

void CleanerWindowTest::SetUp()
{
    LoadResources();
    for (int s = 0; s < kSectionCount; ++s) WriteSectionSwitch(s, s == kSecUserSoftware);
    m_thread = testsupport::Thread([this] {
        RegCleanWindow window;
        window.DoModal();
        m_scanningAtClose = window.IsScanning();
        m_closed = true;
    });
    m_hwnd = testsupport::WaitForWindow(testsupport::Ansi(u8"注册表清理和修复"), 20000, ::GetCurrentProcessId());
    ASSERT_NE(nullptr, m_hwnd);
    m_uiThread = ::GetWindowThreadProcessId(m_hwnd, nullptr);
}

void CleanerWindowTest::TearDown()
{
    if (!m_closed && m_hwnd) ::PostMessageA(m_hwnd, WM_COMMAND, IDCANCEL, 0);
    if (m_thread.joinable()) m_thread.join();
}

void CleanerWindowTest::Click(int id)
{
    DWORD_PTR result;
    ::SendMessageTimeoutA(Item(id), BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &result);
}

int CleanerWindowTest::Rows() const
{
    return int(::SendMessageA(Item(IDC_RC_RESULTS), LVM_GETITEMCOUNT, 0, 0));
}

}  // namespace rctest
