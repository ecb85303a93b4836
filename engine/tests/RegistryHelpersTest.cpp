#include "RegistryHelpers.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
constexpr char kSandbox[] = "Software\\QvEngineTest";

class RegistryHelpersTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSandbox);
        RemoveAutorun("QvTestAgent");
        RemoveUninstallInfo("QvTestProduct");
    }

    // Stores raw bytes, so that values without a terminating zero can be made.
    void SetRaw(const char* pszValue, DWORD dwType, const void* pData, DWORD cb)
    {
        HKEY hKey = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSandbox, 0, nullptr, 0, KEY_WRITE, nullptr,
                                  &hKey, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(hKey, pszValue, 0, dwType, static_cast<const BYTE*>(pData), cb);
        RegCloseKey(hKey);
    }
};
} // namespace

TEST_F(RegistryHelpersTest, StringRoundTripStoresTheTerminatingZero)
{
    ASSERT_TRUE(RegistrySetString(HKEY_LOCAL_MACHINE, kSandbox, "Dir", "C:\\Program Files\\Q"));
    EXPECT_TRUE(RegistryValueExists(HKEY_LOCAL_MACHINE, kSandbox, "Dir"));
    DWORD cb = 0, dwType = 0;
    RegGetValueA(HKEY_LOCAL_MACHINE, kSandbox, "Dir", RRF_RT_ANY, &dwType, nullptr, &cb);
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(cb, sizeof("C:\\Program Files\\Q"));
    TxString s;
    ASSERT_TRUE(RegistryGetString(HKEY_LOCAL_MACHINE, kSandbox, "Dir", s));
    EXPECT_STREQ(s.GetText(), "C:\\Program Files\\Q");
    RegistryDeleteValue(HKEY_LOCAL_MACHINE, kSandbox, "Dir");
    EXPECT_FALSE(RegistryValueExists(HKEY_LOCAL_MACHINE, kSandbox, "Dir"));
}

TEST_F(RegistryHelpersTest, GetStringReadsAwkwardValuesSafely)
{
    std::string s511(511, 'a');
    std::string s512(512, 'b');
    SetRaw("NoZero", REG_SZ, "abc", 3);
    SetRaw("Fits", REG_SZ, s511.c_str(), 512);
    SetRaw("FullNoZero", REG_SZ, s512.c_str(), 512);
    SetRaw("TooLong", REG_SZ, s512.c_str(), 513);
    DWORD dw = 7;
    SetRaw("Number", REG_DWORD, &dw, sizeof(dw));
    SetRaw("Expand", REG_EXPAND_SZ, "%TEMP%", 7);

    struct Case
    {
        const char* pszValue;
        bool bExpected;
        std::string text;
    } cases[] = {
        {"NoZero", true, "abc"},   {"Fits", true, s511},       {"TooLong", false, "keep"},
        {"Number", false, "keep"}, {"Expand", true, "%TEMP%"}, {"Missing", false, "keep"},
    };
    for (const Case& c : cases)
    {
        TxString s("keep");
        EXPECT_EQ(RegistryGetString(HKEY_LOCAL_MACHINE, kSandbox, c.pszValue, s), c.bExpected)
            << c.pszValue;
        EXPECT_EQ(std::string(s.GetText()), c.text) << c.pszValue;
    }
    // 512 bytes without a zero: the system may or may not ask for room for
    // one; either a terminated copy or a refusal is sound, never more.
    TxString s("keep");
    bool bRead = RegistryGetString(HKEY_LOCAL_MACHINE, kSandbox, "FullNoZero", s);
    EXPECT_EQ(std::string(s.GetText()), bRead ? s512 : std::string("keep"));
}

TEST_F(RegistryHelpersTest, MissingKeysAreReportedNotThrown)
{
    TxString s;
    EXPECT_FALSE(RegistryValueExists(HKEY_LOCAL_MACHINE, "Software\\QvNoSuchKey", "x"));
    EXPECT_FALSE(RegistryGetString(HKEY_LOCAL_MACHINE, "Software\\QvNoSuchKey", "x", s));
    EXPECT_FALSE(RegistryDeleteKey(HKEY_LOCAL_MACHINE, "Software\\QvNoSuchKey"));
    RegistryDeleteValue(HKEY_LOCAL_MACHINE, "Software\\QvNoSuchKey", "x");
    EXPECT_FALSE(RemoveUninstallInfo(""));
}

TEST_F(RegistryHelpersTest, AutorunValueLifecycle)
{
    EXPECT_FALSE(AutorunExists("QvTestAgent"));
    ASSERT_TRUE(SetAutorun("QvTestAgent", "\"C:\\Q\\QvAgent.exe\" /r"));
    EXPECT_TRUE(AutorunExists("QvTestAgent"));
    RemoveAutorun("QvTestAgent");
    EXPECT_FALSE(AutorunExists("QvTestAgent"));
}

TEST_F(RegistryHelpersTest, UninstallEntryHoldsItsThreeValues)
{
    UninstallInfo info;
    info.sName = "QvTestProduct";
    info.sDisplayName = "Quorvane";
    info.sUninstallCommand = "\"C:\\Q\\Uninstall.exe\"";
    info.sDisplayIcon = "C:\\Q\\QvManag.exe";
    ASSERT_TRUE(AddUninstallInfo(info));
    std::string key = std::string(REG_UNINSTALL_ROOT) + "QvTestProduct";
    TxString s;
    ASSERT_TRUE(RegistryGetString(HKEY_LOCAL_MACHINE, key.c_str(), "DisplayName", s));
    EXPECT_STREQ(s.GetText(), "Quorvane");
    ASSERT_TRUE(RegistryGetString(HKEY_LOCAL_MACHINE, key.c_str(), "UninstallString", s));
    EXPECT_STREQ(s.GetText(), "\"C:\\Q\\Uninstall.exe\"");
    ASSERT_TRUE(RegistryGetString(HKEY_LOCAL_MACHINE, key.c_str(), "DisplayIcon", s));
    EXPECT_STREQ(s.GetText(), "C:\\Q\\QvManag.exe");
    EXPECT_TRUE(RemoveUninstallInfo("QvTestProduct"));
    EXPECT_FALSE(RegistryValueExists(HKEY_LOCAL_MACHINE, key.c_str(), "DisplayName"));
}
