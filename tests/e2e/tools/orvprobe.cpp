// The end-to-end tests' eyes and hands inside the Wine desktop: it finds
// windows, reads their texts, rectangles, styles and list rows, reads and
// writes the registry past the program, sends keys with SendInput (X key
// events do not reach Wine's windows without a window manager) and pokes
// the shell.
#include <windows.h>
#include <shellapi.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

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

// Stores TEXT the way the program encodes it (255 - c), independently of
// the program's own code.
int RegSetEncoded(const Args& a) {
    std::string data = Narrow(a[3]);
    for (char& c : data) c = static_cast<char>(255 - static_cast<unsigned char>(c));
    data.push_back('\0');
    HKEY key;
    if (RegCreateKeyExA(Root(a[0]), Narrow(a[1]).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr))
        return 1;
    const LONG rc = RegSetValueExA(key, Narrow(a[2]).c_str(), 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? 0 : 1;
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
    {L"window-rect", 2, WindowRect, "CLASS|- TITLE|-"},
    {L"children", 2, Children, "CLASS|- TITLE|-"},
    {L"list", 2, ListRows, "WINDOW_TITLE CONTROL_ID"},
    {L"combo", 2, ComboRows, "WINDOW_TITLE CONTROL_ID"},
    {L"style", 1, Style, "WINDOW_TITLE"},
    {L"count", 1, Count, "WINDOW_TITLE"},
    {L"close", 2, Close, "CLASS|- TITLE|-"},
    {L"dosdevice", 1, DosDevice, "X:"},
    {L"reg-get", 3, RegGet, "HKCU|HKLM PATH NAME"},
    {L"reg-set-encoded", 4, RegSetEncoded, "HKCU|HKLM PATH NAME TEXT"},
    {L"reg-values", 2, RegValues, "HKCU|HKLM PATH"},
    {L"reg-create-volatile", 2, RegCreateVolatile, "HKCU|HKLM PATH"},
    {L"reg-delete-tree", 2, RegDeleteTree, "HKCU|HKLM PATH"},
    {L"keys", 1, Keys, "TEXT"},
    {L"key", 1, Key, "enter|tab|escape|up|down|home|end|backspace|space|delete"},
    {L"foreground", 0, Foreground, ""},
    {L"tray-remove", 1, TrayRemove, "OWNER_CLASS"},
    {L"broadcast-taskbar-created", 0, BroadcastTaskbarCreated, ""},
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
