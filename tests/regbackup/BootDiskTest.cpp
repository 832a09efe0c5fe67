// The emergency boot floppy on the NT line: the boot sector, the format
// call and its answers, and what ends up on the disk.
#include <gtest/gtest.h>

#include <cstring>
#include <vantres/ids_backup.h>

#include "RegbackupTestSupport.h"
#include "host/HostServices.h"
#include "regbackup/BootDisk.h"

using namespace rbtest;
using testsupport::FileExists;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

namespace {

WORD Word(const std::string& s, size_t at) { return WORD(BYTE(s[at]) | (BYTE(s[at + 1]) << 8)); }
DWORD Dword(const std::string& s, size_t at) { return Word(s, at) | (DWORD(Word(s, at + 2)) << 16); }

// Boot files seeded in C:\ for one test and removed again.
struct BootFiles {
    BootFiles()
    {
        WriteFileBytes("C:\\ntldr", std::string(70000, 'L'));
        WriteFileBytes("C:\\ntdetect.com", "detect");
        WriteFileBytes("C:\\boot.ini", "[boot loader]\r\ntimeout=30\r\n");
        DeleteFileA("C:\\bootsect.dos");
    }
    ~BootFiles()
    {
        for (const char* f : {"C:\\ntldr", "C:\\ntdetect.com", "C:\\boot.ini"}) DeleteFileA(f);
    }
};

}  // namespace

TEST(BootDisk, SectorIsAFat12BootSectorThatLoadsNtldr)
{
    const std::string s = BootSectorImage();
    ASSERT_EQ(s.size(), 512u);
    EXPECT_EQ(BYTE(s[0]), 0xEB);
    EXPECT_EQ(BYTE(s[1]), 0x3C);
    EXPECT_EQ(BYTE(s[2]), 0x90);
    EXPECT_EQ(s.substr(3, 8), "MSDOS5.0");
    EXPECT_EQ(Word(s, 11), 512);   // bytes per sector
    EXPECT_EQ(BYTE(s[13]), 1);     // sectors per cluster
    EXPECT_EQ(Word(s, 14), 1);     // reserved sectors
    EXPECT_EQ(BYTE(s[16]), 2);     // FATs
    EXPECT_EQ(Word(s, 17), 224);   // root entries
    EXPECT_EQ(Word(s, 19), 2880);  // sectors of a 1.44 MB disk
    EXPECT_EQ(BYTE(s[21]), 0xF0);  // media
    EXPECT_EQ(Word(s, 22), 9);     // sectors per FAT
    EXPECT_EQ(Word(s, 24), 18);    // sectors per track
    EXPECT_EQ(Word(s, 26), 2);     // heads
    EXPECT_EQ(Dword(s, 28), 0u);   // hidden sectors
    EXPECT_EQ(BYTE(s[38]), 0x29);
    EXPECT_EQ(Dword(s, 39), 0xE028179Cu);
    EXPECT_EQ(s.substr(43, 11), "NO NAME    ");
    EXPECT_EQ(s.substr(54, 8), "FAT12   ");
    // The jump lands on the boot code right after the parameter block.
    EXPECT_EQ(2 + BYTE(s[1]), 62);
    const std::string code = s.substr(62, 448);
    for (const char* text : {"NTLDR      ", "Remove disks or other media.", "Disk error", "Press any key to restart"})
        EXPECT_NE(code.find(text), std::string::npos) << text;
    EXPECT_EQ(BYTE(s[510]), 0x55);
    EXPECT_EQ(BYTE(s[511]), 0xAA);
}

TEST(BootDisk, FormatAnswersMapOnBothLines)
{
    struct Case { int shell, nt, legacy; };
    const Case cases[] = {{0, 0, -1}, {-3, -3, -3}, {-2, -2, -2}, {-1, -2, -3}, {6, 0, 0}, {42, 42, 42}};
    for (const Case& c : cases) {
        EXPECT_EQ(MapFormatResult(c.shell, true), c.nt) << c.shell;
        EXPECT_EQ(MapFormatResult(c.shell, false), c.legacy) << c.shell;
    }
    UINT id = 9, options = 9;
    FormatArguments(true, 2, 0, id, options);
    EXPECT_EQ((std::vector<UINT>{id, options}), (std::vector<UINT>{0, 1}));
    FormatArguments(true, 2, 1, id, options);
    EXPECT_EQ((std::vector<UINT>{id, options}), (std::vector<UINT>{0, 0}));
    FormatArguments(false, 1, 0, id, options);
    EXPECT_EQ((std::vector<UINT>{id, options}), (std::vector<UINT>{3, 0}));
    FormatArguments(false, 2, 1, id, options);
    EXPECT_EQ((std::vector<UINT>{id, options}), (std::vector<UINT>{5, 1}));
    FormatArguments(false, 7, 1, id, options);
    EXPECT_EQ((std::vector<UINT>{id, options}), (std::vector<UINT>{7, 1}));
}

