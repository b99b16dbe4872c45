// The process entry point: start-up, then the message loop for as long as
// the main window lives.
#include <windows.h>

#include "Register.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    switch (orvanel::Main()) {
        case orvanel::StartUp::Running: break;
        case orvanel::StartUp::AnotherCopyRuns: return 0;
        case orvanel::StartUp::Failed: return 1;
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
