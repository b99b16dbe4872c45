// Design positions in twips (1/1440 inch) and their pixels at a display's DPI.
#pragma once

namespace orvanel {

constexpr int kTwipsPerInch = 1440;
// Twips in one typographic point.
constexpr int kTwipsPerPoint = 20;

struct TwipsRect {
    int left, top, width, height;
};

struct PixelRect {
    int left, top, right, bottom;
};

// Nearest whole pixel, halves rounded away from zero (as MulDiv does).
int TwipsToPixels(int twips, unsigned dpi);

// A length of `pixels_at_96` design pixels (icon sizes, gaps, line widths)
// at `dpi`, halves rounded away from zero.
int ScaleForDpi(int pixels_at_96, unsigned dpi);

// Scales the edges rather than the sizes, so that controls which meet or
// overlap by design still do at every scale.
PixelRect ToPixels(const TwipsRect& rect, unsigned dpi);

}  // namespace orvanel
