// The end-to-end tests' eyes and hands inside the Wine desktop: it finds
// windows, reads their texts, rectangles, styles, list rows and menu items,
// reads and writes the registry past the program, sends keys with SendInput
// (X key events do not reach Wine's windows without a window manager), pokes
// the shell, and for the soak repeats the program's menu command and counts
// what the program holds.
#include <windows.h>
#include <shellapi.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "resource.h"

namespace {

using Args = std::vector<std::wstring>;

const wchar_t* OrNull(const std::wstring& s) { return s == L"-" ? nullptr : s.c_str(); }

HWND Find(const std::wstring& cls, const std::wstring& title) {
    return FindWindowW(OrNull(cls), OrNull(title));
}

// Polls until the window of CLASS and TITLE satisfies `done` or TIMEOUT_MS pass.
int WaitWindow(const Args& a, bool (*done)(HWND)) {
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(_wtoi(a[2].c_str()));
    do {
        if (done(Find(a[0], a[1]))) return 0;
        Sleep(100);
    } while (GetTickCount() < deadline);
    return 1;
}

int WaitShown(const Args& a) { return WaitWindow(a, [](HWND w) { return w && IsWindowVisible(w); }); }
int WaitExists(const Args& a) { return WaitWindow(a, [](HWND w) { return w != nullptr; }); }
int WaitGone(const Args& a) { return WaitWindow(a, [](HWND w) { return w == nullptr; }); }

std::wstring Text(HWND w) {
    wchar_t buf[2048] = L"";
    SendMessageTimeoutW(w, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, nullptr);
    return buf;
}

std::wstring ClassOf(HWND w) {
    wchar_t buf[256] = L"";
    GetClassNameW(w, buf, 256);
    return buf;
}

std::string Narrow(const std::wstring& w, UINT code_page = CP_ACP) {
    std::string s(static_cast<size_t>(WideCharToMultiByte(code_page, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(code_page, 0, w.c_str(), -1, s.data(), static_cast<int>(s.size()), nullptr, nullptr);
    s.pop_back();
    return s;
}

int WindowRect(const Args& a) {
    HWND w = Find(a[0], a[1]);
    if (!w) return 1;
    RECT r, c;
    GetWindowRect(w, &r);
    GetClientRect(w, &c);
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    printf("window %ld %ld %ld %ld client %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left,
           r.bottom - r.top, origin.x, origin.y, c.right, c.bottom);
    return 0;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM parent) {
    if (GetParent(child) != reinterpret_cast<HWND>(parent)) return TRUE;
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, reinterpret_cast<HWND>(parent), reinterpret_cast<POINT*>(&r), 2);
    printf("%d\t%ls\t%ld %ld %ld %ld\t%s\t%ls\n", GetDlgCtrlID(child), ClassOf(child).c_str(), r.left,
           r.top, r.right - r.left, r.bottom - r.top,
           IsWindowEnabled(child) ? "enabled" : "disabled", Text(child).c_str());
    return TRUE;
}

int Children(const Args& a) {
    HWND w = Find(a[0], a[1]);
    if (!w) return 1;
    printf("0\t%ls\t-\t-\t%ls\n", ClassOf(w).c_str(), Text(w).c_str());
    EnumChildWindows(w, PrintChild, reinterpret_cast<LPARAM>(w));
    return 0;
}

// "sel N", then one line per row: index, text (UTF-8) and, in a list box,
// the row's centre on the screen.
int Rows(const Args& a, bool list) {
    const HWND box = GetDlgItem(Find(L"-", a[0]), _wtoi(a[1].c_str()));
    if (!box) return 1;
    printf("sel %ld\n", static_cast<long>(SendMessageW(box, list ? LB_GETCURSEL : CB_GETCURSEL, 0, 0)));
    const LRESULT count = SendMessageW(box, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
    for (int row = 0; row < count; ++row) {
        const LRESULT length = SendMessageW(box, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, row, 0);
        std::vector<wchar_t> text(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
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

int ListRows(const Args& a) { return Rows(a, true); }
int ComboRows(const Args& a) { return Rows(a, false); }

// What decides the window's border, its caption buttons and whether it gets
// a taskbar button.
int Style(const Args& a) {
    const HWND w = Find(L"-", a[0]);
    if (!w) return 1;
    const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE), ex = GetWindowLongPtrW(w, GWL_EXSTYLE);
    const HWND owner = GetWindow(w, GW_OWNER);
    printf("sizable=%d minimizebox=%d maximizebox=%d sysmenu=%d modalframe=%d appwindow=%d toolwindow=%d "
           "owner=%ls owner_visible=%d\n",
           (style & WS_THICKFRAME) != 0, (style & WS_MINIMIZEBOX) != 0, (style & WS_MAXIMIZEBOX) != 0,
           (style & WS_SYSMENU) != 0, (ex & WS_EX_DLGMODALFRAME) != 0, (ex & WS_EX_APPWINDOW) != 0,
           (ex & WS_EX_TOOLWINDOW) != 0, owner ? ClassOf(owner).c_str() : L"none",
           owner && IsWindowVisible(owner));
    return 0;
}

// How many visible top-level windows carry the title.
int Count(const Args& a) {
    int n = 0;
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, nullptr, a[0].c_str())) != nullptr;)
        n += IsWindowVisible(w) ? 1 : 0;
    printf("%d\n", n);
    return 0;
}

int Close(const Args& a) {
    HWND w = Find(a[0], a[1]);
    if (!w) return 1;
    PostMessageW(w, WM_CLOSE, 0, 0);
    return 0;
}

// How many top-level windows of the class exist, shown or hidden.
int CountClass(const Args& a) {
    int n = 0;
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, a[0].c_str(), nullptr)) != nullptr;) ++n;
    printf("%d\n", n);
    return 0;
}

