#include "leaving.h"

namespace orvanel {

LeaveStep LeavePlan::Next(const MountTracker& mount, std::uint32_t now_ms) {
    if (mount.Pending() && WaitLeft(now_ms) > 0) return LeaveStep::Wait;
    // Once the commands have ended, the tracker shows the real state.
    if (unmount_started_ || mount.Shown() != MountState::Mounted) return LeaveStep::End;
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
