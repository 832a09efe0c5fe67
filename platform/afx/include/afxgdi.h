// GDI objects and device contexts. Each object owns its handle and deletes it
// when destroyed (unless detached); device contexts restore what they selected
// only when the caller restores it, as with plain GDI.
#pragma once

#include "afxwnd.h"

class AFX_API CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ h) { DeleteObject(); m_hObject = h; return h != nullptr; }
    HGDIOBJ Detach() { HGDIOBJ h = m_hObject; m_hObject = nullptr; return h; }
    BOOL DeleteObject() {
        if (!m_hObject) return FALSE;
        BOOL ok = ::DeleteObject(m_hObject);
        m_hObject = nullptr;
        return ok;
    }
    int GetObject(int size, LPVOID buffer) const { return ::GetObjectA(m_hObject, size, buffer); }
};

class AFX_API CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
    operator HPEN() const { return HPEN(m_hObject); }
};

class AFX_API CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    BOOL CreatePatternBrush(HBITMAP bitmap) { return Attach(::CreatePatternBrush(bitmap)); }
    operator HBRUSH() const { return HBRUSH(m_hObject); }
};

class AFX_API CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONTA* font) { return Attach(::CreateFontIndirectA(font)); }
    // Height in pixels (negative: character height), as CreateFont takes it.
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, LPCSTR face) {
        return Attach(::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                    charSet, outPrecision, clipPrecision, quality, pitchAndFamily, face));
    }
    // Tenths of a point, for the screen.
    BOOL CreatePointFont(int pointSize10, LPCSTR face, CDC* dc = nullptr);
    BOOL GetLogFont(LOGFONTA* font) const { return GetObject(sizeof(LOGFONTA), font) != 0; }
    operator HFONT() const { return HFONT(m_hObject); }
};

class AFX_API CBitmap : public CGdiObject {
public:
    // Loads a bitmap resource through the framework's resource chain.
    BOOL LoadBitmap(UINT id);
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    int GetBitmap(BITMAP* info) const { return GetObject(sizeof(BITMAP), info); }
    CSize GetSize() const;
    operator HBITMAP() const { return HBITMAP(m_hObject); }
};

class AFX_API CDC {
public:
    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }

    // Wraps a handle nobody else owns for the length of one call chain; the
    // wrapper is kept per thread and never deletes the handle.
    static CDC* FromHandle(HDC hdc);
    BOOL Attach(HDC hdc) { m_hDC = hdc; return hdc != nullptr; }
    HDC Detach() { HDC h = m_hDC; m_hDC = nullptr; return h; }
    // A memory DC compatible with dc (or with the screen): owned and deleted.
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();

    HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
    HGDIOBJ SelectObject(CGdiObject* object) { return ::SelectObject(m_hDC, object->m_hObject); }
    HGDIOBJ SelectStockObject(int index) { return ::SelectObject(m_hDC, ::GetStockObject(index)); }

    BOOL BitBlt(int x, int y, int w, int h, CDC* src, int sx, int sy, DWORD rop) {
        return ::BitBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, sx, sy, rop);
    }
    BOOL StretchBlt(int x, int y, int w, int h, CDC* src, int sx, int sy, int sw, int sh, DWORD rop) {
        return ::StretchBlt(m_hDC, x, y, w, h, src->m_hDC, sx, sy, sw, sh, rop);
    }
    void FillSolidRect(LPCRECT r, COLORREF color);
    void FillSolidRect(int x, int y, int w, int h, COLORREF color);
    void FillRect(LPCRECT r, CBrush* brush) { ::FillRect(m_hDC, r, HBRUSH(brush->m_hObject)); }
    void FrameRect(LPCRECT r, CBrush* brush) { ::FrameRect(m_hDC, r, HBRUSH(brush->m_hObject)); }
    void Draw3dRect(LPCRECT r, COLORREF topLeft, COLORREF bottomRight);
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(LPCRECT r) { return ::Rectangle(m_hDC, r->left, r->top, r->right, r->bottom); }
    BOOL RoundRect(LPCRECT r, POINT corner) { return ::RoundRect(m_hDC, r->left, r->top, r->right, r->bottom, corner.x, corner.y); }
    CPoint MoveTo(int x, int y) { POINT p; ::MoveToEx(m_hDC, x, y, &p); return p; }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
    COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    BOOL TextOut(int x, int y, LPCSTR text, int length) { return ::TextOutA(m_hDC, x, y, text, length); }
    BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text, text.GetLength()); }
    int DrawText(LPCSTR text, int length, LPRECT r, UINT format) { return ::DrawTextA(m_hDC, text, length, r, format); }
    int DrawText(const CString& text, LPRECT r, UINT format) { return DrawText(text, text.GetLength(), r, format); }
    CSize GetTextExtent(LPCSTR text, int length) const { SIZE s{}; ::GetTextExtentPoint32A(m_hDC, text, length, &s); return s; }
    CSize GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }
    BOOL GetTextMetrics(LPTEXTMETRICA tm) const { return ::GetTextMetricsA(m_hDC, tm); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
    BOOL DrawFocusRect(LPCRECT r) { return ::DrawFocusRect(m_hDC, r); }
    BOOL DrawEdge(LPRECT r, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, r, edge, flags); }
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
    int IntersectClipRect(int l, int t, int r, int b) { return ::IntersectClipRect(m_hDC, l, t, r, b); }

protected:
    bool m_bOwned = false; // a memory DC made by CreateCompatibleDC
};

// BeginPaint/EndPaint for one WM_PAINT.
class AFX_API CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};

// GetDC/ReleaseDC of a window's client area.
class AFX_API CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

// An off-screen picture of a target area: draw into it, then Blit() (also done
// by the destructor) copies it to the target in one step, without flicker.
class AFX_API CMemDC : public CDC {
public:
    CMemDC(CDC* target, const RECT& area);
    ~CMemDC() override;
    void Blit();

private:
    CDC* m_target;
    CRect m_area;
    CBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
    bool m_done = false;
};
