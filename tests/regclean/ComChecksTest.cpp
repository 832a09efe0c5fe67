// COM classes, type libraries and interfaces seeded below HKEY_CLASSES_ROOT.
#include "regclean/ComChecks.h"
#include "regclean/FileProbe.h"
#include "regclean/FileReference.h"
#include "regclean/RegistryScanner.h"

#include "RegCleanTestSupport.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using rctest::CountRows;
using rctest::Describe;
using testsupport::ScratchKey;

namespace {

const char kBrokenClass[] = "{c0ffee01-5eed-4bad-9a11-000000000001}";
const char kHealthyClass[] = "{C0FFEE02-5EED-4BAD-9A11-000000000002}";
const char kBrokenLibrary[] = "{c0ffee03-5eed-4bad-9a11-000000000003}";
const char kHealthyLibrary[] = "{C0FFEE04-5EED-4BAD-9A11-000000000004}";
const char kIfaceBrokenClass[] = "{C0FFEE11-5EED-4BAD-9A11-000000000011}";
const char kIfaceHealthyClass[] = "{C0FFEE12-5EED-4BAD-9A11-000000000012}";
const char kIfaceBrokenLibrary[] = "{C0FFEE13-5EED-4BAD-9A11-000000000013}";

void SetDefault(ScratchKey& key, const std::string& sub, const std::string& data)
{
    HKEY k = key.Sub(sub);
    ::RegSetValueExA(k, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), DWORD(data.size() + 1));
    ::RegCloseKey(k);
}

std::string Upper(std::string s)
{
    for (char& c : s) c = char(toupper(static_cast<unsigned char>(c)));
    return s;
}

class ComChecks : public ::testing::Test {
protected:
    ComChecks()
        : brokenClass(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kBrokenClass),
          healthyClass(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kHealthyClass),
          brokenLibrary(HKEY_CLASSES_ROOT, std::string("TypeLib\\") + kBrokenLibrary),
          healthyLibrary(HKEY_CLASSES_ROOT, std::string("TypeLib\\") + kHealthyLibrary),
          ifaceBrokenClass(HKEY_CLASSES_ROOT, std::string("Interface\\") + kIfaceBrokenClass),
          ifaceHealthyClass(HKEY_CLASSES_ROOT, std::string("Interface\\") + kIfaceHealthyClass),
          ifaceBrokenLibrary(HKEY_CLASSES_ROOT, std::string("Interface\\") + kIfaceBrokenLibrary)
    {
        brokenClass.SetString("", "Rc broken class");
        SetDefault(brokenClass, "InprocServer32", "C:\\rc-gone\\com\\server.dll");
        SetDefault(brokenClass, "InprocHandler32", "C:\\rc-gone\\com\\handler.dll");
        SetDefault(brokenClass, "LocalServer32", "C:\\windows\\notepad.exe");
        SetDefault(brokenClass, "ProgID", "RcTest.Broken.1");
        SetDefault(healthyClass, "InprocServer32", "C:\\windows\\system32\\kernel32.dll");
        // Not judged: network, removable and expanding-to-existing paths.
        SetDefault(healthyClass, "InprocHandler32", "\\\\server\\share\\handler.dll");
        SetDefault(healthyClass, "LocalServer32", "F:\\setup\\server.exe");
        SetDefault(healthyClass, "ToolboxBitmap32", "%SystemRoot%\\notepad.exe,1");
        SetDefault(brokenLibrary, "1.0\\0\\win32", "C:\\rc-gone\\com\\library.tlb");
        SetDefault(healthyLibrary, "2.1\\409\\win32", "C:\\windows\\system32\\kernel32.dll");
        SetDefault(ifaceBrokenClass, "ProxyStubClsId32", Upper(kBrokenClass));
        SetDefault(ifaceHealthyClass, "ProxyStubClsId32", kHealthyClass);
        SetDefault(ifaceBrokenLibrary, "TypeLib", kBrokenLibrary);
        flags.KeepGoing = true;
    }

    ScratchKey brokenClass, healthyClass, brokenLibrary, healthyLibrary;
    ScratchKey ifaceBrokenClass, ifaceHealthyClass, ifaceBrokenLibrary;
    ScanFlags flags;
    rctest::CollectSink sink;
    FileProbe probe;
    FileReferenceTest files{probe};
    ScanContext ctx{flags, sink, files};
};

