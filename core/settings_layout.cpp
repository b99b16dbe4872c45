#include "settings_layout.h"

#include <vector>

namespace orvanel {

SettingsPlacement FitSettingsLayout(unsigned dpi, const SettingsNeeds& needs, PixelSize client_need) {
    std::vector<LayoutBox> boxes;
    for (std::size_t i = 0; i < kSettingsLayout.size(); ++i) {
        boxes.push_back({ToPixels(kSettingsLayout[i].twips, dpi), needs[i], -1, kSettingsLayout[i].right});
    }
    const PixelRect client = ToPixels(kSettingsClient, dpi);
    const FittedLayout fitted = FitLayout(boxes, {client.right, client.bottom}, client_need);
    SettingsPlacement placement{};
    for (std::size_t i = 0; i < placement.controls.size(); ++i) placement.controls[i] = fitted.boxes[i];
    placement.client = fitted.client;
    return placement;
}

std::size_t SettingsIndex(SettingsControl control) {
    for (std::size_t i = 0; i < kSettingsLayout.size(); ++i) {
        if (kSettingsLayout[i].control == control) return i;
    }
    return 0;
}

int ScaleForDpi(int pixels_at_96, unsigned dpi) {
    // 96 dots per inch are 15 twips a pixel.
    constexpr int kTwipsPerDesignPixel = kTwipsPerInch / 96;
    return TwipsToPixels(pixels_at_96 * kTwipsPerDesignPixel, dpi);
}

}  // namespace orvanel
