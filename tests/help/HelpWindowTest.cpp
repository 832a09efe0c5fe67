// F1 in a tool window opens the help viewer on the program's help file, at
// its table of contents; and the help file chosen for each language.
#include "ToolhostRun.h"
#include "host/HelpLauncher.h"

#include <gtest/gtest.h>
#include <testsupport.h>

#include <commctrl.h>

#include <string>
#include <vector>

using namespace testsupport;

namespace {

std::wstring Wide(const char* utf8)
{
    std::wstring text(::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &text[0], int(text.size()));
    text.resize(text.size() - 1);
    return text;
}

std::wstring WindowTextW(HWND window)
{
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

struct WindowSearch {
    DWORD pid;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(data);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->pid || lstrcmpW(name, search->className) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

// The first top-level window of that class in process pid.
HWND TopWindowOfClass(DWORD pid, const wchar_t* className)
{
    WindowSearch search{pid, className, nullptr};
    ::EnumWindows(MatchWindow, LPARAM(&search));
    return search.found;
}

HWND ChildOfClass(HWND parent, const wchar_t* className)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(parent, &pid);
    WindowSearch search{pid, className, nullptr};
    ::EnumChildWindows(parent, MatchWindow, LPARAM(&search));
    return search.found;
}

// One node of a tree view in another process: its text and its children.
struct TreeNode {
    std::wstring text;
    std::vector<TreeNode> children;
};

// Reads a tree view that belongs to another process: the item structure
// and its text buffer live in memory taken in that process.
class RemoteTree {
public:
    RemoteTree(HWND tree, HANDLE process) : m_tree(tree), m_process(process)
    {
        m_memory = ::VirtualAllocEx(process, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteTree()
    {
        if (m_memory) ::VirtualFreeEx(m_process, m_memory, 0, MEM_RELEASE);
    }
    RemoteTree(const RemoteTree&) = delete;
    RemoteTree& operator=(const RemoteTree&) = delete;

    std::vector<TreeNode> Read() { return Siblings(Next(nullptr, TVGN_ROOT)); }

private:
    static const SIZE_T kSize = 4096;

    HTREEITEM Next(HTREEITEM item, UINT relation)
    {
        return HTREEITEM(::SendMessageW(m_tree, TVM_GETNEXTITEM, relation, LPARAM(item)));
    }

    std::wstring Text(HTREEITEM item)
    {
        if (!m_memory) return L"";
        BYTE* remote = static_cast<BYTE*>(m_memory);
        TVITEMW request{};
        request.mask = TVIF_TEXT;
        request.hItem = item;
        request.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TVITEMW));
        request.cchTextMax = int((kSize - sizeof(TVITEMW)) / sizeof(wchar_t));
        if (!::WriteProcessMemory(m_process, remote, &request, sizeof request, nullptr)) return L"";
        if (!::SendMessageW(m_tree, TVM_GETITEMW, 0, LPARAM(remote))) return L"";
        std::vector<wchar_t> text(request.cchTextMax + 1, L'\0');
        ::ReadProcessMemory(m_process, request.pszText, text.data(), request.cchTextMax * sizeof(wchar_t), nullptr);
        return text.data();
    }

    std::vector<TreeNode> Siblings(HTREEITEM first)
    {
        std::vector<TreeNode> nodes;
        for (HTREEITEM item = first; item && nodes.size() < 100; item = Next(item, TVGN_NEXT))
            nodes.push_back(TreeNode{Text(item), Siblings(Next(item, TVGN_CHILD))});
        return nodes;
    }

    HWND m_tree;
    HANDLE m_process;
    void* m_memory = nullptr;
};

std::string ToolCommand(const char* tool)
{
    return "\"" + ProgramDir() + "toolhost.exe\" " + tool;
}

// Presses and releases F1 as the keyboard does; it goes to the window in front.
void PressF1()
{
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_F1;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, keys, sizeof(INPUT));
}

const char kHelpTitle[] = u8"Vantor 2 系统维护工具帮助";
const char kEnglishHelpTitle[] = "Vantor 2 Maintenance Tools Help";

// Brings the tool window to the front and presses F1 until the help viewer
// of that process appears; null when it never does.
HWND OpenHelpWithF1(const Process& program, HWND window)
{
    HWND help = nullptr;
    // The first key press may arrive before the window has the keyboard.
    for (int attempt = 0; attempt < 3 && !help; ++attempt) {
        ::SetForegroundWindow(window);
        if (!WaitFor([&] { return ::GetForegroundWindow() == window; }, 5000)) continue;
        PressF1();
        WaitFor([&] { return (help = TopWindowOfClass(program.id(), L"HH Parent")) != nullptr; }, 10000);
    }
    return help;
}

// Closes the help viewer and the tool window as the user does.
void CloseHelpAndTool(Process& program, HWND help, HWND window)
{
    ::PostMessageW(help, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitForWindowGone(help, 10000));
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    if (program.Wait(10000) == STILL_ACTIVE) ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_NE(program.Wait(10000), DWORD(STILL_ACTIVE));
}

// The contents of the Chinese help, as its tree shows them.
std::vector<TreeNode> ExpectedContents()
{
    auto leaf = [](const char* text) { return TreeNode{Wide(text), {}}; };
    return {
        leaf(u8"概述"),
        leaf(u8"如何保护您的数据"),
        TreeNode{Wide(u8"注册表清理和修复"),
                 {leaf(u8"扫描的十二个部分"), leaf(u8"扫描和结果"), leaf(u8"删除条目和撤消更改")}},
        TreeNode{Wide(u8"注册表备份"),
                 {leaf(u8"创建备份"), leaf(u8"还原和删除备份"), leaf(u8"导入备份"), leaf(u8"紧急恢复引导磁盘")}},
        TreeNode{Wide(u8"移除废弃文件"), {leaf(u8"扫描选项"), leaf(u8"受保护的位置和安全列表"), leaf(u8"移除方式")}},
        leaf(u8"命令行"),
        leaf(u8"卸载程序"),
    };
}

std::string Describe(const std::vector<TreeNode>& nodes)
{
    std::string text;
    for (const TreeNode& node : nodes) {
        int size = ::WideCharToMultiByte(CP_UTF8, 0, node.text.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(size, '\0');
        ::WideCharToMultiByte(CP_UTF8, 0, node.text.c_str(), -1, &utf8[0], size, nullptr, nullptr);
        text += utf8.c_str();
        if (!node.children.empty()) text += " { " + Describe(node.children) + "}";
        text += "; ";
    }
    return text;
}

}  // namespace

TEST(HelpFileFor, ChineseIsTheProgramPathWithChmAndEnglishAddsEn)
{
    const WORD chinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
    const WORD english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    EXPECT_STREQ(HelpFileFor("C:\\Program Files\\Vantor\\ToolHost.EXE", chinese),
                 "c:\\program files\\vantor\\toolhost.chm");
    EXPECT_STREQ(HelpFileFor("C:\\Program Files\\Vantor\\ToolHost.EXE", english),
                 "c:\\program files\\vantor\\toolhost-en.chm");
    EXPECT_STREQ(HelpFileFor("D:\\TOOLS\\toolhost.exe", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK)),
                 "d:\\tools\\toolhost-en.chm");
    // A language without help of its own gets the Chinese file.
    EXPECT_STREQ(HelpFileFor("D:\\TOOLS\\toolhost.exe", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)),
                 "d:\\tools\\toolhost.chm");
    // A double-byte folder name is kept whole.
    EXPECT_EQ(std::string(HelpFileFor(Ansi(u8"C:\\繡罝\\TOOLHOST.EXE").c_str(), english)),
              Ansi(u8"c:\\繡罝\\toolhost-en.chm"));
    // Without ".exe" the name still gets its own help file beside the Chinese one.
    EXPECT_STREQ(HelpFileFor("C:\\Tools\\ToolHost", english), "c:\\tools\\toolhost-en.chm");
}

