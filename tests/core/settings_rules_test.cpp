#include "settings_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvanel {
namespace {

TEST(StoredPath, SplitsIntoTheDrivePartAndTheRest) {
    struct Case { const wchar_t* stored; const wchar_t* drive; const wchar_t* folder; };
    const Case cases[] = {
        {L"D:\\Data\\Work", L"D:", L"\\Data\\Work"},
        {L"C", L"C", L""},  // nothing stored: the default
        {L"", L"", L""},
        {L"D:\\", L"D:", L"\\"},
        {L"E:", L"E:", L""},
    };
    for (const Case& c : cases) {
        const StoredPathParts parts = SplitStoredPath(c.stored);
        EXPECT_EQ(parts.drive, c.drive) << c.stored;
        EXPECT_EQ(parts.folder, c.folder) << c.stored;
    }
}

TEST(StoredPath, DrivePartNamesALetterOnlyWhenItIsOne) {
    EXPECT_EQ(DriveLetterOf(L"D:"), L'D');
    EXPECT_EQ(DriveLetterOf(L"d:"), L'D');
    EXPECT_EQ(DriveLetterOf(L"C"), L'C');
    EXPECT_EQ(DriveLetterOf(L"z"), L'Z');
    for (const wchar_t* none : {L"", L"\\\\", L"1:", L"D?", L":", L"\u00c4:", L"D:\\"}) {
        EXPECT_EQ(DriveLetterOf(none), std::nullopt) << "drive part: " << testing::PrintToString(std::wstring(none));
    }
}

TEST(LetterRule, ExactlyOneLetterAToZInEitherCase) {
    for (const wchar_t* good : {L"A", L"Z", L"a", L"z", L"y", L"M"}) {
        EXPECT_TRUE(IsDriveLetterText(good)) << testing::PrintToString(std::wstring(good));
    }
    for (const wchar_t* bad : {L"", L"xy", L"1", L"X:", L" X", L"X ", L"@", L"[", L"`", L"{",
                               L"\u00e9", L"\uff21" /* fullwidth A */}) {
        EXPECT_FALSE(IsDriveLetterText(bad)) << testing::PrintToString(std::wstring(bad));
    }
}

// A machine with C: a disk and Q: mapped to D:\Data\Work.
LetterUse UseOnTestMachine(wchar_t letter) {
    if (letter == L'C') return {true, L"\\Device\\HarddiskVolume1"};
    if (letter == L'Q') return {true, L"\\??\\D:\\Data\\Work"};
    return {};
}

TEST(SaveChecks, AcceptsAFreeLetterAndAMappableFolder) {
    std::vector<wchar_t> asked;
    const auto use_of = [&](wchar_t letter) {
        asked.push_back(letter);
        return UseOnTestMachine(letter);
    };
    EXPECT_EQ(CheckSettingsToSave(L"y", L"D:\\Data\\Work", true, use_of), std::nullopt);
    // The letter is looked up in upper case, whatever was typed.
    EXPECT_EQ(asked, std::vector<wchar_t>{L'Y'});
    EXPECT_EQ(CheckSettingsToSave(L"X", L"D:\\", true, use_of), std::nullopt);
}

TEST(SaveChecks, RefusesAnythingButOneLetterAndPointsAtTheLetterBox) {
    const auto refusal = CheckSettingsToSave(L"X:", L"D:\\Data", true, UseOnTestMachine);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->field, SaveField::Letter);
    EXPECT_NE(refusal->message.find(L"A to Z"), std::wstring::npos) << refusal->message;
}

TEST(SaveChecks, RefusesALetterInUseByNameUnlessItMapsTheChosenFolder) {
    const auto disk = CheckSettingsToSave(L"c", L"D:\\Data", true, UseOnTestMachine);
    ASSERT_TRUE(disk);
    EXPECT_EQ(disk->field, SaveField::Letter);
    EXPECT_NE(disk->message.find(L"C:"), std::wstring::npos) << disk->message;

    const auto other_folder = CheckSettingsToSave(L"Q", L"D:\\Data", true, UseOnTestMachine);
    ASSERT_TRUE(other_folder);
    EXPECT_NE(other_folder->message.find(L"Q:"), std::wstring::npos) << other_folder->message;

    // Already mapped to the very folder: saving it again is harmless.
    EXPECT_EQ(CheckSettingsToSave(L"q", L"d:\\data\\work", true, UseOnTestMachine), std::nullopt);
}

TEST(SaveChecks, RefusesAFolderTheStoreOrSubstCannotHold) {
    const auto not_ansi = CheckSettingsToSave(L"Y", L"D:\\\u65e5\u672c", false, UseOnTestMachine);
    ASSERT_TRUE(not_ansi);
    EXPECT_EQ(not_ansi->field, SaveField::Folder);
    EXPECT_NE(not_ansi->message.find(L"characters"), std::wstring::npos) << not_ansi->message;

    const std::wstring longest = L"D:\\" + std::wstring(kMaxMappedFolderLength - 3, L'a');
    ASSERT_EQ(longest.size(), 259u);
    EXPECT_EQ(CheckSettingsToSave(L"Y", longest, true, UseOnTestMachine), std::nullopt);
    const auto too_long = CheckSettingsToSave(L"Y", longest + L"b", true, UseOnTestMachine);
    ASSERT_TRUE(too_long);
    EXPECT_EQ(too_long->field, SaveField::Folder);
    EXPECT_NE(too_long->message.find(L"259"), std::wstring::npos) << too_long->message;
}

TEST(SaveChecks, TheLetterIsCheckedFirstAndInUseOnlyAfterTheFolder) {
    const std::wstring too_long(300, L'a');
    // A malformed letter wins over a bad folder.
    EXPECT_EQ(CheckSettingsToSave(L"xy", too_long, false, UseOnTestMachine)->field, SaveField::Letter);
    // A bad folder wins over a letter in use, and the machine is not asked.
    bool asked = false;
    const auto use_of = [&](wchar_t letter) {
        asked = true;
        return UseOnTestMachine(letter);
    };
    EXPECT_EQ(CheckSettingsToSave(L"C", too_long, true, use_of)->field, SaveField::Folder);
    EXPECT_FALSE(asked);
}

TEST(DriveMessages, NameTheDriveInUpperCase) {
    EXPECT_EQ(DriveMissingMessage(L'q'), L"Drive Q: does not exist.");
    EXPECT_EQ(DriveNotReadyMessage(L'E'), L"Drive E: is not ready.");
}

}  // namespace
}  // namespace orvanel
