// CRegistry against the real (Wine) registry: every case works below its
// own throwaway key under HKCU and removes it afterwards.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include <vantor/Registry.h>

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[64];
        wsprintfA(name, "Software\\VantorTests\\Registry%lu_%lu", GetCurrentProcessId(), GetTickCount());
        m_path = name;
        SHDeleteKeyA(HKEY_CURRENT_USER, m_path.c_str());
    }
    void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, m_path.c_str()); }

    bool KeyExists(const std::string& path)
    {
        HKEY key = NULL;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }
    void Seed(const std::string& path, const char* name, DWORD type, const void* data, DWORD size)
    {
        HKEY key = NULL;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                                 &key, NULL));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size));
        RegCloseKey(key);
    }
    bool QueryRaw(const char* name, DWORD& type, std::string& data)
    {
        HKEY key = NULL;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        DWORD size = 0;
        LONG rc = RegQueryValueExA(key, name, NULL, &type, NULL, &size);
        if (rc == ERROR_SUCCESS) {
            data.assign(size, '\0');
            rc = RegQueryValueExA(key, name, NULL, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
        }
        RegCloseKey(key);
        return rc == ERROR_SUCCESS;
    }

    std::string m_path;
};

TEST_F(RegistryTest, OpenCreatesOnlyWhenAsked)
{
    CRegistry reg(HKEY_CURRENT_USER);
    EXPECT_FALSE(reg.Open(HKEY_CURRENT_USER, m_path.c_str(), FALSE));
    EXPECT_EQ(NULL, reg.GetKey());
    EXPECT_FALSE(KeyExists(m_path)) << "an open-only call must not create the key";

    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, m_path.c_str(), TRUE));
    EXPECT_NE(HKEY(NULL), reg.GetKey());
    EXPECT_TRUE(KeyExists(m_path));
    EXPECT_TRUE(reg.WriteDWORD("Probe", 1)) << "the created key must be writable";
    reg.Close();
    EXPECT_EQ(NULL, reg.GetKey());

    CRegistry again(HKEY_CURRENT_USER);
    ASSERT_TRUE(again.Open(HKEY_CURRENT_USER, m_path.c_str(), FALSE)) << "an existing key opens without create";
    DWORD value = 0;
    EXPECT_TRUE(again.ReadDWORD("Probe", value));
    EXPECT_EQ(1u, value);
    EXPECT_TRUE(again.WriteDWORD("Probe", 2)) << "open-only still gives write access";
}

TEST_F(RegistryTest, CallsWithoutAnOpenKeyFailCleanly)
{
    CRegistry reg(HKEY_CURRENT_USER);
    DWORD value = 7;
    CString text("unchanged");
    char buffer[4];
    EXPECT_FALSE(reg.VerifyValue("x"));
    EXPECT_FALSE(reg.ReadDWORD("x", value));
    EXPECT_FALSE(reg.WriteDWORD("x", 1));
    EXPECT_FALSE(reg.ReadString("x", text));
    EXPECT_FALSE(reg.WriteString("x", "y", FALSE));
    EXPECT_FALSE(reg.Read("x", buffer, sizeof(buffer)));
    EXPECT_FALSE(reg.Write("x", buffer, sizeof(buffer)));
    EXPECT_FALSE(reg.DeleteValue("x"));
    EXPECT_EQ(7u, value);
    EXPECT_EQ(CString("unchanged"), text);
}

TEST_F(RegistryTest, DwordValues)
{
    CRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, m_path.c_str(), TRUE));
    EXPECT_FALSE(reg.VerifyValue("LastRegBackup"));
    ASSERT_TRUE(reg.WriteDWORD("LastRegBackup", 0xFEDCBA98u));
    EXPECT_TRUE(reg.VerifyValue("LastRegBackup"));

    DWORD type = 0;
    std::string raw;
    ASSERT_TRUE(QueryRaw("LastRegBackup", type, raw));
    EXPECT_EQ(DWORD(REG_DWORD), type);
    ASSERT_EQ(4u, raw.size());

    DWORD value = 0;
    EXPECT_TRUE(reg.ReadDWORD("LastRegBackup", value));
    EXPECT_EQ(0xFEDCBA98u, value);

    value = 5;
    EXPECT_FALSE(reg.ReadDWORD("Missing", value));
    EXPECT_EQ(5u, value) << "a failed read leaves the caller's value alone";

    ASSERT_TRUE(reg.WriteString("Text", "abc", FALSE));  // 4 bytes with its NUL, but text
    EXPECT_FALSE(reg.ReadDWORD("Text", value));
    const unsigned char eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_TRUE(reg.Write("Eight", eight, sizeof(eight)));
    EXPECT_FALSE(reg.ReadDWORD("Eight", value));
    EXPECT_EQ(5u, value);
}

