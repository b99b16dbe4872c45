// The program loads some of Windows' own libraries at their first use (see
// cmake/DelayLoad.cmake). Should one of them or a function in it be missing
// then, the user is told which, and the program ends, instead of the
// loader's exception ending it from inside a window procedure.
#include <windows.h>
#include <delayimp.h>

#include <string>

#include "app_info.h"

namespace {

FARPROC WINAPI ReportDelayLoadFailure(unsigned notify, PDelayLoadInfo info) {
    std::string text = std::string(orvanel::kAppTitleAnsi) + " cannot load " + info->szDll;
    if (notify == dliFailGetProc && info->dlp.fImportByName) text += std::string(": ") + info->dlp.szProcName;
    text += ", and closes.";
    ::MessageBoxA(nullptr, text.c_str(), orvanel::kAppTitleAnsi, MB_OK);
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