// Ends the session the way Windows does with each top-level window: asks
// with WM_QUERYENDSESSION (prints "query=ANSWER"), then sends WM_ENDSESSION
// with wParam TRUE. LPARAM is e.g. 1 (ENDSESSION_CLOSEAPP).
int EndSession(const Args& a) {
    HWND w = Find(a[0], L"-");
    if (!w) return 1;
    const LPARAM reason = static_cast<LPARAM>(wcstoul(a[1].c_str(), nullptr, 0));
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(w, WM_QUERYENDSESSION, 0, reason, SMTO_ABORTIFHUNG, 5000, &answer);
    printf("query=%lu\n", static_cast<unsigned long>(answer));
    fflush(stdout);
    DWORD_PTR ignored = 0;
    // The receiver may end its process before answering.
    SendMessageTimeoutW(w, WM_ENDSESSION, TRUE, reason, SMTO_NORMAL, 15000, &ignored);
    return 0;
}

int ProcessCount(const std::wstring& exe) {
    int n = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        n += _wcsicmp(entry.szExeFile, exe.c_str()) == 0 ? 1 : 0;
    CloseHandle(snapshot);
    return n;
}

// Polls until no process of the program file (e.g. subst.exe) runs.
int WaitNoProcess(const Args& a) {
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(_wtoi(a[1].c_str()));
    do {
        if (ProcessCount(a[0]) == 0) return 0;
        Sleep(100);
    } while (GetTickCount() < deadline);
    return 1;
}

// A shell that is not ready yet: a hidden window of the taskbar's class,
// kept above the real one so that Shell_NotifyIcon finds it first. It
// refuses the first COUNT icons added (and every other request meanwhile),
// then goes, so the real taskbar answers from then on; it also goes after
// TIMEOUT_MS or when closed. Prints how many additions it refused.
int g_refused = 0;
int g_to_refuse = 0;

LRESULT CALLBACK RefusingTrayProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    if (msg != WM_COPYDATA) return DefWindowProcW(w, msg, wp, lp);
    if (reinterpret_cast<const COPYDATASTRUCT*>(lp)->dwData == NIM_ADD && ++g_refused == g_to_refuse)
        PostQuitMessage(0);
    return FALSE;
}

