// The free functions of vantor.dll: system family, folder clean-up, the
// registry-path append reached by ordinal, string resources, painting and
// placement helpers.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <string>

#include <testsupport.h>
#include <vantor/vantor.h>

#include "Picture.h"
#include "VantorTestRes.h"

using testsupport::FileExists;
using testsupport::MakeDirs;
using testsupport::WriteFileBytes;

namespace {

// ---- operating-system family ----------------------------------------------

const char kProbeDefaults[] = "Software\\Wine\\AppDefaults\\vantor_osprobe.exe";

TEST(OsFamily, WineReportsTheNtLine)
{
    EXPECT_TRUE(IsOsWinNT());
}

TEST(OsFamily, AProcessToldItRunsOn98SeesThe9xLine)
{
    // The probe exits with 1 on the NT line and 2 on the 9x line.
    SHDeleteKeyA(HKEY_CURRENT_USER, kProbeDefaults);
    ASSERT_EQ(1u, testsupport::RunProgram("vantor_osprobe.exe"));

    HKEY key = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kProbeDefaults, 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                             &key, NULL));
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win98"), 6);
    RegCloseKey(key);
    const DWORD on98 = testsupport::RunProgram("vantor_osprobe.exe");
    SHDeleteKeyA(HKEY_CURRENT_USER, kProbeDefaults);
    EXPECT_EQ(2u, on98);
}

// ---- EraseFolderContents ---------------------------------------------------

