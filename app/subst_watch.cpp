#include "subst_watch.h"

#include <string>

#include "handles.h"
#include "process.h"
#include "text.h"

namespace orvanel {
namespace {

struct RunningSubst {
    HWND window;
    UINT message;
    UINT tag;
    UniqueHandle process;
    UniqueHandle output;
};

void Post(HWND window, UINT message, UINT tag, std::unique_ptr<SubstReport> report) {
    if (::PostMessageW(window, message, tag, reinterpret_cast<LPARAM>(report.get()))) {
        report.release();  // the window owns it now
    }
}

std::string ReadAll(HANDLE pipe) {
    std::string text;
    char buffer[512];
    DWORD n = 0;
    while (::ReadFile(pipe, buffer, sizeof(buffer), &n, nullptr) && n > 0) text.append(buffer, n);
    return text;
}

// Runs on a thread-pool thread: reading to the end of the output also waits
// for the process without holding up the window.
void CALLBACK WaitForSubst(PTP_CALLBACK_INSTANCE, void* context) {
    std::unique_ptr<RunningSubst> watch(static_cast<RunningSubst*>(context));
    auto report = std::make_unique<SubstReport>();
    report->output = FromOem(ReadAll(watch->output.get()));
    ::WaitForSingleObject(watch->process.get(), INFINITE);
    ::GetExitCodeProcess(watch->process.get(), &report->exit_code);
    Post(watch->window, watch->message, watch->tag, std::move(report));
}

}  // namespace

void StartWatchedSubst(HWND window, UINT message, UINT tag, const std::wstring& command_line) {
    StartedProcess started = StartProgram(SystemDirectory(), command_line, SW_HIDE, Output::Capture);
    if (started.error == 0) {
        auto watch = std::unique_ptr<RunningSubst>(
            new RunningSubst{window, message, tag, std::move(started.process), std::move(started.output)});
        if (::TrySubmitThreadpoolCallback(WaitForSubst, watch.get(), nullptr)) {
            watch.release();
            return;
        }
        started.error = ::GetLastError();
    }
    auto report = std::make_unique<SubstReport>();
    report->exit_code = started.error;
    report->output = L"subst.exe could not be started: " + ErrorText(started.error);
    Post(window, message, tag, std::move(report));
}

std::unique_ptr<SubstReport> TakeSubstReport(LPARAM lparam) {
    return std::unique_ptr<SubstReport>(reinterpret_cast<SubstReport*>(lparam));
}

}  // namespace orvanel
