#include "registry_store.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "handles.h"
#include "mount_settings.h"
#include "text.h"

namespace orvanel {
namespace {

const std::wstring kTestKey = L"SOFTWARE\\Kestrane\\OrvanelStoreTest";
const std::string kTestKeyAnsi = "SOFTWARE\\Kestrane\\OrvanelStoreTest";

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey.c_str()); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey.c_str()); }

    // The value as the registry holds it, bytes and type, read past the store.
    static std::string RawValue(const char* name, DWORD* type = nullptr) {
        UniqueKey key;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kTestKeyAnsi.c_str(), 0, KEY_QUERY_VALUE, key.put()))
            return "<no key>";
        DWORD size = 0;
        if (::RegQueryValueExA(key.get(), name, nullptr, type, nullptr, &size)) return "<no value>";
        std::string data(size, '\0');
        ::RegQueryValueExA(key.get(), name, nullptr, type, reinterpret_cast<BYTE*>(data.data()), &size);
        data.resize(size);
        return data;
    }

    static void PutRaw(const char* name, const std::string& data) {
        UniqueKey key;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kTestKeyAnsi.c_str(), 0, nullptr, 0,
                                    KEY_SET_VALUE, nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExA(key.get(), name, 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(data.data()),
                                   static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }

    static std::wstring Read(const wchar_t* name, const wchar_t* fallback) {
        return ReadRegValue(RootKey::CurrentUser, kTestKey, name, fallback);
    }
    static bool Write(const wchar_t* name, const std::wstring& value) {
        return WriteRegValue(RootKey::CurrentUser, kTestKey, name, value);
    }
};

TEST_F(RegistryStoreTest, StoresEncodedAnsiTextAsRegSz) {
    ASSERT_TRUE(Write(L"Drive", L"abc"));
    DWORD type = 0;
    EXPECT_EQ(RawValue("Drive", &type), std::string("\x9E\x9D\x9C\0", 4));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(Read(L"Drive", L"Z"), L"abc");

    ASSERT_TRUE(Write(L"Path", L"C:\\Z"));
    EXPECT_EQ(RawValue("Path"), std::string("\xBC\xC5\xA3\xA5\0", 5));
}

TEST_F(RegistryStoreTest, MissingKeyOrValueGivesTheDefaultUntouched) {
    EXPECT_EQ(Read(L"Drive", L"Z"), L"Z");
    ASSERT_TRUE(Write(L"Path", L"D:\\Data"));
    EXPECT_EQ(Read(L"Drive", L"C"), L"C");
    EXPECT_EQ(Read(L"Drive", L""), L"");
}

TEST_F(RegistryStoreTest, EveryAnsiCodeSurvivesAWriteAndARead) {
    std::string ansi;
    for (int c = 1; c <= 255; ++c) ansi.push_back(static_cast<char>(c));
    const std::wstring text = FromAnsi(ansi);
    ASSERT_TRUE(Write(L"Path", text));
    EXPECT_EQ(Read(L"Path", L"default"), text);
    // Code 255 encodes to a zero byte and must not cut the value short.
    ASSERT_TRUE(Write(L"Drive", FromAnsi("\xFF\xFF")));
    EXPECT_EQ(Read(L"Drive", L"default"), FromAnsi("\xFF\xFF"));
}

TEST_F(RegistryStoreTest, LongValuesReadBackWhole) {
    for (std::size_t length : {254u, 255u, 300u, 5000u, 32766u}) {
        const std::wstring folder = L"C:\\" + std::wstring(length - 3, L'f');
        ASSERT_TRUE(Write(L"Path", folder));
        EXPECT_EQ(Read(L"Path", L"C"), folder) << length;
    }
}

TEST_F(RegistryStoreTest, EmptyTextIsStoredAndReadAsEmpty) {
    ASSERT_TRUE(Write(L"Drive", L""));
    EXPECT_EQ(RawValue("Drive"), std::string(1, '\0'));
    EXPECT_EQ(Read(L"Drive", L"Z"), L"");
    PutRaw("Path", "");  // no data bytes at all
    EXPECT_EQ(Read(L"Path", L"C"), L"");
}

TEST_F(RegistryStoreTest, SettingCarriesItsStatusAndKeepsANulToBeRefused) {
    const auto setting = [](const wchar_t* name) {
        return ReadRegSetting(RootKey::CurrentUser, kTestKey, name, L"C");
    };
    EXPECT_EQ(setting(L"Drive").status, ReadStatus::Missing);
    EXPECT_EQ(setting(L"Drive").text, L"C");
    ASSERT_TRUE(Write(L"Path", L"False"));
    EXPECT_EQ(setting(L"Path").status, ReadStatus::Read);
    EXPECT_EQ(setting(L"Path").text, L"False");

    // Stored byte 0xFF decodes to a NUL, which must reach the mount rule whole.
    PutRaw("Path", "\xBC\xC5\xA3\xBB\xFF\xA5");  // "C:\D", NUL, "Z"
    const StoredSetting damaged = setting(L"Path");
    EXPECT_EQ(damaged.text, std::wstring(L"C:\\D\0Z", 6));
    EXPECT_TRUE(CheckMountSettings(setting(L"Drive"), damaged).has_value());
}

TEST_F(RegistryStoreTest, MakerKeyUnderLocalMachineRoundTrips) {
    const std::wstring key = L"SOFTWARE\\Kestrane\\OrvanelStoreTestHklm";
    ASSERT_TRUE(WriteRegValue(RootKey::LocalMachine, key, L"Email", L"a@b.example"));
    EXPECT_EQ(ReadRegValue(RootKey::LocalMachine, key, L"Email", L"1"), L"a@b.example");
    EXPECT_EQ(ReadRegValue(RootKey::CurrentUser, key, L"Email", L"1"), L"1");
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
}

}  // namespace
}  // namespace orvanel
