// The string table as the tools read it: LoadStringA under code page 936 must
// give each quoted text byte for byte, and every other text the tools show
// must load as Chinese in the library's language.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testsupport.h"
#include "vantres_library.h"

using restest::VantresLibrary;

namespace {

struct QuotedText {
    UINT id;
    const char* utf8;
};

// Texts the tools show verbatim (captions, columns, messages, formats).
const QuotedText kQuoted[] = {
    {104, "宋体"},
    {112, "无效文件类型"}, {113, "无效快捷方式"}, {114, "旧文件"}, {115, "空文件"},
    {116, "移除废弃文件"},
    {118, "文件路径"}, {119, "原因"}, {120, "大小"}, {121, "创建时间"}, {122, "最后访问时间"},
    {123, "指定移动文件的文件夹不存在。\r\n请指定其他文件夹或选择回收站选项。"},
    {134, "总计 %d 个垃圾文件。您将节省 %u KB 磁盘空间。"},
    {135, "隐藏选项(&H)"}, {136, "显示选项(&H)"}, {137, "分析"},
    {138, "搜索驱动器.."}, {139, "查找文件.."}, {140, "文件夹选项"}, {141, "其他选项"},
    {142, "移除选项"}, {143, "加载默认值"},
    {144, "选择要扫描无效文件的驱动器。"},
    {146, "临时文件"}, {147, "Outlook Express 创建的临时文件"}, {148, "Visual Studio 临时文件"},
    {149, "C++ Builder 临时文件"}, {150, "Internet Explorer 垃圾文件"},
    {151, "Microsoft 查找快速索引文件"}, {152, "垃圾文件"}, {153, "Windows 帮助索引文件"},
    {154, "*.HLP 的 Word 列表文件"}, {155, "错误文件"}, {156, "内存转储 - 垃圾文件"},
    {157, "CHKDSK 日志文件"}, {158, "描述文件"}, {159, "扫描磁盘日志文件"}, {160, "备份文件"},
    {161, "Symantec Norton Utilities 备份文件"}, {162, "Windows 诊断注册表文件"},
    {163, "Windows 诊断文件"}, {164, "TWAIN 临时文件"}, {166, "Windows 创建的缩略图"},
    {167, "Microsoft 临时安装文件"}, {168, "Readme 自述文件"},
    {169, "请选择您要扫描的无效文件。您可以添加、启用或禁止搜索一部分文件。初始默认值是最佳的。"},
    {170, "添加"}, {171, "编辑"}, {172, "移除"}, {173, "查找文件"}, {174, "描述"},
    {175, "添加一个要搜索的新文件类型..."}, {176, "输入您要搜索的文件名和扩展名..."},
    {177, "修改要搜索的文件类型..."}, {178, "输入您不想要扫描的文件夹 (安全列表)。"},
    {179, "搜索跳过文件夹..."}, {180, "要禁用驱动器，使用左侧的驱动器选项。"}, {181, "其他事宜"},
    {182, "选择当在结果窗口中按“删除”按钮时执行的操作。Vantor 永远不会自动删除您的文件！"},
    {183, "文件 %s 似乎是一个“必要的系统文件”。\r\n不建议您删除该文件。\r\n\r\n继续删除...\r\n"},
    {184, "系统清理和优化 - 文件删除操作"}, {185, "搜索长度应该小于 15 个字符。"},
    {197, "注册表更改的日期和时间"}, {198, "撤消文件"},
    {201, "备份信息"}, {203, " 备份完成..."}, {205, "创建可引导磁盘..."},
    {207, "正在复制 NT 引导系统文件。这需要不到一分钟时间。请稍候..."},
    {209, "注册表备份数据库 (*.arb)|*.arb*||"}, {210, "已找到文件，正读取文件记录。\r\n"},
    {215, "Backup Date"}, {216, "Backup Time"}, {217, "Backup Path"},
    {222, "备份数目 --   %d"}, {223, "上次备份 - ..."}, {224, "上次备份 - "}, {225, "注册表备份"},
    {257, "成功还原。"}, {258, "还原失败。"},
    {273, "显示选项(&S)"}, {276, "要扫描问题的位置"}, {277, "问题描述"}, {278, "路径"},
    {279, "键值"}, {280, "无效数据值"}, {281, "隐藏选项(&H)"},
    {282, "Activex，OLE，COM 部分"}, {284, "用户 Software 设置"}, {286, "系统 Software 设置"},
    {288, "共享 DLL 部分"}, {290, "字体部分"}, {292, "无效文件关联"}, {294, "Run 部分"},
    {296, "声音和事件"}, {298, "Uninstall 部分"}, {300, "帮助部分"},
    {302, "虚拟设备驱动程序和服务"}, {304, "应用程序路径"},
    {306, "正在分析注册表。这需要几分钟时间..."}, {307, "注册表分析完成。"},
    {308, "注册表分析过程期间已中止..."}, {309, "找到无效键值的数目: %d"},
    {8776, "注册表清理和修复"}, {8777, "等候"}, {57344, "Lumbrix Vantor"},
};

// Texts whose wording is the library's own: descriptions, tool tips,
// information texts, questions and the messages added for failures.
const UINT kDescribed[] = {
    110, 111, 124, 125, 126, 127, 128, 131, 132, 133,
    199, 200, 202, 204, 206, 208, 211, 212, 213, 214, 218, 219, 220, 221,
    283, 285, 287, 289, 291, 293, 295, 297, 299, 301, 303, 305,
    9001,
    9010, 9011, 9012, 9013,
    9040, 9041, 9042, 9043, 9044, 9045, 9046, 9047, 9048,
    9098,
};

std::string LoadAnsi(HMODULE module, UINT id) {
    std::vector<char> buffer(8192, '\0');
    int n = LoadStringA(module, id, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring LoadWide(HMODULE module, UINT id) {
    const WCHAR* text = nullptr;
    int n = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);  // read-only view
    return n > 0 && text ? std::wstring(text, static_cast<size_t>(n)) : std::wstring();
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
        out += ' ';
    }
    return out;
}

bool HasStringBlock(HMODULE module, UINT id) {
    return restest::FindChinese(module, MAKEINTRESOURCEA(6) /* RT_STRING */,
                                MAKEINTRESOURCEA((id >> 4) + 1)) != nullptr;
}

}  // namespace

