// Runs inside the Wine virtual desktop: starts two tray programs in turn,
// times each from CreateProcess until it waits for input with its tray
// window created, reads its working set once idle, closes it, and prints
// the medians. Starting from here rather than from the Linux shell keeps
// Wine's own process start out of the figures. Prints figures only.
//
//   startup_bench RUNS FLOOR_EXE FLOOR_CLASS PROGRAM_EXE PROGRAM_CLASS
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Time for the program to finish what it does right after it first waits
// for input (the shell's answers to the icon), before the memory is read.
constexpr DWORD kSettleMs = 300;
constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 10000;
constexpr double kMiB = 1024.0 * 1024.0;
// Both programs give their notification-area icon this id.
constexpr UINT kIconId = 1;

struct Program {
    std::wstring exe;
    std::wstring window_class;
    std::vector<double> startup_ms;
    std::vector<double> working_set;
};

using Clock = std::chrono::steady_clock;

// The program's top-level window of that class (a tray window is hidden, not message-only).
HWND FindProgramWindow(DWORD pid, const std::wstring& window_class) {
    HWND window = nullptr;
    while ((window = ::FindWindowExW(nullptr, window, window_class.c_str(), nullptr)) != nullptr) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == pid) break;
    }
    return window;
}

// One start: returns false when the program did not come up.
bool RunOnce(Program& program, bool keep) {
    std::wstring command_line = L"\"" + program.exe + L"\"";
    const std::wstring folder = program.exe.substr(0, program.exe.find_last_of(L'\\'));
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    const Clock::time_point started = Clock::now();
    if (!::CreateProcessW(program.exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0,
                          nullptr, folder.c_str(), &startup, &process)) {
        std::fprintf(stderr, "cannot start %ls (error %lu)\n", program.exe.c_str(), ::GetLastError());
        return false;
    }
    ::WaitForInputIdle(process.hProcess, kStartTimeoutMs);
    HWND window = nullptr;
    while ((window = FindProgramWindow(process.dwProcessId, program.window_class)) == nullptr &&
           Clock::now() < started + std::chrono::milliseconds(kStartTimeoutMs)) {
        ::Sleep(1);
    }
    const Clock::time_point ready = Clock::now();

    ::Sleep(kSettleMs);
    PROCESS_MEMORY_COUNTERS counters{sizeof(counters)};
    const bool measured = window != nullptr &&
                          ::GetProcessMemoryInfo(process.hProcess, &counters, sizeof(counters));

    if (window != nullptr) ::PostMessageW(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.hProcess, 1);
        ::WaitForSingleObject(process.hProcess, kExitTimeoutMs);
    }
    // Whatever icon the program left behind would crowd the next starts.
    if (window != nullptr) {
        NOTIFYICONDATAA icon{NOTIFYICONDATAA_V1_SIZE, window, kIconId};  // its size, window and id
        ::Shell_NotifyIconA(NIM_DELETE, &icon);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (!measured) {
        std::fprintf(stderr, "no window %ls from %ls\n", program.window_class.c_str(), program.exe.c_str());
        return false;
    }
    if (keep) {
        program.startup_ms.push_back(std::chrono::duration<double, std::milli>(ready - started).count());
        program.working_set.push_back(static_cast<double>(counters.WorkingSetSize) / kMiB);
    }
    return true;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void PrintRow(const Program& p) {
    const auto [min_t, max_t] = std::minmax_element(p.startup_ms.begin(), p.startup_ms.end());
    const auto [min_w, max_w] = std::minmax_element(p.working_set.begin(), p.working_set.end());
    std::error_code unknown;  // the file's size is then printed as -1
    std::printf("%-18ls %7.1f ms (%5.1f to %5.1f)   %6.2f MiB (%5.2f to %5.2f)   %7lld bytes\n",
                p.exe.substr(p.exe.find_last_of(L'\\') + 1).c_str(), Median(p.startup_ms), *min_t, *max_t,
                Median(p.working_set), *min_w, *max_w,
                static_cast<long long>(std::filesystem::file_size(p.exe, unknown)));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: startup_bench RUNS FLOOR_EXE FLOOR_CLASS PROGRAM_EXE PROGRAM_CLASS\n");
        return 2;
    }
    const int runs = _wtoi(argv[1]);
    Program floor{argv[2], argv[3], {}, {}};
    Program program{argv[4], argv[5], {}, {}};
    // The desktop's notification area comes up with its explorer.
    for (int i = 0; i < 200 && ::FindWindowW(L"Shell_TrayWnd", nullptr) == nullptr; ++i) ::Sleep(100);
    // One start of each first, not counted: it brings the files into the cache.
    if (!RunOnce(floor, false) || !RunOnce(program, false)) return 1;
    // Alternating, and each goes first in every other round, so that
    // neither always follows the other's exit.
    for (int i = 0; i < runs; ++i) {
        if (!RunOnce(i % 2 ? program : floor, true) || !RunOnce(i % 2 ? floor : program, true)) return 1;
    }
    std::printf("%d starts of each, alternating (ABBA), after one uncounted start of each.\n"
                "Start-up: from CreateProcess until the program waits for input with its tray window;\n"
                "working set: %lu ms later. Medians (lowest to highest).\n",
                runs, kSettleMs);
    std::printf("%-18s %-30s %-31s %s\n", "program", "start-up", "working set once idle", "file");
    PrintRow(floor);
    PrintRow(program);
    std::printf("start-up ratio: %.3f\n", Median(program.startup_ms) / Median(floor.startup_ms));
    std::printf("working set difference: %+.2f MiB\n", Median(program.working_set) - Median(floor.working_set));
    std::fflush(stdout);
    return 0;
}
