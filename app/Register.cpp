#include "Register.h"

#include <windows.h>

#include <string>
#include <utility>

#include "frmMain.h"
#include "handles.h"
#include "maker_sync.h"
#include "message_box.h"
#include "process.h"

namespace orvanel {
namespace {

// One copy per sign-in session: the session's own namespace, so that other
// users signed in on the same machine keep theirs.
constexpr wchar_t kOneCopyMutex[] = L"Local\\Kestrane.Orvanel.TrayInstance";

// Held until the process ends; a copy started meanwhile finds it taken.
UniqueHandle& OneCopyLock() {
    static UniqueHandle lock;
    return lock;
}

bool ClaimOneCopy() {
    UniqueHandle lock(::CreateMutexW(nullptr, FALSE, kOneCopyMutex));
    const DWORD error = ::GetLastError();
    // Access denied: a copy running with other rights holds the name.
    if (!lock) return error != ERROR_ACCESS_DENIED;
    if (error == ERROR_ALREADY_EXISTS) return false;
    OneCopyLock() = std::move(lock);
    return true;
}

}  // namespace

StartUp Main() {
    // Libraries the program loads itself (the delay-loaded ones among them)
    // come from the system folder only, never from the folder it was
    // started from: a Downloads folder may hold a file named like one.
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!ClaimOneCopy()) {
        BringRunningCopyForward();
        return StartUp::AnotherCopyRuns;
    }
    SyncMakerValues();
    if (!frmMain().Load()) {
        const DWORD error = ::GetLastError();
        ShowAppMessage(nullptr, L"Orvanel could not start: its hidden window could not be created.\r\n" +
                                    ErrorText(error));
        return StartUp::Failed;
    }
    return StartUp::Running;
}

}  // namespace orvanel
