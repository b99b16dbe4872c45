// The end-to-end tests' eyes and hands in the Wine desktop: windows, menus, the registry past the program,
// keys through SendInput (X key events miss Wine's windows without a window manager), the shell, the soak.
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "resource.h"

namespace {

using Args = std::vector<std::wstring>;

int Num(const std::wstring& s) { return _wtoi(s.c_str()); }
const wchar_t* OrNull(const std::wstring& s) { return s == L"-" ? nullptr : s.c_str(); }
HWND Find(const std::wstring& cls, const std::wstring& title) { return FindWindowW(OrNull(cls), OrNull(title)); }

// Polls until `done` or TIMEOUT_MS pass; true when done.
template <typename Done>
bool WaitFor(int timeout_ms, Done done) {
    for (const DWORD start = GetTickCount(); !done(); Sleep(20))
        if (GetTickCount() - start >= static_cast<DWORD>(timeout_ms)) return false;
    return true;
}

std::wstring Text(HWND w) {
    wchar_t buf[2048] = L"";
    SendMessageTimeoutW(w, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, nullptr);
    return buf;
}

std::wstring ClassOf(HWND w) {
    wchar_t buf[256] = L"";
    return GetClassNameW(w, buf, 256), buf;
}

std::string Narrow(const std::wstring& w, UINT code_page = CP_ACP) {
    std::string s(w.size() * 4 + 1, '\0');
    const int n =
        WideCharToMultiByte(code_page, 0, w.c_str(), -1, s.data(), static_cast<int>(s.size()), nullptr, nullptr);
    s.resize(n > 0 ? static_cast<size_t>(n) - 1 : 0);
    return s;
}

bool Running(const wchar_t* exe) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return true;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    bool running = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !running; more = Process32NextW(snapshot, &entry))
        running = _wcsicmp(entry.szExeFile, exe) == 0;
    CloseHandle(snapshot);
    return running;
}

// What the drive maps to, or "" when it maps to nothing.
std::wstring MappingOf(const std::wstring& drive) {
    wchar_t target[1024];
    return QueryDosDeviceW(drive.c_str(), target, 1024) ? target : L"";
}

// --- windows: each command gets the window its first arguments name, and the rest

int WindowRect(HWND w, const Args&) {
    RECT r, c;
    GetWindowRect(w, &r);
    GetClientRect(w, &c);
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    printf("window %ld %ld %ld %ld client %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
           origin.x, origin.y, c.right, c.bottom);
    return 0;
}

// The window's class and text, then per child: id, class, rectangle, state, text.
int Children(HWND w, const Args&) {
    printf("0\t%ls\t-\t-\t%ls\n", ClassOf(w).c_str(), Text(w).c_str());
    EnumChildWindows(w, [](HWND child, LPARAM parent) -> BOOL {
        if (GetParent(child) != reinterpret_cast<HWND>(parent)) return TRUE;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, reinterpret_cast<HWND>(parent), reinterpret_cast<POINT*>(&r), 2);
        printf("%d\t%ls\t%ld %ld %ld %ld\t%s\t%ls\n", GetDlgCtrlID(child), ClassOf(child).c_str(), r.left, r.top,
               r.right - r.left, r.bottom - r.top, IsWindowEnabled(child) ? "enabled" : "disabled",
               Text(child).c_str());
        return TRUE;
    }, reinterpret_cast<LPARAM>(w));
    return 0;
}

// "sel N", then per row: index, text (UTF-8) and, in a list box, the row's centre on the screen.
int Rows(HWND w, const Args& a, bool list) {
    const HWND box = GetDlgItem(w, Num(a[0]));
    if (!box) return 1;
    printf("sel %ld\n", static_cast<long>(SendMessageW(box, list ? LB_GETCURSEL : CB_GETCURSEL, 0, 0)));
    const int count = static_cast<int>(SendMessageW(box, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        const LRESULT length = SendMessageW(box, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, row, 0);
        std::vector<wchar_t> text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        SendMessageW(box, list ? LB_GETTEXT : CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text.data()));
        printf("%d\t%s", row, Narrow(text.data(), CP_UTF8).c_str());
        RECT r{};
        if (list && SendMessageW(box, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r)) != LB_ERR) {
            MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&r), 2);
            printf("\t%ld %ld", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        }
        printf("\n");
    }
    return 0;
}