// F1 typed in each tool window opens the HTML Help window on toolhost.chm,
// titled with the help file's title, with its contents tree and its index
// filled.
TEST(HelpWindow, F1InEveryToolWindowOpensTheContents)
{
    ASSERT_TRUE(FileExists(ProgramDir() + "toolhost.chm")) << "the build writes the help file beside the program";
    const char* const tools[][2] = {
        {"regclean", u8"注册表清理和修复"},
        {"backup", u8"注册表备份"},
        {"sysclean", u8"移除废弃文件"},
    };
    for (const auto& tool : tools) {
        SCOPED_TRACE(tool[0]);
        Process program(ToolCommand(tool[0]));
        ASSERT_TRUE(program.started());
        HWND window = WaitForWindow(Ansi(tool[1]), 20000, program.id());
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(TopWindowOfClass(program.id(), L"HH Parent"), nullptr) << "no help before F1";

        HWND help = OpenHelpWithF1(program, window);
        ASSERT_NE(help, nullptr) << "F1 opened no help window";
        EXPECT_TRUE(WaitFor([&] { return WindowTextW(help) == Wide(kHelpTitle); }, 5000));

        HWND tree = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (tree = ChildOfClass(help, L"SysTreeView32")) != nullptr; }, 5000))
            << "the help window has no contents tree";
        RemoteTree contents(tree, program.handle());
        std::vector<TreeNode> shown;
        WaitFor([&] { return Describe(shown = contents.Read()) == Describe(ExpectedContents()); }, 5000);
        EXPECT_EQ(Describe(shown), Describe(ExpectedContents()));

        // The index tab lists the help file's keywords.
        HWND index = ChildOfClass(help, L"SysListView32");
        ASSERT_NE(index, nullptr) << "the help window has no index";
        EXPECT_GE(::SendMessageW(index, LVM_GETITEMCOUNT, 0, 0), 30);

        CloseHelpAndTool(program, help, window);
    }
}

