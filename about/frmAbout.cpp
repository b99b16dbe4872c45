#include "frmAbout.h"

#include <windows.h>
#include <commctrl.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <array>
#include <cstdint>
#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

#include "app_info.h"
#include "handles.h"
#include "links.h"
#include "maker_values.h"
#include "resource.h"
#include "twips.h"

namespace orvanel {
namespace {

using Microsoft::WRL::ComPtr;

constexpr COLORREF kGold = RGB(221, 173, 49);
constexpr COLORREF kShadow = RGB(0, 0, 0);
constexpr UINT kDesignDpi = 96;

// The design, in twips from the client area's top-left corner.
constexpr int kClientWidth = 8445;
constexpr int kClientHeight = 4440;
constexpr TwipsRect kImage1{120, 120, 8220, 3750};
constexpr TwipsRect kLabel1{120, 120, 5535, 2535};
constexpr TwipsRect kCmdEmail{120, 3960, 2895, 375};
constexpr TwipsRect kCmdHomePage{3000, 3960, 2775, 375};
constexpr TwipsRect kCmdOK{5760, 3960, 2535, 375};

// Line3 and Line4 share one path; the narrower, lighter Line3 lies on the
// lower edge of Line4, which makes the pair read as an etched groove.
constexpr int kLineLeft = 240;
constexpr int kLineRight = 5520;
constexpr int kLineY = 2280;
constexpr int kLine3Width = 1;  // pixels at 96 DPI
constexpr int kLine4Width = 2;

constexpr int kTitleSize = 18 * kTwipsPerPoint;
constexpr int kLabelSize = 165;  // 8.25 pt

constexpr wchar_t kDeclaration[] =
    L"Kestrane is the name under which the Orvanel developers publish their software.";

// Tried in order; the last resort is the dialog font, which always resolves.
constexpr const wchar_t* kTitleFaces[] = {L"Exotc350 Lt BT", L"Palatino Linotype", L"Georgia"};
constexpr const wchar_t* kLabelFaces[] = {L"MS Sans Serif", L"Microsoft Sans Serif"};
constexpr wchar_t kDialogFace[] = L"MS Shell Dlg";

enum class Face { Title, Label };
enum TextId { kTitle, kVersion, kCopyright, kStatement, kTextCount };

struct LabelPair {
    TextId text;
    Face face;
    TwipsRect main;
    TwipsRect shadow;
    bool wraps;  // a fixed box with word wrap; the others size themselves to their text
};

// In stacking order, bottom first.
constexpr LabelPair kLabels[] = {
    {kTitle, Face::Title, {225, 1200, 2415, 420}, {255, 1230, 2415, 420}, false},
    {kVersion, Face::Label, {1080, 1594, 645, 195}, {1125, 1623, 645, 195}, false},
    {kCopyright, Face::Label, {240, 2040, 900, 195}, {270, 2070, 900, 195}, false},
    {kStatement, Face::Label, {240, 3240, 3900, 495}, {261, 3274, 3900, 495}, true},
};

struct Button {
    int id;
    TwipsRect rect;
};
constexpr Button kButtons[] = {
    {IDC_ABOUT_EMAIL, kCmdEmail},
    {IDC_ABOUT_HOMEPAGE, kCmdHomePage},
    {IDC_ABOUT_OK, kCmdOK},
};

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

RECT ToRect(const PixelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

int ScaledPixels(int pixels_at_96, UINT dpi) {
    return ::MulDiv(pixels_at_96, static_cast<int>(dpi), kDesignDpi);
}

// ---- The version record -------------------------------------------------

struct VersionRecord {
    unsigned major = 0;
    unsigned minor = 0;
    std::wstring copyright;
};

struct ResourceBytes {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

ResourceBytes FindBytes(const wchar_t* name, const wchar_t* type) {
    HRSRC found = ::FindResourceW(Instance(), name, type);
    HGLOBAL loaded = found ? ::LoadResource(Instance(), found) : nullptr;
    if (loaded == nullptr) return {};
    return {static_cast<const BYTE*>(::LockResource(loaded)), ::SizeofResource(Instance(), found)};
}

std::wstring Hex4(WORD value) {
    constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text(4, L'0');
    for (std::size_t i = 4; i-- > 0; value = static_cast<WORD>(value >> 4)) {
        text[i] = kDigits[value & 0xF];
    }
    return text;
}

std::wstring CopyrightOf(std::vector<BYTE>& block) {
    void* found = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &found, &length) ||
        length < 2 * sizeof(WORD)) {
        return std::wstring();
    }
    const WORD* translation = static_cast<const WORD*>(found);
    const std::wstring path = L"\\StringFileInfo\\" + Hex4(translation[0]) + Hex4(translation[1]) +
                              L"\\LegalCopyright";
    if (!::VerQueryValueW(block.data(), path.c_str(), &found, &length)) return std::wstring();
    const wchar_t* text = static_cast<const wchar_t*>(found);
    return std::wstring(text, ::wcsnlen(text, length));
}

// Read from the running program's own resource, so the numbers have one source.
VersionRecord ReadVersionRecord() {
    const ResourceBytes bytes = FindBytes(MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    if (bytes.data == nullptr) return {};
    // VerQueryValue wants a block it may write to; resources are read-only.
    std::vector<BYTE> block(bytes.data, bytes.data + bytes.size);
    VersionRecord record;
    void* found = nullptr;
    UINT length = 0;
    if (::VerQueryValueW(block.data(), L"\\", &found, &length) &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(found);
        record.major = HIWORD(fixed->dwFileVersionMS);
        record.minor = LOWORD(fixed->dwFileVersionMS);
    }
    record.copyright = CopyrightOf(block);
    return record;
}

// ---- The logo -----------------------------------------------------------

struct Picture {
    std::vector<std::uint32_t> pixels;  // top-down, premultiplied BGRA
    UINT width = 0;
    UINT height = 0;
};

class ComApartment {
public:
    ComApartment() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(hr_)) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT hr_;
};

ComPtr<IWICBitmapSource> DecodeFrame(IWICImagingFactory& factory, const ResourceBytes& jpeg) {
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    HRESULT hr = factory.CreateStream(&stream);
    // WIC only reads the buffer; the signature just lacks the const.
    if (SUCCEEDED(hr)) hr = stream->InitializeFromMemory(const_cast<BYTE*>(jpeg.data), jpeg.size);
    if (SUCCEEDED(hr)) {
        hr = factory.CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                             &decoder);
    }
    if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, &frame);
    if (SUCCEEDED(hr)) hr = factory.CreateFormatConverter(&converter);
    if (SUCCEEDED(hr)) {
        hr = converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom);
    }
    return SUCCEEDED(hr) ? converter : nullptr;
}

