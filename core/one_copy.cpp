#include "one_copy.h"

#include <algorithm>

namespace orvanel {

ClaimStep ClaimWait::Next(bool claimed, bool other_leaving, bool commands_running,
                          std::uint32_t now_ms) const {
    if (claimed && !commands_running) return ClaimStep::Run;
    if (!claimed && !other_leaving) return ClaimStep::HandOver;
    return Pause(now_ms) > 0 ? ClaimStep::Wait : ClaimStep::GiveUp;
}

std::uint32_t ClaimWait::Pause(std::uint32_t now_ms) const {
    const std::uint32_t waited = now_ms - started_;  // unsigned: right across a wrap
    return waited >= kWaitAtMostMs ? 0 : std::min(kLookEveryMs, kWaitAtMostMs - waited);
}

}  // namespace orvanel
