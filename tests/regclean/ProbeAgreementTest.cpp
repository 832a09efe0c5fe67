// The scan's probe (answers kept, folders listed) against the plain rules
// (one file-system call per question), on a generated corpus of registry
// texts scored in the same prefix: the first text they disagree on fails
// the test and is printed.
#include "regclean/FileProbe.h"
#include "regclean/FileReference.h"

#include "testsupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

using testsupport::Ansi;
using testsupport::ScratchDir;

namespace {

// Bytes outside printable ASCII as \xNN, so a failure shows exactly what
// was scored.
std::string Shown(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c >= 32 && c < 127) {
            out += char(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

class Corpus {
public:
    Corpus(const std::string& root) : m_root(root)
    {
        m_bases = {m_root, m_root, m_root, "C:\\windows", "C:\\windows\\system32", "C:\\Program Files", "c:",
                   "C:", "D:", "C:\\rc-gone", "C:\\rc-gone\\Old App", "D:\\rc-gone", "F:", "N:", "A:", "Q:",
                   "\\\\server\\share", "\\\\?\\C:", "%RCPROBE%", "%RCPROBE%", "%SystemRoot%", "%windir%",
                   "%RCUNSET%", "%RCPROBE", "C:\\OldApp\\..\\windows", "C:\\windows\\OldApp\\..",
                   m_root + "\\Gone", "", ".", ".."};
        m_folders = {"App Dir", "Sub", "a.b", "Deep\\Er", Ansi("测试"), Ansi("俓媆"), Ansi("媆"), "SUB", "sub",
                     "Gone", "OldApp", "Old App", Ansi("不在"), Ansi("俓"), ".", "..", "..", "", "Sub.", "Sub ",
                     "Sub. .", " Sub", "system32", "PROGRA~1", "App Dir.", "nul", "*", "Sub:s"};
        m_files = {"app.exe", "lib.dll", "noext", "x.y.z", Ansi("程序.exe"), "notepad.exe", "kernel32.dll",
                   "app.exe.bak", "gone.exe", "gone.dll", "missing", "a.b.c", "app.exe.", "app.exe ", "app.exe. .",
                   "nul.exe", "con", "*.exe", "app.exe:s", "APP.EXE", "App", "ap", "a", ".", "..", "",
                   Ansi("内.exe"), Ansi("俓.dll"), "regedit.exe", "deep.exe", "c.exe"};
        m_tails = {"", "", "", " /x", " -x", ",0", " %1", " \"%1\"", " /run", "  ", ".", " .", "\\", "/",
                   " a.exe", " C:\\windows\\notepad.exe", " -x \\\\server\\y"};
    }

    std::string Next()
    {
        std::string path = Pick(m_bases);
        const int depth = Below(4);
        for (int i = 0; i < depth; ++i) path += Separator() + Pick(m_folders);
        if (Below(6)) path += Separator() + Pick(m_files);
        std::string text = Decorate(path);
        if (Below(12) == 0) text = ToLength(text, 255 + Below(8));
        if (Below(40) == 0) text = text.substr(0, size_t(Below(6)));
        return text;
    }

private:
    int Below(int n) { return int(m_random() % unsigned(n)); }
    const std::string& Pick(const std::vector<std::string>& from) { return from[size_t(Below(int(from.size())))]; }
    std::string Separator()
    {
        switch (Below(12)) {
        case 0: return "/";
        case 1: return "\\\\";
        default: return "\\";
        }
    }
    std::string Decorate(const std::string& path)
    {
        const std::string tail = Pick(m_tails);
        switch (Below(10)) {
        case 0: return "\"" + path + "\"" + tail;          // quoted, partner there
        case 1: return "\"" + path + tail;                 // no partner
        case 2: return path + "\"" + tail;                 // a stray closing quote
        case 3: return "  " + path + tail + " ";           // blanks around
        case 4: return "rundll32.exe " + path + tail;      // a program before the path
        case 5: return "\"" + path + tail + "\"";          // the arguments inside the quotes
        default: return path + tail;
        }
    }
    // A missing folder of the right size after the first name, so that the
    // text lands on the limits of the rules (259 and 260 characters).
    std::string ToLength(const std::string& text, int length)
    {
        if (int(text.size()) >= length - 2) return text.substr(0, size_t(length));
        size_t cut = text.find('\\', 3);
        if (cut == std::string::npos) cut = text.size();
        const std::string filler(size_t(length) - text.size() - 1, Below(2) ? 'p' : '.');
        return text.substr(0, cut) + "\\" + filler + text.substr(cut);
    }

    std::mt19937 m_random{20261208u};
    std::string m_root;
    std::vector<std::string> m_bases, m_folders, m_files, m_tails;
};

TEST(ProbeAgreement, TheScanProbeScoresEveryTextAsThePlainRulesDo)
{
    ScratchDir dir("rc-probe");
    for (const std::string& folder : {std::string("App Dir"), std::string("Sub"), std::string("a.b"),
                                      std::string("Deep\\Er"), Ansi("测试"), Ansi("俓媆"), Ansi("媆"), Ansi("俓")})
        ASSERT_TRUE(testsupport::MakeDirs(dir / folder)) << folder;
    for (const std::string& file :
         {std::string("app.exe"), std::string("lib.dll"), std::string("noext"), std::string("x.y.z"),
          std::string("app.exe.bak"), std::string("App Dir\\app.exe"), std::string("Sub\\lib.dll"),
          std::string("a.b\\c.exe"), std::string("Deep\\Er\\deep.exe"), Ansi("测试\\程序.exe"), Ansi("俓媆\\内.exe"),
          Ansi("俓\\app.exe"), Ansi("媆\\俓.dll"), Ansi("程序.exe")})
        ASSERT_TRUE(testsupport::WriteFileBytes(dir / file, "MZ")) << file;
    // A real file deep enough that its path with arguments reaches the limits.
    const std::string deep = dir / (std::string(90, 'L') + "\\" + std::string(90, 'M'));
    ASSERT_TRUE(testsupport::MakeDirs(deep));
    ASSERT_TRUE(testsupport::WriteFileBytes(deep + "\\f.exe", "MZ"));
    ::SetEnvironmentVariableA("RCPROBE", dir.path().c_str());
    ::SetEnvironmentVariableA("RCUNSET", nullptr);

    std::vector<std::string> texts = {
        "C:\\OldApp\\..\\windows\\notepad.exe /x", "C:\\windows\\OldApp\\..\\notepad.exe -x",
        "\"C:\\OldApp\\..\\windows\\notepad.exe\" /x", "abc", "C:\\", "C:\\a", deep + "\\f.exe /x",
        deep + "\\f.exe " + std::string(259 - deep.size() - 7, 'y'), deep + "\\..\\" + std::string(90, 'M') + "\\f.exe",
    };
    Corpus corpus(dir.path());
    std::set<std::string> seen(texts.begin(), texts.end());
    while (texts.size() < 20000) {
        std::string text = corpus.Next();
        if (seen.insert(text).second) texts.push_back(text);
    }

    FileProbe plain(false), scan;
    FileReferenceTest plainRules(plain), scanRules(scan);
    int missing = 0;
    for (size_t i = 0; i < texts.size(); ++i) {
        const int expected = plainRules.TestFileReference(texts[i].c_str());
        const int got = scanRules.TestFileReference(texts[i].c_str());
        ASSERT_EQ(expected, got) << "text " << i << " of " << texts.size() << ": [" << Shown(texts[i]) << "]";
        missing += expected == kRefMissing;
    }
    // The corpus reaches the resolver: both answers occur often.
    EXPECT_GT(missing, 2000);
    EXPECT_LT(scan.Calls(), plain.Calls() / 4) << scan.Calls() << " against " << plain.Calls();
    ::SetEnvironmentVariableA("RCPROBE", nullptr);
}

}  // namespace