Picture CopyPixels(IWICBitmapSource& source) {
    Picture picture;
    if (FAILED(source.GetSize(&picture.width, &picture.height))) return {};
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
    const UINT stride = picture.width * 4;
    if (FAILED(source.CopyPixels(nullptr, stride, stride * picture.height,
                                 reinterpret_cast<BYTE*>(picture.pixels.data())))) {
        return {};
    }
    return picture;
}

Picture DecodeLogo() {
    const ResourceBytes jpeg = FindBytes(MAKEINTRESOURCEW(IDR_LOGO), RT_RCDATA);
    if (jpeg.data == nullptr) return {};
    const ComApartment apartment;  // outlives every interface below
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&factory)))) {
        return {};
    }
    const ComPtr<IWICBitmapSource> source = DecodeFrame(*factory.Get(), jpeg);
    return source ? CopyPixels(*source.Get()) : Picture{};
}

// ---- Fonts --------------------------------------------------------------

struct FaceInfo {
    bool found = false;
    bool scalable = false;
};

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM info) {
    auto* face = reinterpret_cast<FaceInfo*>(info);
    face->found = true;
    if ((type & RASTER_FONTTYPE) == 0) face->scalable = true;
    return 1;
}

FaceInfo LookUpFace(HDC dc, std::wstring_view name) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    name.copy(query.lfFaceName, LF_FACESIZE - 1);
    FaceInfo info;
    ::EnumFontFamiliesExW(dc, &query, NoteFace, reinterpret_cast<LPARAM>(&info), 0);
    return info;
}

