// CString: formatting, searching, cutting with out-of-range arguments,
// replacing, trimming, case conversion of Chinese (code page 936) texts and
// the writable buffer.
#include "afxwin.h"
#include "testsupport.h"
#include <gtest/gtest.h>

using testsupport::Ansi;

TEST(CStringTest, FormatGrowsPastAnyFixedBuffer) {
    CString s;
    s.Format("%d-%s-%05.1f", 42, "x", 3.14159);
    EXPECT_EQ(s, "42-x-003.1");
    std::string big(5000, 'q');
    s.Format("[%s]", big.c_str());
    EXPECT_EQ(s.GetLength(), 5002);
    EXPECT_EQ(s.Right(3), "qq]");
    s.Format("%d%%", 7);
    EXPECT_EQ(s, "7%");
}

TEST(CStringTest, FindAndReverseFind) {
    CString s("a\\b\\c.txt");
    EXPECT_EQ(s.Find('\\'), 1);
    EXPECT_EQ(s.Find('\\', 2), 3);
    EXPECT_EQ(s.Find("c.t"), 4);
    EXPECT_EQ(s.Find("zz"), -1);
    EXPECT_EQ(s.Find('a', 99), -1);
    EXPECT_EQ(s.Find("a", -1), -1);
    EXPECT_EQ(s.ReverseFind('\\'), 3);
    EXPECT_EQ(s.ReverseFind('#'), -1);
    EXPECT_EQ(s.FindOneOf(".\\"), 1);
    EXPECT_EQ(CString().Find('x'), -1);
}

// In code page 936 the second byte of many characters is 0x5C ("\") or a
// Latin letter: 俓 is 82 5C, 媆 is 8B 5C, 臶 is C5 5B ("["). A
// search must match whole characters only, or a path split there cuts a
// character in half.
TEST(CStringTest, SearchesMatchWholeDoubleByteCharactersOnly) {
    ASSERT_EQ(GetACP(), 936u) << "the tests run with LANG=zh_CN.UTF-8";
    const std::string jing = Ansi(u8"俓"), nao = Ansi(u8"媆");
    ASSERT_EQ(jing, "\x82\x5C");
    ASSERT_EQ(nao, "\x8B\x5C");
    // C:\俓\媆a\b.txt: the real separators are at 2, 5 and 9.
    const std::string path = "C:\\" + jing + "\\" + nao + "a\\b.txt";
    CString s(path.c_str());
    EXPECT_EQ(s.Find('\\'), 2);
    EXPECT_EQ(s.Find('\\', 3), 5);
    EXPECT_EQ(s.Find('\\', 6), 9);
    EXPECT_EQ(s.ReverseFind('\\'), 9);
    EXPECT_EQ(s.FindOneOf("\\/"), 2);
    EXPECT_EQ(s.Find("\\a"), -1);  // only the trail byte of 媆 stands before "a"
    EXPECT_EQ(s.Find("\\b"), 9);
    EXPECT_EQ(s.Find(nao.c_str()), 6);

    // A folder whose name ends with such a character has no trailing backslash.
    CString folder(("C:\\" + jing).c_str());
    EXPECT_EQ(folder.ReverseFind('\\'), 2);
    EXPECT_FALSE(EndsWithBackslash(folder));
    EXPECT_TRUE(EndsWithBackslash(CString(("C:\\" + jing + "\\").c_str())));
    EXPECT_EQ(CString((jing + jing).c_str()).FindOneOf("\\"), -1);
    // Trail bytes that look like letters are not letters either.
    const std::string trailA = Ansi(u8"臶");  // C5 5B
    ASSERT_EQ(trailA, "\xC5\x5B");
    EXPECT_EQ(CString((trailA + "[").c_str()).Find('['), 2);
    // A double-byte character in the set matches that character only.
    EXPECT_EQ(CString(("x" + nao + jing).c_str()).FindOneOf(jing.c_str()), 3);

    // Replacing and removing touch whole characters only.
    CString r(path.c_str());
    EXPECT_EQ(r.Replace('\\', '/'), 3);
    EXPECT_EQ(r.str(), "C:/" + jing + "/" + nao + "a/b.txt");
    CString r2(path.c_str());
    EXPECT_EQ(r2.Replace("\\", "\\\\"), 3);
    EXPECT_EQ(r2.str(), "C:\\\\" + jing + "\\\\" + nao + "a\\\\b.txt");
    CString r3(path.c_str());
    EXPECT_EQ(r3.Remove('\\'), 3);
    EXPECT_EQ(r3.str(), "C:" + jing + nao + "ab.txt");
    // A lone lead byte at the end is a character of its own.
    CString cut(("a\\" + jing.substr(0, 1)).c_str());
    EXPECT_EQ(cut.ReverseFind('\\'), 1);
}

TEST(CStringTest, MidLeftRightClampOutOfRangeArguments) {
    CString s("abcdef");
    EXPECT_EQ(s.Mid(2), "cdef");
    EXPECT_EQ(s.Mid(2, 2), "cd");
    EXPECT_EQ(s.Mid(4, 100), "ef");
    EXPECT_EQ(s.Mid(6), "");
    EXPECT_EQ(s.Mid(100, 2), "");
    EXPECT_EQ(s.Mid(-3, 2), "ab");
    EXPECT_EQ(s.Mid(1, -5), "");
    EXPECT_EQ(s.Left(3), "abc");
    EXPECT_EQ(s.Left(100), "abcdef");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Right(2), "ef");
    EXPECT_EQ(s.Right(100), "abcdef");
    EXPECT_EQ(s.Right(0), "");
    EXPECT_EQ(s.Right(-4), "");
}

