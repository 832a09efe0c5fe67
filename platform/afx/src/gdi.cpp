// Device contexts and the GDI objects that need more than one call.
#include "afximpl.h"

// ---- CDC -----------------------------------------------------------------------

CDC::~CDC() {
    if (m_bOwned) DeleteDC();
}

CDC* CDC::FromHandle(HDC hdc) {
    if (!hdc) return nullptr;
    auto& temps = AfxGetThreadState()->tempDCs;
    auto it = temps.find(hdc);
    if (it != temps.end()) {
        it->second->m_hDC = hdc;
        return it->second;
    }
    CDC* wrapper = new CDC;
    wrapper->Attach(hdc);
    temps[hdc] = wrapper;
    return wrapper;
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
    if (m_bOwned) DeleteDC();
    m_hDC = ::CreateCompatibleDC(dc ? dc->m_hDC : nullptr);
    m_bOwned = m_hDC != nullptr;
    return m_bOwned;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC) return FALSE;
    BOOL ok = m_bOwned ? ::DeleteDC(m_hDC) : FALSE;
    m_hDC = nullptr;
    m_bOwned = false;
    return ok;
}

void CDC::FillSolidRect(LPCRECT r, COLORREF color) {
    COLORREF old = ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, r, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int w, int h, COLORREF color) {
    RECT r = {x, y, x + w, y + h};
    FillSolidRect(&r, color);
}

void CDC::Draw3dRect(LPCRECT r, COLORREF topLeft, COLORREF bottomRight) {
    int x = r->left, y = r->top, w = r->right - r->left, h = r->bottom - r->top;
    FillSolidRect(x, y, w - 1, 1, topLeft);
    FillSolidRect(x, y, 1, h - 1, topLeft);
    FillSolidRect(x + w - 1, y, 1, h, bottomRight);
    FillSolidRect(x, y + h - 1, w, 1, bottomRight);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd) { Attach(::BeginPaint(m_hWnd, &m_ps)); }

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) { Attach(::GetDC(m_hWnd)); }

CClientDC::~CClientDC() {
    if (m_hDC) ::ReleaseDC(m_hWnd, Detach());
}

// Same logical coordinates as the target: the bitmap's origin sits at the
// area's top-left corner.
CMemDC::CMemDC(CDC* target, const RECT& area) : m_target(target), m_area(area) {
    if (CreateCompatibleDC(target) && m_bitmap.CreateCompatibleBitmap(target, m_area.Width(), m_area.Height())) {
        m_oldBitmap = SelectObject(&m_bitmap);
        ::SetWindowOrgEx(m_hDC, m_area.left, m_area.top, nullptr);
    } else {
        m_done = true; // nothing to copy
    }
}

CMemDC::~CMemDC() {
    Blit();
    if (m_oldBitmap) SelectObject(m_oldBitmap);
}

void CMemDC::Blit() {
    if (m_done || !m_target) return;
    m_done = true;
    ::BitBlt(m_target->m_hDC, m_area.left, m_area.top, m_area.Width(), m_area.Height(), m_hDC, m_area.left,
             m_area.top, SRCCOPY);
}

// ---- GDI objects -----------------------------------------------------------------

BOOL CFont::CreatePointFont(int pointSize10, LPCSTR face, CDC* dc) {
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    if (face) lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    HDC hdc = dc ? dc->m_hDC : ::GetDC(nullptr);
    // Tenths of a point to pixels of character height (so the value is negative).
    POINT pt = {0, MulDiv(::GetDeviceCaps(hdc, LOGPIXELSY), pointSize10, 720)};
    POINT origin = {0, 0};
    ::DPtoLP(hdc, &pt, 1);
    ::DPtoLP(hdc, &origin, 1);
    lf.lfHeight = -std::abs(pt.y - origin.y);
    if (!dc) ::ReleaseDC(nullptr, hdc);
    return CreateFontIndirect(&lf);
}

namespace {

// A device-dependent bitmap from a packed BITMAPINFO resource, as LoadBitmap
// makes one; null for a resource it cannot read.
HBITMAP BitmapFromResource(HINSTANCE module, HRSRC res) {
    HGLOBAL loaded = LoadResource(module, res);
    const auto* info = loaded ? static_cast<const BITMAPINFO*>(LockResource(loaded)) : nullptr;
    const DWORD size = SizeofResource(module, res);
    if (!info || size < sizeof(BITMAPINFOHEADER) || info->bmiHeader.biSize > size) return nullptr;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    DWORD colours = header.biClrUsed;
    if (!colours && header.biBitCount <= 8) colours = 1u << header.biBitCount;
    if (header.biCompression == BI_BITFIELDS) colours += 3;
    const DWORD offset = header.biSize + colours * sizeof(RGBQUAD);
    if (offset >= size) return nullptr;
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateDIBitmap(screen, &header, CBM_INIT, reinterpret_cast<const BYTE*>(info) + offset, info,
                                      DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

} // namespace

BOOL CBitmap::LoadBitmap(UINT id) {
    LPCSTR name = MAKEINTRESOURCEA(id);
    LPCSTR type = MAKEINTRESOURCEA(2); // RT_BITMAP
    HINSTANCE module = AfxFindResourceHandle(name, type);
    if (!module) return FALSE;
    // Windows' own load picks the language itself: used when it picks ours.
    HRSRC wanted = AfxFindResourceIn(module, name, type);
    if (!wanted || wanted == FindResourceA(module, name, type)) return Attach(::LoadBitmapA(module, name));
    return Attach(BitmapFromResource(module, wanted));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    HDC hdc = dc ? dc->m_hDC : nullptr;
    HDC screen = hdc ? nullptr : ::GetDC(nullptr);
    BOOL ok = Attach(::CreateCompatibleBitmap(hdc ? hdc : screen, width, height));
    if (screen) ::ReleaseDC(nullptr, screen);
    return ok;
}

CSize CBitmap::GetSize() const {
    BITMAP info = {};
    if (!m_hObject || !GetBitmap(&info)) return CSize();
    return CSize(info.bmWidth, info.bmHeight);
}
