// One run of the removal's progress dialog, on a window thread of the
// test's own, over a results list made of real files.
#pragma once

#include "JunkUiSupport.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace junktest {

class RemovalRun {
public:
    RemovalRun(DWORD mode, const std::string& folder, const std::vector<std::string>& files,
               const std::vector<bool>& ticked, std::function<void()> beforeDialog = nullptr);

    // The dialog, once it is up.
    HWND Dialog();
    // Waits for the dialog to end; the rows left in the list.
    std::vector<std::string> Remaining();
    INT_PTR Result() const { return m_result; }

private:
    void Body(DWORD mode, const std::string& folder, const std::vector<std::string>& files,
              const std::vector<bool>& ticked, const std::function<void()>& beforeDialog);

    std::vector<std::string> m_remaining;
    INT_PTR m_result = 0;
    UiThread m_ui;
};

}  // namespace junktest
