// Runs inside the Wine virtual desktop: starts two tray programs in turn,
// times each from CreateProcess until it waits for input with its tray
// window created, reads its working set once idle, closes it, and prints
// the medians. Starting from here rather than from the Linux shell keeps
// Wine's own process start out of the figures. With DRIVES, the program
// again with that many drives stored, beside the floor, and the time its
// menu takes to open (from the icon's press until the menu is shown) with
// one drive and with DRIVES. Prints figures only.
//
//   startup_bench RUNS FLOOR_EXE FLOOR_CLASS PROGRAM_EXE PROGRAM_CLASS [DRIVES]
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
constexpr char kSettingsKey[] = "SOFTWARE\\Kestrane\\Orvanel";
constexpr UINT kMenuTimeoutMs = 5000;

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

// One start of a program: its process and, once it came up, its tray window.
struct Started {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
    Clock::time_point began;
    Clock::time_point ready;
};

// Started in its own folder, as a user starts it; false when it could not be.
bool Start(const Program& program, Started& run) {
    std::wstring command_line = L"\"" + program.exe + L"\"";
    const std::wstring folder = program.exe.substr(0, program.exe.find_last_of(L'\\'));
    STARTUPINFOW startup{sizeof(startup)};
    run.began = Clock::now();
    if (!::CreateProcessW(program.exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0,
                          nullptr, folder.c_str(), &startup, &run.process)) {
        std::fprintf(stderr, "cannot start %ls (error %lu)\n", program.exe.c_str(), ::GetLastError());
        return false;
    }
    ::WaitForInputIdle(run.process.hProcess, kStartTimeoutMs);
    while ((run.window = FindProgramWindow(run.process.dwProcessId, program.window_class)) == nullptr &&
           Clock::now() < run.began + std::chrono::milliseconds(kStartTimeoutMs)) {
        ::Sleep(1);
    }
    run.ready = Clock::now();
    return true;
}

// Closed as from outside, ended if it would not go.
void Stop(Started& run) {
    if (run.window != nullptr) ::PostMessageW(run.window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(run.process.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(run.process.hProcess, 1);
        ::WaitForSingleObject(run.process.hProcess, kExitTimeoutMs);
    }
    // Whatever icon the program left behind would crowd the next starts.
    if (run.window != nullptr) {
        NOTIFYICONDATAA icon{NOTIFYICONDATAA_V1_SIZE, run.window, kIconId};  // its size, window and id
        ::Shell_NotifyIconA(NIM_DELETE, &icon);
    }
    ::CloseHandle(run.process.hThread);
    ::CloseHandle(run.process.hProcess);
}

// One start: returns false when the program did not come up.
bool RunOnce(Program& program, bool keep) {
    Started run;
    if (!Start(program, run)) return false;
    ::Sleep(kSettleMs);
    PROCESS_MEMORY_COUNTERS counters{sizeof(counters)};
    const bool measured = run.window != nullptr &&
                          ::GetProcessMemoryInfo(run.process.hProcess, &counters, sizeof(counters));
    Stop(run);
    if (!measured) {
        std::fprintf(stderr, "no window %ls from %ls\n", program.window_class.c_str(), program.exe.c_str());
        return false;
    }
    if (keep) {
        program.startup_ms.push_back(std::chrono::duration<double, std::milli>(run.ready - run.began).count());
        program.working_set.push_back(static_cast<double>(counters.WorkingSetSize) / kMiB);
    }
    return true;
}

// Drives Z:, Y:, ... on folders of their own, stored as the program stores
// them: the first in its key, each further one in Drives\N, every byte c as 255 - c.
void StoreDrives(int count, const std::wstring& folder) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    const auto store = [](const std::string& key, const char* name, std::string text) {
        for (char& c : text) c = static_cast<char>(255 - static_cast<unsigned char>(c));
        ::RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    };
    for (int i = 0; i < count; ++i) {
        const std::wstring path = folder + L"\\drive" + std::to_wstring(i + 1);
        std::filesystem::create_directories(path);
        const std::string key = i == 0 ? kSettingsKey : std::string(kSettingsKey) + "\\Drives\\" + std::to_string(i + 1);
        store(key, "Drive", std::string(1, static_cast<char>('Z' - i)));
        std::string narrow;  // the bench's own folder: plain ASCII
        for (const wchar_t c : path) narrow += static_cast<char>(c);
        store(key, "Path", narrow);
    }
}

