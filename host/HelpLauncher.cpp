#include "host/HelpLauncher.h"

#include "host/GuardedCall.h"
#include "host/Language.h"

#include <shellapi.h>

namespace {

const char kHelpComponent[] = "hhctrl.ocx";
const char kUpdatePage[] = "http://www.lumbrix.com/support/htmlhelp.html";
const UINT kShowContents = 1; // HH_DISPLAY_TOC

typedef HWND(WINAPI* HtmlHelpProc)(HWND, LPCSTR, UINT, DWORD_PTR);

struct HelpCall {
    CString file;
};

// The viewer is bound when it is first called, as a delay-loaded import
// would; the component stays loaded afterwards, since its window lives on.
void CallHtmlHelp(void* context)
{
    const HelpCall* call = static_cast<const HelpCall*>(context);
    HMODULE component = ::LoadLibraryA(kHelpComponent);
    HtmlHelpProc htmlHelp =
        component ? reinterpret_cast<HtmlHelpProc>(::GetProcAddress(component, "HtmlHelpA")) : nullptr;
    if (!htmlHelp) return;
    htmlHelp(::GetDesktopWindow(), call->file, kShowContents, 0);
}

}  // namespace

CString HelpFilePath(LPCSTR programPath)
{
    CString path(programPath);
    path.MakeLower();
    path.Replace(".exe", ".chm");
    return path;
}

CString HelpFileFor(LPCSTR programPath, LANGID language)
{
    CString path(HelpFilePath(programPath));
    if (PRIMARYLANGID(language) != LANG_ENGLISH) return path;
    const int length = path.GetLength();
    if (length >= 4 && path.Right(4) == ".chm") return path.Left(length - 4) + "-en.chm";
    return path + "-en.chm";
}

void LaunchHelp(LPCSTR programPath)
{
    // A system without the component gets no help and no complaint.
    HMODULE component = ::LoadLibraryA(kHelpComponent);
    if (!component) return;
    ::FreeLibrary(component);

    HelpCall call{HelpFileFor(programPath, ProgramLanguage())};
    // A translation that is missing falls back to the Chinese help beside it.
    if (::GetFileAttributesA(call.file) == INVALID_FILE_ATTRIBUTES)
        call.file = HelpFileFor(programPath, kLanguageChinese);
    if (GuardedCall(CallHtmlHelp, &call)) return;

    CString text("Unable to start HTML Help file.\r\nYou need free html help Update (450 KB).\r\n"
                 "It Can be downloaded from ");
    text += kUpdatePage;
    text += ".\r\nDownload Update.";
    HWND desktop = ::GetDesktopWindow();
    if (::MessageBoxA(desktop, text, "Failed to start HTML Help", MB_YESNO | MB_ICONERROR | MB_TASKMODAL) == IDYES)
        ::ShellExecuteA(desktop, "open", kUpdatePage, "", "", SW_SHOWNORMAL);
}