int RefuseTray(const Args& a) {
    g_to_refuse = _wtoi(a[0].c_str());
    WNDCLASSW wc{};
    wc.lpfnWndProc = RefusingTrayProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Shell_TrayWnd";
    if (!RegisterClassW(&wc)) return 1;
    HWND w = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"orvprobe refusing tray",
                             WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    if (!w) return 1;
    SetTimer(w, 1, static_cast<UINT>(_wtoi(a[1].c_str())), [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(w);
    printf("%d\n", g_refused);
    return 0;
}

int DosDevice(const Args& a) {
    wchar_t target[1024];
    printf("%ls\n", QueryDosDeviceW(a[0].c_str(), target, 1024) ? target : L"none");
    return 0;
}

HKEY Root(const std::wstring& name) { return name == L"HKLM" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

// Prints the value's type and bytes in hex, or "missing".
int RegGet(const Args& a) {
    HKEY key = nullptr;
    DWORD type = 0, size = 0;
    const std::string name = Narrow(a[2]);
    if (RegOpenKeyExA(Root(a[0]), Narrow(a[1]).c_str(), 0, KEY_QUERY_VALUE, &key) ||
        RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size)) {
        if (key) RegCloseKey(key);
        printf("missing\n");
        return 0;
    }
    std::vector<unsigned char> data(size + 1);
    RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    printf("%lu", type);
    for (DWORD i = 0; i < size; ++i) printf(" %02x", data[i]);
    printf("\n");
    return 0;
}

// Writes DATA as the value NAME of ROOT\PATH (a[0..2]).
int SetValue(const Args& a, DWORD type, const std::string& data) {
    HKEY key;
    if (RegCreateKeyExA(Root(a[0]), Narrow(a[1]).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr))
        return 1;
    const LONG rc = RegSetValueExA(key, Narrow(a[2]).c_str(), 0, type,
                                   reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? 0 : 1;
}

// Stores TEXT the way the program encodes it (255 - c), independently of
// the program's own code.
int RegSetEncoded(const Args& a) {
    std::string data = Narrow(a[3]);
    for (char& c : data) c = static_cast<char>(255 - static_cast<unsigned char>(c));
    data.push_back('\0');
    return SetValue(a, REG_SZ, data);
}

// Stores raw bytes, given as reg-get prints them: "TYPE b1 b2 ..." in hex.
int RegSetRaw(const Args& a) {
    const std::string text = Narrow(a[3]);
    const char* at = text.c_str();
    char* end = nullptr;
    const DWORD type = strtoul(at, &end, 16);
    std::string data;
    for (at = end; *at; at = end) {
        const unsigned long byte = strtoul(at, &end, 16);
        if (end == at) break;
        data.push_back(static_cast<char>(byte));
    }
    return SetValue(a, type, data);
}

// Prints the key's value names in the order the registry keeps them (the
// order they were created in), or "missing".
int RegValues(const Args& a) {
    HKEY key;
    if (RegOpenKeyExW(Root(a[0]), a[1].c_str(), 0, KEY_QUERY_VALUE, &key)) {
        printf("missing\n");
        return 0;
    }
    wchar_t name[256];
    for (DWORD i = 0, length = 256; !RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
         ++i, length = 256)
        printf("%ls\n", name);
    RegCloseKey(key);
    return 0;
}

// A volatile key: below it no lasting key can be created, so the program's
// writes there fail.
int RegCreateVolatile(const Args& a) {
    HKEY key;
    if (RegCreateKeyExW(Root(a[0]), a[1].c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr))
        return 1;
    RegCloseKey(key);
    return 0;
}

int RegDeleteTree(const Args& a) {
    RegDeleteTreeW(Root(a[0]), a[1].c_str());
    RegDeleteKeyW(Root(a[0]), a[1].c_str());
    return 0;
}

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

int Keys(const Args& a) {
    for (wchar_t ch : a[0]) SendKey(0, ch);
    return 0;
}

int Key(const Args& a) {
    struct Named { const wchar_t* name; WORD vk; };
    static const Named kKeys[] = {{L"enter", VK_RETURN}, {L"tab", VK_TAB}, {L"escape", VK_ESCAPE},
                                  {L"up", VK_UP}, {L"down", VK_DOWN}, {L"home", VK_HOME},
                                  {L"end", VK_END}, {L"backspace", VK_BACK}, {L"space", VK_SPACE},
                                  {L"delete", VK_DELETE}};
    for (const Named& k : kKeys) {
        if (a[0] == k.name) {
            SendKey(k.vk, 0);
            return 0;
        }
    }
    return 2;
}

int Foreground(const Args&) {
    HWND w = GetForegroundWindow();
    HWND focus = nullptr;
    GUITHREADINFO info{sizeof(info)};
    if (GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info)) focus = info.hwndFocus;
    printf("%ls\t%ls\tfocus=%d\n", ClassOf(w).c_str(), Text(w).c_str(), focus ? GetDlgCtrlID(focus) : -1);
    return 0;
}

int TrayRemove(const Args& a) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = Find(a[0], L"-");
    data.uID = 1;
    return data.hWnd && Shell_NotifyIconW(NIM_DELETE, &data) ? 0 : 1;
}

int BroadcastTaskbarCreated(const Args&) {
    const UINT msg = RegisterWindowMessageW(L"TaskbarCreated");
    DWORD_PTR result;
    SendMessageTimeoutW(HWND_BROADCAST, msg, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
    return 0;
}

// Prints the working set and private bytes of the process owning the window.
int Memory(const Args& a) {
    HWND w = Find(a[0], L"-");
    DWORD pid = 0;
    if (!w || !GetWindowThreadProcessId(w, &pid)) return 1;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return 1;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    const BOOL ok = GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                         sizeof(counters));
    CloseHandle(process);
    if (!ok) return 1;
    printf("working_set_kib %zu private_kib %zu\n", counters.WorkingSetSize / 1024,
           counters.PrivateUsage / 1024);
    return 0;
}

// --- the soak: the program's own menu command over and over, and what it holds

bool SubstRunning() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return true;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    bool running = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !running; more = Process32NextW(snapshot, &entry))
        running = _wcsicmp(entry.szExeFile, L"subst.exe") == 0;
    CloseHandle(snapshot);
    return running;
}