// From the icon's right-button press until the menu shows, RUNS times; each
// menu is closed with Escape, as a user would.
std::vector<double> MenuOpenTimes(const Program& program, int runs) {
    std::vector<double> times;
    Started run;
    if (!Start(program, run)) return times;
    const HWND window = run.window;
    ::Sleep(kSettleMs);
    for (int i = 0; window != nullptr && i < runs; ++i) {
        const Clock::time_point pressed = Clock::now();
        ::PostMessageW(window, WM_MOUSEMOVE, kIconId, WM_RBUTTONDOWN);
        HWND menu = nullptr;
        while (((menu = ::FindWindowW(L"#32768", nullptr)) == nullptr || !::IsWindowVisible(menu)) &&
               Clock::now() < pressed + std::chrono::milliseconds(kMenuTimeoutMs)) {
            ::Sleep(0);
        }
        if (menu == nullptr) break;
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - pressed).count());
        INPUT escape[2] = {};
        escape[0].type = escape[1].type = INPUT_KEYBOARD;
        escape[0].ki.wVk = escape[1].ki.wVk = VK_ESCAPE;
        escape[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, escape, sizeof(INPUT));
        for (int j = 0; j < 500 && ::IsWindowVisible(::FindWindowW(L"#32768", nullptr)); ++j) ::Sleep(10);
        ::Sleep(100);
    }
    Stop(run);
    return times;
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

// The program with DRIVES drives beside the floor, and its menu's opening with one and with DRIVES.
// The floor, the program with one drive and with DRIVES take turns, each
// first in a round in turn, so that the drift of a long session weighs on
// all three alike.
int WithDrives(int runs, int drives, Program floor, const Program& program) {
    const std::wstring folder = program.exe.substr(0, program.exe.find_last_of(L'\\')) + L"\\drives";
    floor.startup_ms.clear();
    floor.working_set.clear();
    Program one{program.exe, program.window_class, {}, {}}, many = one;
    Program* const turns[] = {&floor, &one, &many};
    for (int i = 0; i < runs; ++i) {
        for (int t = 0; t < 3; ++t) {
            Program* next = turns[(i + t) % 3];
            if (next != &floor) StoreDrives(next == &many ? drives : 1, folder);
            ::Sleep(kSettleMs);  // whatever the stored values set going in Wine's server, done
            if (!RunOnce(*next, true)) return 1;
        }
    }
    std::printf("\nThe program with one drive and with %d drives stored (none mounted at start), taking turns:\n",
                drives);
    PrintRow(floor);
    PrintRow(one);
    PrintRow(many);
    // Each round's three starts lie close together: the median of the
    // rounds' ratios leaves out what drifts over the session.
    const auto ratio = [runs](const Program& a, const Program& b) {
        std::vector<double> ratios;
        for (int i = 0; i < runs; ++i) ratios.push_back(a.startup_ms[static_cast<std::size_t>(i)] / b.startup_ms[static_cast<std::size_t>(i)]);
        return Median(ratios);
    };
    std::printf("start-up ratio (median of the rounds' ratios) with one drive: %.3f, with %d drives: %.3f "
                "(%d drives against one: %.3f)\n", ratio(one, floor), drives, ratio(many, floor), drives, ratio(many, one));
    StoreDrives(drives, folder);
    const std::vector<double> many_menu = MenuOpenTimes(many, runs);
    StoreDrives(1, folder);
    const std::vector<double> one_menu = MenuOpenTimes(one, runs);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    if (many_menu.empty() || one_menu.empty()) return 1;
    std::printf("menu open (from the icon's press until the menu shows), median of %zu: %.1f ms with one drive, "
                "%.1f ms with %d drives\n", many_menu.size(), Median(one_menu), Median(many_menu), drives);
    return 0;
}

int wmain(int argc, wchar_t** argv) {
    if (argc != 6 && argc != 7) {
        std::fprintf(stderr, "usage: startup_bench RUNS FLOOR_EXE FLOOR_CLASS PROGRAM_EXE PROGRAM_CLASS [DRIVES]\n");
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
    const int result = argc == 7 ? WithDrives(runs, _wtoi(argv[6]), floor, program) : 0;
    std::fflush(stdout);
    return result;
}
