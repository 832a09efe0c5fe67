#include "RemovalRun.h"

#include "JunkTestSupport.h"
#include "testsupport.h"

#include "junkclean/DeleteProgressDlg.h"
#include "junkclean/JunkResults.h"

#include <vantres/ids_junk.h>

namespace junktest {

RemovalRun::RemovalRun(DWORD mode, const std::string& folder, const std::vector<std::string>& files,
                       const std::vector<bool>& ticked, std::function<void()> beforeDialog)
    : m_ui([=] { Body(mode, folder, files, ticked, beforeDialog); }) {}

HWND RemovalRun::Dialog() {
    HWND dlg = NULL;
    testsupport::WaitFor([&] { return (dlg = FindThreadDialog(m_ui.id(), IDC_JKD_PROGRESS)) != NULL; }, 15000);
    return dlg;
}

std::vector<std::string> RemovalRun::Remaining() {
    EXPECT_TRUE(m_ui.Join(60000)) << "the progress dialog did not close";
    return m_remaining;
}

void RemovalRun::Body(DWORD mode, const std::string& folder, const std::vector<std::string>& files,
                      const std::vector<bool>& ticked, const std::function<void()>& beforeDialog) {
    CWnd host;
    host.CreateEx(0, "STATIC", "junk removal test", WS_POPUP, CRect(0, 0, 600, 300), NULL, 0);
    CListCtrl list;
    list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 580, 280), &host, IDC_JK_RESULTS);
    list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    SetupJunkColumns(list);
    JunkFindingStamps stamps;
    for (size_t i = 0; i < files.size(); ++i) {
        JunkFinding f;
        if (!FindingForFile(files[i].c_str(), JUNK_REASON_MASK, f)) f.path = files[i].c_str();
        stamps.Record(f);
        InsertJunkRow(list, int(i), f, "x");
        list.SetCheck(int(i), ticked[i]);
    }
    if (beforeDialog) beforeDialog();
    CDeleteProgressDlg dlg(mode, folder.c_str(), &host, &list, &stamps);
    m_result = dlg.DoModal();
    for (int i = 0; i < list.GetItemCount(); ++i) m_remaining.push_back(list.GetItemText(i, 0).str());
    list.DestroyWindow();
    host.DestroyWindow();
}

}  // namespace junktest
