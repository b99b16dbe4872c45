#include "Register.h"

#include <windows.h>

#include "copy_claim.h"
#include "frmMain.h"
#include "maker_sync.h"
#include "message_box.h"
#include "one_copy.h"
#include "process.h"

namespace orvanel {

StartUp Main() {
    // Libraries the program loads itself (the delay-loaded ones among them)
    // come from the system folder only, never from the folder it was
    // started from: a Downloads folder may hold a file named like one.
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    switch (ClaimThisSession()) {
        case Claim::Run: break;
        case Claim::AnotherCopyRuns: BringRunningCopyForward(); return StartUp::AnotherCopyRuns;
        case Claim::StillClosing: ShowAppMessage(nullptr, kStillClosingMessage); return StartUp::Failed;
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
