// Takes the README's pictures of the real program, driven as the end-to-end
// tests drive it, from inside the desktop that scripts/screenshots gives it:
// the menu unmounted and mounted, the settings dialog with both options
// ticked, the about box, and the menu of two drives with Settings open. Each picture is saved as NAME.bmp in
// ORVANEL_E2E_ARTIFACTS; with --dialogs, only the two dialogs. Success is
// the pictures being there: the desktop does not pass an exit code on.
#include "harness.h"  // <windows.h>, which <commctrl.h> needs first

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "resource.h"

using namespace e2e;

namespace {

constexpr wchar_t kLetter = L'P';
const std::wstring kFolder = L"C:\\Projects\\Website";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr int kMargin = 8;         // around a window, in pixels
constexpr int kSettleMs = 400;     // for the last paint before a picture
constexpr int kTipDelayMs = 1000;  // longer than a tip waits before it shows

// The screen's pixels within `at` as ORVANEL_E2E_ARTIFACTS\NAME.bmp.
void Save(RECT at, const std::wstring& name) {
    at = {std::max(at.left, 0L), std::max(at.top, 0L), std::min<LONG>(at.right, ::GetSystemMetrics(SM_CXSCREEN)),
          std::min<LONG>(at.bottom, ::GetSystemMetrics(SM_CYSCREEN))};
    const int w = at.right - at.left, h = at.bottom - at.top;
    BITMAPINFOHEADER info{sizeof(info), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    const HDC screen = ::GetDC(nullptr), dc = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
    const HGDIOBJ before = ::SelectObject(dc, bitmap);
    ::BitBlt(dc, 0, 0, w, h, screen, at.left, at.top, SRCCOPY);
    ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ::SelectObject(dc, before);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    for (std::uint32_t& p : pixels) p |= 0xFF000000u;  // opaque: what GDI drew leaves the alpha byte as it likes
    const auto bytes = static_cast<DWORD>(pixels.size() * 4), head = static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(info));
    const BITMAPFILEHEADER file{0x4D42, head + bytes, 0, 0, head};
    std::ofstream out(std::filesystem::path(Env(L"ORVANEL_E2E_ARTIFACTS")) / (name + L".bmp"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(reinterpret_cast<const char*>(pixels.data()), bytes);
}

void SaveWindow(HWND window, const std::wstring& name) {
    RECT r{};
    ::GetWindowRect(window, &r);
    Save({r.left - kMargin, r.top - kMargin, r.right + kMargin, r.bottom + kMargin}, name);
}

// A folder with a few subfolders, stored with its letter; nothing else.
void StoreSampleFolder() {
    Forget(HKEY_CURRENT_USER, kKey);
    for (const wchar_t* f : {L"C:\\Projects", L"C:\\Projects\\Website", L"C:\\Projects\\Website\\images",
                             L"C:\\Projects\\Website\\pages", L"C:\\Projects\\Website\\styles"}) {
        ::CreateDirectoryW(f, nullptr);
    }
    Store(L"Path", kFolder);
    Store(L"Drive", std::wstring(1, kLetter));
}

// The open menu and the taskbar's corner below it, where the icon is; with
// `open`, that item's submenu too, the pointer resting on the item.
void MenuShot(const Orvanel& app, const std::wstring& name, const std::wstring& open = L"") {
    const std::vector<MenuItem> items = OpenMenu(app.Window());
    RECT menu{};
    if (!::GetWindowRect(Shown(L"#32768", nullptr), &menu)) return;
    const auto item = std::find_if(items.begin(), items.end(), [&](const MenuItem& i) { return i.text == open; });
    if (item != items.end()) {
        ::SetCursorPos(item->centre.x, item->centre.y);
        WaitFor([&] {
            for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, L"#32768", nullptr)) != nullptr;) {
                RECT r{};
                if (::IsWindowVisible(w) && ::GetWindowRect(w, &r) && r.left != menu.left) return menu.left = std::min(menu.left, r.left), true;
            }
            return false;
        }, 3000);
    } else {
        // Off the menu, so that no item is highlighted.
        ::SetCursorPos(5, 5);
    }
    // The icon's tip, called by the pointer's rest on the icon, would stay: the menu holds the mouse.
    Pause(kTipDelayMs);
    WaitFor([] {
        const HWND tip = Shown(L"tooltips_class32", nullptr);
        if (tip != nullptr) ::SendMessageW(tip, TTM_POP, 0, 0);
        return tip == nullptr;
    }, 3000);
    Pause(kSettleMs);
    Save({menu.left - kMargin, menu.top - kMargin, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}, name);
    Key(VK_ESCAPE);
    WaitFor([] { return Shown(L"#32768", nullptr) == nullptr; }, 3000);
}