TEST_F(RegistryTest, StringValues)
{
    CRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, m_path.c_str(), TRUE));

    ASSERT_TRUE(reg.WriteString("OVN Path", "C:\\Program Files\\Vantor\\toolhost.exe", FALSE));
    CString text;
    ASSERT_TRUE(reg.ReadString("OVN Path", text));
    EXPECT_EQ(CString("C:\\Program Files\\Vantor\\toolhost.exe"), text);
    DWORD type = 0;
    std::string raw;
    ASSERT_TRUE(QueryRaw("OVN Path", type, raw));
    EXPECT_EQ(DWORD(REG_SZ), type);

    // Expandable text is stored as such and read back unexpanded.
    ASSERT_TRUE(reg.WriteString("Expand", "%SystemRoot%\\system32", TRUE));
    ASSERT_TRUE(QueryRaw("Expand", type, raw));
    EXPECT_EQ(DWORD(REG_EXPAND_SZ), type);
    ASSERT_TRUE(reg.ReadString("Expand", text));
    EXPECT_EQ(CString("%SystemRoot%\\system32"), text);

    // Code page 936 bytes ("注册表") pass through untouched.
    const char gbk[] = "\xd7\xa2\xb2\xe1\xb1\xed";
    ASSERT_TRUE(reg.WriteString("Chinese", gbk, FALSE));
    ASSERT_TRUE(reg.ReadString("Chinese", text));
    EXPECT_EQ(CString(gbk), text);

    // Far beyond any fixed buffer.
    std::string longText(100000, 'x');
    for (size_t i = 0; i < longText.size(); i += 97) longText[i] = char('a' + i % 26);
    ASSERT_TRUE(reg.WriteString("Long", longText.c_str(), FALSE));
    ASSERT_TRUE(reg.ReadString("Long", text));
    EXPECT_EQ(longText, text.str());

    ASSERT_TRUE(reg.WriteString("Empty", "", FALSE));
    text = "old";
    ASSERT_TRUE(reg.ReadString("Empty", text));
    EXPECT_TRUE(text.IsEmpty());

    text = "kept";
    EXPECT_FALSE(reg.ReadString("Missing", text));
    ASSERT_TRUE(reg.WriteDWORD("Number", 3));
    EXPECT_FALSE(reg.ReadString("Number", text)) << "a DWORD is not text";
    EXPECT_EQ(CString("kept"), text);
}

TEST_F(RegistryTest, StringsStoredWithoutOrWithExtraNuls)
{
    Seed(m_path, "NoNul", REG_SZ, "abc", 3);
    Seed(m_path, "TwoNuls", REG_SZ, "abc\0\0", 5);
    CRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, m_path.c_str(), FALSE));
    CString text;
    ASSERT_TRUE(reg.ReadString("NoNul", text));
    EXPECT_EQ(CString("abc"), text);
    ASSERT_TRUE(reg.ReadString("TwoNuls", text));
    EXPECT_EQ(3, text.GetLength());
}

TEST_F(RegistryTest, BinaryValuesAndSizes)
{
    CRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, m_path.c_str(), TRUE));

    // A filter table: N records of 81 bytes.
    std::vector<unsigned char> table(46 * 81);
    for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<unsigned char>(i * 7 + 3);
    ASSERT_TRUE(reg.Write("JunkFileFilters", table.data(), DWORD(table.size())));
    DWORD type = 0;
    std::string raw;
    ASSERT_TRUE(QueryRaw("JunkFileFilters", type, raw));
    EXPECT_EQ(DWORD(REG_BINARY), type);
    EXPECT_EQ(table.size(), raw.size());

    std::vector<unsigned char> back(table.size() + 100, 0xEE);
    DWORD stored = 0;
    ASSERT_TRUE(reg.Read("JunkFileFilters", back.data(), DWORD(back.size()), &stored));
    EXPECT_EQ(DWORD(table.size()), stored);
    EXPECT_TRUE(std::equal(table.begin(), table.end(), back.begin()));
    EXPECT_EQ(0xEE, back[table.size()]) << "nothing written past the stored length";

    ASSERT_TRUE(reg.Read("JunkFileFilters", back.data(), DWORD(table.size())));  // exact fit

    // Too small a buffer: refused, and the stored length is reported.
    stored = 0;
    EXPECT_FALSE(reg.Read("JunkFileFilters", back.data(), DWORD(table.size() - 1), &stored));
    EXPECT_EQ(DWORD(table.size()), stored);

    EXPECT_FALSE(reg.Read("Missing", back.data(), DWORD(back.size()), &stored));

    ASSERT_TRUE(reg.Write("Nothing", back.data(), 0));
    ASSERT_TRUE(QueryRaw("Nothing", type, raw));
    EXPECT_EQ(DWORD(REG_BINARY), type);
    EXPECT_TRUE(raw.empty());
    ASSERT_TRUE(reg.Read("Nothing", back.data(), DWORD(back.size()), &stored));
    EXPECT_EQ(0u, stored);
}

TEST_F(RegistryTest, DeleteValueIncludingTheDefault)
{
    Seed(m_path, "", REG_SZ, "default", 8);
    Seed(m_path, "Named", REG_SZ, "named", 6);
    CRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, m_path.c_str(), FALSE));
    ASSERT_TRUE(reg.VerifyValue(""));

    EXPECT_TRUE(reg.DeleteValue(""));
    EXPECT_FALSE(reg.VerifyValue(""));
    EXPECT_TRUE(reg.VerifyValue("Named")) << "deleting the default value keeps the others";

    EXPECT_TRUE(reg.DeleteValue("Named"));
    EXPECT_FALSE(reg.VerifyValue("Named"));
    EXPECT_FALSE(reg.DeleteValue("Named")) << "a value that is gone cannot be deleted again";
    EXPECT_TRUE(KeyExists(m_path)) << "the key itself stays";
}

