#include "settings_layout.h"

namespace orvanel {

int ScaleForDpi(int pixels_at_96, unsigned dpi) {
    // 96 dots per inch are 15 twips a pixel.
    constexpr int kTwipsPerDesignPixel = kTwipsPerInch / 96;
    return TwipsToPixels(pixels_at_96 * kTwipsPerDesignPixel, dpi);
}

}  // namespace orvanel
