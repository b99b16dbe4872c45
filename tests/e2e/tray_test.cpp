// The icon, its menu, mounting, unmounting and Exit as a user meets them,
// with real clicks on the icon; stored folders at the edges; and the look
// following a mapping made or removed outside Orvanel.
#include "harness.h"

namespace e2e {
namespace {

using Lines = std::vector<std::wstring>;
const std::wstring kNoFolder = L"Mount:greyed - Settings - About... Help - Exit";
const std::wstring kUnmounted = L"Mount - Settings - About... Help - Exit";
const std::wstring kMounted = L"Unmount - Settings:greyed - About... Help - Exit";

class Tray : public E2ETest {
protected:
    void SetUp() override {
        E2ETest::SetUp();
        if (!HasNotificationArea()) GTEST_SKIP() << "no notification area";
    }
    void StoreFolder(const std::wstring& folder) {
        Store(L"Path", folder);
        Store(L"Drive", std::wstring(1, letter_));
    }
    static bool Showing(const Orvanel& app, bool (*colour)(std::uint32_t)) {
        return WaitFor([&] { return IconShot(app.Window()).Count(colour) > 0; }, 3000);
    }
    static std::wstring TipOf(const Orvanel& app) {
        int width = 0;
        const std::wstring tip = Tip(app.Window(), &width);
        // Only the words: the blanks after the NUL would widen the box far past them.
        EXPECT_LT(width, 120) << "the tip's box for " << testing::PrintToString(tip);
        return tip;
    }
    const std::wstring folder_ = TempFolder(L"Some Folder");
};

TEST_F(Tray, FirstStartShowsUnmountedOpensTheMenuOnTheRightPressOnlyAndExitStartsNothing) {
    Orvanel app;
    ASSERT_NE(app.Window(), nullptr);
    EXPECT_TRUE(Showing(app, Red)) << "the unmounted picture's red cross";
    EXPECT_EQ(IconShot(app.Window()).Count(Yellow), 0);
    EXPECT_EQ(TipOf(app), L"Drive Unmounted");
    Click(IconAt(app.Window()));
    EXPECT_FALSE(MenuOpen()) << "after a left click";
    Click(IconAt(app.Window()), 2);
    EXPECT_FALSE(MenuOpen()) << "after a double click";
    RightPress(IconAt(app.Window()));
    EXPECT_TRUE(WaitFor(MenuOpen, 3000)) << "the menu opens on the press itself";
    RightRelease();
    EXPECT_TRUE(MenuOpen()) << "and stays open after the release";
    EXPECT_EQ(Look(ReadMenu()), kNoFolder);
    Key(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([] { return !MenuOpen(); }, 2000)) << "Escape closes the menu";
    EXPECT_TRUE(Exit(app));
    EXPECT_EQ(app.Commands(), Lines{});
}

TEST_F(Tray, MountsAndUnmountsTheStoredFolderAndShowsWhatSubstRefuses) {
    StoreFolder(folder_);
    Orvanel app;
    std::vector<MenuItem> menu = OpenMenu(app.Window());
    EXPECT_EQ(Look(menu), kUnmounted);
    Choose(menu, L"Mount");
    ASSERT_TRUE(app.WaitCommands(1));
    EXPECT_EQ(app.Commands(), Lines{L"subst.exe " + drive_ + L" \"" + folder_ + L"\""});
    EXPECT_EQ(Mapping(letter_), L"\\??\\" + folder_);
    EXPECT_TRUE(Showing(app, Yellow)) << "the mounted picture's connector";
    EXPECT_EQ(TipOf(app), L"Drive Mounted");
    menu = OpenMenu(app.Window());
    EXPECT_EQ(Look(menu), kMounted);
    Choose(menu, L"Unmount");
    ASSERT_TRUE(app.WaitCommands(2));
    EXPECT_EQ(app.Commands().back(), L"subst.exe " + drive_ + L" /d");
    EXPECT_EQ(Mapping(letter_), L"");
    EXPECT_TRUE(WaitFor([&] { return IconShot(app.Window()).Count(Yellow) == 0; }, 3000));
    menu = OpenMenu(app.Window());
    EXPECT_EQ(Look(menu), kUnmounted);
    for (const Program& subst : app.Started(L"subst.exe")) EXPECT_EQ(subst.image, SystemFolder() + L"\\subst.exe");
    if (!StandInSubst()) return Key(VK_ESCAPE);  // Windows' own subst.exe cannot be told to refuse

    const std::wstring refusal = L"Path not found - " + folder_;
    SubstFails(Narrow(refusal));
    Choose(menu, L"Mount");
    const HWND box = WaitShown(L"#32770", L"Orvanel", 5000);
    EXPECT_EQ(Statics(box), refusal) << "subst's own words";
    ClickButton(box, L"OK");
    EXPECT_TRUE(WaitClosed(L"#32770", L"Orvanel", 3000)) << "OK closes the message";
    EXPECT_EQ(Mapping(letter_), L"");
    EXPECT_TRUE(WaitFor([&] { return IconShot(app.Window()).Count(Yellow) == 0; }, 3000));
    EXPECT_EQ(Look(OpenMenu(app.Window())), kUnmounted);
    Key(VK_ESCAPE);
}

TEST_F(Tray, ExitWhileMountedUnmountsOnceAndLeaves) {
    StoreFolder(folder_);
    Orvanel app;
    ChooseFromMenu(app.Window(), L"Mount");
    ASSERT_TRUE(app.WaitCommands(1));
    EXPECT_TRUE(Exit(app));
    ASSERT_TRUE(app.WaitCommands(2));
    EXPECT_EQ(app.Commands(), (Lines{L"subst.exe " + drive_ + L" \"" + folder_ + L"\"", L"subst.exe " + drive_ + L" /d"}));
    EXPECT_EQ(Mapping(letter_), L"");
}

TEST_F(Tray, ADrivesRootMountsWithItsBackslashDoubledBeforeTheQuote) {
    StoreFolder(L"C:\\");
    Orvanel app;
    ChooseFromMenu(app.Window(), L"Mount");
    ASSERT_TRUE(app.WaitCommands(1));
    EXPECT_EQ(app.Commands(), Lines{L"subst.exe " + drive_ + L" \"C:\\\\\""});
    EXPECT_EQ(Mapping(letter_), L"\\??\\C:\\");
    EXPECT_EQ(AnswerMessage(1000), L"");
    ChooseFromMenu(app.Window(), L"Unmount");
    ASSERT_TRUE(app.WaitCommands(2));
    EXPECT_EQ(Mapping(letter_), L"");
}

TEST_F(Tray, ADamagedStoredFolderIsRefusedAndNothingStartsOrIsWritten) {
    // The folder's text holds a NUL (stored byte ff) before an old tail.
    Value damaged = Encoded(folder_);
    damaged.data.pop_back();
    damaged.data += '\xFF' + Encoded(L"Old").data;
    Store(L"Path", damaged);
    Store(L"Drive", std::wstring(1, letter_));
    Orvanel app;
    ChooseFromMenu(app.Window(), L"Mount");
    EXPECT_NE(AnswerMessage(5000).find(L"damaged"), std::wstring::npos);
    Pause(500);
    EXPECT_EQ(app.Commands(), Lines{});
    EXPECT_EQ(Mapping(letter_), L"");
    EXPECT_EQ(Stored(L"Path"), damaged);
}

// Windows tells every window when a letter comes or goes; Orvanel's look
// follows what the letter really maps, silently.
TEST_F(Tray, TheLookFollowsAMappingMadeOrRemovedOutsideWithoutAMessage) {
    StoreFolder(folder_);
    const std::wstring other = TempFolder(L"Other Folder");
    Orvanel app;
    Subst(drive_ + L" \"" + folder_ + L"\"");
    EXPECT_TRUE(Showing(app, Yellow)) << "mapped outside to the folder: mounted";
    EXPECT_EQ(Look(OpenMenu(app.Window())), kMounted);
    Key(VK_ESCAPE);
    Subst(drive_ + L" /d");
    EXPECT_TRUE(WaitFor([&] { return IconShot(app.Window()).Count(Yellow) == 0; }, 3000)) << "removed outside";
    Subst(drive_ + L" \"" + other + L"\"");
    Pause(500);
    EXPECT_EQ(Look(OpenMenu(app.Window())), kUnmounted) << "mapped to another folder: not Orvanel's drive";
    Key(VK_ESCAPE);
    Subst(drive_ + L" /d");
    // Told nothing, the menu still reads the mapping as it opens.
    ::DefineDosDeviceW(DDD_NO_BROADCAST_SYSTEM, drive_.c_str(), folder_.c_str());
    std::vector<MenuItem> menu = OpenMenu(app.Window());
    EXPECT_EQ(Look(menu), kMounted);
    Choose(menu, L"Unmount");
    ASSERT_TRUE(app.WaitCommands(1));
    EXPECT_EQ(Mapping(letter_), L"");
    EXPECT_EQ(AnswerMessage(500), L"");
    EXPECT_EQ(app.Commands(), Lines{L"subst.exe " + drive_ + L" /d"});
}

TEST_F(Tray, ADriveLeftMappedShowsMountedFromTheStartWithoutACommand) {
    StoreFolder(folder_);
    Subst(drive_ + L" \"" + folder_ + L"\"");
    Orvanel app;
    EXPECT_TRUE(Showing(app, Yellow));
    EXPECT_EQ(Look(OpenMenu(app.Window())), kMounted);
    Key(VK_ESCAPE);
    EXPECT_EQ(app.Commands(), Lines{});
}

}  // namespace
}  // namespace e2e
