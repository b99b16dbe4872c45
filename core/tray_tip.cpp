#include "tray_tip.h"

#include <algorithm>

namespace orvanel {

std::array<char, kTipFieldSize> TipField(std::string_view tip) {
    std::array<char, kTipFieldSize> field;
    field.fill(' ');
    const std::size_t n = std::min(tip.size(), field.size());
    std::copy_n(tip.begin(), n, field.begin());
    return field;
}

}  // namespace orvanel
