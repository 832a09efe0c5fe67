// A thread for test programs: runs a function on a new thread and is joined
// (or let go) by its owner. Built on the C run time's thread start, as the
// program's own worker threads are.
#pragma once

#include <windows.h>
#include <functional>

namespace testsupport {

class Thread {
public:
    Thread() = default;
    explicit Thread(std::function<void()> body);
    ~Thread();  // joins a thread nobody joined or let go
    Thread(Thread&& other) noexcept;
    Thread& operator=(Thread&& other) noexcept;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    bool joinable() const { return m_handle != nullptr; }
    void join();    // waits for the body to end
    void detach();  // lets the thread run on alone

private:
    HANDLE m_handle = nullptr;
};

}  // namespace testsupport