// CLASS|- TITLE|-: how many top-level windows of that class and title exist.
int Count(const Args& a) {
    int n = 0;
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, OrNull(a[0]), OrNull(a[1]))) != nullptr;) ++n;
    return printf("%d\n", n), 0;
}

// LPARAM: WM_QUERYENDSESSION (prints "query=ANSWER"), then WM_ENDSESSION TRUE, as Windows ends a session.
int EndSession(HWND w, const Args& a) {
    const LPARAM reason = static_cast<LPARAM>(wcstoul(a[0].c_str(), nullptr, 0));
    DWORD_PTR answer = 0, ignored = 0;
    SendMessageTimeoutW(w, WM_QUERYENDSESSION, 0, reason, SMTO_ABORTIFHUNG, 5000, &answer);
    printf("query=%lu\n", static_cast<unsigned long>(answer));
    fflush(stdout);
    // The receiver may end its process before answering.
    SendMessageTimeoutW(w, WM_ENDSESSION, TRUE, reason, SMTO_NORMAL, 15000, &ignored);
    return 0;
}

// COUNT TIMEOUT_MS: a shell not ready yet, a hidden taskbar window above the real one, which
// refuses every request until COUNT icons were refused, TIMEOUT_MS passed or it is closed; prints the count.
int g_refused = 0, g_to_refuse = 0;

int RefuseTray(HWND, const Args& a) {
    g_to_refuse = Num(a[0]);
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_DESTROY) PostQuitMessage(0);
        if (msg != WM_COPYDATA) return DefWindowProcW(w, msg, wp, lp);
        if (reinterpret_cast<const COPYDATASTRUCT*>(lp)->dwData == NIM_ADD && ++g_refused == g_to_refuse)
            PostQuitMessage(0);
        return FALSE;
    };
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Shell_TrayWnd";
    const HWND w = RegisterClassW(&wc) ? CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName,
        L"orvprobe refusing tray", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr) : nullptr;
    if (!w) return 1;
    SetTimer(w, 1, static_cast<UINT>(Num(a[1])), [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(w);
    return printf("%d\n", g_refused), 0;
}

// --- the registry: ROOT (HKCU or HKLM) PATH [NAME [DATA]]; names in the ANSI code page

HKEY Root(const std::wstring& name) { return name == L"HKLM" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

HKEY OpenKey(const Args& a) {
    HKEY key = nullptr;
    return RegOpenKeyExW(Root(a[0]), a[1].c_str(), 0, KEY_QUERY_VALUE, &key) ? nullptr : key;
}

// Prints the value's type and bytes in hex, or "missing".
int RegGet(HWND, const Args& a) {
    const HKEY key = OpenKey(a);
    const std::string name = Narrow(a[2]);
    DWORD type = 0, size = 0;
    if (!key || RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size)) {
        printf("missing\n");
    } else {
        std::vector<unsigned char> data(size + 1);
        RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &size);
        printf("%lu", type);
        for (DWORD i = 0; i < size; ++i) printf(" %02x", data[i]);
        printf("\n");
    }
    if (key) RegCloseKey(key);
    return 0;
}

int SetValue(const Args& a, DWORD type, const std::string& data) {
    return RegSetKeyValueA(Root(a[0]), Narrow(a[1]).c_str(), Narrow(a[2]).c_str(), type, data.data(),
                           static_cast<DWORD>(data.size())) ? 1 : 0;
}

// Stores TEXT the way the program encodes it (255 - c), independently of the program's own code.
int RegSetEncoded(HWND, const Args& a) {
    std::string data = Narrow(a[3]);
    for (char& c : data) c = static_cast<char>(255 - static_cast<unsigned char>(c));
    return SetValue(a, REG_SZ, data + '\0');
}

// Stores raw bytes, given as reg-get prints them: "TYPE b1 b2 ..." in hex.
int RegSetRaw(HWND, const Args& a) {
    std::wistringstream in(a[3]);
    unsigned long type = 0, byte = 0;
    std::string data;
    for (in >> std::hex >> type; in >> byte;) data.push_back(static_cast<char>(byte));
    return SetValue(a, type, data);
}

// A volatile key: below it no lasting key can be created, so the program's writes there fail.
int RegCreateVolatile(HWND, const Args& a) {
    HKEY key;
    const LONG rc = RegCreateKeyExW(Root(a[0]), a[1].c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_WRITE, nullptr,
                                    &key, nullptr);
    return rc ? 1 : (RegCloseKey(key), 0);
}

