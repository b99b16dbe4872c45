#include "twips.h"

namespace orvanel {

int TwipsToPixels(int twips, unsigned dpi) {
    const long long scaled = static_cast<long long>(twips) * static_cast<long long>(dpi);
    const long long half = kTwipsPerInch / 2;
    const long long rounded = scaled >= 0 ? (scaled + half) / kTwipsPerInch
                                          : -((-scaled + half) / kTwipsPerInch);
    return static_cast<int>(rounded);
}

int ScaleForDpi(int pixels_at_96, unsigned dpi) {
    // 96 dots per inch are 15 twips a pixel.
    return TwipsToPixels(pixels_at_96 * (kTwipsPerInch / 96), dpi);
}

PixelRect ToPixels(const TwipsRect& rect, unsigned dpi) {
    return PixelRect{TwipsToPixels(rect.left, dpi), TwipsToPixels(rect.top, dpi),
                     TwipsToPixels(rect.left + rect.width, dpi),
                     TwipsToPixels(rect.top + rect.height, dpi)};
}

}  // namespace orvanel
