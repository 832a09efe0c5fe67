// Registry links met by the software walks: a value the walk can reach by a
// link and by its own path is listed, removed and kept for undo once, under
// its own path; a link out of the walked keys is followed; a key that only
// looks like a twin (a separate 32-bit view) is walked as itself.
#include "regclean/ListChecks.h"
#include "regclean/Removal.h"
#include "regclean/UndoFormat.h"

#include "RegCleanTestSupport.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using rctest::CollectSink;
using rctest::CountRows;
using rctest::Describe;
using rctest::ScanRun;
using testsupport::ScratchKey;

namespace {

typedef LONG(WINAPI* NtDeleteKeyFn)(HANDLE);

// A registry link made for one test, taken away (the link, never its
// target) when the test ends.
class LinkKey {
public:
    LinkKey(HKEY root, const std::string& path, const std::wstring& target) : m_root(root), m_path(path)
    {
        Remove();
        HKEY key = nullptr;
        const std::wstring wide(path.begin(), path.end());
        if (::RegCreateKeyExW(root, wide.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS | KEY_CREATE_LINK,
                              nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        m_made = ::RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target.c_str()),
                                  DWORD(target.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
        ::RegCloseKey(key);
    }
    ~LinkKey() { Remove(); }
    LinkKey(const LinkKey&) = delete;
    LinkKey& operator=(const LinkKey&) = delete;
    bool made() const { return m_made; }

private:
    void Remove()
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(m_root, m_path.c_str(), REG_OPTION_OPEN_LINK, DELETE, &key) != ERROR_SUCCESS) return;
        auto deleteKey = reinterpret_cast<NtDeleteKeyFn>(
            reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtDeleteKey")));
        if (deleteKey) deleteKey(key);
        ::RegCloseKey(key);
    }
    HKEY m_root;
    std::string m_path;
    bool m_made = false;
};

std::vector<RegistryFinding> WithData(const std::vector<RegistryFinding>& rows, const std::string& data)
{
    std::vector<RegistryFinding> found;
    for (const auto& row : rows)
        if (row.Data.str() == data) found.push_back(row);
    return found;
}

// The undo file's entries for `data`.
int UndoEntries(const RemovalOutcome& outcome, const std::string& data)
{
    std::vector<UndoValue> values;
    EXPECT_TRUE(ParseUndoText(testsupport::ReadFileBytes(outcome.undoPath.str()), values));
    int count = 0;
    for (const UndoValue& value : values) count += value.Bytes == data + '\0';
    return count;
}

const char kMachine[] = "HKEY_LOCAL_MACHINE\\";

TEST(KeyLinks, AValueReachedThroughALinkIsListedRemovedAndKeptForUndoOnceUnderItsOwnPath)
{
    // The machine's App Paths key, seen also below Wow6432Node (a link to it here).
    const std::string appPath = std::string(kAppPathsKey) + "\\rctestlinked.exe";
    const std::string twin = "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths\\rctestlinked.exe";
    const std::string program = "C:\\rc-gone\\linked\\rctestlinked.exe";
    ScratchKey app(HKEY_LOCAL_MACHINE, appPath);
    app.SetString("", program);
    ASSERT_EQ(program, testsupport::RegString(HKEY_LOCAL_MACHINE, twin, "")) << "the twin does not show the value";

    // A link of our own into the walked keys, with a target too long for the
    // walker's value buffer.
    const std::string targetPath = "Software\\ToolhostTests\\RcLinkTarget" + std::string(120, 'x');
    const std::string gone = "C:\\rc-gone\\linked\\target.exe /x";
    ScratchKey target(HKEY_LOCAL_MACHINE, targetPath);
    target.SetString("Gone", gone);
    HKEY deeper = target.Sub("Deeper");
    rctest::SetText(deeper, "", "Deep", gone + " deep");
    ::RegCloseKey(deeper);
    const std::string door = "Software\\ToolhostTests\\RcLinkDoor";
    LinkKey link(HKEY_LOCAL_MACHINE, door,
                 L"\\Registry\\Machine\\" + std::wstring(targetPath.begin(), targetPath.end()));
    ASSERT_TRUE(link.made());
    ASSERT_EQ(gone, testsupport::RegString(HKEY_LOCAL_MACHINE, door, "Gone"));

    ScanRun run;
    const auto rows = run.Scan({kSecSystemSoftware});
    EXPECT_EQ(1u, WithData(rows, program).size()) << Describe(WithData(rows, program));
    EXPECT_EQ(1, CountRows(rows, kMachine + appPath, "", program)) << Describe(rows);
    EXPECT_EQ(1u, WithData(rows, gone).size()) << Describe(WithData(rows, gone));
    EXPECT_EQ(1, CountRows(rows, kMachine + targetPath, "Gone", gone)) << Describe(rows);
    EXPECT_EQ(1, CountRows(rows, kMachine + targetPath + "\\Deeper", "Deep", gone + " deep")) << Describe(rows);
    EXPECT_EQ(0u, rctest::RowsBelow(rows, kMachine + door).size());

    // Removing every row of the scan that names these values.
    std::vector<RegistryFinding> chosen = WithData(rows, program);
    for (const auto& row : WithData(rows, gone)) chosen.push_back(row);
    testsupport::ScratchDir folder("RcLinkUndo");
    std::vector<bool> removed;
    const RemovalOutcome outcome = RemoveFindings(chosen, folder.path().c_str(), removed);
    ASSERT_TRUE(outcome.written);
    EXPECT_EQ(std::vector<bool>(chosen.size(), true), removed);
    EXPECT_EQ(1, UndoEntries(outcome, program));
    EXPECT_EQ(1, UndoEntries(outcome, gone));
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_LOCAL_MACHINE, appPath, ""));
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_LOCAL_MACHINE, targetPath, "Gone"));
}