TEST_F(ComChecks, AClassIsReportedOncePerSubkeyNamingAMissingFile)
{
    ComLists lists;
    CheckClasses(ctx, lists);
    const auto rows = sink.Rows();
    const std::string broken = std::string("HKEY_CLASSES_ROOT\\CLSID\\") + kBrokenClass;
    EXPECT_EQ(1, CountRows(rows, broken, "InprocServer32", "C:\\rc-gone\\com\\server.dll")) << Describe(rows);
    EXPECT_EQ(1, CountRows(rows, broken, "InprocHandler32", "C:\\rc-gone\\com\\handler.dll")) << Describe(rows);
    EXPECT_EQ(2u, rctest::RowsBelow(rows, broken).size()) << Describe(rows);
    EXPECT_EQ(0u, rctest::RowsBelow(rows, std::string("HKEY_CLASSES_ROOT\\CLSID\\") + kHealthyClass).size())
        << Describe(rows);
    // The lists keep the class upper-cased, once per broken subkey.
    int listed = 0;
    for (int i = 0; i < lists.classIds.GetSize(); ++i)
        if (lists.classIds[i] == Upper(kBrokenClass).c_str()) ++listed;
    EXPECT_EQ(2, listed);
}

TEST_F(ComChecks, ATypeLibraryWithAMissingWin32FileIsReportedWithItsVersionPath)
{
    ComLists lists;
    CheckTypeLibraries(ctx, lists);
    const auto rows = sink.Rows();
    EXPECT_EQ(1, CountRows(rows, std::string("HKEY_CLASSES_ROOT\\Typelib\\") + kBrokenLibrary, "1.0\\0\\WIN32\\",
                           "C:\\RC-GONE\\COM\\LIBRARY.TLB"))
        << Describe(rows);
    EXPECT_EQ(0u, rctest::RowsBelow(rows, std::string("HKEY_CLASSES_ROOT\\Typelib\\") + kHealthyLibrary).size());
}

TEST_F(ComChecks, InterfacesPointingAtBrokenClassesOrLibrariesAreReportedOthersNot)
{
    ComLists lists;
    RunComChecks(ctx, lists);
    const auto rows = sink.Rows();
    EXPECT_EQ(1, CountRows(rows, std::string("HKEY_CLASSES_ROOT\\Interface\\") + kIfaceBrokenClass, "ProxyStubClsId32",
                           Upper(kBrokenClass)))
        << Describe(rows);
    EXPECT_EQ(1, CountRows(rows, std::string("HKEY_CLASSES_ROOT\\Interface\\") + kIfaceBrokenLibrary, "TypeLib",
                           Upper(kBrokenLibrary)))
        << Describe(rows);
    EXPECT_EQ(0u, rctest::RowsBelow(rows, std::string("HKEY_CLASSES_ROOT\\Interface\\") + kIfaceHealthyClass).size());
}

TEST_F(ComChecks, WithSectionZeroOffNoInterfaceIsEverReported)
{
    ComLists empty;
    CheckInterfaces(ctx, empty);
    EXPECT_TRUE(sink.Rows().empty()) << Describe(sink.Rows());
    // Every other section on (the two software walks aside, to keep the
    // test short): the scan runs, and no class or interface is reported.
    SectionSwitches allButCom(true);
    allButCom.on[kSecCom] = allButCom.on[kSecUserSoftware] = allButCom.on[kSecSystemSoftware] = false;
    std::vector<int> ran;
    RunScanSteps(ctx, allButCom, &ran);
    EXPECT_EQ((std::vector<int>{kSecSharedDlls, kSecVxd, kSecRun, kSecSounds, kSecUninstall, kSecAppPaths, kSecFonts,
                                kSecHelp, kSecFileAssociations}),
              ran);
    EXPECT_EQ(0u, rctest::RowsBelow(sink.Rows(), "HKEY_CLASSES_ROOT\\Interface\\").size()) << Describe(sink.Rows());
    EXPECT_EQ(0u, rctest::RowsBelow(sink.Rows(), "HKEY_CLASSES_ROOT\\CLSID\\").size()) << Describe(sink.Rows());
    // The same seeds with section 0 on: the interface is reported.
    rctest::CollectSink withCom;
    ScanContext comCtx{flags, withCom, files};
    SectionSwitches onlyCom(false);
    onlyCom.on[kSecCom] = true;
    RunScanSteps(comCtx, onlyCom);
    EXPECT_EQ(1, CountRows(withCom.Rows(), std::string("HKEY_CLASSES_ROOT\\Interface\\") + kIfaceBrokenClass,
                           "ProxyStubClsId32", Upper(kBrokenClass)))
        << Describe(withCom.Rows());
}

TEST_F(ComChecks, StopEndsTheClassCheckBetweenItems)
{
    sink.StopAfter(&flags, 1);
    ComLists lists;
    RunComChecks(ctx, lists);
    EXPECT_EQ(1, sink.RowCount());
}

}  // namespace
