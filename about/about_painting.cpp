#include "about_painting.h"

#include "twips.h"

namespace orvanel {
namespace {

constexpr COLORREF kShadow = RGB(0, 0, 0);

// The separator is two lines on one path: a light one, one pixel high, on
// the lower edge of a dark one two pixels high, which reads as an etched groove.
constexpr int kLightWidth = 1;  // pixels at 96 DPI
constexpr int kDarkWidth = 2;

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

void Separator(HDC dc, const RECT& line, UINT dpi) {
    const int y = line.bottom - 1;
    HorizontalLine(dc, line.left, line.right, y, ScaleForDpi(kDarkWidth, dpi), COLOR_BTNSHADOW);
    HorizontalLine(dc, line.left, line.right, y, ScaleForDpi(kLightWidth, dpi), COLOR_BTNHIGHLIGHT);
}

// As the static control draws its text, but unclipped: the shadow lies
// partly outside the label's box.
void Shadows(HDC dc, const std::vector<LabelShadowText>& shadows) {
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kShadow);
    const HGDIOBJ before = ::GetCurrentObject(dc, OBJ_FONT);
    for (const LabelShadowText& shadow : shadows) {
        ::SelectObject(dc, shadow.font);
        RECT box = shadow.box;
        const UINT format = DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX | DT_NOCLIP | (shadow.wraps ? DT_WORDBREAK : 0);
        ::DrawTextW(dc, shadow.text.c_str(), static_cast<int>(shadow.text.size()), &box, format);
    }
    ::SelectObject(dc, before);
}

}  // namespace

void PaintAboutBox(HDC dc, UINT dpi, const LogoPicture& logo, const AboutPainting& parts,
                   const std::vector<LabelShadowText>& shadows) {
    StretchLogo(dc, logo, parts.image);
    SunkenFrame(dc, parts.frame, ScaleForDpi(1, dpi));
    Separator(dc, parts.separator, dpi);
    Shadows(dc, shadows);
}

}  // namespace orvanel