// A folder with files, a read-only and a hidden file, and nested folders.
void Seed(const std::string& root)
{
    ASSERT_TRUE(MakeDirs(root + "\\sub\\deeper\\deepest"));
    ASSERT_TRUE(MakeDirs(root + "\\empty"));
    ASSERT_TRUE(WriteFileBytes(root + "\\ntldr", std::string(5000, 'n')));
    ASSERT_TRUE(WriteFileBytes(root + "\\boot.ini", "[boot loader]\r\n"));
    ASSERT_TRUE(WriteFileBytes(root + "\\sub\\a.txt", "a"));
    ASSERT_TRUE(WriteFileBytes(root + "\\sub\\deeper\\deepest\\b.bin", std::string(100, '\0')));
    ASSERT_TRUE(WriteFileBytes(root + "\\sub\\deeper\\locked.sys", "r"));
    SetFileAttributesA((root + "\\sub\\deeper\\locked.sys").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA((root + "\\ntldr").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
}

int CountEntries(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    // An empty drive root has not even "." and "..".
    if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : -1;
    int n = 0;
    do {
        if (lstrcmpA(found.cFileName, ".") && lstrcmpA(found.cFileName, "..")) ++n;
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return n;
}

TEST(EraseFolderContents, EmptiesTheFolderButKeepsIt)
{
    testsupport::ScratchDir dir("vantor-erase");
    const std::string target = dir / "floppy";
    Seed(target);
    ASSERT_TRUE(WriteFileBytes(dir / "sibling.txt", "stays"));
    ASSERT_TRUE(MakeDirs(dir / "floppy-2"));
    ASSERT_TRUE(WriteFileBytes(dir / "floppy-2\\keep.txt", "stays"));

    EXPECT_TRUE(EraseFolderContents(target.c_str(), 0));
    EXPECT_TRUE(FileExists(target)) << "the folder itself stays";
    EXPECT_EQ(0, CountEntries(target)) << "files, read-only files and nested folders all go";
    EXPECT_TRUE(FileExists(dir / "sibling.txt")) << "nothing beside the folder is touched";
    EXPECT_TRUE(FileExists(dir / "floppy-2\\keep.txt")) << "a folder whose name only starts the same stays";

    EXPECT_TRUE(EraseFolderContents(target.c_str(), 0)) << "an empty folder is already clean";
}

TEST(EraseFolderContents, TrailingBackslashAndTheFolderItself)
{
    testsupport::ScratchDir dir("vantor-erase2");
    const std::string target = dir / "set";
    Seed(target);
    EXPECT_TRUE(EraseFolderContents((target + "\\").c_str(), 0));
    EXPECT_EQ(0, CountEntries(target));

    Seed(target);
    EXPECT_TRUE(EraseFolderContents(target.c_str(), ERASE_FOLDER_TOO));
    EXPECT_FALSE(FileExists(target));
    EXPECT_TRUE(FileExists(dir.path()));
}

TEST(EraseFolderContents, RefusesWhatIsNoFolder)
{
    testsupport::ScratchDir dir("vantor-erase3");
    ASSERT_TRUE(WriteFileBytes(dir / "file.txt", "x"));
    EXPECT_FALSE(EraseFolderContents((dir / "missing").c_str(), 0));
    EXPECT_FALSE(EraseFolderContents((dir / "file.txt").c_str(), 0));
    EXPECT_TRUE(FileExists(dir / "file.txt")) << "a file named as the folder is left alone";

    // An empty path would mean the root of the current drive.
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    SetCurrentDirectoryA(dir.path().c_str());
    EXPECT_FALSE(EraseFolderContents("", 0));
    EXPECT_FALSE(EraseFolderContents(NULL, 0));
    SetCurrentDirectoryA(cwd);
    EXPECT_TRUE(FileExists(dir / "file.txt"));
}

TEST(EraseFolderContents, EmptiesTheFloppyNamedByItsDrive)
{
    if (GetDriveTypeA("A:\\") == DRIVE_NO_ROOT_DIR) GTEST_SKIP() << "no drive A: in this prefix";
    Seed("A:\\");
    ASSERT_GT(CountEntries("A:"), 0);
    EXPECT_TRUE(EraseFolderContents("a:", 0));
    EXPECT_EQ(0, CountEntries("A:"));
    EXPECT_TRUE(FileExists("A:\\"));
}

// ---- the registry-path append, by ordinal only -----------------------------

const IMAGE_EXPORT_DIRECTORY* ExportsOf(HMODULE module)
{
    const BYTE* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    return dir.VirtualAddress ? reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress) : nullptr;
}

TEST(AppendRegPath, IsExportedByOrdinalFiveWithoutAName)
{
    HMODULE vantor = GetModuleHandleA("vantor.dll");
    ASSERT_NE(HMODULE(NULL), vantor);
    FARPROC byOrdinal = GetProcAddress(vantor, MAKEINTRESOURCEA(5));
    ASSERT_NE(FARPROC(NULL), byOrdinal);
    EXPECT_EQ(reinterpret_cast<FARPROC>(&VantorAppendRegPath), byOrdinal)
        << "the import library binds the name to ordinal 5";
    EXPECT_EQ(FARPROC(NULL), GetProcAddress(vantor, "VantorAppendRegPath"));

    const IMAGE_EXPORT_DIRECTORY* exports = ExportsOf(vantor);
    ASSERT_NE(nullptr, exports);
    const BYTE* base = reinterpret_cast<const BYTE*>(vantor);
    const WORD* ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
    const DWORD* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        EXPECT_NE(5u, ordinals[i] + exports->Base)
            << "ordinal 5 must have no name, yet has " << reinterpret_cast<const char*>(base + names[i]);
}

TEST(AppendRegPath, CallersImportItByOrdinal)
{
    // This test program links the import library like every caller does.
    const BYTE* base = reinterpret_cast<const BYTE*>(GetModuleHandleA(NULL));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    ASSERT_NE(0u, dir.VirtualAddress);
    bool byOrdinal = false;
    for (const auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), "vantor.dll") != 0) continue;
        for (const auto* t = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
             t->u1.AddressOfData; ++t)
            if (IMAGE_SNAP_BY_ORDINAL(t->u1.Ordinal) && IMAGE_ORDINAL(t->u1.Ordinal) == 5) byOrdinal = true;
    }
    EXPECT_TRUE(byOrdinal);
}