// A bitmap face only has its design sizes, so it is taken at 96 DPI only;
// at other scales its scalable namesake or the dialog font keeps the layout.
template <std::size_t N>
const wchar_t* ChooseFace(const wchar_t* const (&faces)[N], UINT dpi) {
    HDC screen = ::GetDC(nullptr);
    const wchar_t* chosen = kDialogFace;
    for (const wchar_t* face : faces) {
        const FaceInfo info = LookUpFace(screen, face);
        if (info.found && (info.scalable || dpi == kDesignDpi)) {
            chosen = face;
            break;
        }
    }
    ::ReleaseDC(nullptr, screen);
    return chosen;
}

UniqueGdiObject MakeFont(const wchar_t* face, int size_twips, LONG weight, UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = -TwipsToPixels(size_twips, dpi);
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    std::wstring_view(face).copy(font.lfFaceName, LF_FACESIZE - 1);
    return UniqueGdiObject(::CreateFontIndirectW(&font));
}

// ---- Drawing ------------------------------------------------------------

void FillWithSystemColour(HDC dc, const RECT& area, int colour) {
    ::FillRect(dc, &area, ::GetSysColorBrush(colour));
}

// A line `width` pixels thick whose lowest row lies on `y`.
void HorizontalLine(HDC dc, int left, int right, int y, int width, int colour) {
    FillWithSystemColour(dc, RECT{left, y - width + 1, right, y + 1}, colour);
}

// A single-line sunken frame in the same colours as the separator.
void SunkenFrame(HDC dc, const RECT& r, int thickness) {
    FillWithSystemColour(dc, RECT{r.left, r.top, r.right, r.top + thickness}, COLOR_BTNSHADOW);
    FillWithSystemColour(dc, RECT{r.left, r.top, r.left + thickness, r.bottom}, COLOR_BTNSHADOW);
    FillWithSystemColour(dc, RECT{r.left, r.bottom - thickness, r.right, r.bottom},
                         COLOR_BTNHIGHLIGHT);
    FillWithSystemColour(dc, RECT{r.right - thickness, r.top, r.right, r.bottom},
                         COLOR_BTNHIGHLIGHT);
}

void DrawLabel(HDC dc, const std::wstring& text, RECT box, bool wraps, COLORREF colour) {
    ::SetTextColor(dc, colour);
    const UINT format = DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE | DT_NOCLIP);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
}

void StretchPicture(HDC dc, const Picture& picture, const RECT& box) {
    if (picture.pixels.empty()) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(picture.width);
    info.bmiHeader.biHeight = -static_cast<LONG>(picture.height);  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchDIBits(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, 0, 0,
                    static_cast<int>(picture.width), static_cast<int>(picture.height),
                    picture.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

// Windows 10 1703 and later rescale a dialog and its controls on a DPI
// change by themselves; this box places everything from its twips, so it
// takes that over. Looked up at run time: older systems and Wine lack it.
void TakeOverDpiScaling(HWND dialog) {
    using SetBehaviour =
        BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    const FARPROC found =
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior");
    if (found == nullptr) return;
    reinterpret_cast<SetBehaviour>(reinterpret_cast<void*>(found))(dialog, DDC_DISABLE_ALL,
                                                                   DDC_DISABLE_ALL);
}

// ---- The box ------------------------------------------------------------

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

    void ComposeContents();
    void SetWindowIcons();
    void AddTooltips();
    void AddTooltip(HWND tips, int button_id, const std::wstring& text);
    void LayOut();
    void MakeFonts();
    void PlaceButtons();
    void SizeWindow(int x, int y, UINT flags);
    void CentreOnScreen();
    void PaintLabels(HDC dc) const;
    HGDIOBJ FontFor(Face face) const;

    HWND hwnd_ = nullptr;
    UINT dpi_ = kDesignDpi;
    std::array<std::wstring, kTextCount> texts_;
    Picture logo_;
    HCURSOR hand_ = nullptr;  // a shared resource cursor: never destroyed
    UniqueIcon big_icon_;
    UniqueIcon small_icon_;
    UniqueGdiObject title_font_;
    UniqueGdiObject label_font_;
    UniqueGdiObject button_font_;
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
    TakeOverDpiScaling(hwnd_);
    dpi_ = ::GetDpiForWindow(hwnd_);
    ComposeContents();
    hand_ = ::LoadCursorW(Instance(), MAKEINTRESOURCEW(IDC_HAND_CURSOR));
    logo_ = DecodeLogo();
    LayOut();
    SizeWindow(0, 0, SWP_NOMOVE);
    CentreOnScreen();
    ::SendMessageW(hwnd_, WM_NEXTDLGCTL,
                   reinterpret_cast<WPARAM>(::GetDlgItem(hwnd_, IDC_ABOUT_EMAIL)), TRUE);
    return FALSE;  // the focus is placed
}

// Composed afresh at every opening; each shadow shows its main label's text.
void FrmAbout::ComposeContents() {
    SetWindowIcons();
    ::SetWindowTextW(hwnd_, (std::wstring(L"About ") + kAppTitle).c_str());
    const VersionRecord version = ReadVersionRecord();
    texts_[kVersion] = VersionText(version.major, version.minor);
    texts_[kTitle] = kAppTitle;
    AddTooltips();
    texts_[kCopyright] = version.copyright;
    texts_[kStatement] = kDeclaration;
}

void FrmAbout::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
        case IDC_ABOUT_EMAIL: cmdEmail_Click(); break;
        case IDC_ABOUT_HOMEPAGE: cmdHomePage_Click(); break;
        case IDC_ABOUT_OK: cmdOK_Click(); break;
        // The title bar's close button and Escape: the box has no cancel
        // button, but closing it any of these ways means the same as "Ok".
        case IDCANCEL: cmdOK_Click(); break;
        default: break;
    }
}

