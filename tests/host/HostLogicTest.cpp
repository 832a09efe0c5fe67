// The host's small rules that need no window: the help file's path, the word
// table, the fault guard of the help call and the program's C locale.
#include "host/Dispatch.h"
#include "host/GuardedCall.h"
#include "host/HelpLauncher.h"
#include "host/ProgramLocale.h"

#include <testsupport.h>

#include <gtest/gtest.h>

#include <clocale>
#include <string>

using testsupport::Ansi;

TEST(HelpFilePath, IsTheWholePathLowerCasedWithChmForExe)
{
    EXPECT_STREQ(HelpFilePath("C:\\Program Files\\Vantor\\ToolHost.EXE"), "c:\\program files\\vantor\\toolhost.chm");
    EXPECT_STREQ(HelpFilePath("D:\\TOOLS\\toolhost.exe"), "d:\\tools\\toolhost.chm");
    EXPECT_STREQ(HelpFilePath("toolhost.Exe"), "toolhost.chm");
    // Chinese folder names keep their bytes (these trail bytes are 'C' and 'D').
    EXPECT_EQ(std::string(HelpFilePath(Ansi(u8"C:\\繡罝\\TOOLHOST.EXE").c_str())), Ansi(u8"c:\\繡罝\\toolhost.chm"));
    // A path without ".exe" is only lower-cased.
    EXPECT_STREQ(HelpFilePath("C:\\Tools\\ToolHost"), "c:\\tools\\toolhost");
}

TEST(MatchToolWord, FirstTableWordFoundAnywhereWins)
{
    const struct {
        const char* word;
        HostCommand command;
    } cases[] = {
        {"regclean", HostCommand::RegClean},
        {"  RegClean\t", HostCommand::RegClean},
        {"xxBACKUPyy", HostCommand::Backup},
        {"sysclean", HostCommand::JunkClean},
        {"regclean+sysclean", HostCommand::JunkClean},
        {"backupregclean", HostCommand::RegClean},
        {"sysclean uninstall", HostCommand::Uninstall},
        {"UNINSTALLbackup", HostCommand::Uninstall},
        {"", HostCommand::None},
        {"   ", HostCommand::None},
        {"reg clean", HostCommand::None},
        {"back up", HostCommand::None},
    };
    for (const auto& c : cases) EXPECT_EQ(MatchToolWord(c.word), c.command) << '"' << c.word << '"';
    EXPECT_EQ(InstanceNameId(HostCommand::RegClean), 8776u);
    EXPECT_EQ(InstanceNameId(HostCommand::JunkClean), 116u);
    EXPECT_EQ(InstanceNameId(HostCommand::Backup), 225u);
    EXPECT_EQ(InstanceNameId(HostCommand::Uninstall), 0u);
}

namespace {

void WriteThrough(void* context)
{
    int* volatile target = *static_cast<int**>(context);
    *target = 42;
}

LONG WINAPI OtherFilter(EXCEPTION_POINTERS*)
{
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

TEST(GuardedCall, TurnsAFaultIntoAFailureAndLeavesTheFilterAsItWas)
{
    LPTOP_LEVEL_EXCEPTION_FILTER original = ::SetUnhandledExceptionFilter(OtherFilter);

    int value = 0;
    int* good = &value;
    EXPECT_TRUE(GuardedCall(WriteThrough, &good));
    EXPECT_EQ(value, 42);

    int* bad = nullptr;
    EXPECT_FALSE(GuardedCall(WriteThrough, &bad));
    // The program goes on, and a second fault is caught as well.
    EXPECT_FALSE(GuardedCall(WriteThrough, &bad));
    value = 0;
    EXPECT_TRUE(GuardedCall(WriteThrough, &good));
    EXPECT_EQ(value, 42);

    EXPECT_EQ(::SetUnhandledExceptionFilter(original), &OtherFilter);
}

// The program's C locale must leave the case conversions of its texts alone:
// words and paths hold Chinese characters whose bytes look like Latin letters.
TEST(ProgramLocale, CaseConversionKeepsChineseTexts)
{
    std::string before = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "C");
    ApplyProgramLocale();
    // Every category is German (code page 1252) ...
    for (int category = LC_ALL; category <= LC_TIME; ++category) {
        const char* name = std::setlocale(category, nullptr);
        EXPECT_NE(std::string(name ? name : "").find("German"), std::string::npos) << "category " << category;
    }
    // ... and the run time acts on it: a decimal comma.
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
    // Under that locale the program's own case conversions keep every byte:
    // Trail bytes 'C' and 'D' under lead bytes that the German code page
    // would take for upper-case letters.
    CString lower(Ansi(u8"繡罝REGCLEAN注册表").c_str());
    lower.MakeLower();
    EXPECT_EQ(std::string(lower), Ansi(u8"繡罝regclean注册表"));
    // Trail byte 'a' under a lead byte the German code page takes for 'à'.
    CString upper(Ansi(u8"郺backup").c_str());
    upper.MakeUpper();
    EXPECT_EQ(std::string(upper), Ansi(u8"郺BACKUP"));
    CString word(Ansi(u8" 罝Sysclean罝 ").c_str());
    EXPECT_EQ(MatchToolWord(word), HostCommand::JunkClean);
    std::setlocale(LC_ALL, before.c_str());
}