// --- keys and the shell

void SendKey(WORD vk, WCHAR ch) {
    INPUT in[2]{};
    for (INPUT& i : in) {
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.wScan = ch;
        i.ki.dwFlags = ch ? KEYEVENTF_UNICODE : 0;
    }
    in[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Sleep(30);
}

int Key(HWND, const Args& a) {
    static const struct { const wchar_t* name; WORD vk; } kKeys[] = {
        {L"enter", VK_RETURN}, {L"tab", VK_TAB}, {L"escape", VK_ESCAPE}, {L"up", VK_UP}, {L"down", VK_DOWN},
        {L"home", VK_HOME}, {L"end", VK_END}, {L"backspace", VK_BACK}, {L"space", VK_SPACE}, {L"delete", VK_DELETE}};
    const auto* k = std::find_if(std::begin(kKeys), std::end(kKeys), [&](const auto& key) { return a[0] == key.name; });
    if (k == std::end(kKeys)) return 2;
    SendKey(k->vk, 0);
    return 0;
}

int Foreground(HWND, const Args&) {
    const HWND w = GetForegroundWindow();
    GUITHREADINFO info{sizeof(info)};
    const HWND focus = GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info) ? info.hwndFocus : nullptr;
    printf("%ls\t%ls\tfocus=%d\n", ClassOf(w).c_str(), Text(w).c_str(), focus ? GetDlgCtrlID(focus) : -1);
    return 0;
}

// --- what the program holds, and the soak's cycles

HANDLE OpenOwner(HWND w, DWORD* pid) {
    return GetWindowThreadProcessId(w, pid) ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, *pid)
                                            : nullptr;
}

// X: FOLDER FIRST LAST TIMEOUT_MS: each cycle posts the menu command until the drive maps to FOLDER, then again
// until it maps to nothing, each subst.exe waited out; stops at a mapping that does not come or go in time.
int ToggleCycles(HWND w, const Args& a) {
    const std::wstring& drive = a[0];
    const int timeout = Num(a[4]);
    for (int cycle = Num(a[2]); cycle <= Num(a[3]); ++cycle) {
        for (const std::wstring& want : {L"\\??\\" + a[1], std::wstring()}) {
            PostMessageW(w, WM_COMMAND, IDM_ENABLED, 0);
            if (!WaitFor(timeout, [&] { return MappingOf(drive) == want; })) {
                printf("cycle %d: %ls maps to \"%ls\", not \"%ls\", after %d ms\n", cycle, drive.c_str(),
                       MappingOf(drive).c_str(), want.c_str(), timeout);
                return 1;
            }
            WaitFor(timeout, [] { return !Running(L"subst.exe"); });
        }
    }
    return 0;
}

// The process's entries in the system handle list, built from Wine's real handle tables (its own counts read 0).
long KernelHandles(DWORD pid) {
    struct Entry { void* object; ULONG_PTR process_id, handle; ULONG access; USHORT trace, type; ULONG flags, unused; };
    struct Header { ULONG_PTR count, reserved; };
    constexpr auto kExtendedHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(64);
    std::vector<unsigned char> buffer(1 << 16);
    NTSTATUS status;
    for (ULONG needed = 0; (status = NtQuerySystemInformation(kExtendedHandleInformation, buffer.data(),
             static_cast<ULONG>(buffer.size()), &needed)) == static_cast<NTSTATUS>(0xC0000004L);)  // too small
        buffer.resize(buffer.size() * 2 + needed);
    if (status != 0) return -1;
    const auto* header = reinterpret_cast<const Header*>(buffer.data());
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(Header));
    return static_cast<long>(
        std::count_if(entries, entries + header->count, [&](const Entry& e) { return e.process_id == pid; }));
}

// Live GDI objects, stock ones aside: Wine keeps the table in the process's memory, where its PEB points.
long GdiObjects(HANDLE process) {
    static_assert(sizeof(void*) == 8, "the 64-bit PEB's layout");
    struct Entry { UINT64 object; ULONG owner; UCHAR ext_type_and_stock, generation, type, flags; UINT64 user; };
    static_assert(sizeof(Entry) == 24, "a GDI handle entry");
    constexpr size_t kPebGdiTable = 0xF8;
    PROCESS_BASIC_INFORMATION basic{};
    UINT64 table = 0;
    std::vector<Entry> entries(0x10000);
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0 ||
        !ReadProcessMemory(process, reinterpret_cast<const char*>(basic.PebBaseAddress) + kPebGdiTable, &table,
                           sizeof(table), nullptr) ||
        !table || !ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                                     entries.size() * sizeof(Entry), nullptr))
        return -1;
    return static_cast<long>(std::count_if(entries.begin(), entries.end(), [](const Entry& e) {
        return e.type != 0 && !(e.ext_type_and_stock & 0x80);
    }));
}