void FrmAbout::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd_, &paint);
    StretchPicture(dc, logo_, ToRect(ToPixels(kImage1, dpi_)));
    SunkenFrame(dc, ToRect(ToPixels(kLabel1, dpi_)), ScaledPixels(1, dpi_));
    const int left = TwipsToPixels(kLineLeft, dpi_);
    const int right = TwipsToPixels(kLineRight, dpi_);
    const int y = TwipsToPixels(kLineY, dpi_);
    HorizontalLine(dc, left, right, y, ScaledPixels(kLine4Width, dpi_), COLOR_BTNSHADOW);
    HorizontalLine(dc, left, right, y, ScaledPixels(kLine3Width, dpi_), COLOR_BTNHIGHLIGHT);
    PaintLabels(dc);
    ::EndPaint(hwnd_, &paint);
}

void FrmAbout::PaintLabels(HDC dc) const {
    ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ before = ::SelectObject(dc, FontFor(Face::Label));
    for (const LabelPair& pair : kLabels) {
        ::SelectObject(dc, FontFor(pair.face));
        const std::wstring& text = texts_[pair.text];
        DrawLabel(dc, text, ToRect(ToPixels(pair.shadow, dpi_)), pair.wraps, kShadow);
        DrawLabel(dc, text, ToRect(ToPixels(pair.main, dpi_)), pair.wraps, kGold);
    }
    ::SelectObject(dc, before);
}

HGDIOBJ FrmAbout::FontFor(Face face) const {
    return face == Face::Title ? title_font_.get() : label_font_.get();
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
            ::LoadImageW(Instance(), MAKEINTRESOURCEW(IDI_ABOUT_ICON), IMAGE_ICON,
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
                                  Instance(), nullptr);
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

void FrmAbout::MakeFonts() {
    const wchar_t* label_face = ChooseFace(kLabelFaces, dpi_);
    title_font_ = MakeFont(ChooseFace(kTitleFaces, dpi_), kTitleSize, FW_BOLD, dpi_);
    button_font_ = MakeFont(label_face, kLabelSize, FW_NORMAL, dpi_);
    label_font_ = MakeFont(label_face, kLabelSize, FW_BOLD, dpi_);
}

void FrmAbout::PlaceButtons() {
    for (const Button& button : kButtons) {
        HWND control = ::GetDlgItem(hwnd_, button.id);
        const PixelRect r = ToPixels(button.rect, dpi_);
        ::MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(button_font_.get()), TRUE);
    }
}

void FrmAbout::LayOut() {
    MakeFonts();
    PlaceButtons();
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
    ::DialogBoxParamW(Instance(), MAKEINTRESOURCEW(IDD_ABOUT), nullptr, FrmAbout::DialogProc,
                      reinterpret_cast<LPARAM>(&box));
    open_box = nullptr;
}

}  // namespace orvanel
