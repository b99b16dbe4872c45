#include "about_layout.h"

namespace orvanel {

PixelRect ShadowRect(const LabelShadow& shadow, const PixelRect& placed, unsigned dpi) {
    const PixelRect main = ToPixels(kAboutLayout[AboutIndex(shadow.label)].twips, dpi);
    const PixelRect offset = ToPixels(shadow.twips, dpi);
    const int dx = offset.left - main.left;
    const int dy = offset.top - main.top;
    return {placed.left + dx, placed.top + dy, placed.right + dx, placed.bottom + dy};
}

}  // namespace orvanel