TEST(VantresStrings, QuotedTextsLoadByteForByteInCodePage936) {
    ASSERT_EQ(GetACP(), 936u) << "the tests run with LANG=zh_CN.UTF-8";
    VantresLibrary lib;
    ASSERT_NE(lib.get(), nullptr);
    for (const QuotedText& t : kQuoted) {
        SCOPED_TRACE("string " + std::to_string(t.id));
        std::string expected = testsupport::Ansi(t.utf8);
        ASSERT_EQ(expected.find('?'), std::string::npos) << "expected text has no GBK form";
        std::string actual = LoadAnsi(lib.get(), t.id);
        EXPECT_EQ(actual, expected) << "got " << Hex(actual) << "\nwant " << Hex(expected);
        EXPECT_TRUE(HasStringBlock(lib.get(), t.id)) << "not in language 2052";
    }
}

TEST(VantresStrings, DescribedTextsAreChineseAndSurviveCodePage936) {
    VantresLibrary lib;
    ASSERT_NE(lib.get(), nullptr);
    for (UINT id : kDescribed) {
        SCOPED_TRACE("string " + std::to_string(id));
        std::wstring wide = LoadWide(lib.get(), id);
        ASSERT_FALSE(wide.empty()) << "missing";
        bool chinese = false;
        for (wchar_t c : wide) chinese = chinese || (c >= 0x4E00 && c <= 0x9FFF);
        EXPECT_TRUE(chinese);
        // Every character must have a GBK form, or the tools would show "?".
        BOOL lossy = FALSE;
        std::vector<char> gbk(wide.size() * 2 + 1);
        int n = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, wide.c_str(), static_cast<int>(wide.size()),
                                    gbk.data(), static_cast<int>(gbk.size()), nullptr, &lossy);
        EXPECT_FALSE(lossy);
        EXPECT_EQ(LoadAnsi(lib.get(), id), std::string(gbk.data(), n > 0 ? static_cast<size_t>(n) : 0));
        EXPECT_TRUE(HasStringBlock(lib.get(), id)) << "not in language 2052";
    }
}

TEST(VantresStrings, SectionTextsComeInListOrderWithTheirDescriptions) {
    // The section list takes section n's text from 282 + 2n and its
    // description from 283 + 2n: every pair must be there, text first.
    VantresLibrary lib;
    ASSERT_NE(lib.get(), nullptr);
    for (UINT n = 0; n < 12; ++n) {
        SCOPED_TRACE("section " + std::to_string(n));
        std::wstring text = LoadWide(lib.get(), 282 + 2 * n);
        std::wstring description = LoadWide(lib.get(), 283 + 2 * n);
        EXPECT_FALSE(text.empty());
        EXPECT_GT(description.size(), text.size()) << "a description explains its section";
    }
}

TEST(VantresStrings, FilterDescriptionsFitTheirRecordField) {
    // Filter records keep at most 63 bytes of a description.
    VantresLibrary lib;
    ASSERT_NE(lib.get(), nullptr);
    for (UINT id = 146; id <= 168; ++id) {
        if (id == 165) continue;  // not used by the default table
        SCOPED_TRACE("string " + std::to_string(id));
        std::string text = LoadAnsi(lib.get(), id);
        EXPECT_FALSE(text.empty());
        EXPECT_LE(text.size(), 63u);
    }
}
