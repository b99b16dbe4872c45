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
// Exists as long as the running copy or any subst.exe it started does: the
// commands inherit the handle, so a removal that outlives its copy keeps it.
constexpr wchar_t kCommandsEvent[] = L"Local\\Kestrane.Orvanel.Commands";

bool Exists(const wchar_t* event_name) {
    return UniqueHandle(::OpenEventW(SYNCHRONIZE, FALSE, event_name)).get() != nullptr;
}

bool Owns(HANDLE mutex, DWORD wait_ms) {
    const DWORD result = ::WaitForSingleObject(mutex, wait_ms);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

// Handed down to every command started with the program's inheritable
// handles (the captured subst.exe), never to the viewers it opens.
void MarkCommands() {
    static UniqueHandle commands;  // held until the process ends
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    commands.reset(::CreateEventW(&inherit, TRUE, FALSE, kCommandsEvent));
}

}  // namespace

Claim ClaimThisSession() {
    static UniqueHandle claim;  // held until the process ends
    UniqueHandle mutex(::CreateMutexW(nullptr, FALSE, kClaimMutex));
    // Access denied: a copy running with other rights holds the name. Any
    // other failure leaves nothing to share: run unguarded.
    if (!mutex) return ::GetLastError() == ERROR_ACCESS_DENIED ? Claim::AnotherCopyRuns : Claim::Run;
    const ClaimWait wait(::GetTickCount());
    bool owned = false;
    for (DWORD pause = 0;; pause = wait.Pause(::GetTickCount())) {
        // Once owned, only an earlier copy's commands are waited for.
        if (owned) {
            ::Sleep(pause);
        } else {
            owned = Owns(mutex.get(), pause);
        }
        switch (wait.Next(owned, Exists(kLeavingEvent), Exists(kCommandsEvent), ::GetTickCount())) {
            case ClaimStep::Run: claim = std::move(mutex); MarkCommands(); return Claim::Run;
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
