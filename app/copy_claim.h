// One copy a sign-in session, and the hand-over from a copy that is leaving
// to one started meanwhile.
#pragma once

namespace orvanel {

enum class Claim {
    Run,              // this is the session's copy
    AnotherCopyRuns,  // hand over to it and end
    StillClosing,     // the leaving copy did not end in time
};

// Waits, bounded, while the session's copy is leaving.
Claim ClaimThisSession();

// Shown before the leaving copy unmounts, for as long as its process lives.
void AnnounceLeaving();

}  // namespace orvanel
