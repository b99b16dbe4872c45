// The program loads some of Windows' own libraries at their first use (see
// cmake/DelayLoad.cmake). Should one of them or a function in it be missing
// then, the user is told which, and the program ends, instead of the
// loader's exception ending it from inside a window procedure.
#include <windows.h>
#include <delayimp.h>

#include <string>

#include "app_info.h"
#include "message_box.h"
#include "text.h"

namespace {

FARPROC WINAPI ReportDelayLoadFailure(unsigned notify, PDelayLoadInfo info) {
    std::wstring text = std::wstring(orvanel::kAppTitle) + L" cannot load " + orvanel::FromAnsi(info->szDll);
    if (notify == dliFailGetProc && info->dlp.fImportByName) {
        text += L": " + orvanel::FromAnsi(info->dlp.szProcName);
    }
    text += L", and closes.";
    orvanel::ShowAppMessage(nullptr, text);
    ::ExitProcess(1);
}

}  // namespace

// The loader's hook: MSVC's header declares it const, MinGW's does not.
extern "C" {
#ifdef _MSC_VER
const PfnDliHook __pfnDliFailureHook2 = ReportDelayLoadFailure;
#else
PfnDliHook __pfnDliFailureHook2 = ReportDelayLoadFailure;
#endif
}
