// The registry cleaner's window for a test: opened on a thread of its own with
// only the user Software section switched on, the section switches and undo
// records put back afterwards, and driven by messages.
#pragma once

#include "RegCleanTestSupport.h"
#include "TestThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace rctest {

// The first descendant of `parent` with control id `id` (panels included).
HWND FindChild(HWND parent, int id);

class CleanerWindowTest : public ::testing::Test {
public:
    CleanerWindowTest();

protected:
    void SetUp() override;
    void TearDown() override;  // closes the window unless a test did

    HWND Item(int id) const { return FindChild(m_hwnd, id); }
    // A button click, answered when the handler returns.
    void Click(int id);
    int Rows() const;

    KeySnapshot m_switches;
    KeySnapshot m_records;
    testsupport::Thread m_thread;
    std::atomic<bool> m_closed{false};
    // Read as the window closes, before its destructor stops any scan itself.
    std::atomic<bool> m_scanningAtClose{true};
    HWND m_hwnd = nullptr;
    DWORD m_uiThread = 0;
};

}  // namespace rctest
