// The real dialogs, opened in this process at the session's scale (fonts and
// menus are the process's own here, so no second process is needed to
// measure a text or to watch a font change): every text reads in full, also
// after a change of scale, which hands each control its new font before the
// old one goes; and what the settings dialog's two options store.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <utility>

#include "about_layout.h"
#include "drive_store.h"
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

// As the program's manifest makes it: per-monitor aware, so that the dialogs
// open at the session's scale here as they do in the program.
const bool kDpiAware = ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) != FALSE;

const wchar_t* g_title = nullptr;
const std::function<void(HWND)>* g_inspect = nullptr;
std::wstring g_message;

HWND ShownDialog(const wchar_t* title) {
    const HWND dialog = ::FindWindowW(L"#32770", title);
    return dialog != nullptr && ::IsWindowVisible(dialog) ? dialog : nullptr;
}

void CALLBACK LookOnce(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND dialog = ShownDialog(g_title);
    if (dialog == nullptr) return;  // not up yet
    ::KillTimer(nullptr, timer);
    (*g_inspect)(dialog);
    if (::IsWindow(dialog)) ::SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    if (::IsWindowVisible(dialog)) { ADD_FAILURE() << "Cancel left it open"; ::EndDialog(dialog, 0); }
}

void CALLBACK AnswerMessage(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND box = ShownDialog(L"Orvanel");
    if (box == nullptr) return;
    ::KillTimer(nullptr, timer);
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[16] = L"";
        ::GetClassNameW(c, cls, 16);
        if (::_wcsicmp(cls, L"Static") == 0) g_message += WindowText(c);
    }
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// The control drawn by itself, at `size`, on a background no text has.
std::vector<std::uint32_t> Drawn(HWND control, SIZE size) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC screen = ::GetDC(nullptr);
    const HDC dc = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ before = ::SelectObject(dc, bitmap);
    const auto n = static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy);
    std::fill_n(static_cast<std::uint32_t*>(bits), n, 0x00FF00FFu);
    ::SendMessageW(control, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
    ::GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<std::uint32_t*>(bits), static_cast<std::uint32_t*>(bits) + n);
    ::SelectObject(dc, before);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

// How many pixels of the control, drawn at `size`, its text changes.
long TextPixels(HWND control, SIZE size) {
    constexpr UINT kQuiet = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;
    RECT placed{};
    ::GetWindowRect(control, &placed);
    const std::wstring text = WindowText(control);
    ::SetWindowPos(control, nullptr, 0, 0, size.cx, size.cy, kQuiet);
    const std::vector<std::uint32_t> with = Drawn(control, size);
    ::SetWindowTextW(control, L" ");  // a blank lays a check box out as a text does
    const std::vector<std::uint32_t> without = Drawn(control, size);
    ::SetWindowTextW(control, text.c_str());
    ::SetWindowPos(control, nullptr, 0, 0, placed.right - placed.left, placed.bottom - placed.top, kQuiet);
    long changed = 0;
    for (std::size_t i = 0; i < with.size(); ++i) changed += with[i] != without[i];
    return changed;
}

bool DrawsText(HWND control, const wchar_t* cls) {
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_STYLE));
    if (::_wcsicmp(cls, L"Edit") == 0) return true;
    if (::_wcsicmp(cls, L"Button") == 0) return (style & BS_TYPEMASK) != BS_OWNERDRAW;
    const DWORD type = style & SS_TYPEMASK;
    return ::_wcsicmp(cls, L"Static") == 0 && (type <= SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP);
}

struct FontHandOver { int set = 0, replaced_deleted = 0; };
FontHandOver* g_fonts = nullptr;
HWND g_watched = nullptr;

LRESULT CALLBACK WatchSetFont(int code, WPARAM wparam, LPARAM lparam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && call->message == WM_SETFONT && ::GetParent(call->hwnd) == g_watched) {
        ++g_fonts->set;
        const auto held = reinterpret_cast<HGDIOBJ>(::SendMessageW(call->hwnd, WM_GETFONT, 0, 0));
        g_fonts->replaced_deleted += held != nullptr && ::GetObjectType(held) != OBJ_FONT;
    }
    return ::CallNextHookEx(nullptr, code, wparam, lparam);
}


// Runs `show`, a modal dialog titled `title`; once it is up, `inspect` gets
// it; IDCANCEL must then close it unless `inspect` did.
void WhileOpen(const wchar_t* title, const std::function<void()>& show, const std::function<void(HWND)>& inspect) {
    g_title = title;
    g_inspect = &inspect;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, LookOnce);
    show();
    ::KillTimer(nullptr, timer);
}

