#include "about_painting.h"

#include "twips.h"

namespace orvanel {
namespace {

constexpr COLORREF kGold = RGB(221, 173, 49);
constexpr COLORREF kShadow = RGB(0, 0, 0);

// The design, in twips from the client area's top-left corner.
constexpr TwipsRect kImage1{120, 120, 8220, 3750};
constexpr TwipsRect kLabel1{120, 120, 5535, 2535};

// Line3 and Line4 share one path; the narrower, lighter Line3 lies on the
// lower edge of Line4, which makes the pair read as an etched groove.
constexpr int kLineLeft = 240;
constexpr int kLineRight = 5520;
constexpr int kLineY = 2280;
constexpr int kLine3Width = 1;  // pixels at 96 DPI
constexpr int kLine4Width = 2;

struct LabelPair {
    std::wstring LabelTexts::*text;
    UniqueGdiObject AboutFonts::*font;
    TwipsRect main;
    TwipsRect shadow;
    bool wraps;  // a fixed box with word wrap; the others size themselves to their text
};

// In stacking order, bottom first.
constexpr LabelPair kLabels[] = {
    // lblTitle over lblTitleShadow
    {&LabelTexts::title, &AboutFonts::title, {225, 1200, 2415, 420}, {255, 1230, 2415, 420}, false},
    // lblVersion
    {&LabelTexts::version, &AboutFonts::label, {1080, 1594, 645, 195}, {1125, 1623, 645, 195},
     false},
    // lblCopyright
    {&LabelTexts::copyright, &AboutFonts::label, {240, 2040, 900, 195}, {270, 2070, 900, 195},
     false},
    // lblDeclration
    {&LabelTexts::declaration, &AboutFonts::label, {240, 3240, 3900, 495}, {261, 3274, 3900, 495},
     true},
};

RECT Box(const TwipsRect& twips, UINT dpi) {
    const PixelRect r = ToPixels(twips, dpi);
    return RECT{r.left, r.top, r.right, r.bottom};
}

int ScaledPixels(int pixels_at_96, UINT dpi) {
    return ::MulDiv(pixels_at_96, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

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

void Separator(HDC dc, UINT dpi) {
    const int left = TwipsToPixels(kLineLeft, dpi);
    const int right = TwipsToPixels(kLineRight, dpi);
    const int y = TwipsToPixels(kLineY, dpi);
    HorizontalLine(dc, left, right, y, ScaledPixels(kLine4Width, dpi), COLOR_BTNSHADOW);
    HorizontalLine(dc, left, right, y, ScaledPixels(kLine3Width, dpi), COLOR_BTNHIGHLIGHT);
}

void DrawLabel(HDC dc, const std::wstring& text, RECT box, bool wraps, COLORREF colour) {
    ::SetTextColor(dc, colour);
    const UINT format = DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE | DT_NOCLIP);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
}

void Labels(HDC dc, UINT dpi, const LabelTexts& texts, const AboutFonts& fonts) {
    ::SetBkMode(dc, TRANSPARENT);
    const HGDIOBJ before = ::GetCurrentObject(dc, OBJ_FONT);
    for (const LabelPair& pair : kLabels) {
        ::SelectObject(dc, (fonts.*pair.font).get());
        const std::wstring& text = texts.*pair.text;
        DrawLabel(dc, text, Box(pair.shadow, dpi), pair.wraps, kShadow);
        DrawLabel(dc, text, Box(pair.main, dpi), pair.wraps, kGold);
    }
    ::SelectObject(dc, before);
}

}  // namespace

void PaintAboutBox(HDC dc, UINT dpi, const LogoPicture& logo, const LabelTexts& texts,
                   const AboutFonts& fonts) {
    StretchLogo(dc, logo, Box(kImage1, dpi));
    SunkenFrame(dc, Box(kLabel1, dpi), ScaledPixels(1, dpi));
    Separator(dc, dpi);
    Labels(dc, dpi, texts, fonts);
}

}  // namespace orvanel
