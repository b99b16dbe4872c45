// The icon, its menu, mounting, unmounting and Exit as a user meets them,
// and the look following the drive's real mapping.
#include "harness.h"

#include <shellapi.h>

namespace e2e {
namespace {

using Tray = E2ETest;

// From a copy with programs named like subst.exe planted beside it, in its
// current folder: only the system's own may map the drive.
TEST_F(Tray, MountUnmountARefusalAndExitWhileMounted) {
    StoreSettings();
    const TrayStandIn tray;
    const std::wstring copy = PlantedCopy(L"Orvanel Copy");
    Orvanel app(true, copy);
    EXPECT_TRUE(Showing(app.Window(), Red)) << "the unmounted picture";
    EXPECT_EQ(Tip(app.Window()), L"Drive Unmounted");
    std::vector<MenuItem> menu = OpenMenu(app.Window());
    EXPECT_EQ(Look(menu), kUnmounted);
    Choose(menu, L"Mount");
    EXPECT_TRUE(Maps(letter_, folder_)) << "a folder with a blank in its path";
    EXPECT_TRUE(Showing(app.Window(), Yellow)) << "the mounted picture";
    EXPECT_EQ(Tip(app.Window()), L"Drive Mounted");
    menu = OpenMenu(app.Window());
    EXPECT_EQ(Look(menu), kMounted);
    Choose(menu, L"Unmount");
    EXPECT_TRUE(Maps(letter_, L""));
    EXPECT_TRUE(Showing(app.Window(), Red));
    menu = OpenMenu(app.Window());
    EXPECT_EQ(Look(menu), kUnmounted);
    if (StandInSubst()) {  // Windows' own subst.exe cannot be told to refuse
        const std::wstring refusal = L"Path not found - " + folder_;
        SubstFails(Narrow(refusal));
        Choose(menu, L"Mount");
        EXPECT_EQ(AnswerMessage(5000), refusal) << "subst's own words";
        EXPECT_TRUE(Showing(app.Window(), Red)) << "back to the real state";
        SubstFails("");
        menu = OpenMenu(app.Window());
    }
    Choose(menu, L"Mount");
    EXPECT_TRUE(Maps(letter_, folder_));
    EXPECT_TRUE(Exit(app));
    EXPECT_TRUE(Maps(letter_, L"")) << "Exit unmounted it";
    EXPECT_EQ(tray.Last(), static_cast<DWORD>(NIM_DELETE)) << "and removed the icon";
    EXPECT_EQ(PlantedRan(copy), std::vector<std::wstring>{});
}

// Two drives, the first mounted at start: each entry mounts and unmounts its
// own drive alone, the icon shows mounted while either is, Exit unmounts the rest.
TEST_F(Tray, TwoDrivesMountAndUnmountEachAloneAndExitUnmountsWhatIsLeft) {
    StoreSettings(true);
    const wchar_t other = FreeLetter(letter_);
    const std::wstring other_folder = TempFolder(L"Build"), key = std::wstring(kKey) + L"\\Drives\\2";
    Store(L"Drive", Encoded({other}), HKEY_CURRENT_USER, key.c_str());
    Store(L"Path", Encoded(other_folder), HKEY_CURRENT_USER, key.c_str());
    Orvanel app;
    ASSERT_TRUE(Maps(letter_, folder_)) << "the first mounted at start";
    const std::wstring first = drive_ + L"  Some Folder", second = std::wstring{other, L':'} + L"  Build";
    std::vector<MenuItem> menu = OpenMenu(app.Window());
    EXPECT_EQ(Look(menu), L"Unmount " + first + L" Mount " + second + L" - Settings - About... Help - Exit");
    Choose(menu, L"Mount " + second);
    EXPECT_TRUE(Maps(other, other_folder));
    ChooseFromMenu(app.Window(), L"Unmount " + first);
    EXPECT_TRUE(Maps(letter_, L""));
    EXPECT_TRUE(Maps(other, other_folder)) << "the second stays";
    EXPECT_TRUE(Showing(app.Window(), Yellow)) << "while either is mounted";
    EXPECT_EQ(Tip(app.Window()), std::wstring{letter_} + L": unmounted, " + other + L": mounted");
    // Its own truth: removed without a word, the menu reads it; mapped again in a console, the look follows.
    ::DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_NO_BROADCAST_SYSTEM, std::wstring{other, L':'}.c_str(), nullptr);
    EXPECT_NE(Look(OpenMenu(app.Window())).find(L"Mount " + second), std::wstring::npos);
    Key(VK_ESCAPE);
    Subst(std::wstring{other, L':'} + L" \"" + other_folder + L"\"");
    EXPECT_TRUE(Showing(app.Window(), Yellow));
    EXPECT_TRUE(Exit(app));
    EXPECT_TRUE(Maps(other, L"")) << "Exit unmounted it";
}

// Windows tells every window when a letter comes or goes; the look follows
// what the letter really maps, silently.
TEST_F(Tray, TheLookFollowsTheRealMapping) {
    StoreSettings();
    Subst(drive_ + L" \"" + folder_ + L"\"");
    Orvanel app;
    EXPECT_TRUE(Showing(app.Window(), Yellow)) << "a drive left mapped shows mounted from the start";
    Subst(drive_ + L" /d");
    EXPECT_TRUE(Showing(app.Window(), Red)) << "removed in a console";
    // Told nothing, the menu still reads the mapping as it opens.
    ::DefineDosDeviceW(DDD_NO_BROADCAST_SYSTEM, drive_.c_str(), folder_.c_str());
    const std::vector<MenuItem> menu = OpenMenu(app.Window());
    EXPECT_EQ(Look(menu), kMounted);
    Choose(menu, L"Unmount");
    EXPECT_TRUE(Maps(letter_, L""));
    EXPECT_EQ(AnswerMessage(500), L"") << "all of it without a message";
}

}  // namespace
}  // namespace e2e
