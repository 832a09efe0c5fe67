// Synchronisation objects and per-thread values, as thin owners of the
// oldest Win32 primitives (critical sections, events), so that every module
// still loads on the first Windows versions the program runs on.
#pragma once

#include "afxstr.h"

class CSyncObject {
public:
    CSyncObject() = default;
    virtual ~CSyncObject() = default;
    CSyncObject(const CSyncObject&) = delete;
    CSyncObject& operator=(const CSyncObject&) = delete;
    virtual BOOL Lock(DWORD timeout = INFINITE) = 0;
    virtual BOOL Unlock() = 0;
};

// Not for waits across processes; recursive on one thread, like every
// critical section.
class CCriticalSection : public CSyncObject {
public:
    CCriticalSection() { ::InitializeCriticalSection(&m_sect); }
    ~CCriticalSection() override { ::DeleteCriticalSection(&m_sect); }
    // A critical section has no timeout: Lock always waits and succeeds.
    BOOL Lock(DWORD = INFINITE) override {
        ::EnterCriticalSection(&m_sect);
        return TRUE;
    }
    BOOL Unlock() override {
        ::LeaveCriticalSection(&m_sect);
        return TRUE;
    }
    CRITICAL_SECTION m_sect;
};

// A Win32 event; auto-reset unless manualReset (one waiter wakes per Set).
class CEvent : public CSyncObject {
public:
    explicit CEvent(BOOL initiallySignalled = FALSE, BOOL manualReset = FALSE, LPCSTR name = nullptr,
                    LPSECURITY_ATTRIBUTES security = nullptr)
        : m_hObject(::CreateEventA(security, manualReset, initiallySignalled, name)) {}
    ~CEvent() override {
        if (m_hObject) ::CloseHandle(m_hObject);
    }
    BOOL SetEvent() { return ::SetEvent(m_hObject); }
    BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
    // Waits until the event is signalled; FALSE on timeout or failure.
    BOOL Lock(DWORD timeout = INFINITE) override {
        return m_hObject && ::WaitForSingleObject(m_hObject, timeout) == WAIT_OBJECT_0;
    }
    BOOL Unlock() override { return TRUE; }
    operator HANDLE() const { return m_hObject; }
    HANDLE m_hObject;
};

// Holds a lock for a scope: what it locked it unlocks, at the latest when it
// goes out of scope.
class CSingleLock {
public:
    explicit CSingleLock(CSyncObject* object, BOOL initialLock = FALSE) : m_pObject(object) {
        if (initialLock) Lock();
    }
    ~CSingleLock() { Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;
    BOOL Lock(DWORD timeout = INFINITE) {
        if (!m_bAcquired) m_bAcquired = m_pObject->Lock(timeout);
        return m_bAcquired;
    }
    BOOL Unlock() {
        if (m_bAcquired) m_bAcquired = !m_pObject->Unlock();
        return !m_bAcquired;
    }
    BOOL IsLocked() const { return m_bAcquired; }

private:
    CSyncObject* m_pObject;
    BOOL m_bAcquired = FALSE;
};

// One value per thread and slot, kept in the framework's per-thread state and
// destroyed (by `destroy`) when that thread ends. A slot must outlive every
// thread that still has a value in it, and so must the code of `destroy`:
// keep slots in the program or in libraries that stay loaded.
class AFX_API CThreadSlot {
public:
    CThreadSlot();
    ~CThreadSlot();
    CThreadSlot(const CThreadSlot&) = delete;
    CThreadSlot& operator=(const CThreadSlot&) = delete;
    void* GetValue() const;  // nullptr until this thread sets one
    // Replaces (and destroys) this thread's previous value.
    void SetValue(void* value, void (*destroy)(void*));

private:
    LONG m_nSlot;
};

// A T per thread, made on the thread's first GetData.
template <class T>
class CThreadLocal {
public:
    T* GetData() {
        T* value = static_cast<T*>(m_slot.GetValue());
        if (!value) {
            value = new T;
            m_slot.SetValue(value, [](void* p) { delete static_cast<T*>(p); });
        }
        return value;
    }
    T* operator->() { return GetData(); }
    T& operator*() { return *GetData(); }

private:
    CThreadSlot m_slot;
};
