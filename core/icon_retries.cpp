#include "icon_retries.h"

#include <array>

namespace orvanel {
namespace {

// Fifteen seconds in all before the user is told.
constexpr std::array<std::uint32_t, 4> kPausesMs{1000, 2000, 4000, 8000};

}  // namespace

std::optional<std::uint32_t> IconRetrySchedule::Failed() {
    if (failures_ < static_cast<int>(kPausesMs.size())) return kPausesMs[failures_++];
    failures_ = 0;
    return std::nullopt;
}

}  // namespace orvanel