std::vector<std::string> EnumNames(const std::string& path)
{
    std::vector<std::string> names;
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    char name[512];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof(name);
        if (RegEnumValueA(key, i, name, &length, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

std::vector<std::string> ToVector(const CStringArray& names)
{
    std::vector<std::string> out;
    for (int i = 0; i < names.GetSize(); ++i) out.push_back(names[i].str());
    return out;
}

TEST_F(RegistryTest, ListValuesBelowTheOpenKey)
{
    const std::string folders = m_path + "\\folders";
    const DWORD three = 3;
    Seed(folders, "c:\\games", REG_DWORD, &three, 4);
    Seed(folders, "d:\\photos\\2004", REG_DWORD, &three, 4);
    Seed(folders, " ", REG_DWORD, &three, 4);
    Seed(folders, "e:\\\xce\xc4\xbc\xfe", REG_DWORD, &three, 4);  // "文件"
    Seed(m_path, "NotInFolders", REG_DWORD, &three, 4);

    CRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, m_path.c_str(), TRUE));
    CStringArray names;
    names.Add("stale");
    ASSERT_TRUE(reg.ListValues("folders", names));
    EXPECT_EQ(EnumNames(folders), ToVector(names)) << "every name once, in enumeration order, nothing stale";
    EXPECT_EQ(4, names.GetSize());

    ASSERT_TRUE(reg.ListValues("", names)) << "an empty path lists the open key itself";
    EXPECT_EQ(EnumNames(m_path), ToVector(names));

    EXPECT_FALSE(reg.ListValues("NoSuchKey", names));
    EXPECT_EQ(0, names.GetSize());
    EXPECT_FALSE(KeyExists(m_path + "\\NoSuchKey")) << "listing never creates";
}

TEST_F(RegistryTest, ListValuesBelowTheRootWhenNothingIsOpen)
{
    const std::string fixed = m_path + "\\RegCleanFix";
    Seed(fixed, "ActiveX", REG_DWORD, "\1\0\0\0", 4);
    Seed(fixed, "StartUp", REG_DWORD, "\0\0\0\0", 4);
    Seed(fixed, "", REG_SZ, "d", 2);

    CRegistry reg(HKEY_CURRENT_USER);
    CStringArray names;
    ASSERT_TRUE(reg.ListValues(fixed.c_str(), names));
    EXPECT_EQ(EnumNames(fixed), ToVector(names));
    EXPECT_EQ(3, names.GetSize()) << "the default value is listed as the empty name";

    // After Close the root is used again.
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, m_path.c_str(), FALSE));
    reg.Close();
    ASSERT_TRUE(reg.ListValues(fixed.c_str(), names));
    EXPECT_EQ(3, names.GetSize());

    CRegistry other(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(other.ListValues(fixed.c_str(), names)) << "the path is looked up under the accessor's own root";
}

TEST_F(RegistryTest, LongValueNamesAreListedWhole)
{
    const std::string name(600, 'n');
    Seed(m_path, name.c_str(), REG_DWORD, "\0\0\0\0", 4);
    CRegistry reg(HKEY_CURRENT_USER);
    CStringArray names;
    ASSERT_TRUE(reg.ListValues(m_path.c_str(), names));
    ASSERT_EQ(1, names.GetSize());
    EXPECT_EQ(name, names[0].str());
}

// Handles are handed out from the lowest free slot, so the value of a fresh
// handle grows with every handle leaked before it. (Wine has no handle count.)
uintptr_t NextHandleSlot()
{
    HANDLE event = CreateEventA(NULL, TRUE, FALSE, NULL);
    const uintptr_t slot = reinterpret_cast<uintptr_t>(event);
    CloseHandle(event);
    return slot;
}

TEST_F(RegistryTest, KeysAreClosedAfterUse)
{
    Seed(m_path + "\\folders", "c:\\x", REG_DWORD, "\3\0\0\0", 4);
    {
        CRegistry reg(HKEY_CURRENT_USER);  // warm up whatever the first call keeps
        CStringArray names;
        reg.Open(HKEY_CURRENT_USER, m_path.c_str(), TRUE);
        reg.ListValues("folders", names);
    }
    const uintptr_t before = NextHandleSlot();
    for (int i = 0; i < 100; ++i) {
        CRegistry reg(HKEY_CURRENT_USER);
        CStringArray names;
        ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, m_path.c_str(), TRUE));
        ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, m_path.c_str(), FALSE));  // reopening drops the first key
        ASSERT_TRUE(reg.ListValues("folders", names));
        reg.ListValues("missing", names);
        if (i % 2) reg.Close();  // and the destructor closes what is still open
    }
    EXPECT_LE(NextHandleSlot(), before + 8 * sizeof(void*)) << "registry handles leak";
}

}  // namespace