// Both options ticked, as they are read when the dialog opens: stored
// while the menu is open, when start-up has long read its option, and
// taken back after, since Wine starts what the Run key names.
void SettingsShot(const Orvanel& app, const std::wstring& name) {
    const std::vector<MenuItem> menu = OpenMenu(app.Window());
    Store(L"MountAtStart", L"1");
    const std::string run = "\"" + Narrow(Orvanel::Exe()) + "\"";
    Store(L"Orvanel", Value{REG_SZ, run + '\0'}, HKEY_CURRENT_USER, kRunKey);
    Choose(menu, L"Settings");
    const HWND dialog = WaitShown(L"#32770", L"Select Path to Make As drive", 5000);
    if (dialog == nullptr) return;
    WaitFor([dialog] { return !Rows(::GetDlgItem(dialog, IDC_DIR1)).empty(); }, 5000);
    Pause(kSettleMs);
    SaveWindow(dialog, name);
    ClickButton(dialog, L"Cancel");
    WaitFor([dialog] { return !::IsWindow(dialog); }, 3000);
    Store(L"MountAtStart", L"0");
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Orvanel");
}

void AboutShot(const Orvanel& app, const std::wstring& name) {
    ChooseFromMenu(app.Window(), L"About...");
    const HWND box = WaitShown(L"#32770", L"About Orvanel", 5000);
    if (box == nullptr) return;
    Pause(2 * kSettleMs);  // the logo and the labels over it drawn
    SaveWindow(box, name);
    ClickButton(box, L"Ok");
    WaitFor([box] { return !::IsWindow(box); }, 3000);
}

void Mount(const Orvanel& app, const std::wstring& entry) {
    ChooseFromMenu(app.Window(), entry);
    WaitFor([] { return !Mapping(kLetter).empty(); }, 10000);
    Showing(app.Window(), Yellow);
}

// A second drive beside the sample, the first mounted.
void TwoDrivesShot(const std::wstring& name) {
    const std::wstring key = std::wstring(kKey) + L"\\Drives\\2";
    ::CreateDirectoryW(L"C:\\Projects\\Build", nullptr);
    Store(L"Path", Encoded(L"C:\\Projects\\Build"), HKEY_CURRENT_USER, key.c_str());
    Store(L"Drive", Encoded(L"Q"), HKEY_CURRENT_USER, key.c_str());
    const Orvanel app;
    if (app.Window() == nullptr) return;
    Mount(app, L"Mount " + std::wstring(1, kLetter) + L":  Website");
    MenuShot(app, name, L"Settings");
    Exit(app);
}

}  // namespace

int main(int argc, char** argv) {
    const bool menus = !(argc > 1 && std::strcmp(argv[1], "--dialogs") == 0);
    if (!HasNotificationArea()) return 1;
    StoreSampleFolder();
    const Orvanel app;
    if (app.Window() == nullptr) return 1;
    const std::wstring scale = std::to_wstring(::GetDpiForSystem() * 100 / 96);
    if (menus) MenuShot(app, L"tray-menu-unmounted");
    SettingsShot(app, L"settings-" + scale);
    AboutShot(app, L"about-" + scale);
    if (menus) {
        Mount(app, L"Mount");
        MenuShot(app, L"tray-menu-mounted");
    }
    Exit(app);
    if (menus) TwoDrivesShot(L"tray-menu-two-drives");
    return 0;
}
