#include "about_layout.h"

#include <vector>

namespace orvanel {

AboutPlacement FitAboutLayout(unsigned dpi, const AboutNeeds& needs, PixelSize client_need) {
    std::vector<LayoutBox> boxes;
    for (std::size_t i = 0; i < kAboutLayout.size(); ++i) {
        boxes.push_back({ToPixels(kAboutLayout[i].twips, dpi), needs[i], kAboutLayout[i].parent, kAboutLayout[i].right});
    }
    const PixelRect client = ToPixels(kAboutClient, dpi);
    const FittedLayout fitted = FitLayout(boxes, {client.right, client.bottom}, client_need);
    AboutPlacement placement{};
    for (std::size_t i = 0; i < placement.parts.size(); ++i) placement.parts[i] = fitted.boxes[i];
    placement.client = fitted.client;
    return placement;
}

std::size_t AboutIndex(AboutPart part) {
    for (std::size_t i = 0; i < kAboutLayout.size(); ++i) {
        if (kAboutLayout[i].part == part) return i;
    }
    return 0;
}

PixelRect ShadowRect(const LabelShadow& shadow, const PixelRect& placed, unsigned dpi) {
    const PixelRect main = ToPixels(kAboutLayout[AboutIndex(shadow.label)].twips, dpi);
    const PixelRect offset = ToPixels(shadow.twips, dpi);
    const int dx = offset.left - main.left;
    const int dy = offset.top - main.top;
    return {placed.left + dx, placed.top + dy, placed.right + dx, placed.bottom + dy};
}

}  // namespace orvanel