// "handles N gdi N", once no subst.exe runs and two readings agree (a command's handles close late).
int Resources(HWND w, const Args&) {
    DWORD pid = 0;
    const HANDLE process = OpenOwner(w, &pid);
    if (!process) return 1;
    WaitFor(10000, [] { return !Running(L"subst.exe"); });
    long last[2] = {-2, -2};
    for (int reading = 0; reading < 20; ++reading, Sleep(100)) {
        const long now[2] = {KernelHandles(pid), GdiObjects(process)};
        if (std::equal(now, now + 2, last)) break;
        std::copy(now, now + 2, last);
    }
    CloseHandle(process);
    printf("handles %ld gdi %ld\n", last[0], last[1]);
    return last[0] < 0 || last[1] < 0 ? 1 : 0;
}

// Asks orvinside.dll, loaded into the window's own process by a message hook
// on its thread, to run COMMAND there; prints its answer. Fonts and menus can
// only be read in the process that made them.
std::string g_answer;

int InProcess(HWND target, WORD command, WORD argument) {
    const HMODULE module = LoadLibraryW(L"orvinside.dll");
    const auto hook_proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module, "ProbeGetMessage")));
    if (!target || !hook_proc) return 1;
    WNDCLASSW cls{};
    cls.lpfnWndProc = [](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg != WM_COPYDATA) return DefWindowProcW(w, msg, wp, lp);
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        g_answer.assign(static_cast<const char*>(data->lpData), data->cbData ? data->cbData - 1 : 0);  // less its NUL
        return TRUE;
    };
    cls.lpszClassName = L"OrvProbeReply";
    RegisterClassW(&cls);
    const HWND reply = CreateWindowW(cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, hook_proc, module, GetWindowThreadProcessId(target, nullptr));
    if (!hook) return 1;
    PostMessageW(target, RegisterWindowMessageW(L"OrvanelProbeRequest"), reinterpret_cast<WPARAM>(reply),
                 MAKELPARAM(command, argument));
    MSG msg;
    for (const DWORD start = GetTickCount(); g_answer.empty() && GetTickCount() - start < 10000;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    UnhookWindowsHookEx(hook);
    printf("%s", g_answer.c_str());
    return g_answer.empty() ? 1 : 0;
}

// For each control's text: "ID CLASS fits|CUT need WxH room WxH TEXT", measured in the font it is drawn in.
int Fits(HWND w, const Args&) { return InProcess(w, 1, 0); }

// Sends the window WM_DPICHANGED for DPI; prints how many fonts its
// controls were given and how many of them replaced a font already deleted.
int DpiChange(HWND w, const Args& a) { return InProcess(w, 2, static_cast<WORD>(Num(a[0]))); }

int Menu(HWND, const Args&) {
    HWND menu = nullptr;
    WaitFor(2000, [&] { return (menu = FindWindowW(L"#32768", nullptr)) && IsWindowVisible(menu); });
    return menu && IsWindowVisible(menu) ? InProcess(menu, 3, 0) : 1;
}

// Which window a command's first arguments name: none, CLASS|- TITLE|-, TITLE or CLASS.
enum Names { kNothing, kClassAndTitle, kTitle, kClass };

struct Command {
    const wchar_t* name;
    Names window;
    size_t args;  // after the window's
    int (*run)(HWND, const Args&);
};

// CLASS|- TITLE|- TIMEOUT_MS: waits until the window is shown (`shown`), or exists or is gone (`exists`).
int WaitWindow(const Args& a, bool shown, bool exists) {
    return WaitFor(Num(a[2]), [&] {
        const HWND w = Find(a[0], a[1]);
        return (w != nullptr) == exists && (!shown || IsWindowVisible(w));
    }) ? 0 : 1;
}

