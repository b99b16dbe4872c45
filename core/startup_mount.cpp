#include "startup_mount.h"

#include <algorithm>

namespace orvanel {

StartupMount DecideStartupMount(const StartupFacts& facts) {
    if (!facts.option_on || !facts.folder_stored) return StartupMount::Nothing;
    if (facts.damaged) return StartupMount::Refuse;
    if (facts.mapped) return StartupMount::Nothing;
    return facts.folder_exists ? StartupMount::Mount : StartupMount::Wait;
}

std::optional<std::uint32_t> FolderWait::Missing(std::uint32_t now_ms) const {
    const std::uint32_t waited = now_ms - started_;  // unsigned: right across a wrap
    if (waited >= kWaitAtMostMs) return std::nullopt;
    return std::min(kLookEveryMs, kWaitAtMostMs - waited);
}

}  // namespace orvanel