TEST(BootDisk, FormatFloppyChecksTheDriveAndTheShell)
{
    FakePlatform platform;
    platform.formatAnswer = -1;
    EXPECT_EQ(FormatFloppy(NULL, 0, 0, 0), -2);  // A: is the prefix's floppy
    ASSERT_EQ(platform.formats.size(), 1u);
    EXPECT_EQ(platform.formats[0].drive, 0u);
    EXPECT_EQ(platform.formats[0].formatId, 0u);
    EXPECT_EQ(platform.formats[0].options, 1u);
    platform.formatAnswer = 6;
    EXPECT_EQ(FormatFloppy(NULL, 0, 0, 1), 0);
    // A fixed disk and a CD drive are never formatted.
    EXPECT_EQ(FormatFloppy(NULL, 3, 0, 0), -4);
    EXPECT_EQ(FormatFloppy(NULL, 5, 0, 0), -4);
    EXPECT_EQ(platform.formats.size(), 2u);
    platform.formatLoad = 153;
    EXPECT_EQ(FormatFloppy(NULL, 0, 0, 0), 153);
    platform.formatLoad = 152;
    EXPECT_EQ(FormatFloppy(NULL, 0, 0, 0), 152);
}

TEST(BootDisk, DriveThatIsNotRemovableEndsTheCommandAfterTheQuestion)
{
    FakePlatform platform;
    WriteFileBytes("F:\\keep.txt", "on the CD drive");
    CBootDiskMaker maker(NULL);
    maker.m_drive = 5;  // F:, a CD drive
    EXPECT_EQ(maker.CreateBootDisk(false), CBootDiskMaker::Outcome::NotRemovable);
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(platform.questions[0], LoadTextById(IDS_BOOTDISK_PROMPT_NT));
    EXPECT_EQ(platform.questionTypes[0], UINT(MB_YESNO | MB_ICONINFORMATION));
    EXPECT_TRUE(platform.formats.empty());
    EXPECT_TRUE(platform.rawDevices.empty());
    EXPECT_EQ(ReadFileBytes("F:\\keep.txt"), "on the CD drive");
    DeleteFileA("F:\\keep.txt");

    platform.answer = IDNO;
    CBootDiskMaker declined(NULL);
    EXPECT_EQ(declined.CreateBootDisk(false), CBootDiskMaker::Outcome::Declined);
    EXPECT_TRUE(platform.formats.empty());
}

TEST(BootDisk, FloppyGetsTheBootSectorAndTheBootFilesThatExist)
{
    BootFiles files;
    WriteFileBytes("A:\\old-letter.txt", "erased by the format");
    FakePlatform platform;
    CBootDiskMaker maker(NULL);
    EXPECT_EQ(maker.CreateBootDisk(true), CBootDiskMaker::Outcome::Made);
    ASSERT_EQ(platform.rawDevices, (std::vector<std::string>{"\\\\.\\A:"}));
    EXPECT_EQ(platform.rawBytes, BootSectorImage());
    EXPECT_FALSE(FileExists("A:\\old-letter.txt"));
    EXPECT_EQ(ReadFileBytes("A:\\ntldr"), std::string(70000, 'L'));
    EXPECT_EQ(ReadFileBytes("A:\\ntdetect.com"), "detect");
    EXPECT_EQ(ReadFileBytes("A:\\boot.ini"), "[boot loader]\r\ntimeout=30\r\n");
    EXPECT_FALSE(FileExists("A:\\bootsect.dos"));  // not on this system: the disk is made all the same
    EXPECT_EQ(CopyBootFiles("C:\\", "A:\\"), 3);
    for (const char* f : {"A:\\ntldr", "A:\\ntdetect.com", "A:\\boot.ini"}) DeleteFileA(f);
}

TEST(BootDisk, FailedFormatOnNtWritesNothing)
{
    BootFiles files;
    WriteFileBytes("A:\\kept.txt", "still here");
    FakePlatform platform;
    platform.formatAnswer = -2;  // cancelled in the shell's dialog
    CBootDiskMaker maker(NULL);
    EXPECT_EQ(maker.CreateBootDisk(false), CBootDiskMaker::Outcome::FormatFailed);
    EXPECT_TRUE(platform.rawDevices.empty());
    EXPECT_EQ(ReadFileBytes("A:\\kept.txt"), "still here");
    EXPECT_FALSE(FileExists("A:\\ntldr"));
    DeleteFileA("A:\\kept.txt");
}
