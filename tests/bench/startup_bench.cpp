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
#include <cstdio>
#include <cwchar>
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

struct Window {
    DWORD pid;
    const wchar_t* window_class;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param) {
    auto* want = reinterpret_cast<Window*>(param);
    DWORD pid = 0;
    wchar_t name[256] = L"";
    ::GetWindowThreadProcessId(hwnd, &pid);
    ::GetClassNameW(hwnd, name, 256);
    if (pid != want->pid || std::wcscmp(name, want->window_class) != 0) return TRUE;
    want->found = hwnd;
    return FALSE;
}

HWND FindProgramWindow(DWORD pid, const std::wstring& window_class) {
    Window want{pid, window_class.c_str(), nullptr};
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&want));
    return want.found;
}

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / frequency;
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

// One start: returns false when the program did not come up.
bool RunOnce(Program& program, bool keep) {
    std::wstring command_line = L"\"" + program.exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const double started = Now();
    if (!::CreateProcessW(program.exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0,
                          nullptr, FolderOf(program.exe).c_str(), &startup, &process)) {
        std::fprintf(stderr, "cannot start %ls (error %lu)\n", program.exe.c_str(), ::GetLastError());
        return false;
    }
    ::WaitForInputIdle(process.hProcess, kStartTimeoutMs);
    HWND window = nullptr;
    const double deadline = started + kStartTimeoutMs;
    while ((window = FindProgramWindow(process.dwProcessId, program.window_class)) == nullptr &&
           Now() < deadline) {
        ::Sleep(1);
    }
    const double ready = Now();

    ::Sleep(kSettleMs);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    const bool measured = window != nullptr &&
                          ::GetProcessMemoryInfo(process.hProcess, &counters, sizeof(counters));

    if (window != nullptr) ::PostMessageW(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.hProcess, 1);
        ::WaitForSingleObject(process.hProcess, kExitTimeoutMs);
    }
    // Whatever icon the program left behind would crowd the next starts.
    if (window != nullptr) {
        NOTIFYICONDATAA icon{};
        icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
        icon.hWnd = window;
        icon.uID = kIconId;
        ::Shell_NotifyIconA(NIM_DELETE, &icon);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (!measured) {
        std::fprintf(stderr, "no window %ls from %ls\n", program.window_class.c_str(), program.exe.c_str());
        return false;
    }
    if (keep) {
        program.startup_ms.push_back(ready - started);
        program.working_set.push_back(static_cast<double>(counters.WorkingSetSize) / kMiB);
    }
    return true;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::wstring NameOf(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

void PrintRow(const Program& p) {
    const auto [min_t, max_t] = std::minmax_element(p.startup_ms.begin(), p.startup_ms.end());
    const auto [min_w, max_w] = std::minmax_element(p.working_set.begin(), p.working_set.end());
    std::printf("%-18ls %7.1f ms (%5.1f to %5.1f)   %6.2f MiB (%5.2f to %5.2f)   %7lld bytes\n",
                 NameOf(p.exe).c_str(), Median(p.startup_ms), *min_t, *max_t, Median(p.working_set),
                 *min_w, *max_w, FileSize(p.exe));
}

// The desktop's notification area comes up with its explorer.
void WaitForTaskbar() {
    for (int i = 0; i < 200 && ::FindWindowW(L"Shell_TrayWnd", nullptr) == nullptr; ++i) ::Sleep(100);
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
    WaitForTaskbar();
    // One start of each first, not counted: it brings the files into the cache.
    if (!RunOnce(floor, false) || !RunOnce(program, false)) return 1;
    // Alternating, and each goes first in every other round, so that
    // neither always follows the other's exit.
    for (int i = 0; i < runs; ++i) {
        Program& first = i % 2 ? program : floor;
        Program& second = i % 2 ? floor : program;
        if (!RunOnce(first, true) || !RunOnce(second, true)) return 1;
    }
    std::printf("%d starts of each, alternating (ABBA), after one uncounted start of each.\n"
                "Start-up: from CreateProcess until the program waits for input with its tray window;\n"
                "working set: %lu ms later. Medians (lowest to highest).\n",
                runs, kSettleMs);
    std::printf("%-18s %-30s %-31s %s\n", "program", "start-up", "working set once idle", "file");
    PrintRow(floor);
    PrintRow(program);
    const double ratio = Median(program.startup_ms) / Median(floor.startup_ms);
    const double difference = Median(program.working_set) - Median(floor.working_set);
    std::printf("start-up ratio: %.3f\n", ratio);
    std::printf("working set difference: %+.2f MiB\n", difference);
    std::fflush(stdout);
    return 0;
}
