// How the program leaves: the drive must be unmapped once it has gone, yet
// it must end within a few seconds even when a subst.exe hangs.
#pragma once

#include <cstdint>
#include <vector>

#include "mount_state.h"

namespace orvanel {

enum class LeaveStep {
    Wait,     // let commands still running end (the message loop stays alive)
    Unmount,  // start the unmount of every drive shown mounted; their ends are then waited for in turn
    End,      // remove the icon and end the process
};

// A mount still running when the user leaves could map its drive after an
// unmount started at once; so every drive's commands are let finish first,
// and the unmounts follow for the drives that then show mounted. Each wait
// is bounded.
class LeavePlan {
public:
    static constexpr std::uint32_t kWaitForRunningMs = 4000;
    static constexpr std::uint32_t kWaitForUnmountMs = 2000;

    // `now_ms` is a millisecond tick count that may wrap around.
    explicit LeavePlan(std::uint32_t now_ms) : wait_from_(now_ms) {}

    LeaveStep Next(const std::vector<const MountTracker*>& drives, std::uint32_t now_ms);
    // How long the current wait may still last.
    std::uint32_t WaitLeft(std::uint32_t now_ms) const;

private:
    std::uint32_t wait_from_;
    std::uint32_t wait_for_ = kWaitForRunningMs;
    bool unmount_started_ = false;
};

}  // namespace orvanel
