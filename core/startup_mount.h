// What start-up does about the drive when "Mount the drive when Orvanel
// starts" is ticked, and how long it waits for a folder that is not there
// yet (a USB disk plugged in later, a network drive Windows reconnects a few
// seconds after sign-in).
#pragma once

#include <cstdint>
#include <optional>

namespace orvanel {

enum class StartupMount {
    Nothing,  // the option is off, no folder is stored, or the drive maps already
    Refuse,   // a stored setting is damaged: say so, as Mount does
    Wait,     // the folder is missing: look again later
    Mount,    // exactly as the menu's Mount
};

struct StartupFacts {
    bool option_on = false;
    bool folder_stored = false;
    bool damaged = false;        // the mount rule refuses the stored values
    bool mapped = false;         // the letter maps to the folder already
    bool folder_exists = false;
};

StartupMount DecideStartupMount(const StartupFacts& facts);

// Looks again every few seconds for up to a minute. `now_ms` is a
// millisecond tick count that may wrap around.
class FolderWait {
public:
    static constexpr std::uint32_t kLookEveryMs = 3000;
    static constexpr std::uint32_t kWaitAtMostMs = 60000;

    explicit FolderWait(std::uint32_t started_ms) : started_(started_ms) {}
    // The folder is still missing: the pause before the next look, or
    // nullopt when the wait is over and the mount is to go ahead, to fail
    // with the message a Mount gives.
    std::optional<std::uint32_t> Missing(std::uint32_t now_ms) const;

private:
    std::uint32_t started_;
};

}  // namespace orvanel
