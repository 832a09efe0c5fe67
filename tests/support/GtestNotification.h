// GoogleTest's thread hand-over (testing::internal::Notification) is built on
// std::mutex and std::condition_variable, which the C++ library of the win32
// thread model lacks. This one, on a Win32 event, takes its place: every test
// source and GoogleTest itself include it first (a forced include, with
// GTEST_HAS_NOTIFICATION_ set), so no Win32 header comes in here.
#pragma once

#ifdef __cplusplus
namespace testing {
namespace internal {

class Notification {
public:
    Notification();
    ~Notification();
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify();
    void WaitForNotification();

private:
    void* m_event;
};

}  // namespace internal
}  // namespace testing
#endif