// What the drive maps to, or "" when it maps to nothing.
std::wstring MappingOf(const std::wstring& drive) {
    wchar_t target[1024];
    return QueryDosDeviceW(drive.c_str(), target, 1024) ? target : L"";
}

// Polls until `done` or the deadline.
template <typename Done>
bool WaitFor(DWORD timeout_ms, Done done) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeout_ms) return false;
        Sleep(10);
    }
    return true;
}

// Cycles FIRST to LAST: the menu command Mount, the drive mapped to FOLDER,
// then Unmount, the mapping gone; each command also waited out to its end
// so that a cycle is whole. Stops at the first mapping that does not come
// or go within TIMEOUT_MS.
int ToggleCycles(const Args& a) {
    const HWND w = Find(a[0], L"-");
    if (!w) return 1;
    const std::wstring& drive = a[1];
    const std::wstring mapped = L"\\??\\" + a[2];
    const int last = _wtoi(a[4].c_str());
    const DWORD timeout = static_cast<DWORD>(_wtoi(a[5].c_str()));
    for (int cycle = _wtoi(a[3].c_str()); cycle <= last; ++cycle) {
        PostMessageW(w, WM_COMMAND, IDM_ENABLED, 0);
        if (!WaitFor(timeout, [&] { return MappingOf(drive) == mapped; })) {
            printf("cycle %d: %ls did not map to %ls within %lu ms (maps to \"%ls\")\n", cycle, drive.c_str(),
                   a[2].c_str(), timeout, MappingOf(drive).c_str());
            return 1;
        }
        WaitFor(timeout, [] { return !SubstRunning(); });
        PostMessageW(w, WM_COMMAND, IDM_ENABLED, 0);
        if (!WaitFor(timeout, [&] { return MappingOf(drive).empty(); })) {
            printf("cycle %d: %ls still maps to %ls after %lu ms\n", cycle, drive.c_str(),
                   MappingOf(drive).c_str(), timeout);
            return 1;
        }
        WaitFor(timeout, [] { return !SubstRunning(); });
    }
    return 0;
}

