#include "frmAbout.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "about_fonts.h"
#include "about_layout.h"
#include "about_painting.h"
#include "app_info.h"
#include "dialog_dpi.h"
#include "dialog_proc.h"
#include "handles.h"
#include "links.h"
#include "logo_picture.h"
#include "maker_values.h"
#include "module.h"
#include "resource.h"
#include "text_room.h"
#include "twips.h"
#include "version_record.h"

namespace orvanel {
namespace {

struct Button {
    AboutPart part;
    int id;
};
constexpr Button kButtons[] = {
    {AboutPart::CmdEmail, IDC_ABOUT_EMAIL},
    {AboutPart::CmdHomePage, IDC_ABOUT_HOMEPAGE},
    {AboutPart::CmdOK, IDC_ABOUT_OK},
};

// Each shadow shows its main label's text.
struct LabelTexts {
    std::wstring title;
    std::wstring version;
    std::wstring copyright;
    std::wstring declaration;
};

struct Label {
    AboutPart part;
    int id;
    std::wstring LabelTexts::*text;
    UniqueGdiObject AboutFonts::*font;
    bool wraps;  // a fixed width with word wrap; the others size themselves to their text
};
const Label kLabels[] = {
    {AboutPart::LblTitle, IDC_ABOUT_TITLE, &LabelTexts::title, &AboutFonts::title, false},
    {AboutPart::LblVersion, IDC_ABOUT_VERSION, &LabelTexts::version, &AboutFonts::label, false},
    {AboutPart::LblCopyright, IDC_ABOUT_COPYRIGHT, &LabelTexts::copyright, &AboutFonts::label, false},
    {AboutPart::LblDeclration, IDC_ABOUT_STATEMENT, &LabelTexts::declaration, &AboutFonts::label, true},
};

const Label* LabelOf(AboutPart part) {
    for (const Label& label : kLabels) {
        if (label.part == part) return &label;
    }
    return nullptr;
}

RECT ToRect(const PixelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

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
    template <typename Dialog>
    friend INT_PTR CALLBACK orvanel::DialogProcFor(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

private:
    INT_PTR Dispatch(UINT msg, WPARAM wparam, LPARAM lparam);

    BOOL Form_Load();
    void OnCommand(int id, int code);
    void OnPaint();
    INT_PTR OnCtlColorStatic(HDC dc, HWND control) const;
    BOOL OnSetCursor(HWND under, int hit);
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    void cmdEmail_Click();
    void cmdHomePage_Click();
    void cmdOK_Click();

    void SetWindowIcons();
    void AddTooltips();
    void AddTooltip(HWND tips, int button_id, const std::wstring& text);
    void LayOut();
    void PlaceParts();
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
    AboutPlacement placement_{};
    AboutPainting painting_{};
    std::vector<LabelShadowText> shadows_;
};

INT_PTR FrmAbout::Dispatch(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
        case WM_INITDIALOG: return Form_Load();
        case WM_COMMAND: OnCommand(LOWORD(wparam), HIWORD(wparam)); return TRUE;
        case WM_PAINT: OnPaint(); return TRUE;
        case WM_CTLCOLORSTATIC:
            return OnCtlColorStatic(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
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
    for (const Label& label : kLabels) ::SetDlgItemTextW(hwnd_, label.id, (texts_.*label.text).c_str());
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
    PaintAboutBox(dc, dpi_, logo_, painting_, shadows_);
    ::EndPaint(hwnd_, &paint);
}

// The labels draw only their text, in gold, over what the box painted.
INT_PTR FrmAbout::OnCtlColorStatic(HDC dc, HWND control) const {
    const int id = ::GetDlgCtrlID(control);
    for (const Label& label : kLabels) {
        if (label.id != id) continue;
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, kLabelGold);
        return reinterpret_cast<INT_PTR>(::GetStockObject(NULL_BRUSH));
    }
    return FALSE;
}

// The hand over the buttons, which are links or close the box.
BOOL FrmAbout::OnSetCursor(HWND under, int hit) {
    const int id = ::GetDlgCtrlID(under);
    const bool button = id == IDC_ABOUT_EMAIL || id == IDC_ABOUT_HOMEPAGE || id == IDC_ABOUT_OK;
    if (hit != HTCLIENT || ::GetParent(under) != hwnd_ || !button) return FALSE;
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
    UniqueIcon large_icon = load(SM_CXICON, SM_CYICON);
    UniqueIcon small_icon = load(SM_CXSMICON, SM_CYSMICON);
    ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large_icon.get()));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon.get()));
    // The window no longer uses the old ones once the new ones are set.
    big_icon_ = std::move(large_icon);
    small_icon_ = std::move(small_icon);
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

// The fonts at the current DPI, and every part placed and grown where its
// text needs more room in them.
void FrmAbout::LayOut() {
    AboutFonts fonts = MakeAboutFonts(dpi_);
    for (const Button& button : kButtons) {
        ::SendDlgItemMessageW(hwnd_, button.id, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.button.get()), FALSE);
    }
    for (const Label& label : kLabels) {
        ::SendDlgItemMessageW(hwnd_, label.id, WM_SETFONT, reinterpret_cast<WPARAM>((fonts.*label.font).get()),
                              FALSE);
    }
    // Only now that no control holds the old fonts any more may they go.
    fonts_ = std::move(fonts);
    PlaceParts();
}

void FrmAbout::PlaceParts() {
    AboutNeeds needs{};
    for (const Label& label : kLabels) {
        const PixelRect designed = ToPixels(kAboutLayout[AboutIndex(label.part)].twips, dpi_);
        needs[AboutIndex(label.part)] = LabelNeed(::GetDlgItem(hwnd_, label.id), designed.right - designed.left);
    }
    for (const Button& button : kButtons) {
        needs[AboutIndex(button.part)] = ButtonNeed(::GetDlgItem(hwnd_, button.id), dpi_);
    }
    placement_ = FitAboutLayout(dpi_, needs, {CaptionClientWidth(hwnd_, dpi_), 0});
    const auto place = [this](int id, AboutPart part) {
        const PixelRect& r = placement_.boxes[AboutIndex(part)];
        ::MoveWindow(::GetDlgItem(hwnd_, id), r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    };
    for (const Button& button : kButtons) place(button.id, button.part);
    for (const Label& label : kLabels) place(label.id, label.part);
    painting_ = {ToRect(placement_.boxes[AboutIndex(AboutPart::Image1)]),
                 ToRect(placement_.boxes[AboutIndex(AboutPart::Label1)]),
                 ToRect(placement_.boxes[AboutIndex(AboutPart::Separator)])};
    shadows_.clear();
    for (const LabelShadow& shadow : kAboutShadows) {
        const Label* label = LabelOf(shadow.label);
        if (label == nullptr) continue;
        shadows_.push_back({texts_.*label->text, (fonts_.*label->font).get(),
                            ToRect(ShadowRect(shadow, placement_.boxes[AboutIndex(shadow.label)], dpi_)),
                            label->wraps});
    }
}

// The window around the client area as laid out at the current DPI.
void FrmAbout::SizeWindow(int x, int y, UINT flags) {
    const SIZE size = WindowSizeForClient(hwnd_, dpi_, placement_.client);
    ::SetWindowPos(hwnd_, nullptr, x, y, size.cx, size.cy, flags | SWP_NOZORDER | SWP_NOACTIVATE);
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
    ::DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_ABOUT), nullptr, DialogProcFor<FrmAbout>,
                      reinterpret_cast<LPARAM>(&box));
    open_box = nullptr;
}

}  // namespace orvanel
