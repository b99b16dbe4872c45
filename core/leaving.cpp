#include "leaving.h"

#include <algorithm>

namespace orvanel {

LeaveStep LeavePlan::Next(const std::vector<const MountTracker*>& drives, std::uint32_t now_ms) {
    const auto pending = [](const MountTracker* t) { return t->Pending(); };
    const auto mounted = [](const MountTracker* t) { return t->Shown() == MountState::Mounted; };
    if (std::any_of(drives.begin(), drives.end(), pending) && WaitLeft(now_ms) > 0) return LeaveStep::Wait;
    // Once the commands have ended, the trackers show the real state.
    if (unmount_started_ || std::none_of(drives.begin(), drives.end(), mounted)) return LeaveStep::End;
    unmount_started_ = true;
    wait_from_ = now_ms;
    wait_for_ = kWaitForUnmountMs;
    return LeaveStep::Unmount;
}

std::uint32_t LeavePlan::WaitLeft(std::uint32_t now_ms) const {
    const std::uint32_t waited = now_ms - wait_from_;  // unsigned: right across a wrap
    return waited >= wait_for_ ? 0 : wait_for_ - waited;
}

}  // namespace orvanel
