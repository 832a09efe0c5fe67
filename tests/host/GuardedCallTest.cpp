// The guard around calls that may fault: faults and C++ exceptions come
// back as FALSE, through frames of the system's own code too, guards nest,
// and the thread goes on sound afterwards, however often it happens.
#include "host/GuardedCall.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

void Fault(void*)
{
    volatile int* volatile nowhere = nullptr;
    *nowhere = 7;
}

void Throw(void*) { throw std::runtime_error("thrown"); }

void Count(void* context) { ++*static_cast<int*>(context); }

// A fault inside a callback of the system: its frames lie between the
// guard and the fault.
BOOL CALLBACK FaultingCallback(HWND, LPARAM)
{
    Fault(nullptr);
    return TRUE;
}

void FaultThroughTheSystem(void*) { ::EnumWindows(FaultingCallback, 0); }

struct Nested {
    BOOL inner = TRUE;
    int after = 0;
};

void GuardInsideAGuard(void* context)
{
    Nested* nested = static_cast<Nested*>(context);
    nested->inner = GuardedCall(Fault, nullptr);
    ++nested->after;  // the outer call goes on after the inner fault
}

DWORD WINAPI FaultOnAnotherThread(LPVOID)
{
    return GuardedCall(Fault, nullptr) ? 1 : 0;
}

}  // namespace

TEST(GuardedCall, FaultsAndExceptionsComeBackAsFalseAndTheCallerGoesOn)
{
    int calls = 0;
    EXPECT_TRUE(GuardedCall(Count, &calls));
    EXPECT_EQ(1, calls);
    EXPECT_FALSE(GuardedCall(Fault, nullptr));
    EXPECT_FALSE(GuardedCall(Throw, nullptr));
    EXPECT_FALSE(GuardedCall(FaultThroughTheSystem, nullptr));
    EXPECT_TRUE(GuardedCall(Count, &calls));
    EXPECT_EQ(2, calls);
}

TEST(GuardedCall, GuardsNestAndTheInnerOneTakesTheFault)
{
    Nested nested;
    EXPECT_TRUE(GuardedCall(GuardInsideAGuard, &nested));
    EXPECT_FALSE(nested.inner);
    EXPECT_EQ(1, nested.after);
}

TEST(GuardedCall, ThousandsOfFaultsLeaveTheThreadSound)
{
    // Each abandoned call must give its stack back and leave the system's
    // own exception handling working.
    for (int i = 0; i < 3000; ++i) {
        ASSERT_FALSE(GuardedCall(i % 3 == 0 ? Throw : i % 3 == 1 ? Fault : FaultThroughTheSystem, nullptr)) << i;
    }
    int calls = 0;
    EXPECT_TRUE(GuardedCall(Count, &calls));
    EXPECT_EQ(1, calls);
    // A C++ exception outside any guard is still caught where it should be.
    bool caught = false;
    try {
        Throw(nullptr);
    } catch (const std::runtime_error&) {
        caught = true;
    }
    EXPECT_TRUE(caught);
    HANDLE thread = ::CreateThread(nullptr, 0, FaultOnAnotherThread, nullptr, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 30000));
    DWORD code = 1;
    ::GetExitCodeThread(thread, &code);
    ::CloseHandle(thread);
    EXPECT_EQ(0u, code);
}
