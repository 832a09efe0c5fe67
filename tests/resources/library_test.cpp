// The library as a module: its one export, the display control it starts,
// its place in the framework's resource chain, and toolhost.exe's own
// resources beside it.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <string>

#include "testsupport.h"
#include "vantres_library.h"

using restest::VantresLibrary;

namespace {

// When started as a probe (see RefusesToLoadWithoutTheHtmlControl) this
// program only tries to load the library and says by its exit code whether
// that worked: 0 loaded, 3 refused.
struct LoadProbe {
    LoadProbe() {
        char flag[8];
        if (GetEnvironmentVariableA("VANTRES_LOAD_PROBE", flag, sizeof(flag)) == 0) return;
        SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        ExitProcess(LoadLibraryA("vantres.dll") ? 0 : 3);
    }
} loadProbe;

// Runs the probe copy in its own folder, so that the program folder's
// QHTM.dll is not found through the current directory; returns its exit code.
DWORD RunProbe(const std::string& folder) {
    std::string line = "\"" + folder + "\\resources_test.exe\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    SetEnvironmentVariableA("VANTRES_LOAD_PROBE", "1");
    BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                  &startup, &info);
    SetEnvironmentVariableA("VANTRES_LOAD_PROBE", nullptr);
    if (!started) return 0xFFFFFFFF;
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(info.hProcess, &code);
    else TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code;
}

}  // namespace

TEST(VantresLibrary, OrdinalOneReturnsTheLibraryAndHasNoName) {
    VantresLibrary lib;
    ASSERT_NE(lib.get(), nullptr) << "error " << GetLastError();
    using ModuleHandleFn = HMODULE(WINAPI*)();
    FARPROC proc = GetProcAddress(lib.get(), MAKEINTRESOURCEA(1));
    ASSERT_NE(proc, nullptr);
    EXPECT_EQ(reinterpret_cast<ModuleHandleFn>(reinterpret_cast<void*>(proc))(), lib.get());
    EXPECT_EQ(GetProcAddress(lib.get(), "VantresModuleHandle"), nullptr) << "exported by ordinal only";
    EXPECT_EQ(GetProcAddress(lib.get(), MAKEINTRESOURCEA(2)), nullptr) << "one export";
}

TEST(VantresLibrary, AttachStartsTheHtmlControlForTheLibrary) {
    VantresLibrary lib;
    ASSERT_NE(lib.get(), nullptr);
    EXPECT_NE(GetModuleHandleA("QHTM.dll"), nullptr) << "loaded by name on attach";
    WNDCLASSA info;
    ASSERT_TRUE(GetClassInfoA(lib.get(), "QHTM_Window", &info)) << "registered with the library's instance";

    // The control shows its text plainly; a window of it lives and repaints.
    HWND window = CreateWindowExA(0, "QHTM_Window", "Vantor", WS_POPUP, 0, 0, 120, 40, nullptr, nullptr,
                                  lib.get(), nullptr);
    ASSERT_NE(window, nullptr);
    SetWindowTextA(window, "<b>x</b>");
    EXPECT_EQ(testsupport::WindowText(window), "<b>x</b>");
    UpdateWindow(window);
    DestroyWindow(window);
}

TEST(VantresLibrary, JoinsTheResourceChainWhileLoaded) {
    // Templates, strings and bitmaps of the library are found through the
    // framework's search as long as the library is loaded, and no longer.
    ASSERT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEA(208), MAKEINTRESOURCEA(5)), nullptr)
        << "another test left the library loaded";
    {
        VantresLibrary lib;
        ASSERT_NE(lib.get(), nullptr);
        EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEA(208), MAKEINTRESOURCEA(5) /* RT_DIALOG */), lib.get());
        EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEA((8776 >> 4) + 1), MAKEINTRESOURCEA(6) /* RT_STRING */),
                  lib.get());
        EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEA(259), MAKEINTRESOURCEA(2) /* RT_BITMAP */), lib.get());
    }
    EXPECT_EQ(GetModuleHandleA("vantres.dll"), nullptr);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEA(208), MAKEINTRESOURCEA(5)), nullptr);
}

TEST(VantresLibrary, RefusesToLoadWithoutTheHtmlControl) {
    // A copy of this program beside the library and the framework, but with
    // no QHTM.dll: the library's attach fails and so does its load.
    testsupport::ScratchDir dir("vantres-no-qhtm");
    for (const char* name : {"resources_test.exe", "vantres.dll", "afxlite.dll"})
        ASSERT_TRUE(CopyFileA((testsupport::ProgramDir() + name).c_str(), (dir / name).c_str(), FALSE)) << name;
    DWORD without = RunProbe(dir.path());
    ASSERT_TRUE(CopyFileA((testsupport::ProgramDir() + "QHTM.dll").c_str(), (dir / "QHTM.dll").c_str(), FALSE));
    DWORD with = RunProbe(dir.path());
    EXPECT_EQ(without, 3u);
    EXPECT_EQ(with, 0u) << "the copy itself must be able to load the library";
}

TEST(ToolhostResources, ProgramCarriesIconVersionManifestAndTwoStrings) {
    std::string program = testsupport::ProgramDir() + "toolhost.exe";
    if (!testsupport::FileExists(program)) GTEST_SKIP() << "toolhost.exe is not built";
    HMODULE exe = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    EXPECT_NE(restest::FindChinese(exe, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, MAKEINTRESOURCEA(128)), nullptr);
    EXPECT_NE(restest::FindChinese(exe, MAKEINTRESOURCEA(16) /* RT_VERSION */, MAKEINTRESOURCEA(1)), nullptr);
    DWORD size = 0;
    const BYTE* manifest = restest::FindChinese(exe, MAKEINTRESOURCEA(24) /* RT_MANIFEST */, MAKEINTRESOURCEA(1), &size);
    ASSERT_NE(manifest, nullptr);
    std::string text(reinterpret_cast<const char*>(manifest), size);
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("asInvoker"), std::string::npos);
    char buffer[512] = {};
    EXPECT_GT(LoadStringA(exe, 57344, buffer, sizeof(buffer)), 0);
    EXPECT_STREQ(buffer, "Lumbrix Vantor");
    EXPECT_GT(LoadStringA(exe, 9099, buffer, sizeof(buffer)), 0);
    FreeLibrary(exe);
}
