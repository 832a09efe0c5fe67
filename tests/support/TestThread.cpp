#include "TestThread.h"

#include <process.h>
#include <utility>

namespace testsupport {

namespace {

unsigned __stdcall Run(void* param)
{
    auto* body = static_cast<std::function<void()>*>(param);
    (*body)();
    delete body;
    return 0;
}

}  // namespace

Thread::Thread(std::function<void()> body)
{
    auto* owned = new std::function<void()>(std::move(body));
    uintptr_t handle = _beginthreadex(nullptr, 0, Run, owned, 0, nullptr);
    if (!handle) {
        delete owned;
        return;
    }
    m_handle = reinterpret_cast<HANDLE>(handle);
}

Thread::~Thread()
{
    if (joinable()) join();
}

Thread::Thread(Thread&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}

Thread& Thread::operator=(Thread&& other) noexcept
{
    if (this != &other) {
        if (joinable()) join();
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

void Thread::join()
{
    if (!m_handle) return;
    WaitForSingleObject(m_handle, INFINITE);
    detach();
}

void Thread::detach()
{
    if (m_handle) CloseHandle(m_handle);
    m_handle = nullptr;
}

}  // namespace testsupport
