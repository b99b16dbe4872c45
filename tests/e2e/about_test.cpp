// The about box opened from the tray menu: where it stands, what it shows,
// its link buttons' tips and commands with the maker's values stored,
// changed and missing, and the ways of closing it.
#include "harness.h"

#include "resource.h"

namespace e2e {
namespace {

constexpr wchar_t kBox[] = L"About Orvanel";
const std::wstring kHome = L"https://www.kestrane.example/orvanel/", kEmail = L"support@kestrane.example";

class About : public E2ETest {
protected:
    void SetUp() override {
        E2ETest::SetUp();
        if (!HasNotificationArea()) GTEST_SKIP() << "no notification area";
    }
    static HWND Open(const Orvanel& app) {
        ChooseFromMenu(app.Window(), L"About...");
        return WaitShown(L"#32770", kBox, 5000);
    }
    // Rests the pointer on a button until its tip shows; the tip's text.
    static std::wstring TipOf(HWND box, int id) {
        const POINT at = Centre(::GetDlgItem(box, id));
        MoveTo({5, 5});
        Pause(300);
        MoveTo({at.x - 4, at.y});
        MoveTo(at);
        WaitFor([] { return !Text(Shown(L"tooltips_class32", nullptr)).empty(); }, 3000);
        return Text(Shown(L"tooltips_class32", nullptr));
    }
    // Both tips and both buttons' commands name the home page and the address.
    static void CheckLinks(const Orvanel& app, HWND box, const std::wstring& home, const std::wstring& email) {
        EXPECT_EQ(TipOf(box, IDC_ABOUT_HOMEPAGE) + L"|" + TipOf(box, IDC_ABOUT_EMAIL), L" " + home + L" | " + email + L" ");
        const std::size_t before = app.Started(L"explorer.exe").size();
        Click(Centre(::GetDlgItem(box, IDC_ABOUT_EMAIL)));
        Click(Centre(::GetDlgItem(box, IDC_ABOUT_HOMEPAGE)));
        ASSERT_TRUE(WaitFor([&] { return app.Started(L"explorer.exe").size() == before + 2; }, 10000));
        const std::vector<std::wstring> lines = app.Commands(L"explorer.exe");
        EXPECT_EQ(std::vector<std::wstring>(lines.end() - 2, lines.end()),
                  (std::vector<std::wstring>{L"explorer mailto:" + email, L"explorer " + home}));
        EXPECT_TRUE(::IsWindowVisible(box)) << "the box stays open beside them";
    }
    static bool Gone(HWND box) { return WaitFor([box] { return !::IsWindow(box); }, 3000); }
};

TEST_F(About, ShowsTheProgramInGoldCentredWithTheFocusOnSendEmailAtEveryScale) {
    Orvanel app;
    const HWND box = Open(app);
    ASSERT_NE(box, nullptr);
    RECT r{};
    ::GetWindowRect(box, &r);
    EXPECT_LE(std::abs((r.left + r.right) - ::GetSystemMetrics(SM_CXSCREEN)), 2) << "centred across";
    EXPECT_LE(std::abs((r.top + r.bottom) - ::GetSystemMetrics(SM_CYSCREEN)), 2) << "centred down";
    std::wstring texts;
    for (const int id : {IDC_ABOUT_TITLE, IDC_ABOUT_VERSION, IDC_ABOUT_STATEMENT, IDC_ABOUT_EMAIL, IDC_ABOUT_HOMEPAGE, IDC_ABOUT_OK}) {
        texts += Text(::GetDlgItem(box, id)) + L"|";
    }
    EXPECT_EQ(texts, L"Orvanel|Version 1.0|Kestrane is the name under which the Orvanel developers publish their software.|"
                     L"&Send Email|&Get Latest Version|&Ok|");
    EXPECT_EQ(FocusId(), IDC_ABOUT_EMAIL);
    for (const int id : {IDC_ABOUT_TITLE, IDC_ABOUT_STATEMENT}) {
        EXPECT_TRUE(WaitFor([&] { return CaptureWindow(::GetDlgItem(box, id)).Count(Gold) > 100; }, 3000))
            << "the label " << id << " is painted in gold";
    }
    CaptureWindow(box, 10).Save(L"about-" + std::to_wstring(::GetDpiForSystem()));
    ClickButton(box, L"Ok");
    EXPECT_TRUE(Gone(box)) << "Ok closes it";
}

TEST_F(About, TheLinksUseTheStoredAddressesElseTheStringTablesAndWriteNothing) {
    Orvanel app;  // its start-up stored the string table's addresses
    const std::wstring home = L"https://mirror.kestrane.example/get/", email = L"sales@kestrane.example";
    Store(L"Web Page", Encoded(home), HKEY_LOCAL_MACHINE, kMakerKey);
    Store(L"Email", Encoded(email), HKEY_LOCAL_MACHINE, kMakerKey);
    HWND box = Open(app);
    CheckLinks(app, box, home, email);
    ::PostMessageW(box, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Gone(box)) << "the title bar's close closes it";

    Forget(HKEY_LOCAL_MACHINE, kMakerKey);
    box = Open(app);
    CheckLinks(app, box, kHome, kEmail);
    EXPECT_FALSE(Stored(L"Email", HKEY_LOCAL_MACHINE, kMakerKey)) << "the box writes nothing";
    Key(VK_ESCAPE);
    EXPECT_TRUE(Gone(box)) << "Escape closes it";

    box = Open(app);
    ChooseFromMenu(app.Window(), L"About...");
    Pause(500);
    ::PostMessageW(box, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Gone(box));
    EXPECT_EQ(Shown(L"#32770", kBox), nullptr) << "a second About... opened no second box";
    EXPECT_TRUE(app.Running());
    wchar_t windows[MAX_PATH] = L"";
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    for (const Program& explorer : app.Started(L"explorer.exe")) {
        EXPECT_EQ(::_wcsnicmp(explorer.image.c_str(), windows, wcslen(windows)), 0) << testing::PrintToString(explorer.image);
    }
}

}  // namespace
}  // namespace e2e