// Kernel handles: the process's entries in the system's handle list, which
// Wine's server builds from its real handle tables. (Wine's per-process
// figures read 0, or the table's capacity in SystemProcessInformation.)
long KernelHandles(DWORD pid) {
    constexpr ULONG kExtendedHandleInformation = 64;
    struct Entry {
        void* object;
        ULONG_PTR process_id;
        ULONG_PTR handle;
        ULONG access;
        USHORT creator_back_trace;
        USHORT type;
        ULONG attributes;
        ULONG reserved;
    };
    struct Header {
        ULONG_PTR count;
        ULONG_PTR reserved;
    };
    std::vector<unsigned char> buffer(1 << 16);
    NTSTATUS status;
    for (;;) {
        ULONG needed = 0;
        status = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(kExtendedHandleInformation),
                                          buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status != static_cast<NTSTATUS>(0xC0000004L)) break;  // STATUS_INFO_LENGTH_MISMATCH
        buffer.resize(buffer.size() * 2 + needed);
    }
    if (status != 0) return -1;
    const auto* header = reinterpret_cast<const Header*>(buffer.data());
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(Header));
    long n = 0;
    for (ULONG_PTR i = 0; i < header->count; ++i) n += entries[i].process_id == pid ? 1 : 0;
    return n;
}

// GDI objects: Wine keeps each process's GDI handle table in that process's
// memory, where its PEB points (GdiSharedHandleTable); a live entry has a
// type, a stock object (shared by every process) its stock flag.
long GdiObjects(HANDLE process) {
    static_assert(sizeof(void*) == 8, "the 64-bit PEB's layout");
    constexpr size_t kPebGdiTable = 0xF8;
    constexpr size_t kHandles = 0x10000;
    struct Entry {
        UINT64 object;
        ULONG owner;
        UCHAR ext_type_and_stock;
        UCHAR generation;
        UCHAR type;
        UCHAR flags;
        UINT64 user;
    };
    static_assert(sizeof(Entry) == 24, "a GDI handle entry");
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0) return -1;
    UINT64 table = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<const char*>(basic.PebBaseAddress) + kPebGdiTable, &table,
                           sizeof(table), nullptr) ||
        table == 0)
        return -1;
    std::vector<Entry> entries(kHandles);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                           entries.size() * sizeof(Entry), nullptr))
        return -1;
    long n = 0;
    for (const Entry& e : entries) n += e.type != 0 && !(e.ext_type_and_stock & 0x80) ? 1 : 0;
    return n;
}

struct WindowCount {
    DWORD pid;
    long n;
};

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++reinterpret_cast<WindowCount*>(count)->n;
    return TRUE;
}

BOOL CALLBACK CountTop(HWND w, LPARAM count) {
    auto* c = reinterpret_cast<WindowCount*>(count);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == c->pid) {
        ++c->n;
        EnumChildWindows(w, CountChild, count);
    }
    return TRUE;
}

// USER objects: the process's windows, top-level (the hidden window and
// Wine's IME window), message-only, and their children. Wine keeps menus
// and icons in the owning process alone, out of reach; an icon's bitmaps
// are GDI objects and counted there.
long UserObjects(DWORD pid) {
    WindowCount count{pid, 0};
    EnumWindows(CountTop, reinterpret_cast<LPARAM>(&count));
    for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) != nullptr;)
        CountTop(w, reinterpret_cast<LPARAM>(&count));
    return count.n;
}

// "handles N gdi N user N" of the process owning the window, once no subst
// is running and two readings in a row agree (a finished command's handles
// are closed just after its report is posted).
int Resources(const Args& a) {
    HWND w = Find(a[0], L"-");
    DWORD pid = 0;
    if (!w || !GetWindowThreadProcessId(w, &pid)) return 1;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return 1;
    WaitFor(10000, [] { return !SubstRunning(); });
    long last[3] = {-2, -2, -2};
    for (int reading = 0; reading < 20; ++reading) {
        const long now[3] = {KernelHandles(pid), GdiObjects(process), UserObjects(pid)};
        const bool same = std::equal(now, now + 3, last);
        std::copy(now, now + 3, last);
        if (same) break;
        Sleep(100);
    }
    CloseHandle(process);
    printf("handles %ld gdi %ld user %ld\n", last[0], last[1], last[2]);
    return last[0] < 0 || last[1] < 0 ? 1 : 0;
}

