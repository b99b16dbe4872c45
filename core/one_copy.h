// One copy a sign-in session. A copy started while another runs normally
// hands over to it and ends; one started while the other is leaving (its
// drive being unmounted) waits, bounded, for that process to end and then
// runs itself, so that a start right after Exit is never lost. It also
// waits for the commands an earlier copy started: a slow removal that ends
// after the new copy took over would take the drive from under it.
#pragma once

#include <cstdint>

namespace orvanel {

enum class ClaimStep {
    Run,       // this copy holds the claim: start
    HandOver,  // another copy runs and stays: bring it forward, end quietly
    Wait,      // another copy, or its commands, are not done: look again after the pause
    GiveUp,    // it is still leaving after the bound: say so, end
};

constexpr wchar_t kStillClosingMessage[] =
    L"Orvanel is still closing. Try again in a moment.";

class ClaimWait {
public:
    static constexpr std::uint32_t kWaitAtMostMs = 10000;
    // The claim is waited for itself; the pause only bounds how late a
    // copy notices that another new one has won it.
    static constexpr std::uint32_t kLookEveryMs = 200;

    // `now_ms` is a millisecond tick count that may wrap around.
    explicit ClaimWait(std::uint32_t started_ms) : started_(started_ms) {}

    // `claimed`: this copy now holds the claim; `other_leaving`: the copy
    // that holds it has shown that it is leaving; `commands_running`: a
    // subst.exe an earlier copy started has not ended yet.
    ClaimStep Next(bool claimed, bool other_leaving, bool commands_running, std::uint32_t now_ms) const;
    // How long to wait before looking again.
    std::uint32_t Pause(std::uint32_t now_ms) const;

private:
    std::uint32_t started_;
};

}  // namespace orvanel
