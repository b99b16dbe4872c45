// The real dialogs, opened in this process at the session's scale: every
// text reads in full, also after a change of scale, which hands each control
// its new font before the old one goes; and what the settings dialog's two
// options store.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "about_layout.h"
#include "dialog_driver.h"
#include "frmAbout.h"
#include "frmSet.h"
#include "message_box.h"
#include "module.h"
#include "registry.h"
#include "resource.h"
#include "settings_layout.h"
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

std::vector<HWND> Children(HWND dialog) {
    std::vector<HWND> children;
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
    return children;
}

RECT Box(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    return r;
}

// The controls (those with the ids given, else all) that overlap by more
// than an edge they share by design: a design pixel, two at 150 %.
Texts Overlapping(HWND dialog, const std::vector<int>& ids) {
    Texts found;
    const std::vector<HWND> c = Children(dialog);
    const auto counts = [&ids](HWND w) { return ids.empty() || std::count(ids.begin(), ids.end(), ::GetDlgCtrlID(w)); };
    for (std::size_t i = 0; i < c.size(); ++i) {
        for (std::size_t j = i + 1; j < c.size(); ++j) {
            const RECT a = Box(c[i]), b = Box(c[j]);
            if (counts(c[i]) && counts(c[j]) && std::min(a.right, b.right) - std::max(a.left, b.left) > 2 &&
                std::min(a.bottom, b.bottom) - std::max(a.top, b.top) > 2)
                found.push_back(std::to_wstring(::GetDlgCtrlID(c[i])) + L" and " + std::to_wstring(::GetDlgCtrlID(c[j])));
        }
    }
    return found;
}

// A message box's buttons, and "icon" where it shows one: it shows none.
std::wstring Buttons(HWND box) {
    std::wstring found;
    for (const HWND c : Children(box)) {
        wchar_t cls[16] = L"";
        ::GetClassNameW(c, cls, 16);
        const bool icon = ::_wcsicmp(cls, L"Static") == 0 && ::SendMessageW(c, STM_GETICON, 0, 0) != 0;
        if (::IsWindowVisible(c) && (icon || ::_wcsicmp(cls, L"Button") == 0)) found += (icon ? L"icon" : WindowText(c)) + L" ";
    }
    return found;
}

// Every text in full, no two controls in each other's way; once the settings
// dialog is wider than designed, OK and Cancel alike, spanning the folder
// list's row; and at the session's own scale (where the frame around it is
// drawn for that scale too) at least the designed client area.
void CheckReadable(HWND dialog, UINT dpi, const TwipsRect& design, const std::vector<int>& apart) {
    EXPECT_EQ(CutTexts(dialog), Texts{}) << "at " << dpi << " DPI";
    EXPECT_EQ(Overlapping(dialog, apart), Texts{}) << "at " << dpi << " DPI";
    const RECT ok = Box(::GetDlgItem(dialog, IDOK)), cancel = Box(::GetDlgItem(dialog, IDCANCEL)), list = Box(::GetDlgItem(dialog, IDC_DIR1));
    const PixelRect designed_list = ToPixels(kSettingsLayout[IndexOf(kSettingsLayout, SettingsControl::Dir1)].twips, dpi);
    if (::GetDlgItem(dialog, IDC_DIR1) && list.right - list.left != designed_list.right - designed_list.left) {
        EXPECT_NEAR(ok.right - ok.left, cancel.right - cancel.left, 1) << "at " << dpi << " DPI";
        EXPECT_EQ(std::make_pair(ok.left, cancel.right), std::make_pair(list.left, list.right)) << "at " << dpi << " DPI";
    }
    if (dpi != ::GetDpiForSystem()) return;
    RECT client{};
    ::GetClientRect(dialog, &client);
    const PixelRect designed = ToPixels(design, dpi);
    EXPECT_TRUE(client.right >= designed.right - 1 && client.bottom >= designed.bottom - 1)
        << client.right << "x" << client.bottom << " at " << dpi << " DPI";
}

TEST(Dialogs, EveryTextReadsInFullAtThisScaleAndAfterAChangeOfScale) {
    const UINT dpi = ::GetDpiForSystem();
    const UINT other = dpi == 96 ? 144 : 96;
    struct Dialog { const wchar_t* title; void (*show)(); TwipsRect design; std::vector<int> apart; };
    // The about box's labels lie over its logo by design: only its buttons and lower labels stand apart.
    for (const Dialog& d : {Dialog{kSettings, ShowSettings, kSettingsClient, {}},
                            {L"About Orvanel", ShowAboutBox, kAboutClient,
                             {IDC_ABOUT_EMAIL, IDC_ABOUT_HOMEPAGE, IDC_ABOUT_OK, IDC_ABOUT_COPYRIGHT, IDC_ABOUT_STATEMENT}}}) {
        bool opened = false;
        WhileOpen(d.title, d.show, [&](HWND dialog) {
            opened = true;
            CheckReadable(dialog, dpi, d.design, d.apart);
            const test::FontHandOver fonts = test::ChangeDpi(dialog, other);
            EXPECT_EQ(fonts.set, static_cast<int>(Children(dialog).size())) << d.title;
            EXPECT_EQ(fonts.replaced_deleted, 0) << d.title;
            CheckReadable(dialog, other, d.design, d.apart);
        });
        EXPECT_TRUE(opened) << d.title;
    }
    WhileOpen(L"Orvanel", [] { ShowAppMessage(nullptr, L"Drive Q: is already in use. Type a letter that is not a drive yet."); },
              [](HWND box) {
                  EXPECT_EQ(CutTexts(box), Texts{}) << "the message box at " << ::GetDpiForSystem();
                  EXPECT_EQ(Buttons(box), L"OK ");
              });
    WhileOpen(L"Orvanel", [] { AskAppQuestion(nullptr, L"Unblock it?"); }, [](HWND box) {
        EXPECT_EQ(Buttons(box), L"&Yes &No ");
        ::PostMessageW(box, WM_COMMAND, IDNO, 0);
    });
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