TEST(AppendRegPath, JoinsWithOneBackslash)
{
    CString path(CDlgChildWnd::m_strSettingsPath);
    EXPECT_EQ(CString("Software\\Lumbrix\\Vantor 2"), path);
    VantorAppendRegPath(path, "folders");
    EXPECT_EQ(CString("Software\\Lumbrix\\Vantor 2\\folders"), path);

    CString ended("Software\\Lumbrix\\Vantor 2\\");
    VantorAppendRegPath(ended, "SrchFilters");
    EXPECT_EQ(CString("Software\\Lumbrix\\Vantor 2\\SrchFilters"), ended);

    CString leading("Software\\Lumbrix");
    VantorAppendRegPath(leading, "\\Vantor 2");
    EXPECT_EQ(CString("Software\\Lumbrix\\Vantor 2"), leading);

    CString empty;
    VantorAppendRegPath(empty, "folders");
    EXPECT_EQ(CString("folders"), empty) << "a path must not start with a backslash";
}

TEST(AppendRegPath, TheJoinedPathOpensTheSubKey)
{
    testsupport::ScratchKey settings("VantorAppend");
    HKEY sub = settings.Sub("folders");
    const DWORD three = 3;
    RegSetValueExA(sub, "c:\\games", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&three), 4);
    RegCloseKey(sub);

    CString path(settings.path().c_str());
    VantorAppendRegPath(path, "folders");
    CRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, path, FALSE));
    EXPECT_TRUE(reg.VerifyValue("c:\\games"));
}

// ---- string resources -------------------------------------------------------

TEST(LoadStringById, TakesTextsThroughTheResourceChain)
{
    EXPECT_EQ(CString("Backup complete"), LoadStringA(IDS_TEST_ASCII));
    // Stored as Unicode, handed out in the ANSI code page (936 here).
    EXPECT_EQ(testsupport::Ansi("\xe6\xb3\xa8\xe5\x86\x8c\xe8\xa1\xa8"), LoadStringA(IDS_TEST_CHINESE).str());
    EXPECT_TRUE(LoadStringA(IDS_TEST_MISSING).IsEmpty());
}

// ---- fonts, rectangles, placement --------------------------------------------

TEST(ReadLogFont, GivesAUsableFont)
{
    LOGFONT font = {};
    ASSERT_TRUE(ReadLogFont(font));
    EXPECT_NE('\0', font.lfFaceName[0]);
    EXPECT_NE(0, font.lfHeight);
    HFONT made = CreateFontIndirectA(&font);
    ASSERT_NE(HFONT(NULL), made);
    DeleteObject(made);
}

TEST(SetCRectPos, FillsFromLeftTopWidthHeight)
{
    CRect rect(1, 2, 3, 4);
    SetCRectPos(rect, 144, 54, 324, 207);
    EXPECT_EQ(CRect(144, 54, 468, 261), rect);
    EXPECT_EQ(324, rect.Width());
    EXPECT_EQ(207, rect.Height());
}

