// Owners of the raw Win32 handles used inside vantor.dll.
#pragma once

#include <windows.h>

namespace vantor {

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Reset(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    HKEY* Receive() { Reset(); return &m_key; }
    operator HKEY() const { return m_key; }
    void Reset() { if (m_key) RegCloseKey(m_key); m_key = NULL; }

private:
    HKEY m_key = NULL;
};

class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(HANDLE h) : m_h(h) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool Valid() const { return m_h != INVALID_HANDLE_VALUE && m_h != NULL; }
    HANDLE Get() const { return m_h; }
    void Reset(HANDLE h) { Close(); m_h = h; }
    // Closes now and tells whether the close itself worked (a delayed write
    // error shows up here).
    bool Close()
    {
        bool ok = true;
        if (Valid()) ok = CloseHandle(m_h) != FALSE;
        m_h = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE m_h = INVALID_HANDLE_VALUE;
};

class FindHandle {
public:
    explicit FindHandle(HANDLE h) : m_h(h) {}
    ~FindHandle() { if (Valid()) FindClose(m_h); }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool Valid() const { return m_h != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_h; }

private:
    HANDLE m_h;
};

// A GDI object created here and deleted when it goes out of scope.
template <class T>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(T h) : m_h(h) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    T Get() const { return m_h; }
    operator T() const { return m_h; }
    void Reset(T h = NULL) { if (m_h) DeleteObject(m_h); m_h = h; }
    T Release() { T h = m_h; m_h = NULL; return h; }

private:
    T m_h = NULL;
};

// Selects an object into a DC and puts the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(obj ? SelectObject(dc, obj) : NULL) {}
    ~SelectGuard() { if (m_old) SelectObject(m_dc, m_old); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// A memory DC compatible with `like`, deleted on scope exit.
class MemoryDC {
public:
    explicit MemoryDC(HDC like) : m_dc(CreateCompatibleDC(like)) {}
    ~MemoryDC() { if (m_dc) DeleteDC(m_dc); }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    operator HDC() const { return m_dc; }
    bool Valid() const { return m_dc != NULL; }

private:
    HDC m_dc;
};

// Off-screen picture of `rect` of `target`: draw into Dc(), then the
// destructor copies the picture to the target in one blit, so nothing flickers.
class BufferedPaint {
public:
    BufferedPaint(HDC target, const RECT& rect)
        : m_target(target), m_rect(rect), m_mem(target),
          m_bitmap(CreateCompatibleBitmap(target, Width() > 0 ? Width() : 1, Height() > 0 ? Height() : 1)),
          m_select(m_mem, m_bitmap)
    {
        SetViewportOrgEx(m_mem, -m_rect.left, -m_rect.top, NULL);
    }
    ~BufferedPaint()
    {
        if (!m_mem.Valid() || !m_bitmap.Get()) return;
        SetViewportOrgEx(m_mem, 0, 0, NULL);
        BitBlt(m_target, m_rect.left, m_rect.top, Width(), Height(), m_mem, 0, 0, SRCCOPY);
    }
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;

    // Falls back to the target itself when no memory DC could be had.
    HDC Dc() const { return m_mem.Valid() && m_bitmap.Get() ? HDC(m_mem) : m_target; }
    int Width() const { return m_rect.right - m_rect.left; }
    int Height() const { return m_rect.bottom - m_rect.top; }

private:
    HDC m_target;
    RECT m_rect;
    MemoryDC m_mem;
    GdiObject<HBITMAP> m_bitmap;
    SelectGuard m_select;
};

}  // namespace vantor