const Command kCommands[] = {
    {L"wait-window", kNothing, 3, [](HWND, const Args& a) { return WaitWindow(a, true, true); }},
    {L"wait-exists", kNothing, 3, [](HWND, const Args& a) { return WaitWindow(a, false, true); }},
    {L"wait-gone", kNothing, 3, [](HWND, const Args& a) { return WaitWindow(a, false, false); }},
    // Keeps the virtual desktop alive: Wine closes it with its last program.
    {L"idle", kNothing, 0, [](HWND, const Args&) { return Sleep(INFINITE), 0; }},
    {L"menu", kNothing, 0, Menu},  // the open popup menu: per item position, text, state, centre
    {L"window-rect", kClassAndTitle, 0, WindowRect},
    {L"children", kClassAndTitle, 0, Children},
    {L"list", kTitle, 1, [](HWND w, const Args& a) { return Rows(w, a, true); }},  // CONTROL_ID
    {L"combo", kTitle, 1, [](HWND w, const Args& a) { return Rows(w, a, false); }},
    {L"count", kNothing, 2, [](HWND, const Args& a) { return Count(a); }},
    {L"close", kClassAndTitle, 0, [](HWND w, const Args&) { return PostMessageW(w, WM_CLOSE, 0, 0) ? 0 : 1; }},
    {L"end-session", kClass, 1, EndSession},
    // PROGRAM.EXE TIMEOUT_MS
    {L"wait-no-process", kNothing, 2,
     [](HWND, const Args& a) { return WaitFor(Num(a[1]), [&] { return !Running(a[0].c_str()); }) ? 0 : 1; }},
    {L"refuse-tray", kNothing, 2, RefuseTray},
    {L"dosdevice", kNothing, 1, [](HWND, const Args& a) {  // X:
         const std::wstring target = MappingOf(a[0]);
         return printf("%ls\n", target.empty() ? L"none" : target.c_str()), 0;
     }},
    {L"reg-get", kNothing, 3, RegGet},
    {L"reg-set-encoded", kNothing, 4, RegSetEncoded},
    {L"reg-set-raw", kNothing, 4, RegSetRaw},
    {L"reg-create-volatile", kNothing, 2, RegCreateVolatile},
    {L"reg-delete-tree", kNothing, 2, [](HWND, const Args& a) {
         RegDeleteTreeW(Root(a[0]), a[1].c_str());
         return RegDeleteKeyW(Root(a[0]), a[1].c_str()), 0;
     }},
    {L"keys", kNothing, 1, [](HWND, const Args& a) {  // TEXT
         for (wchar_t ch : a[0]) SendKey(0, ch);
         return 0;
     }},
    {L"key", kNothing, 1, Key},
    {L"foreground", kNothing, 0, Foreground},
    {L"broadcast-taskbar-created", kNothing, 0, [](HWND, const Args&) {
         DWORD_PTR result;
         SendMessageTimeoutW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 2000,
                             &result);
         return 0;
     }},
    {L"toggle-cycles", kClass, 5, ToggleCycles},
    {L"resources", kClass, 0, Resources},
    {L"drives", kNothing, 0, [](HWND, const Args&) {  // the letters GetLogicalDrives reports, e.g. "CZ"
         for (int i = 0; i < 26; ++i)
             if (GetLogicalDrives() & (1u << i)) printf("%c", 'A' + i);
         return printf("\n"), 0;
     }},
    {L"fits", kClassAndTitle, 0, Fits},
    {L"dpi-change", kClassAndTitle, 1, DpiChange},  // DPI
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    for (const Command& c : kCommands) {
        const size_t names = c.window == kClassAndTitle ? 2 : c.window == kNothing ? 0 : 1;
        if (argc < 2 || argv[1] != std::wstring(c.name) || static_cast<size_t>(argc - 2) != names + c.args) continue;
        const Args a(argv + 2, argv + argc);
        const HWND w = c.window == kClassAndTitle ? Find(a[0], a[1])
                     : c.window == kTitle        ? Find(L"-", a[0])
                     : c.window == kClass        ? Find(a[0], L"-")
                                                 : nullptr;
        if (names > 0 && !w) return 1;
        const int rc = c.run(w, Args(a.begin() + static_cast<std::ptrdiff_t>(names), a.end()));
        fflush(stdout);
        return rc;
    }
    fprintf(stderr, "orvprobe: unknown command or wrong number of arguments; the commands are:\n");
    for (const Command& c : kCommands) fprintf(stderr, "  %ls\n", c.name);
    return 2;
}