TEST(KeyLinks, ALinkBetweenWalksIsLeftToItsWalkALinkOutIsFollowedAndASeparateViewIsWalked)
{
    // From the user's software into the machine's, walked later in the scan.
    const std::string crossTarget = "Software\\ToolhostTests\\RcCrossTarget";
    const std::string crossGone = "C:\\rc-gone\\cross\\tool.exe";
    ScratchKey cross(HKEY_LOCAL_MACHINE, crossTarget);
    cross.SetString("Gone", crossGone);
    LinkKey crossLink(HKEY_CURRENT_USER, "Software\\ToolhostTests\\RcCrossDoor",
                      L"\\Registry\\Machine\\Software\\ToolhostTests\\RcCrossTarget");
    // Out of every walked key: the link is the only way the walk meets it.
    const std::string outTarget = "SYSTEM\\ToolhostTests\\RcOutside";
    const std::string outGone = "C:\\rc-gone\\outside\\tool.exe";
    ScratchKey outside(HKEY_LOCAL_MACHINE, outTarget);
    outside.SetString("Gone", outGone);
    const std::string outDoor = "Software\\ToolhostTests\\RcOutsideDoor";
    LinkKey outLink(HKEY_LOCAL_MACHINE, outDoor, L"\\Registry\\Machine\\SYSTEM\\ToolhostTests\\RcOutside");
    // A 32-bit view of its own, as on 64-bit Windows: two keys, two values.
    const std::string viewGone = "C:\\rc-gone\\view\\tool.exe";
    ScratchKey native(HKEY_LOCAL_MACHINE, "Software\\ToolhostTests\\RcView");
    native.SetString("Gone", viewGone);
    ScratchKey view(HKEY_LOCAL_MACHINE, "Software\\Wow6432Node\\ToolhostTests\\RcView");
    view.SetString("Gone", viewGone);
    ASSERT_TRUE(crossLink.made());
    ASSERT_TRUE(outLink.made());

    ScanRun run;
    const auto rows = run.Scan({kSecUserSoftware, kSecSystemSoftware});
    EXPECT_EQ(1u, WithData(rows, crossGone).size()) << Describe(WithData(rows, crossGone));
    EXPECT_EQ(1, CountRows(rows, kMachine + crossTarget, "Gone", crossGone)) << Describe(rows);
    EXPECT_EQ(1u, WithData(rows, outGone).size()) << Describe(WithData(rows, outGone));
    EXPECT_EQ(1, CountRows(rows, kMachine + outDoor, "Gone", outGone)) << Describe(rows);
    EXPECT_EQ(2u, WithData(rows, viewGone).size()) << Describe(WithData(rows, viewGone));
    EXPECT_EQ(1, CountRows(rows, "HKEY_LOCAL_MACHINE\\Software\\ToolhostTests\\RcView", "Gone", viewGone));
    EXPECT_EQ(1, CountRows(rows, "HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\ToolhostTests\\RcView", "Gone", viewGone));

    // The row found through the link out removes the value it leads to.
    testsupport::ScratchDir folder("RcLinkOutUndo");
    std::vector<bool> removed;
    const RemovalOutcome outcome = RemoveFindings(WithData(rows, outGone), folder.path().c_str(), removed);
    ASSERT_TRUE(outcome.written);
    EXPECT_EQ(std::vector<bool>{true}, removed);
    EXPECT_EQ(1, UndoEntries(outcome, outGone));
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_LOCAL_MACHINE, outTarget, "Gone"));
}

}  // namespace