TEST(CStringTest, ReplaceCountsAndDoesNotRescanItsOutput) {
    CString s("a.b.c");
    EXPECT_EQ(s.Replace(".", ".."), 2);
    EXPECT_EQ(s, "a..b..c");
    EXPECT_EQ(s.Replace("..", ""), 2);
    EXPECT_EQ(s, "abc");
    EXPECT_EQ(s.Replace("", "x"), 0);
    EXPECT_EQ(s.Replace('b', 'B'), 1);
    EXPECT_EQ(s, "aBc");
    EXPECT_EQ(s.Remove('a'), 1);
    EXPECT_EQ(s, "Bc");
}

TEST(CStringTest, TrimRemovesBlanksTabsAndLineBreaksOnly) {
    CString s(" \t\r\n value x \n");
    s.Trim();
    EXPECT_EQ(s, "value x");
    CString left("  a  ");
    left.TrimLeft();
    EXPECT_EQ(left, "a  ");
    CString right("  a  ");
    right.TrimRight();
    EXPECT_EQ(right, "  a");
    CString blank("   ");
    blank.Trim();
    EXPECT_TRUE(blank.IsEmpty());
}

// Trail bytes of these characters are ASCII letters in code page 936
// ("說" is D5 66, "關" is EA 50): a byte-wise conversion would break them.
TEST(CStringTest, CaseConversionLeavesChineseTextIntact) {
    ASSERT_EQ(GetACP(), 936u) << "the tests run with LANG=zh_CN.UTF-8";
    const std::string lowerTrail = Ansi(u8"說時檔");
    const std::string upperTrail = Ansi(u8"關資夾");
    ASSERT_EQ(lowerTrail.size(), 6u);

    CString up((lowerTrail + "abc" + upperTrail).c_str());
    up.MakeUpper();
    EXPECT_EQ(up.str(), lowerTrail + "ABC" + upperTrail);

    CString down((upperTrail + "XYZ" + lowerTrail).c_str());
    down.MakeLower();
    EXPECT_EQ(down.str(), upperTrail + "xyz" + lowerTrail);
}

TEST(CStringTest, CompareNoCaseIgnoresLetterCaseOnly) {
    CString s("Software\\Lumbrix");
    EXPECT_EQ(s.CompareNoCase("SOFTWARE\\lumbrix"), 0);
    EXPECT_LT(CString("abc").CompareNoCase("ABD"), 0);
    EXPECT_GT(CString("b").CompareNoCase("A"), 0);
    EXPECT_NE(s.CompareNoCase("Software\\Lumbrix2"), 0);
    const std::string chinese = Ansi(u8"注册表");
    EXPECT_EQ(CString((chinese + "abc").c_str()).CompareNoCase((chinese + "ABC").c_str()), 0);
    EXPECT_EQ(s.Compare("Software\\Lumbrix"), 0);
    EXPECT_NE(s.Compare("software\\lumbrix"), 0);
}

TEST(CStringTest, GetBufferAndReleaseBuffer) {
    CString s("abc");
    char* p = s.GetBuffer(MAX_PATH);
    EXPECT_GE(s.GetLength(), MAX_PATH);
    DWORD n = GetWindowsDirectoryA(p, MAX_PATH);
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), int(n));
    EXPECT_EQ(s.Find(":\\"), 1);

    CString t("hello world");
    char* q = t.GetBuffer();
    q[5] = '\0';
    t.ReleaseBuffer();
    EXPECT_EQ(t, "hello");

    CString u("abcdef");
    u.GetBuffer(0);
    u.ReleaseBuffer(3);
    EXPECT_EQ(u, "abc");
    u.ReleaseBuffer(99); // never longer than the buffer
    EXPECT_EQ(u, "abc");

    CString v;
    lstrcpyA(v.GetBufferSetLength(4), "wxyz");
    v.ReleaseBuffer();
    EXPECT_EQ(v, "wxyz");
}

TEST(CStringTest, InsertDeleteAndConcatenation) {
    CString s("ace");
    s.Insert(1, "b");
    s.Insert(99, "f");
    s.Insert(-1, ">");
    EXPECT_EQ(s, ">abcef");
    s.Delete(0);
    s.Delete(3, 1);
    EXPECT_EQ(s, "abcf");
    s.Delete(10, 2);
    EXPECT_EQ(s, "abcf");
    CString t = "x" + s + '!' + CString("y");
    EXPECT_EQ(t, "xabcf!y");
    t += 'z';
    t += "zz";
    EXPECT_EQ(t.GetLength(), 10);
    EXPECT_EQ(CString('-', 3), "---");
    EXPECT_EQ(CString('-', -2), "");
}

TEST(CStringArrayTest, AddInsertRemove) {
    CStringArray a;
    EXPECT_EQ(a.Add("one"), 0);
    EXPECT_EQ(a.Add("three"), 1);
    a.InsertAt(1, "two");
    ASSERT_EQ(a.GetSize(), 3);
    EXPECT_EQ(a[1], "two");
    EXPECT_EQ(a.GetUpperBound(), 2);
    a.RemoveAt(0);
    EXPECT_EQ(a.GetAt(0), "two");
    CStringArray b;
    b.Append(a);
    b.Append(a);
    EXPECT_EQ(b.GetCount(), 4);
    b.RemoveAll();
    EXPECT_TRUE(b.IsEmpty());
}
