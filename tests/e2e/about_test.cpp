// The about box opened from the tray menu: what it shows, and its link
// buttons' commands with the maker's addresses stored and missing.
#include "harness.h"

#include <algorithm>

#include "resource.h"

namespace e2e {
namespace {

const std::wstring kHome = L"https://www.kestrane.example/orvanel/", kEmail = L"support@kestrane.example";

class About : public E2ETest {
protected:
    static HWND Open(const Orvanel& app) {
        ChooseFromMenu(app.Window(), L"About...");
        return WaitShown(L"#32770", L"About Orvanel");
    }
    // Both buttons pressed: the commands they started, in order.
    static std::vector<std::wstring> Links(const Orvanel& app, HWND box) {
        const std::size_t before = app.Started(L"explorer.exe").size();
        Click(Centre(::GetDlgItem(box, IDC_ABOUT_EMAIL)));
        Click(Centre(::GetDlgItem(box, IDC_ABOUT_HOMEPAGE)));
        WaitFor([&] { return app.Started(L"explorer.exe").size() == before + 2; }, 10000);
        const std::vector<std::wstring> lines = app.Started(L"explorer.exe");
        return {lines.begin() + static_cast<std::ptrdiff_t>(std::min(before, lines.size())), lines.end()};
    }
};

// From a copy with programs and a library planted beside it: the links
// start Windows' own explorer, and no library is loaded from there.
TEST_F(About, ShowsTheVersionAndItsLinksStartTheStoredAddressesElseTheBuiltInOnes) {
    const std::wstring copy = PlantedCopy(L"Orvanel Copy");
    Orvanel app(true, copy);
    EXPECT_EQ(Stored(L"Email", HKEY_LOCAL_MACHINE, kMakerKey), Encoded(kEmail)) << "start-up stored the string table's";
    EXPECT_EQ(Stored(L"Web Page", HKEY_LOCAL_MACHINE, kMakerKey), Encoded(kHome));
    const std::wstring home = L"https://mirror.kestrane.example/get/", email = L"sales@kestrane.example";
    Store(L"Web Page", Encoded(home), HKEY_LOCAL_MACHINE, kMakerKey);
    Store(L"Email", Encoded(email), HKEY_LOCAL_MACHINE, kMakerKey);
    HWND box = Open(app);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Text(::GetDlgItem(box, IDC_ABOUT_TITLE)) + L" " + Text(::GetDlgItem(box, IDC_ABOUT_VERSION)), L"Orvanel Version 1.0");
    EXPECT_EQ(Links(app, box), (std::vector<std::wstring>{L"explorer mailto:" + email, L"explorer " + home}));
    EXPECT_TRUE(::IsWindowVisible(box)) << "the box stays open beside them";
    ClickButton(box, L"Ok");
    EXPECT_TRUE(WaitClosed(box));

    Forget(HKEY_LOCAL_MACHINE, kMakerKey);
    box = Open(app);
    EXPECT_EQ(Links(app, box), (std::vector<std::wstring>{L"explorer mailto:" + kEmail, L"explorer " + kHome}));
    EXPECT_FALSE(Stored(L"Email", HKEY_LOCAL_MACHINE, kMakerKey)) << "the box writes nothing";
    Key(VK_ESCAPE);
    EXPECT_TRUE(WaitClosed(box));
    EXPECT_EQ(PlantedRan(copy), std::vector<std::wstring>{});
}

}  // namespace
}  // namespace e2e
