#include "frmAbout.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>

#include "about_fonts.h"
#include "about_painting.h"
#include "app_info.h"
#include "dialog_dpi.h"
#include "handles.h"
#include "links.h"
#include "logo_picture.h"
#include "maker_values.h"
#include "module.h"
#include "resource.h"
#include "twips.h"
#include "version_record.h"

namespace orvanel {
namespace {

// The design, in twips from the client area's top-left corner.
constexpr int kClientWidth = 8445;
constexpr int kClientHeight = 4440;

struct Button {
    int id;
    TwipsRect rect;
};
constexpr Button kButtons[] = {
    {IDC_ABOUT_EMAIL, {120, 3960, 2895, 375}},     // cmdEmail
    {IDC_ABOUT_HOMEPAGE, {3000, 3960, 2775, 375}},  // cmdHomePage
    {IDC_ABOUT_OK, {5760, 3960, 2535, 375}},        // cmdOK
};

constexpr wchar_t kDeclaration[] =
    L"Kestrane is the name under which the Orvanel developers publish their software.";

// Read afresh at every opening.
LabelTexts ReadLabelTexts() {
    const VersionRecord version = ReadVersionRecord();
    return {kAppTitle, VersionText(version.major, version.minor), version.copyright,
            kDeclaration};
}

// The open box, so that a second "About..." brings it forward instead of
// opening another one.
HWND open_box = nullptr;

class FrmAbout {
public:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

private:
    INT_PTR Dispatch(UINT msg, WPARAM wparam, LPARAM lparam);

    BOOL Form_Load();
    void OnCommand(int id, int code);
    void OnPaint();
    BOOL OnSetCursor(HWND under, int hit);
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    void cmdEmail_Click();
    void cmdHomePage_Click();
    void cmdOK_Click();

    void SetWindowIcons();
    void AddTooltips();
    void AddTooltip(HWND tips, int button_id, const std::wstring& text);
    void LayOut();
    void SizeWindow(int x, int y, UINT flags);
    void CentreOnScreen();

    HWND hwnd_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    LabelTexts texts_;
    LogoPicture logo_;
    HCURSOR hand_ = nullptr;  // a shared resource cursor: never destroyed
    UniqueIcon big_icon_;
    UniqueIcon small_icon_;
    AboutFonts fonts_;
};

INT_PTR CALLBACK FrmAbout::DialogProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lparam);
        reinterpret_cast<FrmAbout*>(lparam)->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<FrmAbout*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self == nullptr) return FALSE;
    try {
        return self->Dispatch(msg, wparam, lparam);
    } catch (...) {
        return FALSE;  // nothing may unwind into the dialog manager
    }
}

INT_PTR FrmAbout::Dispatch(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
        case WM_INITDIALOG: return Form_Load();
        case WM_COMMAND: OnCommand(LOWORD(wparam), HIWORD(wparam)); return TRUE;
        case WM_PAINT: OnPaint(); return TRUE;
        case WM_SETCURSOR: return OnSetCursor(reinterpret_cast<HWND>(wparam), LOWORD(lparam));
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
            return TRUE;
        default: return FALSE;
    }
}

BOOL FrmAbout::Form_Load() {
    open_box = hwnd_;
    TakeOverDpiChanges(hwnd_);
    dpi_ = ::GetDpiForWindow(hwnd_);
    SetWindowIcons();
    ::SetWindowTextW(hwnd_, (std::wstring(L"About ") + kAppTitle).c_str());
    AddTooltips();
    texts_ = ReadLabelTexts();
    logo_ = DecodeLogo();
    hand_ = ::LoadCursorW(ModuleInstance(), MAKEINTRESOURCEW(IDC_HAND_CURSOR));
    LayOut();
    SizeWindow(0, 0, SWP_NOMOVE);
    CentreOnScreen();
    ::SendMessageW(hwnd_, WM_NEXTDLGCTL,
                   reinterpret_cast<WPARAM>(::GetDlgItem(hwnd_, IDC_ABOUT_EMAIL)), TRUE);
    return FALSE;  // the focus is placed
}