TEST(SetControlsPos, PlacesInPixelsOfTheParentsClientArea)
{
    vantortest::HostWindow host;
    ASSERT_TRUE(host.m_hWnd);
    CStatic child;
    ASSERT_TRUE(child.Create("list", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &host, 100));
    SetControlsPos(&child, 7, 34, 237, 111);
    RECT placed;
    GetWindowRect(child.m_hWnd, &placed);
    MapWindowPoints(NULL, host.m_hWnd, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(CRect(7, 34, 244, 145), CRect(placed));
    SetControlsPos(nullptr, 1, 2, 3, 4);  // no control: nothing happens
}

// A template's own rectangle, given again in dialog units, puts a control back
// exactly where the dialog manager placed it from the template; a window that
// is no dialog takes the numbers as pixels.
TEST(SetControlsPosDlu, PlacesInDialogUnitsOfTheParentDialog)
{
    CDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_MAIN, nullptr));
    CWnd* button = dialog.GetDlgItem(IDC_TEST_BUTTON);
    ASSERT_NE(nullptr, button);
    auto placed = [&] {
        RECT r;
        GetWindowRect(button->m_hWnd, &r);
        MapWindowPoints(NULL, dialog.m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        return CRect(r);
    };
    const CRect fromTemplate = placed();
    ASSERT_GT(fromTemplate.Width(), 60) << "dialog units are larger than pixels in Tahoma 8";

    SetControlsPos(button, 1, 1, 5, 5);
    SetControlsPosDlu(button, 10, 10, 60, 16);  // the template's rectangle
    EXPECT_EQ(fromTemplate, placed());

    CRect area;
    SetCRectPos(&dialog, area, 10, 10, 60, 16);
    EXPECT_EQ(fromTemplate, area);
    SetCRectPos(nullptr, area, 10, 10, 60, 16);
    EXPECT_EQ(CRect(10, 10, 70, 26), area);
    dialog.DestroyWindow();

    vantortest::HostWindow host;
    CStatic child;
    ASSERT_TRUE(child.Create("x", WS_CHILD, CRect(0, 0, 1, 1), &host, 100));
    SetControlsPosDlu(&child, 7, 34, 237, 111);
    RECT r;
    GetWindowRect(child.m_hWnd, &r);
    MapWindowPoints(NULL, host.m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(CRect(7, 34, 244, 145), CRect(r));
}

// ---- bitmap painting ----------------------------------------------------------

TEST(PaintBMP, CopiesFromTheBitmapsCorner)
{
    CBitmap quad;
    ASSERT_TRUE(quad.LoadBitmap(IDB_TEST_QUAD));
    vantortest::Picture picture(40, 40);
    PaintBMP(picture.cdc(), 5, 5, 15, 15, &quad, SRCCOPY);
    EXPECT_EQ(RGB(255, 0, 0), picture.At(5, 5));
    EXPECT_EQ(RGB(0, 255, 0), picture.At(16, 5));
    EXPECT_EQ(RGB(0, 0, 255), picture.At(5, 16));
    EXPECT_EQ(RGB(255, 255, 255), picture.At(19, 19));
    EXPECT_EQ(RGB(128, 128, 128), picture.At(20, 20)) << "nothing beyond width and height";
    EXPECT_EQ(RGB(128, 128, 128), picture.At(4, 4));
}

TEST(PaintBMP, AppliesTheRasterOperation)
{
    CBitmap quad;
    ASSERT_TRUE(quad.LoadBitmap(IDB_TEST_QUAD));
    vantortest::Picture picture(20, 20, RGB(128, 128, 128));
    PaintBMP(picture.cdc(), 0, 0, 20, 20, &quad, SRCAND);
    EXPECT_EQ(RGB(128, 0, 0), picture.At(2, 2));
    EXPECT_EQ(RGB(128, 128, 128), picture.At(15, 15)) << "white AND grey is grey";
    PaintBMP(picture.cdc(), 0, 0, 20, 20, nullptr, SRCCOPY);  // no bitmap: nothing happens
}

TEST(PaintBMPStretch, StretchesTheWholeBitmap)
{
    CBitmap quad;
    ASSERT_TRUE(quad.LoadBitmap(IDB_TEST_QUAD));
    vantortest::Picture picture(60, 50);
    PaintBMPStretch(picture.cdc(), 10, 5, 40, 40, &quad, SRCCOPY);
    EXPECT_TRUE(vantortest::Picture::Near(RGB(255, 0, 0), picture.At(14, 9), 16));
    EXPECT_TRUE(vantortest::Picture::Near(RGB(0, 255, 0), picture.At(45, 9), 16));
    EXPECT_TRUE(vantortest::Picture::Near(RGB(0, 0, 255), picture.At(14, 40), 16));
    EXPECT_TRUE(vantortest::Picture::Near(RGB(255, 255, 255), picture.At(45, 40), 16));
    EXPECT_EQ(RGB(128, 128, 128), picture.At(55, 47)) << "nothing beyond the target rectangle";
    EXPECT_EQ(RGB(128, 128, 128), picture.At(5, 2));
}

}  // namespace
