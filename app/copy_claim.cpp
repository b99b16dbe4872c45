#include "copy_claim.h"

#include <windows.h>

#include <utility>

#include "handles.h"
#include "one_copy.h"

namespace orvanel {
namespace {

// The session's own namespace, so that other users signed in on the same
// machine keep theirs. The claim is owning the mutex: Windows gives it up
// when the owner's process ends, however it ends.
constexpr wchar_t kClaimMutex[] = L"Local\\Kestrane.Orvanel.TrayInstance";
// Exists exactly as long as a leaving copy's process does.
constexpr wchar_t kLeavingEvent[] = L"Local\\Kestrane.Orvanel.Leaving";

bool OtherIsLeaving() {
    return UniqueHandle(::OpenEventW(SYNCHRONIZE, FALSE, kLeavingEvent)).get() != nullptr;
}

bool Owns(HANDLE mutex, DWORD wait_ms) {
    const DWORD result = ::WaitForSingleObject(mutex, wait_ms);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

}  // namespace

Claim ClaimThisSession() {
    static UniqueHandle claim;  // held until the process ends
    UniqueHandle mutex(::CreateMutexW(nullptr, FALSE, kClaimMutex));
    // Access denied: a copy running with other rights holds the name. Any
    // other failure leaves nothing to share: run unguarded.
    if (!mutex) return ::GetLastError() == ERROR_ACCESS_DENIED ? Claim::AnotherCopyRuns : Claim::Run;
    const ClaimWait wait(::GetTickCount());
    for (DWORD pause = 0;; pause = wait.Pause(::GetTickCount())) {
        const bool owned = Owns(mutex.get(), pause);
        switch (wait.Next(owned, OtherIsLeaving(), ::GetTickCount())) {
            case ClaimStep::Run: claim = std::move(mutex); return Claim::Run;
            case ClaimStep::HandOver: return Claim::AnotherCopyRuns;
            case ClaimStep::GiveUp: return Claim::StillClosing;
            case ClaimStep::Wait: break;
        }
    }
}

void AnnounceLeaving() {
    static UniqueHandle leaving;  // held until the process ends
    leaving.reset(::CreateEventW(nullptr, TRUE, TRUE, kLeavingEvent));
}

}  // namespace orvanel
