#include "mount_settings.h"

#include <gtest/gtest.h>

namespace orvanel {
namespace {

StoredSetting Read(std::wstring text) { return {ReadStatus::Read, std::move(text)}; }

const StoredSetting kLetter = Read(L"X");
const StoredSetting kFolder = Read(L"D:\\Data\\Work");

TEST(MountSettings, OrdinaryAndOddPrintableValuesAreUsedAsStored) {
    for (const wchar_t* letter : {L"X", L"x", L"xy", L"", L"1", L" "}) {
        EXPECT_EQ(CheckMountSettings(Read(letter), kFolder), std::nullopt)
            << testing::PrintToString(std::wstring(letter));
    }
    for (const wchar_t* folder : {L"C:\\", L"", L"False", L"C:\\Some Folder\\", L"D:\\\u00c4\u20ac~",
                                  L"\\\\server\\share"}) {
        EXPECT_EQ(CheckMountSettings(kLetter, Read(folder)), std::nullopt)
            << testing::PrintToString(std::wstring(folder));
    }
    // Nothing stored: the defaults stand in, and they are fine.
    EXPECT_EQ(CheckMountSettings({ReadStatus::Missing, L"C"}, {ReadStatus::Missing, L""}),
              std::nullopt);
}

TEST(MountSettings, UnreadableOrControlCharactersAreDamaged) {
    const StoredSetting failed{ReadStatus::Failed, L"False"};
    const std::wstring damaged[] = {
        std::wstring(L"C:\\Data Folder\0\x01", 16), L"\x1F", L"a\tb", L"a\rb", L"\x7F",
        std::wstring(1, L'\0'),
    };

    const auto letter_refusal = CheckMountSettings(failed, kFolder);
    const auto folder_refusal = CheckMountSettings(kLetter, failed);
    ASSERT_TRUE(letter_refusal.has_value());
    ASSERT_TRUE(folder_refusal.has_value());
    EXPECT_EQ(folder_refusal->message,
              L"The folder stored in Orvanel's settings is damaged. "
              L"Choose the folder again in Settings.");
    EXPECT_NE(letter_refusal->message.find(L"drive letter"), std::wstring::npos);

    for (const std::wstring& text : damaged) {
        const auto as_letter = CheckMountSettings(Read(text), kFolder);
        const auto as_folder = CheckMountSettings(kLetter, Read(text));
        ASSERT_TRUE(as_letter.has_value()) << testing::PrintToString(text);
        ASSERT_TRUE(as_folder.has_value()) << testing::PrintToString(text);
        EXPECT_EQ(as_letter->message, letter_refusal->message);
        EXPECT_EQ(as_folder->message, folder_refusal->message);
    }
    // The first character past the controls is ordinary again.
    EXPECT_EQ(CheckMountSettings(Read(L"\x20"), Read(L"\x80")), std::nullopt);
}

}  // namespace
}  // namespace orvanel
