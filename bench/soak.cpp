// The soak: Mount and Unmount through the program's own menu command
// ORVANEL_SOAK_CYCLES times (1000 unless given), each waiting for the real
// mapping, with the program's figures printed at the
// start, after a warm-up of 20 cycles, every 100 cycles (20 below 500) and
// at the end. Fails when a mapping does not come or go, or when a figure
// grows past a small allowance after the warm-up.
#include "harness.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>

#include "resource.h"

namespace e2e {
namespace {

// Windows counts a process's handles and GDI objects for any caller. Wine
// reads 0 for both, so there the kernel handles come from the system's
// handle list and the GDI objects from the process's GDI handle table.
long KernelHandles(HANDLE process) {
    DWORD count = 0;
    if (::GetProcessHandleCount(process, &count) && count > 0) return static_cast<long>(count);
    struct Entry { void* object; ULONG_PTR process_id, handle; ULONG access; USHORT trace, type; ULONG flags, unused; };
    struct Header { ULONG_PTR count, reserved; };
    constexpr auto kExtendedHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(64);
    constexpr auto kTooSmall = static_cast<NTSTATUS>(0xC0000004L);
    std::vector<unsigned char> buffer(1 << 16);
    NTSTATUS status;
    for (ULONG needed = 0; (status = ::NtQuerySystemInformation(kExtendedHandleInformation, buffer.data(),
             static_cast<ULONG>(buffer.size()), &needed)) == kTooSmall;) buffer.resize(buffer.size() * 2 + needed);
    if (status != 0) return -1;
    const auto* header = reinterpret_cast<const Header*>(buffer.data());
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(Header));
    const DWORD pid = ::GetProcessId(process);
    return static_cast<long>(std::count_if(entries, entries + header->count, [pid](const Entry& e) { return e.process_id == pid; }));
}

long GdiObjects(HANDLE process) {
    if (const DWORD count = ::GetGuiResources(process, GR_GDIOBJECTS)) return static_cast<long>(count);
    // Wine: the table sits in the process's memory, where its PEB points.
    struct Entry { UINT64 object; ULONG owner; UCHAR ext_type_and_stock, generation, type, flags; UINT64 user; };
    static_assert(sizeof(Entry) == 24, "a GDI handle entry");
    constexpr std::size_t kPebGdiTable = 0xF8;
    PROCESS_BASIC_INFORMATION basic{};
    UINT64 table = 0;
    std::vector<Entry> entries(0x10000);
    if (::NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0 ||
        !::ReadProcessMemory(process, reinterpret_cast<const char*>(basic.PebBaseAddress) + kPebGdiTable, &table,
                             sizeof(table), nullptr) ||
        !table || !::ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                                       entries.size() * sizeof(Entry), nullptr)) return -1;
    return static_cast<long>(std::count_if(entries.begin(), entries.end(),
                                           [](const Entry& e) { return e.type != 0 && !(e.ext_type_and_stock & 0x80); }));
}

// The memory the process has committed for itself, in KiB.
long PrivateKiB(HANDLE process) {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; ::VirtualQueryEx(process, at, &region, sizeof(region)) == sizeof(region);
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    }
    return static_cast<long>(total / 1024);
}

long Threads(DWORD pid) {
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 thread{sizeof(thread), 0, 0, 0, 0, 0, 0};
    long n = 0;
    for (BOOL more = ::Thread32First(snapshot, &thread); more; more = ::Thread32Next(snapshot, &thread)) {
        n += thread.th32OwnerProcessID == pid;
    }
    ::CloseHandle(snapshot);
    return n;
}

// Whether a subst.exe still runs: the soak starts each command after the
// last has ended, as a user's clicks come, so that the figures are those of
// the program at rest and not of commands piled up.
bool SubstRunning() {
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W process{};
    process.dwSize = sizeof(process);
    bool running = false;
    for (BOOL more = ::Process32FirstW(snapshot, &process); more && !running; more = ::Process32NextW(snapshot, &process)) {
        running = _wcsicmp(process.szExeFile, L"subst.exe") == 0;
    }
    ::CloseHandle(snapshot);
    return running;
}

struct Figures {
    long handles, gdi, private_kib, threads;
};

// Once two readings agree: a command's handles close a little after it ends.
Figures Measure(const Orvanel& app) {
    Figures last{-2, -2, 0, 0};
    for (int reading = 0; reading < 20; ++reading, Pause(100)) {
        const Figures now{KernelHandles(app.Process()), GdiObjects(app.Process()), PrivateKiB(app.Process()),
                          Threads(::GetProcessId(app.Process()))};
        if (now.handles == last.handles && now.gdi == last.gdi) return now;
        last = now;
    }
    return last;
}

class Soak : public E2ETest {};

TEST_F(Soak, MountAndUnmountCyclesKeepTheProgramsFiguresSteady) {
    const std::wstring asked = Env(L"ORVANEL_SOAK_CYCLES");
    const int cycles = asked.empty() ? 1000 : std::stoi(asked);
    const int warm_up = std::min(cycles, 20), step = cycles >= 500 ? 100 : 20;
    StoreSettings();
    Orvanel app;
    ASSERT_NE(app.Window(), nullptr);
    const DWORD started = ::GetTickCount();
    Figures base{};
    const auto report = [&](const char* when, int cycle) {
        const Figures f = Measure(app);
        std::printf("soak: %-5s %4d  handles %4ld  gdi %4ld  private %7ld KiB  threads %2ld  (%lu s)\n", when, cycle,
                    f.handles, f.gdi, f.private_kib, f.threads, (::GetTickCount() - started) / 1000);
        std::fflush(stdout);
        return f;
    };
    report("start", 0);
    int done = 0;
    for (; done < cycles; ++done) {
        bool whole = true;
        for (const std::wstring& want : {folder_, std::wstring()}) {
            app.Post(IDM_ENABLED);
            whole = whole && Maps(letter_, want, 30000) && WaitFor([] { return !SubstRunning(); }, 30000);
        }
        ASSERT_TRUE(whole) << "cycle " << done + 1 << ": " << drive_ << " maps to " << testing::PrintToString(Mapping(letter_));
        if (done + 1 == warm_up) base = report("cycle", done + 1);
        else if ((done + 1) % step == 0 && done + 1 < cycles) report("cycle", done + 1);
    }
    const Figures end = report("end", done);
    EXPECT_EQ(Mapping(letter_), L"");
    EXPECT_EQ(Shown(L"#32770", L"Orvanel"), nullptr) << "Orvanel showed no message";
    // One object leaked every few cycles is over these long before the end.
    EXPECT_LE(end.handles - base.handles, 5) << base.handles << " after the warm-up, " << end.handles << " at the end";
    EXPECT_LE(end.gdi - base.gdi, 5) << base.gdi << " after the warm-up, " << end.gdi << " at the end";
    EXPECT_LE(end.private_kib - base.private_kib, 4096) << base.private_kib << " KiB after the warm-up";
}

}  // namespace
}  // namespace e2e
