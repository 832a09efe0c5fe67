// Every shipped module tells Explorer what it is and which version, the same
// version as the installer's.
#include "Package.h"

#include <testsupport.h>

#include <gtest/gtest.h>

#include <vector>

using namespace testsupport;

namespace {

struct VersionRecord {
    bool found = false;
    VS_FIXEDFILEINFO fixed{};
    std::vector<BYTE> data;

    std::string Text(const char* name) const
    {
        char* value = nullptr;
        UINT size = 0;
        const std::string path = std::string("\\StringFileInfo\\080404b0\\") + name;
        if (!::VerQueryValueA(const_cast<BYTE*>(data.data()), path.c_str(), reinterpret_cast<void**>(&value), &size))
            return "";
        return std::string(value, size && value[size - 1] == '\0' ? size - 1 : size);
    }
};

VersionRecord ReadVersionRecord(const std::string& file)
{
    VersionRecord record;
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (!size) return record;
    record.data.resize(size);
    if (!::GetFileVersionInfoA(file.c_str(), 0, size, record.data.data())) return record;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(record.data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed) return record;
    record.fixed = *fixed;
    record.found = true;
    return record;
}

std::string FourPartVersion(DWORD most, DWORD least)
{
    return std::to_string(HIWORD(most)) + "." + std::to_string(LOWORD(most)) + "." + std::to_string(HIWORD(least)) +
           "." + std::to_string(LOWORD(least));
}

}  // namespace

TEST(VersionRecords, EveryShippedModuleCarriesTheInstallersVersion)
{
    const std::string version = TOOLHOST_VERSION;
    EXPECT_EQ(installertest::PackageProperty(installertest::CurrentPackage(), "ProductVersion"), version);

    std::vector<std::string> descriptions;
    for (const char* module : {"toolhost.exe", "afxlite.dll", "vantor.dll", "vantres.dll", "QHTM.dll"}) {
        SCOPED_TRACE(module);
        const VersionRecord record = ReadVersionRecord(ProgramDir() + module);
        ASSERT_TRUE(record.found);
        EXPECT_EQ(FourPartVersion(record.fixed.dwFileVersionMS, record.fixed.dwFileVersionLS), version + ".0");
        EXPECT_EQ(FourPartVersion(record.fixed.dwProductVersionMS, record.fixed.dwProductVersionLS), version + ".0");
        EXPECT_EQ(record.Text("FileVersion"), version);
        EXPECT_EQ(record.Text("ProductVersion"), version);
        EXPECT_EQ(record.Text("CompanyName"), "Lumbrix");
        EXPECT_EQ(record.Text("ProductName"), "Vantor 2");
        EXPECT_EQ(::lstrcmpiA(record.Text("OriginalFilename").c_str(), module), 0) << record.Text("OriginalFilename");
        const std::string description = record.Text("FileDescription");
        EXPECT_NE(description.find("Vantor 2"), std::string::npos) << description;
        for (const std::string& other : descriptions) EXPECT_NE(description, other) << "two modules say the same";
        descriptions.push_back(description);
    }
}