// "ID: TEXT" of each control not drawn in full: drawn at its size, it must
// show as many pixels of its text as when drawn far larger.
std::vector<std::wstring> CutTexts(HWND dialog) {
    std::vector<std::wstring> cut;
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[16] = L"";
        ::GetClassNameW(c, cls, 16);
        const std::wstring text = WindowText(c);
        if (text.empty() || !::IsWindowVisible(c) || !DrawsText(c, cls)) continue;
        RECT r{};
        ::GetWindowRect(c, &r);
        const SIZE placed{r.right - r.left, r.bottom - r.top};
        if (TextPixels(c, placed) != TextPixels(c, {2 * placed.cx + 200, 2 * placed.cy + 40})) {
            cut.push_back(std::to_wstring(::GetDlgCtrlID(c)) + L": " + text);
        }
    }
    return cut;
}

// WM_DPICHANGED for `dpi`: the fonts its controls were handed, and how many replaced one already deleted.
FontHandOver ChangeDpi(HWND dialog, UINT dpi) {
    FontHandOver fonts;
    g_fonts = &fonts;
    g_watched = dialog;
    const HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, WatchSetFont, nullptr, ::GetCurrentThreadId());
    RECT suggested{};
    ::GetWindowRect(dialog, &suggested);
    ::SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    ::UnhookWindowsHookEx(hook);
    return fonts;
}

// Presses button `id`; a message box it brings up is answered with OK, its text returned.
std::wstring Press(HWND dialog, int id) {
    g_message.clear();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, AnswerMessage);
    ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    ::KillTimer(nullptr, timer);
    return g_message;
}


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

// Every text in full; once the settings dialog is wider than designed, OK
// and Cancel alike, spanning the folder list's row; and at the session's own
// scale (where the frame around it is drawn for that scale too) at least the
// designed client area. Where the layout puts each control is the core's.
void CheckReadable(HWND dialog, UINT dpi, const TwipsRect& design) {
    EXPECT_EQ(CutTexts(dialog), Texts{}) << "at " << dpi << " DPI";
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
    struct Dialog { const wchar_t* title; void (*show)(); TwipsRect design; };
    for (const Dialog& d : {Dialog{kSettings, ShowSettings, kSettingsClient}, {L"About Orvanel", ShowAboutBox, kAboutClient}}) {
        bool opened = false;
        WhileOpen(d.title, d.show, [&](HWND dialog) {
            opened = true;
            CheckReadable(dialog, dpi, d.design);
            const FontHandOver fonts = ChangeDpi(dialog, other);
            EXPECT_EQ(fonts.set, static_cast<int>(Children(dialog).size())) << d.title;
            EXPECT_EQ(fonts.replaced_deleted, 0) << d.title;
            CheckReadable(dialog, other, d.design);
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
        ::SendMessageW(box, WM_COMMAND, IDNO, 0);
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
        DriveStore(0).WriteFolder(L"C:\\windows");
        DriveStore(0).WriteLetter(L"Q");
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
    EXPECT_EQ(Use(1, 1, IDCANCEL) + Use(1, 1, IDOK, L"xy"), "clear clear clear clear Type one drive letter from A to Z, without a colon (for example Z).");
    EXPECT_EQ(Raw(L"SOFTWARE\\Kestrane\\Orvanel", L"MountAtStart") + Raw(kRunKey, L"Orvanel"), "missingmissing");

    EXPECT_EQ(Use(1, 1, IDOK), "clear clear ");
    EXPECT_EQ(Raw(L"SOFTWARE\\Kestrane\\Orvanel", L"MountAtStart") + Raw(kRunKey, L"Orvanel"), std::string("\xCE\0", 2) + run_value_);  // "1", encoded
    EXPECT_EQ(Use(-1, -1, IDCANCEL), "ticked ticked ");

    EXPECT_EQ(Use(0, 0, IDOK), "ticked ticked ");
    EXPECT_EQ(Raw(L"SOFTWARE\\Kestrane\\Orvanel", L"MountAtStart") + Raw(kRunKey, L"Orvanel"), std::string("\xCF\0", 2) + "missing");  // "0"
}

// The system's registry, but for one value it refuses, as a policy or a full disk may.
struct RefusingOne final : RegistryPort {
    struct Key final : WritableKey {
        std::unique_ptr<WritableKey> key;
        std::string refused;
        bool SetString(const std::string& n, const std::string& d) override { return n != refused && key->SetString(n, d); }
    };
    std::string refused;
    std::optional<std::string> QueryString(RootKey r, const std::string& p, const std::string& n) override { return SystemRegistry().QueryString(r, p, n); }
    std::unique_ptr<WritableKey> CreateKey(RootKey r, const std::string& p) override {
        auto key = std::make_unique<Key>();
        key->key = SystemRegistry().CreateKey(r, p);
        key->refused = refused;
        return key;
    }
    bool HasKey(RootKey r, const std::string& p) override { return SystemRegistry().HasKey(r, p); }
    bool DeleteValue(RootKey r, const std::string& p, const std::string& n) override { return SystemRegistry().DeleteValue(r, p, n); }
    bool DeleteKey(RootKey r, const std::string& p) override { return SystemRegistry().DeleteKey(r, p); }
};

// Add Drive's dialog: a drive of its own key, first-use defaults with the letter offered, another drive's letter refused;
// and a save that fails for any one value is never reported as saved.
TEST_F(SettingsOptions, AFurtherDriveHasItsOwnKeyAndASaveThatFailsForOneValueIsNotSaved) {
    bool saved = false;
    WhileOpen(kSettings, [&] { saved = ShowSettingsDialog(nullptr, {DriveStore(1), L"Y", {L"Q"}}); }, [](HWND dialog) {
        EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDC_DRIVE_LETTER)) + std::to_wstring(::IsDlgButtonChecked(dialog, IDC_MOUNT_AT_START)), L"Y0");
        ::SetDlgItemTextW(dialog, IDC_DRIVE_LETTER, L"q");
        EXPECT_EQ(Press(dialog, IDOK), L"Drive Q: is already another of Orvanel's drives. Type a letter that is not a drive yet.");
        ::SetDlgItemTextW(dialog, IDC_DRIVE_LETTER, L"Y");
        EXPECT_EQ(Press(dialog, IDOK), L"");
    });
    EXPECT_TRUE(saved);
    EXPECT_EQ(Raw(L"SOFTWARE\\Kestrane\\Orvanel\\Drives\\2", L"Drive") + Raw(L"SOFTWARE\\Kestrane\\Orvanel", L"Drive"), std::string("\xA6\0\xAE\0", 4)) << "Y there, Q in the first drive's";
    for (const char* value : {"Drive", "Path", "MountAtStart"}) {
        RefusingOne registry;
        registry.refused = value;
        WhileOpen(kSettings, [&] { saved = ShowSettingsDialog(nullptr, {DriveStore(1, registry), L"Y", {}}); },
                  [&](HWND dialog) { EXPECT_EQ(Press(dialog, IDOK), L"Unable to save your settings") << value; });
        EXPECT_FALSE(saved) << value;
    }
}

