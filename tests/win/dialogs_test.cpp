// The real dialogs, opened in this process at the session's scale: every
// text reads in full, also after a change of scale, which hands each control
// its new font before the old one goes; and what the settings dialog's two
// options store.
#include <windows.h>

#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "frmAbout.h"
#include "frmSet.h"
#include "message_box.h"
#include "module.h"
#include "registry.h"
#include "resource.h"
#include "settings_rules.h"
#include "text.h"

namespace orvanel {
namespace {

using test::CutTexts;
using test::Press;
using test::WhileOpen;
using Texts = std::vector<std::wstring>;

constexpr wchar_t kSettings[] = L"Select Path to Make As drive";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kMarkKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

void ShowSettings() { ShowSettingsDialog(nullptr); }

int Controls(HWND dialog) {
    int n = 0;
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) ++n;
    return n;
}

TEST(Dialogs, EveryTextReadsInFullAtThisScaleAndAfterAChangeOfScale) {
    const UINT dpi = ::GetDpiForSystem();
    const UINT other = dpi == 96 ? 144 : 96;
    for (const auto& [title, show] : {std::pair<const wchar_t*, void (*)()>{kSettings, ShowSettings},
                                      {L"About Orvanel", ShowAboutBox}}) {
        bool opened = false;
        WhileOpen(title, show, [&, title = title](HWND dialog) {
            opened = true;
            EXPECT_EQ(CutTexts(dialog), Texts{}) << title << " at " << dpi << " DPI";
            const test::FontHandOver fonts = test::ChangeDpi(dialog, other);
            EXPECT_EQ(fonts.set, Controls(dialog)) << title;
            EXPECT_EQ(fonts.replaced_deleted, 0) << title;
            EXPECT_EQ(CutTexts(dialog), Texts{}) << title << " after a change to " << other << " DPI";
        });
        EXPECT_TRUE(opened) << title;
    }
    WhileOpen(L"Orvanel", [] { ShowAppMessage(nullptr, L"Drive Q: is already in use. Type a letter that is not a drive yet."); },
              [](HWND box) { EXPECT_EQ(CutTexts(box), Texts{}) << "the message box at " << ::GetDpiForSystem(); });
}

// A value's data in the ANSI code page, terminator included, or "missing".
std::string Raw(const wchar_t* key, const wchar_t* name) {
    const std::string k = ToAnsi(key), n = ToAnsi(name);
    DWORD size = 0;
    if (::RegGetValueA(HKEY_CURRENT_USER, k.c_str(), n.c_str(), RRF_RT_ANY, nullptr, nullptr, &size)) return "missing";
    std::string data(size, '\0');
    ::RegGetValueA(HKEY_CURRENT_USER, k.c_str(), n.c_str(), RRF_RT_ANY, nullptr, data.data(), &size);
    return data;
}
std::string Sz(const std::wstring& text) { return ToAnsi(text) + '\0'; }

class SettingsOptions : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, AppKeyPath);
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Orvanel");
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kMarkKey, L"Orvanel");
        WriteStoredFolder(L"C:\\windows");
        WriteStoredLetter(L"Q");
    }
    // Opens the dialog, shows what its two boxes hold, sets them (-1 leaves
    // one alone), presses `button`: "MOUNT SIGN-IN" as shown, then the message.
    static std::string Use(int mount, int sign_in, int button, const wchar_t* letter = L"Q") {
        std::string seen;
        WhileOpen(kSettings, ShowSettings, [&](HWND dialog) {
            for (const auto& [id, want] : {std::pair{IDC_MOUNT_AT_START, mount}, {IDC_START_AT_SIGN_IN, sign_in}}) {
                const bool ticked = ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
                seen += ticked ? "ticked " : "clear ";
                if (want >= 0 && ticked != (want == 1)) Press(dialog, id);
            }
            ::SetDlgItemTextW(dialog, IDC_DRIVE_LETTER, letter);
            const std::wstring message = Press(dialog, button);
            seen += std::string(message.begin(), message.end());
        });
        return seen;
    }
    const std::string run_value_ = Sz(L"\"" + ProgramPath() + L"\"");  // this very copy, quoted
};

TEST_F(SettingsOptions, OkStoresBothOptionsCancelAndARefusedSaveStoreNothing) {
    EXPECT_EQ(Use(1, 1, IDCANCEL), "clear clear ");
    EXPECT_EQ(Raw(L"SOFTWARE\\Kestrane\\Orvanel", L"MountAtStart") + Raw(kRunKey, L"Orvanel"), "missingmissing");
    EXPECT_EQ(Use(1, 1, IDOK, L"xy"), "clear clear Type one drive letter from A to Z, without a colon (for example Z).");
    EXPECT_EQ(Raw(L"SOFTWARE\\Kestrane\\Orvanel", L"MountAtStart") + Raw(kRunKey, L"Orvanel"), "missingmissing");

    EXPECT_EQ(Use(1, 1, IDOK), "clear clear ");
    EXPECT_EQ(Raw(L"SOFTWARE\\Kestrane\\Orvanel", L"MountAtStart"), std::string("\xCE\0", 2));  // "1", encoded
    EXPECT_EQ(Raw(kRunKey, L"Orvanel"), run_value_);
    EXPECT_EQ(Use(-1, -1, IDCANCEL), "ticked ticked ");

    EXPECT_EQ(Use(0, 0, IDOK), "ticked ticked ");
    EXPECT_EQ(Raw(L"SOFTWARE\\Kestrane\\Orvanel", L"MountAtStart"), std::string("\xCF\0", 2));  // "0"
    EXPECT_EQ(Raw(kRunKey, L"Orvanel"), "missing");
}

TEST_F(SettingsOptions, AnEntryWindowsTurnedOffShowsClearAndTickingItTurnsItOnForThisCopy) {
    const std::wstring other = L"\"C:\\Elsewhere\\Orvanel.exe\"";
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Orvanel", REG_SZ, other.c_str(),
                      static_cast<DWORD>((other.size() + 1) * sizeof(wchar_t)));
    const BYTE off[12] = {3};
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kMarkKey, L"Orvanel", REG_BINARY, off, sizeof(off));
    EXPECT_EQ(Use(-1, -1, IDOK), "clear clear ");
    EXPECT_EQ(Raw(kRunKey, L"Orvanel"), Sz(other));  // left alone: the box was left alone
    EXPECT_EQ(Use(-1, 1, IDOK), "clear clear ");
    EXPECT_EQ(Raw(kRunKey, L"Orvanel") + Raw(kMarkKey, L"Orvanel"), run_value_ + "missing");
    // Windows' mark for an entry it keeps on is even.
    const BYTE on[12] = {2};
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kMarkKey, L"Orvanel", REG_BINARY, on, sizeof(on));
    EXPECT_EQ(Use(-1, -1, IDCANCEL), "clear ticked ");
}

}  // namespace
}  // namespace orvanel
