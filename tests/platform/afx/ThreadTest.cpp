// Worker threads (priority from the first instruction, self-deleting or kept)
// and the pump that dispatches what is waiting without blocking.
#include "TestApp.h"
#include "testsupport.h"
#include "TestThread.h"
#include <gtest/gtest.h>
#include <atomic>

using testsupport::WaitFor;

namespace {

struct Job {
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> priority{-99};
    std::atomic<DWORD> threadId{0};
    void* seenParam = nullptr;
    ~Job() { CloseHandle(done); }
};

UINT Work(LPVOID p) {
    auto* job = static_cast<Job*>(p);
    job->priority = GetThreadPriority(GetCurrentThread());
    job->threadId = GetCurrentThreadId();
    job->seenParam = p;
    SetEvent(job->done);
    return 42;
}

} // namespace

TEST(ThreadTest, AutoDeleteThreadRunsAtItsPriorityAndFreesItself) {
    Job job;
    CWinThread* t = AfxBeginThread(Work, &job, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(t->m_bAutoDelete);
    HANDLE own = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), t->m_hThread, GetCurrentProcess(), &own, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
    HANDLE kept = t->m_hThread;
    t->ResumeThread();
    ASSERT_EQ(WaitForSingleObject(own, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(job.priority.load(), THREAD_PRIORITY_BELOW_NORMAL);
    EXPECT_EQ(job.seenParam, &job);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(own, &code));
    EXPECT_EQ(code, 42u);
    CloseHandle(own);
    // The object went with its thread, and closed its handle on the way.
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(kept, &flags));
}

TEST(ThreadTest, KeptThreadObjectOutlivesItsThread) {
    Job job;
    CWinThread* t = AfxBeginThread(Work, &job, THREAD_PRIORITY_LOWEST, 0, CREATE_SUSPENDED);
    ASSERT_NE(t, nullptr);
    t->m_bAutoDelete = FALSE;
    t->ResumeThread();
    ASSERT_EQ(WaitForSingleObject(t->m_hThread, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(job.priority.load(), THREAD_PRIORITY_LOWEST);
    EXPECT_EQ(job.threadId.load(), t->m_nThreadID);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(t->m_hThread, &code));
    EXPECT_EQ(code, 42u);
    delete t;
}

TEST(ThreadTest, ThreadStartsAtOnceWithoutTheSuspendedFlag) {
    Job job;
    ASSERT_NE(AfxBeginThread(Work, &job, THREAD_PRIORITY_ABOVE_NORMAL), nullptr);
    ASSERT_EQ(WaitForSingleObject(job.done, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(job.priority.load(), THREAD_PRIORITY_ABOVE_NORMAL);
}

namespace {

class Mailbox : public CWnd {
public:
    std::vector<WPARAM> got;

protected:
    afx_msg LRESULT OnMail(WPARAM w, LPARAM) {
        got.push_back(w);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Mailbox, CWnd)
    ON_MESSAGE(WM_APP + 9, OnMail)
END_MESSAGE_MAP()

} // namespace

TEST(PumpTest, DispatchesWhatIsWaitingAndStopsAtQuit) {
    Mailbox box;
    RECT r = {0, 0, 10, 10};
    ASSERT_TRUE(box.CreateEx(0, "STATIC", "mailbox", WS_POPUP, r, nullptr, 0));
    box.PostMessage(WM_APP + 9, 1);
    box.PostMessage(WM_APP + 9, 2);
    EXPECT_TRUE(AfxPumpPendingMessages());
    EXPECT_EQ(box.got, (std::vector<WPARAM>{1, 2}));
    EXPECT_TRUE(AfxPumpPendingMessages()); // nothing waiting: returns at once

    // Sent from a worker while the pump runs: the worker's call completes.
    LRESULT sentResult = -1;
    testsupport::Thread worker([&] { sentResult = box.SendMessage(WM_APP + 9, 3); });
    ASSERT_TRUE(WaitFor([&] { return box.got.size() == 3; }));
    worker.join();
    EXPECT_EQ(sentResult, 0);

    box.PostMessage(WM_APP + 9, 4);
    PostQuitMessage(6);
    EXPECT_FALSE(AfxPumpPendingMessages());
    EXPECT_EQ(box.got.back(), WPARAM(4));
    // The quit message is still there for the loop that owns it.
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, WPARAM(6));
    box.DestroyWindow();
}