TEST_F(SettingsOptions, OnlyAnEntryThatStartsThisCopyShowsTickedAndTickingMakesItSo) {
    const auto set = [](const wchar_t* key, DWORD type, const void* data, std::size_t size) { ::RegSetKeyValueW(HKEY_CURRENT_USER, key, L"Orvanel", type, data, static_cast<DWORD>(size)); };
    const wchar_t gone[] = L"\"C:\\Gone\\Orvanel.exe\"", this_file[] = L"%ORVANEL_COPY% /min";
    const BYTE off[12] = {3};  // Windows' mark beside a Run value it turned off
    set(kRunKey, REG_SZ, gone, sizeof(gone));
    EXPECT_EQ(Use(-1, -1, IDOK), "clear clear ");
    EXPECT_EQ(Raw(kRunKey, L"Orvanel"), Sz(gone));  // left alone: the box was left alone
    set(kMarkKey, REG_BINARY, off, sizeof(off));
    EXPECT_EQ(Use(-1, 1, IDOK), "clear clear ");
    EXPECT_EQ(Raw(kRunKey, L"Orvanel") + Raw(kMarkKey, L"Orvanel"), run_value_ + "missing");
    EXPECT_EQ(Use(-1, -1, IDCANCEL), "clear ticked ");
    // This file by its short name, through an environment string, with an argument.
    wchar_t short_path[MAX_PATH] = L"";
    ::GetShortPathNameW(ProgramPath().c_str(), short_path, MAX_PATH);
    ::SetEnvironmentVariableW(L"ORVANEL_COPY", short_path);
    set(kRunKey, REG_EXPAND_SZ, this_file, sizeof(this_file));
    EXPECT_EQ(Use(-1, -1, IDCANCEL), "clear ticked ") << ToAnsi(short_path);
    set(kMarkKey, REG_BINARY, off, sizeof(off));
    EXPECT_EQ(Use(-1, -1, IDCANCEL), "clear clear ") << "turned off by Windows";
}

}  // namespace
}  // namespace orvanel
