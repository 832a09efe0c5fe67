// The 18 dialog templates the tools open: extended format, Tahoma 8, the
// sizes the windows are laid out for, and every control the windows drive,
// checked in the template and in a real window made from it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "dlgtemplate.h"
#include "testsupport.h"
#include "vantres_library.h"

using restest::DialogTemplate;
using restest::TemplateItem;
using restest::VantresLibrary;

namespace {

enum class Kind { Any, Owner, Push, List, Progress, Edit, Static, Check, Radio, Group, Bitmap };
enum class Frame { Main, Child, Popup };

struct ControlSpec {
    DWORD id;
    Kind kind;
    const char* text = nullptr;  // template text, or null when the window sets it
    WORD bitmap = 0;             // for bitmap statics
};

struct DialogSpec {
    WORD id;
    short cx, cy;
    Frame frame;
    std::vector<ControlSpec> controls;
    WORD background = 0;  // bitmap painted under the whole client area (main windows)
};

const std::vector<DialogSpec>& Catalogue() {
    static const std::vector<DialogSpec> specs = {
        {208, 470, 320, Frame::Main, {
             {1036, Kind::Owner, "开始(&S)"}, {1037, Kind::Owner, "停止(&T)"},
             {1038, Kind::Owner, "显示选项(&S)"}, {1045, Kind::Owner, "撤消更改(&U)"},
             {1040, Kind::Owner, "退出(&X)"}, {1041, Kind::Owner, "全选"},
             {1042, Kind::Owner, "全不选"}, {1043, Kind::Owner, "删除"},
             {1039, Kind::List}, {1044, Kind::List}, {1046, Kind::Static}}, 136},
        {294, 320, 225, Frame::Child, {
             {1156, Kind::Static}, {1157, Kind::List},
             {1158, Kind::Push, "撤消选定项更改(&U)"}, {1159, Kind::Push, "移除选定项目(&R)"}}},
        {216, 448, 288, Frame::Main, {
             {1054, Kind::Owner, "备份(&B)"}, {1056, Kind::Owner, "查找(&L)"},
             {1055, Kind::Owner, "还原(&R)"}, {1058, Kind::Owner, "选项(&O)"},
             {1059, Kind::Owner, "退出(&X)"}}, 141},
        {243, 295, 220, Frame::Child, {
             {1117, Kind::Static}, {1120, Kind::Static, "备份位置"}, {1119, Kind::Edit},
             {1121, Kind::Push, "&..."}, {1122, Kind::Push, "创建紧急恢复引导磁盘"},
             {1125, Kind::Static}, {1124, Kind::Push, "开始(&S)"}}},
        {245, 295, 220, Frame::Child, {
             {1127, Kind::Static}, {1128, Kind::List},
             {1129, Kind::Push, "开始还原(&R)"}, {1130, Kind::Push, "删除还原点"}}},
        {246, 292, 216, Frame::Child, {
             {1130, Kind::Static}, {1135, Kind::Static}, {1131, Kind::Edit},
             {1132, Kind::Push, "..."}, {1134, Kind::Static, "进程日志"}, {1133, Kind::Edit}}},
        {315, 289, 184, Frame::Popup, {
             {IDOK, Kind::Owner, "&Start"}, {IDCANCEL, Kind::Owner, "&Cancel"},
             {1163, Kind::Static}, {1164, Kind::Static}, {1162, Kind::Static},
             {1165, Kind::Static}, {1166, Kind::Static}, {1161, Kind::Progress}}},
        {317, 224, 113, Frame::Popup, {{1167, Kind::Static}}},
        {219, 491, 328, Frame::Main, {
             {1068, Kind::Owner, "开始(&S)"}, {1069, Kind::Owner, "停止(&T)"},
             {1071, Kind::Owner, "显示选项(&H)"}, {1070, Kind::Owner, "退出(&X)"},
             {1072, Kind::List}, {1073, Kind::Owner, "全选(&L)"}, {1074, Kind::Owner, "不选(&U)"},
             {1075, Kind::Owner, "删除(&D)"}, {1076, Kind::Static, "正在分析"},
             {1077, Kind::Static}}, 306},
        {8774, 282, 135, Frame::Popup, {
             {IDCANCEL, Kind::Push, "停止"}, {1177, Kind::Static, "正删除文件:"},
             {1176, Kind::Static}, {1178, Kind::Progress}, {1179, Kind::Static},
             {1180, Kind::Static, "按“停止”则中止删除文件。"}}},
        {221, 252, 177, Frame::Child, {{1078, Kind::Static}, {1079, Kind::List}}},
        {228, 252, 177, Frame::Child, {
             {1082, Kind::Static, "选中您要扫描的文件复选框。"}, {1083, Kind::List}}},
        {237, 252, 177, Frame::Child, {{1090, Kind::Static}, {1092, Kind::List}}},
        {238, 252, 177, Frame::Child, {
             {1093, Kind::Static}, {1094, Kind::Check, "查找几个月没有访问过的文件:"},
             {1096, Kind::Edit}, {1115, Kind::Static, "个月"},
             {1097, Kind::Check, "跳过只读和系统文件。"},
             {1098, Kind::Check, "查找零字节大小 (空白) 文件。"},
             {1099, Kind::Check, "查找没有指向有效目标的快捷方式。"}, {1112, Kind::Group}}},
        {242, 252, 177, Frame::Child, {
             {1104, Kind::Static}, {1105, Kind::Radio, "永久性直接删除文件。"},
             {1107, Kind::Radio, "将文件移动到回收站。"}, {1108, Kind::Radio, "将文件移动到指定文件夹。"},
             {1114, Kind::Push, ".."}, {1113, Kind::Static},
             {1106, Kind::Bitmap, nullptr, 240}, {1109, Kind::Bitmap, nullptr, 241},
             {1110, Kind::Bitmap, nullptr, 239}}},
        {234, 206, 119, Frame::Popup, {
             {IDOK, Kind::Any}, {IDCANCEL, Kind::Any}, {1087, Kind::Edit}, {1088, Kind::Static},
             {1089, Kind::Edit}, {1173, Kind::Static, "文件扩展名"},
             {1174, Kind::Static, "上面过滤器的描述"}}},
        {222, 328, 182, Frame::Child, {}},
        {326, 325, 220, Frame::Child, {}},
    };
    return specs;
}

bool SameClass(const std::wstring& a, const wchar_t* b) {
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b, -1) == CSTR_EQUAL;
}