void FrmAbout::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
        case IDC_ABOUT_EMAIL: cmdEmail_Click(); break;
        case IDC_ABOUT_HOMEPAGE: cmdHomePage_Click(); break;
        // IDCANCEL is the title bar's close button and Escape: the box has no
        // cancel button, but closing it any of these ways means the same as "Ok".
        case IDC_ABOUT_OK:
        case IDCANCEL: cmdOK_Click(); break;
        default: break;
    }
}

void FrmAbout::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd_, &paint);
    PaintAboutBox(dc, dpi_, logo_, texts_, fonts_);
    ::EndPaint(hwnd_, &paint);
}

BOOL FrmAbout::OnSetCursor(HWND under, int hit) {
    if (hit != HTCLIENT || ::GetParent(under) != hwnd_) return FALSE;
    ::SetCursor(hand_);
    ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

void FrmAbout::OnDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    SetWindowIcons();
    LayOut();
    SizeWindow(suggested.left, suggested.top, 0);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void FrmAbout::cmdEmail_Click() { SendEmail(); }
void FrmAbout::cmdHomePage_Click() { OpenHomePage(); }
void FrmAbout::cmdOK_Click() { ::EndDialog(hwnd_, IDOK); }

void FrmAbout::SetWindowIcons() {
    const auto load = [this](int width_metric, int height_metric) {
        return UniqueIcon(static_cast<HICON>(
            ::LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(IDI_ABOUT_ICON), IMAGE_ICON,
                         ::GetSystemMetricsForDpi(width_metric, dpi_),
                         ::GetSystemMetricsForDpi(height_metric, dpi_), 0)));
    };
    UniqueIcon big = load(SM_CXICON, SM_CYICON);
    UniqueIcon small = load(SM_CXSMICON, SM_CYSMICON);
    ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    // The window no longer uses the old ones once the new ones are set.
    big_icon_ = std::move(big);
    small_icon_ = std::move(small);
}

// Each opening reads the addresses afresh, with the string table's text
// where the registry has none, like the links themselves.
void FrmAbout::AddTooltips() {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&classes);
    // Owned by the box, so it goes when the box goes.
    HWND tips = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                  ModuleInstance(), nullptr);
    AddTooltip(tips, IDC_ABOUT_HOMEPAGE, TooltipText(GetWebPage()));
    AddTooltip(tips, IDC_ABOUT_EMAIL, TooltipText(GetEmail()));
}

void FrmAbout::AddTooltip(HWND tips, int button_id, const std::wstring& text) {
    std::wstring copy = text;  // the control copies it; the API only lacks const
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(hwnd_, button_id));
    tool.lpszText = copy.data();
    ::SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// The fonts and the buttons at the current DPI.
void FrmAbout::LayOut() {
    fonts_ = MakeAboutFonts(dpi_);
    for (const Button& button : kButtons) {
        HWND control = ::GetDlgItem(hwnd_, button.id);
        const PixelRect r = ToPixels(button.rect, dpi_);
        ::MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.button.get()), TRUE);
    }
}

// The window around a client area of the design's size at the current DPI.
void FrmAbout::SizeWindow(int x, int y, UINT flags) {
    RECT frame{0, 0, TwipsToPixels(kClientWidth, dpi_), TwipsToPixels(kClientHeight, dpi_)};
    ::AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_STYLE)),
                               FALSE, static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)),
                               dpi_);
    ::SetWindowPos(hwnd_, nullptr, x, y, frame.right - frame.left, frame.bottom - frame.top,
                   flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrmAbout::CentreOnScreen() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT window{};
    ::GetWindowRect(hwnd_, &window);
    const RECT& screen = monitor.rcMonitor;
    const int x = screen.left + ((screen.right - screen.left) - (window.right - window.left)) / 2;
    const int y = screen.top + ((screen.bottom - screen.top) - (window.bottom - window.top)) / 2;
    ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void ShowAboutBox() {
    if (open_box != nullptr) {
        ::SetForegroundWindow(open_box);
        return;
    }
    FrmAbout box;
    // No owner: the tray window is never shown, so there is nothing to disable.
    ::DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_ABOUT), nullptr, FrmAbout::DialogProc,
                      reinterpret_cast<LPARAM>(&box));
    open_box = nullptr;
}

}  // namespace orvanel
