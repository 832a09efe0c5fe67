// The framework's locks and per-thread values: a scoped lock holds its
// section exactly for its scope, each thread sees its own value, and a
// thread's value goes when the thread ends.
#include "afxmt.h"
#include "TestThread.h"
#include <gtest/gtest.h>
#include <atomic>

namespace {

// Whether another thread could take the section right now.
bool FreeForOthers(CCriticalSection& section) {
    bool taken = false;
    testsupport::Thread other([&] {
        taken = TryEnterCriticalSection(&section.m_sect) != FALSE;
        if (taken) LeaveCriticalSection(&section.m_sect);
    });
    other.join();
    return taken;
}

struct Counted {
    static std::atomic<int> alive;
    int value = 0;
    Counted() { ++alive; }
    ~Counted() { --alive; }
};
std::atomic<int> Counted::alive{0};

} // namespace

TEST(SyncTest, SingleLockHoldsItsSectionOnceAndForItsScopeOnly) {
    CCriticalSection section;
    {
        CSingleLock hold(&section, TRUE);
        EXPECT_TRUE(hold.IsLocked());
        EXPECT_FALSE(FreeForOthers(section));
        // A second Lock of the same holder takes nothing more, so one Unlock frees it.
        EXPECT_TRUE(hold.Lock());
        EXPECT_TRUE(hold.Unlock());
        EXPECT_FALSE(hold.IsLocked());
        EXPECT_TRUE(FreeForOthers(section));
        hold.Lock();
        EXPECT_FALSE(FreeForOthers(section));
    }
    EXPECT_TRUE(FreeForOthers(section));
    {
        CSingleLock later(&section);  // not locked until asked
        EXPECT_FALSE(later.IsLocked());
        EXPECT_TRUE(FreeForOthers(section));
    }
}

TEST(SyncTest, EventsResetByThemselvesUnlessMadeManual) {
    CEvent automatic;
    automatic.SetEvent();
    EXPECT_TRUE(automatic.Lock(0));
    EXPECT_FALSE(automatic.Lock(0)) << "one signal woke two waits";
    CEvent manual(FALSE, TRUE);
    manual.SetEvent();
    EXPECT_TRUE(manual.Lock(0));
    EXPECT_TRUE(manual.Lock(0));
    manual.ResetEvent();
    EXPECT_FALSE(manual.Lock(0));
}

TEST(SyncTest, ThreadLocalValuesAreEachThreadsOwnAndEndWithTheirThread) {
    {
        CThreadLocal<Counted> local;
        local->value = 1;
        int seenThere = -1;
        testsupport::Thread other([&] {
            seenThere = local->value;
            local->value = 2;
            (*local).value += 1;
        });
        other.join();
        EXPECT_EQ(seenThere, 0) << "the other thread saw this thread's value";
        EXPECT_EQ(local->value, 1);
        EXPECT_EQ(Counted::alive.load(), 1) << "the ended thread's value was not destroyed";
    }
    // The slot took this thread's value with it.
    EXPECT_EQ(Counted::alive.load(), 0);
}