// With English chosen in the settings, F1 opens the English help file: the
// viewer carries its title, not the Chinese one.
TEST(HelpWindow, F1UnderEnglishOpensTheEnglishHelp)
{
    ASSERT_TRUE(FileExists(ProgramDir() + "toolhost-en.chm")) << "the build writes the English help beside the program";
    hosttest::SavedSettingsKey saved;
    hosttest::SetSettingsDword("Language", 0x0409);

    Process program(ToolCommand("regclean"));
    ASSERT_TRUE(program.started());
    HWND window = WaitForWindow("Registry Cleanup and Repair", 20000, program.id());
    ASSERT_NE(window, nullptr) << "the registry cleaner did not open in English";
    HWND help = OpenHelpWithF1(program, window);
    ASSERT_NE(help, nullptr) << "F1 opened no help window";
    WaitFor([&] { return WindowTextW(help) == Wide(kEnglishHelpTitle); }, 5000);
    EXPECT_TRUE(WindowTextW(help) == Wide(kEnglishHelpTitle)) << "the viewer is not on the English help file";
    CloseHelpAndTool(program, help, window);
}

// A copy of the program whose English help file is missing: F1 under English
// opens the Chinese help beside it rather than nothing.
TEST(HelpWindow, F1UnderEnglishWithoutTheEnglishFileOpensTheChineseOne)
{
    ScratchDir copy("help-no-english");
    for (const char* file : {"toolhost.exe", "afxlite.dll", "vantor.dll", "vantres.dll", "qhtm.dll", "toolhost.chm"})
        ASSERT_TRUE(::CopyFileA((ProgramDir() + file).c_str(), (copy / file).c_str(), FALSE)) << file;
    hosttest::SavedSettingsKey saved;
    hosttest::SetSettingsDword("Language", 0x0409);

    Process program("\"" + (copy / "toolhost.exe") + "\" regclean");
    ASSERT_TRUE(program.started());
    HWND window = WaitForWindow("Registry Cleanup and Repair", 20000, program.id());
    ASSERT_NE(window, nullptr) << "the registry cleaner did not open in English";
    HWND help = OpenHelpWithF1(program, window);
    ASSERT_NE(help, nullptr) << "F1 opened no help window";
    WaitFor([&] { return WindowTextW(help) == Wide(kHelpTitle); }, 5000);
    EXPECT_TRUE(WindowTextW(help) == Wide(kHelpTitle)) << "the viewer is not on the Chinese help file";
    CloseHelpAndTool(program, help, window);
}
