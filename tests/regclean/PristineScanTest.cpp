// A whole scan, every section on, of a prefix nobody seeded (this test runs
// in a prefix of its own): it completes, and nothing it lists is the exact
// path of a file that exists.
#include "regclean/FileProbe.h"
#include "regclean/ListChecks.h"
#include "regclean/RegistryScanner.h"

#include "RegCleanTestSupport.h"
#include "vantres/ids_regclean.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

bool IsExistingFile(const CString& text)
{
    if (text.IsEmpty()) return false;
    DWORD attributes = ::GetFileAttributesA(text);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(PristineScan, CompletesWithEverySectionOnAndReportsNoExistingFile)
{
    rctest::LoadResources();
    ScanFlags flags;
    flags.KeepGoing = true;
    flags.Scanning = true;
    rctest::CollectSink sink;
    FileProbe probe;
    std::vector<int> ran;
    const DWORD start = ::GetTickCount();
    RunRegistryScan(flags, sink, probe, SectionSwitches(true), &ran);
    std::printf("scan: %lu ms, %d rows, %llu file-system calls\n", ::GetTickCount() - start, sink.RowCount(),
                probe.Calls());

    const auto statuses = sink.Statuses();
    ASSERT_GE(statuses.size(), 2u);
    EXPECT_EQ(rctest::Text(IDS_RC_SCAN_DONE), statuses[statuses.size() - 2]);
    EXPECT_EQ((std::vector<int>{kSecCom, kSecUserSoftware, kSecSystemSoftware, kSecSharedDlls, kSecVxd, kSecSounds,
                                kSecFonts, kSecFileAssociations}),
              ran);
    const CString sharedDlls = CString("HKEY_LOCAL_MACHINE\\") + kSharedDllsKey;
    for (const RegistryFinding& row : sink.Rows()) {
        EXPECT_FALSE(IsExistingFile(row.Data)) << rctest::Describe({row});
        if (row.KeyPath == sharedDlls) {
            EXPECT_FALSE(IsExistingFile(row.ValueName)) << rctest::Describe({row});
        }
    }
    std::printf("%s", rctest::Describe(sink.Rows()).c_str());
}

}  // namespace
