// The tip field of the notification-area record.
#pragma once

#include <array>
#include <string_view>

namespace orvanel {

constexpr std::size_t kTipFieldSize = 64;

// Left-aligned, cut at 64 bytes, the rest filled with blanks. Callers pass
// the tip with its NUL, so the shell shows only the words.
std::array<char, kTipFieldSize> TipField(std::string_view tip);

}  // namespace orvanel
