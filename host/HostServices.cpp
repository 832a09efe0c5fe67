#include "host/HostServices.h"

#include <afxmt.h>
#include <vantor/System.h>

namespace {

// One buffer per thread: the scan worker and the window may both ask.
CThreadLocal<CString> g_loadedText;

}  // namespace

LPCSTR LoadTextById(UINT id)
{
    CString& text = *g_loadedText;
    text = LoadStringA(id);
    return text.GetString();
}

namespace {

struct SharedDrawingObjects {
    CBrush white;
    CBrush blue;
    CBrush pale;
    CPen palePen;
};

SharedDrawingObjects& Shared()
{
    static SharedDrawingObjects objects;
    return objects;
}

}  // namespace

void CreateSharedDrawingObjects()
{
    SharedDrawingObjects& s = Shared();
    if (!s.white.GetSafeHandle()) s.white.CreateSolidBrush(RGB(255, 255, 255));
    if (!s.blue.GetSafeHandle()) s.blue.CreateSolidBrush(RGB(216, 225, 255));
    if (!s.pale.GetSafeHandle()) s.pale.CreateSolidBrush(RGB(254, 254, 255));
    if (!s.palePen.GetSafeHandle()) s.palePen.CreatePen(PS_SOLID, 1, RGB(254, 254, 255));
}

void ReleaseSharedDrawingObjects()
{
    SharedDrawingObjects& s = Shared();
    s.white.DeleteObject();
    s.blue.DeleteObject();
    s.pale.DeleteObject();
    s.palePen.DeleteObject();
}

// A caller that runs before the application object made them (a test, or a
// window of a library) still gets a working object.
CBrush& SharedWhiteBrush()
{
    CreateSharedDrawingObjects();
    return Shared().white;
}

CBrush& SharedBlueBrush()
{
    CreateSharedDrawingObjects();
    return Shared().blue;
}

CBrush& SharedPaleBrush()
{
    CreateSharedDrawingObjects();
    return Shared().pale;
}

CPen& SharedPalePen()
{
    CreateSharedDrawingObjects();
    return Shared().palePen;
}