std::wstring g_menu_lines;

LRESULT CALLBACK ReceiveMenu(HWND w, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg != WM_COPYDATA) return DefWindowProcW(w, msg, wparam, lparam);
    const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    g_menu_lines.assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
    return TRUE;
}

// The open popup menu's items, read inside its process by menu_hook.dll;
// waits up to two seconds for the menu to open.
int Menu(const Args&) {
    HWND window = nullptr;
    for (int tries = 0; tries < 20 && !(window && IsWindowVisible(window)); ++tries, Sleep(100))
        window = FindWindowW(L"#32768", nullptr);
    const HMODULE library = LoadLibraryW(L"menu_hook.dll");
    const auto hook_proc = reinterpret_cast<HOOKPROC>(GetProcAddress(library, "ReadMenuHook"));
    if (!window || !IsWindowVisible(window) || !hook_proc) return 1;
    WNDCLASSW cls{};
    cls.lpfnWndProc = ReceiveMenu;
    cls.lpszClassName = L"OrvprobeMenuReply";
    RegisterClassW(&cls);
    const HWND reply = CreateWindowW(cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, hook_proc, library, GetWindowThreadProcessId(window, nullptr));
    DWORD_PTR result;
    SendMessageTimeoutW(window, RegisterWindowMessageW(L"OrvanelProbeReadMenu"), reinterpret_cast<WPARAM>(reply), 0,
                        SMTO_NORMAL, 5000, &result);
    UnhookWindowsHookEx(hook);
    printf("%s", Narrow(g_menu_lines, CP_UTF8).c_str());
    return g_menu_lines.empty() ? 1 : 0;
}

// Asks orvmeasure.dll, loaded into the window's own process by a message
// hook on its thread, to run COMMAND there; prints its answer. Fonts and
// other GDI objects can only be read in the process that made them.
std::string in_process_answer;

LRESULT CALLBACK ReplyProc(HWND w, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
        in_process_answer.assign(static_cast<const char*>(data->lpData), data->cbData);
        if (!in_process_answer.empty() && in_process_answer.back() == '\0') in_process_answer.pop_back();
        return TRUE;
    }
    return DefWindowProcW(w, msg, wparam, lparam);
}

int InProcess(HWND target, WORD command, WORD argument) {
    if (!target) return 1;
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dll(path);
    dll = dll.substr(0, dll.find_last_of(L'\\') + 1) + L"orvmeasure.dll";
    HMODULE module = LoadLibraryW(dll.c_str());
    const auto hook_proc = module ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                                        GetProcAddress(module, "ProbeGetMessage")))
                                  : nullptr;
    if (!hook_proc) return 1;
    WNDCLASSW cls{};
    cls.lpfnWndProc = ReplyProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"OrvProbeReply";
    RegisterClassW(&cls);
    HWND reply = CreateWindowW(L"OrvProbeReply", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, hook_proc, module, GetWindowThreadProcessId(target, nullptr));
    if (!hook) return 1;
    PostMessageW(target, RegisterWindowMessageW(L"OrvanelProbeRequest"), reinterpret_cast<WPARAM>(reply),
                 MAKELPARAM(command, argument));
    const DWORD deadline = GetTickCount() + 10000;
    MSG msg;
    while (in_process_answer.empty() && GetTickCount() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    UnhookWindowsHookEx(hook);
    DestroyWindow(reply);
    printf("%s", in_process_answer.c_str());
    return in_process_answer.empty() ? 1 : 0;
}

// For the window's caption and each of its controls' texts: "ID CLASS
// fits|CUT need WxH room WxH TEXT", measured in the font the text is drawn
// in; owner-drawn combo boxes by drawing their rows.
int Fits(const Args& a) { return InProcess(Find(a[0], a[1]), 1, 0); }