// The dialog manager takes the predefined classes by ordinal or by name.
bool IsClass(const TemplateItem& item, WORD ordinal, const wchar_t* name) {
    return item.classOrdinal == ordinal || SameClass(item.className, name);
}

::testing::AssertionResult HasKind(const TemplateItem& item, const ControlSpec& want) {
    DWORD button = item.style & BS_TYPEMASK;
    bool isButton = IsClass(item, 0x80, L"Button");
    bool isStatic = IsClass(item, 0x82, L"Static");
    bool ok = true;
    switch (want.kind) {
    case Kind::Any: break;
    case Kind::Owner: ok = isButton && button == BS_OWNERDRAW; break;
    case Kind::Push: ok = isButton && (button == BS_PUSHBUTTON || button == BS_DEFPUSHBUTTON); break;
    case Kind::List:
        ok = SameClass(item.className, L"SysListView32") && (item.style & LVS_TYPEMASK) == LVS_REPORT;
        break;
    case Kind::Progress: ok = SameClass(item.className, L"msctls_progress32"); break;
    case Kind::Edit: ok = IsClass(item, 0x81, L"Edit"); break;
    case Kind::Static: ok = isStatic && (item.style & SS_TYPEMASK) != SS_BITMAP; break;
    case Kind::Check: ok = isButton && (button == BS_AUTOCHECKBOX || button == BS_CHECKBOX); break;
    case Kind::Radio: ok = isButton && (button == BS_AUTORADIOBUTTON || button == BS_RADIOBUTTON); break;
    case Kind::Group: ok = isButton && button == BS_GROUPBOX; break;
    case Kind::Bitmap:
        ok = isStatic && (item.style & SS_TYPEMASK) == SS_BITMAP && item.titleOrdinal == want.bitmap;
        break;
    }
    if (ok) return ::testing::AssertionSuccess();
    char style[16];
    wsprintfA(style, "0x%08lX", item.style);
    return ::testing::AssertionFailure() << "control " << want.id << " has the wrong class or style " << style;
}

