// Where a double click takes the registry editor.
#include "regclean/RegEditNavigator.h"

#include "testsupport.h"

#include <gtest/gtest.h>

namespace {

RegistryFinding Row(const std::string& key, const std::string& name)
{
    RegistryFinding row;
    row.KeyPath = key.c_str();
    row.ValueName = name.c_str();
    return row;
}

TEST(RegEditTarget, ANamedValueOpensItsKeyAndTypesTheName)
{
    testsupport::ScratchKey key("RegCleanTarget");
    RegEditTarget t = RegEditTargetFor(Row("HKEY_CURRENT_USER\\" + key.path(), "Gone Value"));
    EXPECT_FALSE(t.IsKey);
    EXPECT_EQ("\\HKEY_CURRENT_USER\\" + key.path(), t.TreePath.str());
    EXPECT_EQ("Gone Value", t.ValueName.str());
}

TEST(RegEditTarget, ARowWhoseKeyWasRemovedOpensTheParentAndTypesTheLastPart)
{
    testsupport::ScratchKey key("RegCleanTarget");
    RegEditTarget t = RegEditTargetFor(Row("HKEY_CURRENT_USER\\" + key.path() + "\\Removed", "Value"));
    EXPECT_FALSE(t.IsKey);
    EXPECT_EQ("\\HKEY_CURRENT_USER\\" + key.path() + "\\Removed", t.TreePath.str());
    EXPECT_EQ("Value", t.ValueName.str());
}

TEST(RegEditTarget, AComRowIsTheSubkeyItself)
{
    testsupport::ScratchKey cls(HKEY_CLASSES_ROOT, "CLSID\\{C0FFEE31-5EED-4BAD-9A11-000000000031}");
    ::RegCloseKey(cls.Sub("InprocServer32"));
    RegEditTarget t =
        RegEditTargetFor(Row("HKEY_CLASSES_ROOT\\CLSID\\{C0FFEE31-5EED-4BAD-9A11-000000000031}", "InprocServer32"));
    EXPECT_TRUE(t.IsKey);
    EXPECT_EQ("\\HKEY_CLASSES_ROOT\\CLSID\\{C0FFEE31-5EED-4BAD-9A11-000000000031}\\InprocServer32\\", t.TreePath.str());
    EXPECT_TRUE(t.ValueName.IsEmpty());
}

}  // namespace