// Sends the window WM_DPICHANGED for DPI; prints how many fonts its
// controls were given and how many of them replaced a font already deleted.
int DpiChange(const Args& a) { return InProcess(Find(a[0], a[1]), 2, static_cast<WORD>(_wtoi(a[2].c_str()))); }

// Keeps the virtual desktop alive: Wine closes it with its last program.
int Idle(const Args&) {
    Sleep(INFINITE);
    return 0;
}

// The drive letters GetLogicalDrives reports, e.g. "CZ".
int Drives(const Args&) {
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
        if (mask & (1u << i)) printf("%c", 'A' + i);
    printf("\n");
    return 0;
}

struct Command {
    const wchar_t* name;
    size_t args;
    int (*run)(const Args&);
    const char* usage;
};

const Command kCommands[] = {
    {L"wait-window", 3, WaitShown, "CLASS|- TITLE|- TIMEOUT_MS"},
    {L"wait-exists", 3, WaitExists, "CLASS|- TITLE|- TIMEOUT_MS"},
    {L"wait-gone", 3, WaitGone, "CLASS|- TITLE|- TIMEOUT_MS"},
    {L"idle", 0, Idle, ""},
    {L"memory", 1, Memory, "WINDOW_CLASS"},
    {L"menu", 0, Menu, ""},
    {L"window-rect", 2, WindowRect, "CLASS|- TITLE|-"},
    {L"children", 2, Children, "CLASS|- TITLE|-"},
    {L"list", 2, ListRows, "WINDOW_TITLE CONTROL_ID"},
    {L"combo", 2, ComboRows, "WINDOW_TITLE CONTROL_ID"},
    {L"style", 1, Style, "WINDOW_TITLE"},
    {L"count", 1, Count, "WINDOW_TITLE"},
    {L"close", 2, Close, "CLASS|- TITLE|-"},
    {L"count-class", 1, CountClass, "CLASS"},
    {L"end-session", 2, EndSession, "CLASS LPARAM"},
    {L"wait-no-process", 2, WaitNoProcess, "PROGRAM.EXE TIMEOUT_MS"},
    {L"refuse-tray", 2, RefuseTray, "COUNT TIMEOUT_MS"},
    {L"dosdevice", 1, DosDevice, "X:"},
    {L"reg-get", 3, RegGet, "HKCU|HKLM PATH NAME"},
    {L"reg-set-encoded", 4, RegSetEncoded, "HKCU|HKLM PATH NAME TEXT"},
    {L"reg-set-raw", 4, RegSetRaw, "HKCU|HKLM PATH NAME 'TYPE HEXBYTES'"},
    {L"reg-values", 2, RegValues, "HKCU|HKLM PATH"},
    {L"reg-create-volatile", 2, RegCreateVolatile, "HKCU|HKLM PATH"},
    {L"reg-delete-tree", 2, RegDeleteTree, "HKCU|HKLM PATH"},
    {L"keys", 1, Keys, "TEXT"},
    {L"key", 1, Key, "enter|tab|escape|up|down|home|end|backspace|space|delete"},
    {L"foreground", 0, Foreground, ""},
    {L"tray-remove", 1, TrayRemove, "OWNER_CLASS"},
    {L"broadcast-taskbar-created", 0, BroadcastTaskbarCreated, ""},
    {L"toggle-cycles", 6, ToggleCycles, "WINDOW_CLASS X: FOLDER FIRST LAST TIMEOUT_MS"},
    {L"resources", 1, Resources, "WINDOW_CLASS"},
    {L"drives", 0, Drives, ""},
    {L"fits", 2, Fits, "CLASS|- TITLE|-"},
    {L"dpi-change", 3, DpiChange, "CLASS|- TITLE|- DPI"},
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 2) {
        for (const Command& c : kCommands) {
            if (argv[1] == std::wstring(c.name) && static_cast<size_t>(argc - 2) == c.args) {
                const int rc = c.run(Args(argv + 2, argv + argc));
                fflush(stdout);
                return rc;
            }
        }
    }
    for (const Command& c : kCommands) fprintf(stderr, "orvprobe %ls %s\n", c.name, c.usage);
    return 2;
}