bool LoadTemplate(HMODULE module, WORD id, DialogTemplate& out) {
    DWORD size = 0;
    const BYTE* data = restest::FindChinese(module, MAKEINTRESOURCEA(5) /* RT_DIALOG */, MAKEINTRESOURCEA(id), &size);
    return restest::ParseDialogTemplate(data, size, out);
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

SIZE BitmapSize(HMODULE module, WORD id) {
    SIZE size = {0, 0};
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0));
    BITMAP info;
    if (bitmap && GetObjectA(bitmap, sizeof(info), &info)) size = {info.bmWidth, info.bmHeight};
    if (bitmap) DeleteObject(bitmap);
    return size;
}

}  // namespace

TEST(VantresDialogs, TemplatesAreExtendedTahoma8OfTheirSizeAndFrame) {
    VantresLibrary lib;
    ASSERT_NE(lib.get(), nullptr);
    for (const DialogSpec& want : Catalogue()) {
        SCOPED_TRACE("dialog " + std::to_string(want.id));
        DialogTemplate t;
        ASSERT_TRUE(LoadTemplate(lib.get(), want.id, t)) << "no extended template in language 2052";
        EXPECT_EQ(t.face, L"Tahoma");
        EXPECT_EQ(t.pointSize, 8);
        EXPECT_EQ(t.cx, want.cx);
        EXPECT_EQ(t.cy, want.cy);
        switch (want.frame) {
        case Frame::Main:
            EXPECT_EQ(t.style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
                      static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
            EXPECT_FALSE(t.style & WS_CHILD);
            break;
        case Frame::Child:
            EXPECT_EQ(t.style & (WS_CHILD | DS_CONTROL), static_cast<DWORD>(WS_CHILD | DS_CONTROL));
            EXPECT_FALSE(t.style & (WS_CAPTION | WS_POPUP));
            break;
        case Frame::Popup:
            EXPECT_TRUE(t.style & WS_POPUP);
            EXPECT_FALSE(t.style & WS_CHILD);
            break;
        }
        EXPECT_FALSE(t.style & WS_VISIBLE) << "the windows show themselves when ready";
    }
}

TEST(VantresDialogs, TemplatesHoldEveryControlWithItsClassAndText) {
    VantresLibrary lib;
    ASSERT_NE(lib.get(), nullptr);
    for (const DialogSpec& want : Catalogue()) {
        DialogTemplate t;
        ASSERT_TRUE(LoadTemplate(lib.get(), want.id, t)) << want.id;
        for (const ControlSpec& c : want.controls) {
            SCOPED_TRACE("dialog " + std::to_string(want.id) + ", control " + std::to_string(c.id));
            const TemplateItem* item = t.Find(c.id);
            ASSERT_NE(item, nullptr) << "missing";
            EXPECT_TRUE(HasKind(*item, c));
            if (c.text) {
                EXPECT_TRUE(item->title == restest::Wide(c.text)) << "template text differs";
            }
            // Every control lies inside its dialog.
            EXPECT_GE(item->x, 0);
            EXPECT_GE(item->y, 0);
            EXPECT_LE(item->x + item->cx, t.cx);
            EXPECT_LE(item->y + item->cy, t.cy);
        }
    }
}

TEST(VantresDialogs, EveryTemplateMakesAWindowWithItsControls) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    VantresLibrary lib;
    ASSERT_NE(lib.get(), nullptr);
    HWND host = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    for (const DialogSpec& want : Catalogue()) {
        SCOPED_TRACE("dialog " + std::to_string(want.id));
        HWND dialog = CreateDialogParamA(lib.get(), MAKEINTRESOURCEA(want.id), host, QuietDialogProc, 0);
        ASSERT_NE(dialog, nullptr) << "error " << GetLastError();
        for (const ControlSpec& c : want.controls) {
            SCOPED_TRACE("control " + std::to_string(c.id));
            HWND control = GetDlgItem(dialog, static_cast<int>(c.id));
            ASSERT_NE(control, nullptr);
            if (c.text) {
                EXPECT_EQ(testsupport::WindowText(control), testsupport::Ansi(c.text));
            }
            if (c.kind == Kind::Bitmap) {
                EXPECT_NE(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << "picture not found";
            }
        }
        if (want.background) {
            // The skin picture must cover the whole client area the template gives.
            RECT client;
            GetClientRect(dialog, &client);
            SIZE picture = BitmapSize(lib.get(), want.background);
            EXPECT_GE(picture.cx, client.right) << "bitmap " << want.background;
            EXPECT_GE(picture.cy, client.bottom) << "bitmap " << want.background;
        }
        DestroyWindow(dialog);
    }
    DestroyWindow(host);
}
