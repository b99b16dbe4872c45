// The glue against Wine's real registry, and the check that the ANSI code
// page can hold a folder's path, since the store would keep "?" for what it can't.
#include "registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "drive_layout.h"
#include "handles.h"
#include "settings_rules.h"
#include "text.h"

namespace orvanel {
namespace {

const std::wstring kTestKey = L"SOFTWARE\\Kestrane\\OrvanelStoreTest";
const char kTestKeyAnsi[] = "SOFTWARE\\Kestrane\\OrvanelStoreTest";

struct RegistryStoreTest : ::testing::Test {
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey.c_str()); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey.c_str()); }

    // The value's bytes as the registry holds them, read past the store.
    static std::string RawValue(const char* name) {
        UniqueKey key;
        DWORD type = 0, size = 0;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kTestKeyAnsi, 0, KEY_QUERY_VALUE, key.put()) ||
            ::RegQueryValueExA(key.get(), name, nullptr, &type, nullptr, &size) || type != REG_SZ)
            return "<no REG_SZ value>";
        std::string data(size, '\0');
        ::RegQueryValueExA(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size);
        return data;
    }
    static void PutRaw(const char* name, const std::string& data) {
        ASSERT_EQ(::RegSetKeyValueA(HKEY_CURRENT_USER, kTestKeyAnsi, name, REG_SZ, data.data(),
                                    static_cast<DWORD>(data.size())), ERROR_SUCCESS);
    }
    static std::wstring Read(const wchar_t* name, const wchar_t* fallback) { return ReadRegValue(RootKey::CurrentUser, kTestKey, name, fallback); }
    static bool Write(const wchar_t* name, const std::wstring& value) { return WriteRegValue(RootKey::CurrentUser, kTestKey, name, value); }
};

TEST_F(RegistryStoreTest, StoresEncodedAnsiTextAsRegSzAndReadsEveryCodeBack) {
    ASSERT_TRUE(Write(L"Path", L"C:\\Z"));
    EXPECT_EQ(RawValue("Path"), std::string("\xBC\xC5\xA3\xA5\0", 5));
    EXPECT_EQ(Read(L"Path", L"Z"), L"C:\\Z");

    std::string ansi;
    for (int c = 1; c <= 255; ++c) ansi.push_back(static_cast<char>(c));
    ASSERT_TRUE(Write(L"Path", FromAnsi(ansi)));
    EXPECT_EQ(Read(L"Path", L"default"), FromAnsi(ansi));
    // Code 255 encodes to a zero byte and must not cut the value short.
    ASSERT_TRUE(Write(L"Drive", FromAnsi("\xFF\xFF")));
    EXPECT_EQ(Read(L"Drive", L"default"), FromAnsi("\xFF\xFF"));

    ASSERT_TRUE(Write(L"Drive", L""));
    EXPECT_EQ(RawValue("Drive"), std::string(1, '\0'));
    EXPECT_EQ(Read(L"Drive", L"Z"), L"");
    PutRaw("Path", "");  // no data bytes at all
    EXPECT_EQ(Read(L"Path", L"C"), L"");
}

TEST_F(RegistryStoreTest, MissingKeyOrValueGivesTheDefaultUntouchedLongValuesReadBackWhole) {
    EXPECT_EQ(Read(L"Drive", L"Z"), L"Z");
    for (std::size_t length : {254u, 255u, 300u, 5000u, 32766u}) {
        const std::wstring folder = L"C:\\" + std::wstring(length - 3, L'f');
        ASSERT_TRUE(Write(L"Path", folder));
        EXPECT_EQ(Read(L"Path", L"C"), folder) << length;
    }
    EXPECT_EQ(Read(L"Drive", L"C"), L"C");
}

TEST_F(RegistryStoreTest, SettingCarriesItsStatusAndKeepsANulToBeRefused) {
    const auto setting = [](const wchar_t* name) { return ReadRegSetting(RootKey::CurrentUser, kTestKey, name, L"C"); };
    EXPECT_EQ(setting(L"Drive").status, ReadStatus::Missing);
    EXPECT_EQ(setting(L"Drive").text, L"C");
    PutRaw("Path", "\xBC\xC5\xA3\xBB\xFF\xA5");  // "C:\D", NUL, "Z"
    EXPECT_EQ(setting(L"Path").status, ReadStatus::Read);
    EXPECT_EQ(setting(L"Path").text, std::wstring(L"C:\\D\0Z", 6));
    EXPECT_TRUE(CheckMountSettings(setting(L"Drive"), setting(L"Path")).has_value());
}

// The further drives' subkeys, counted, moved up and removed in the real registry.
TEST_F(RegistryStoreTest, FurtherDrivesKeysAreCountedMovedUpAndGoWithTheirEmptyParent) {
    RegistryPort& registry = SystemRegistry();
    constexpr RootKey kUser = RootKey::CurrentUser;
    for (std::size_t i = 0; i < 3; ++i)
        ASSERT_TRUE(WriteRegValue(registry, kUser, DriveKeyPath(kTestKeyAnsi, i), "Drive", std::wstring(1, static_cast<wchar_t>(L'X' + i))));
    ASSERT_TRUE(Write(L"MountAtStart", L"1"));  // the first drive's alone
    EXPECT_EQ(CountStoredDrives(registry, kUser, kTestKeyAnsi), 3u);
    ASSERT_TRUE(RemoveStoredDrive(registry, kUser, kTestKeyAnsi, 0, 3));
    EXPECT_EQ(RawValue("Drive") + RawValue("MountAtStart"), std::string("\xA6\0", 2) + "<no REG_SZ value>") << "Y moved up, as stored";
    ASSERT_TRUE(RemoveStoredDrive(registry, kUser, kTestKeyAnsi, 1, 2));
    EXPECT_EQ(CountStoredDrives(registry, kUser, kTestKeyAnsi), 1u);
    EXPECT_FALSE(registry.HasKey(kUser, kTestKeyAnsi + std::string("\\Drives")));
}

TEST(FitsAnsi, PlainPathsFitCharactersOutsideTheCodePageDoNot) {
    EXPECT_TRUE(FitsAnsi(L"") && FitsAnsi(L"C:\\Some Folder (2)\\x-y_z"));
    if (::GetACP() == CP_UTF8) GTEST_SKIP() << "a UTF-8 ANSI code page holds every character";
    EXPECT_FALSE(FitsAnsi(L"D:\\Smile \U0001F600"));
    // Best-fit mapping would store a look-alike: fullwidth A is not A.
    if (::GetACP() == 1252) { EXPECT_TRUE(FitsAnsi(L"D:\\M\u00fcller") && !FitsAnsi(L"D:\\\uff21") && !FitsAnsi(L"D:\\\u65e5")); }
}

TEST(FromOem, SubstsWordsAreReadInTheConsolesCodePage) {
    if (::GetOEMCP() == 437) { EXPECT_EQ(FromOem("Param\x8atre non valide"), L"Param\u00e8tre non valide"); }
}

}  // namespace
}  // namespace orvanel
