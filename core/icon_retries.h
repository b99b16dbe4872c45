// When to try again after the shell refused the notification-area icon:
// at sign-in it may not be ready yet, or may be too busy to answer.
#pragma once

#include <cstdint>
#include <optional>

namespace orvanel {

class IconRetrySchedule {
public:
    // An attempt failed: the pause before the next one, further apart each
    // time, or nullopt when it is time to give up and tell the user. After
    // giving up, a later failure begins a fresh series.
    std::optional<std::uint32_t> Failed();
    // The icon was added, or the shell started again: the next failure
    // begins a fresh series.
    void Reset() { failures_ = 0; }

private:
    int failures_ = 0;
};

}  // namespace orvanel
