// CFile on real files (sizes past 4 GB included), the status of files,
// folders and missing paths, and the file dialog's filter list.
#include "afxwin.h"
#include "testsupport.h"
#include <gtest/gtest.h>

using testsupport::ScratchDir;
using testsupport::WriteFileBytes;

TEST(FileStatusTest, FileFolderAndMissingPath) {
    ScratchDir dir("afx-status");
    const std::string file = dir / "data.bin";
    ASSERT_TRUE(WriteFileBytes(file, std::string(1234, 'x')));
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    const time_t now = time(nullptr);

    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(file.c_str(), status));
    EXPECT_EQ(status.m_size, 1234u);
    EXPECT_TRUE(status.m_attribute & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(status.m_attribute & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_LE(std::abs(double(status.m_mtime.GetTime() - now)), 120.0);
    EXPECT_NE(status.m_ctime.GetTime(), 0);
    EXPECT_NE(status.m_atime.GetTime(), 0);
    EXPECT_EQ(lstrcmpiA(status.m_szFullName, file.c_str()), 0);
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);

    CFileStatus folder;
    ASSERT_TRUE(CFile::GetStatus(dir.path().c_str(), folder));
    EXPECT_TRUE(folder.m_attribute & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(folder.m_size, 0u);
    ASSERT_TRUE(CFile::GetStatus((dir.path() + "\\").c_str(), folder));
    EXPECT_TRUE(folder.m_attribute & FILE_ATTRIBUTE_DIRECTORY);

    // A relative name is reported with its full path.
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    SetCurrentDirectoryA(dir.path().c_str());
    CFileStatus relative;
    EXPECT_TRUE(CFile::GetStatus("data.bin", relative));
    SetCurrentDirectoryA(cwd);
    EXPECT_EQ(lstrcmpiA(relative.m_szFullName, file.c_str()), 0);

    CFileStatus none;
    EXPECT_FALSE(CFile::GetStatus((dir / "nothing.here").c_str(), none));
    EXPECT_FALSE(CFile::GetStatus((dir / "no\\such\\folder").c_str(), none));
    EXPECT_FALSE(CFile::GetStatus((dir / "*.bin").c_str(), none)); // a mask names no file
    EXPECT_FALSE(CFile::GetStatus("", none));
}

TEST(FileTest, WriteReadSeekAndLength) {
    ScratchDir dir("afx-file");
    const std::string path = dir / "f.dat";
    {
        CFile f;
        ASSERT_TRUE(f.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
        EXPECT_TRUE(f.Write("hello world", 11));
        EXPECT_EQ(f.GetLength(), 11u);
        EXPECT_EQ(lstrcmpiA(f.GetFilePath(), path.c_str()), 0);
    } // closed by the destructor
    CFile f;
    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeRead | CFile::shareDenyWrite));
    EXPECT_EQ(f.Seek(6, CFile::begin), 6u);
    char buffer[16] = {};
    EXPECT_EQ(f.Read(buffer, sizeof buffer), 5u);
    EXPECT_STREQ(buffer, "world");
    EXPECT_EQ(f.Read(buffer, sizeof buffer), 0u);
    EXPECT_EQ(f.Seek(-5, CFile::end), 6u);
    EXPECT_EQ(f.Seek(1, CFile::current), 7u);
    // Opened shared for reading only: a writer is refused, a reader is not.
    CFile writer, reader;
    EXPECT_FALSE(writer.Open(path.c_str(), CFile::modeWrite | CFile::shareDenyNone));
    EXPECT_TRUE(reader.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone));
    f.Close();
    EXPECT_FALSE(f.IsOpen());

    // modeNoTruncate keeps what is there.
    CFile keep;
    ASSERT_TRUE(keep.Open(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite | CFile::shareDenyNone));
    EXPECT_EQ(keep.GetLength(), 11u);
    CFile missing;
    EXPECT_FALSE(missing.Open((dir / "absent.dat").c_str(), CFile::modeRead));
}

TEST(FileTest, SizesPastFourGigabytes) {
    ScratchDir dir("afx-big");
    const std::string path = dir / "sparse.dat";
    const ULONGLONG fiveGb = 5ULL << 30;
    {
        CFile f;
        ASSERT_TRUE(f.Open(path.c_str(), CFile::modeCreate | CFile::modeReadWrite));
        ASSERT_EQ(f.Seek(LONGLONG(fiveGb), CFile::begin), fiveGb);
        ASSERT_TRUE(f.Write("!", 1));
        EXPECT_EQ(f.GetLength(), fiveGb + 1);
    }
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(path.c_str(), status));
    EXPECT_EQ(status.m_size, fiveGb + 1);
}

TEST(FileDialogTest, FilterBecomesTheNulSeparatedList) {
    CFileDialog open(TRUE, "reg", "undo.reg", OFN_FILEMUSTEXIST, "Registry files|*.reg|All files|*.*||");
    const char* f = open.m_ofn.lpstrFilter;
    ASSERT_NE(f, nullptr);
    std::vector<std::string> parts;
    while (*f) {
        parts.emplace_back(f);
        f += parts.back().size() + 1;
    }
    EXPECT_EQ(parts, (std::vector<std::string>{"Registry files", "*.reg", "All files", "*.*"}));
    EXPECT_STREQ(open.m_ofn.lpstrDefExt, "reg");
    EXPECT_STREQ(open.m_ofn.lpstrFile, "undo.reg");
    EXPECT_TRUE(open.m_ofn.Flags & OFN_FILEMUSTEXIST);
    EXPECT_EQ(open.GetPathName(), "undo.reg");
}
