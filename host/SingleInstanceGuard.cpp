#include "host/SingleInstanceGuard.h"

SingleInstanceGuard::SingleInstanceGuard(LPCSTR name) : m_allowed(FALSE)
{
    HANDLE semaphore = ::CreateSemaphoreA(nullptr, 1, 1, name);
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        if (semaphore) ::CloseHandle(semaphore);
        // The first instance may still be opening its window: give it a moment.
        HWND running = nullptr;
        for (int tries = 0; tries < 30 && !::IsWindow(running); ++tries) {
            if (tries) ::Sleep(100);
            running = ::FindWindowA(nullptr, name);
        }
        if (::IsWindow(running)) {
            m_raised = TRUE;
            ::SetForegroundWindow(::GetLastActivePopup(running));
            ::ShowWindow(running, SW_RESTORE);
        }
        return;
    }
    // The handle stays open on purpose: the name is taken for as long as this
    // process lives, and the system closes it when the process ends.
    m_allowed = TRUE;
}
