#include "harness.h"

#include <shellapi.h>
#include <winternl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>
#include <sstream>

namespace e2e {
namespace {

namespace fs = std::filesystem;

// Per-monitor aware, so that every position read or clicked is in pixels at every scale.
const bool kDpiAware = ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) != FALSE;
const fs::path kSteering = L"C:\\windows\\temp\\orvanel-test";

// A process's command line, from its parameters (64-bit layout): no call gives it everywhere.
std::wstring CommandLineOf(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic{};
    char* parameters = nullptr;
    UNICODE_STRING line{};
    if (::NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0 ||
        !::ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + 0x20, &parameters, 8, nullptr) ||
        !parameters || !::ReadProcessMemory(process, parameters + 0x70, &line, sizeof(line), nullptr)) return L"";
    std::wstring text(line.Length / sizeof(wchar_t), L'\0');
    // A NUL means the new process has not written its parameters yet.
    const bool read = ::ReadProcessMemory(process, line.Buffer, text.data(), line.Length, nullptr);
    return read && text.find(L'\0') == std::wstring::npos ? text : L"";
}

void Send(const std::vector<INPUT>& input, int pause_ms) {
    ::SendInput(static_cast<UINT>(input.size()), const_cast<INPUT*>(input.data()), sizeof(INPUT));
    Pause(pause_ms);
}
INPUT Mouse(DWORD flags, POINT at) {
    INPUT input{INPUT_MOUSE, {}};
    input.mi = {at.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1), at.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1),
                0, flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0};
    return input;
}
INPUT Keyboard(WORD vk, wchar_t c, DWORD flags) {
    INPUT input{INPUT_KEYBOARD, {}};
    input.ki = {vk, c, flags, 0, 0};
    return input;
}

}  // namespace

bool WaitFor(const std::function<bool()>& done, int timeout_ms) {
    for (const DWORD start = ::GetTickCount(); !done(); Pause(20)) {
        if (::GetTickCount() - start >= static_cast<DWORD>(timeout_ms)) return false;
    }
    return true;
}

void Pause(int ms) {
    for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < static_cast<DWORD>(ms);) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - (::GetTickCount() - start), QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
}

std::wstring Env(const wchar_t* name) {
    wchar_t value[1024] = L"";
    return ::GetEnvironmentVariableW(name, value, 1024) < 1024 ? value : L"";
}

DWORD Launch(const std::wstring& program, const std::wstring& arguments, int timeout_ms) {
    std::wstring line = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    DWORD code = ::GetLastError();
    if (::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info)) {
        ::WaitForSingleObject(info.hProcess, static_cast<DWORD>(timeout_ms));
        ::GetExitCodeProcess(info.hProcess, &code);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }
    return code;
}

std::wstring SystemFile(const wchar_t* name) { return Env(L"SystemRoot") + L"\\System32\\" + name; }

bool StandInSubst() { return fs::is_directory(kSteering); }

void SubstFails(const std::string& message) { std::ofstream(kSteering / L"subst-fail", std::ios::binary) << message; }
void SubstRemovalTakes(int ms) { std::ofstream(kSteering / L"subst-slow-d") << ms; }

std::wstring TempFolder(const std::wstring& name) {
    const fs::path folder = fs::temp_directory_path() / L"orvanel-e2e" / name;
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return fs::create_directories(folder), folder.wstring();
}

std::wstring Mapping(wchar_t letter) {
    wchar_t target[1024] = L"";
    const wchar_t drive[] = {letter, L':', L'\0'};
    return ::QueryDosDeviceW(drive, target, 1024) ? target : L"";
}

bool Maps(wchar_t letter, const std::wstring& folder, int timeout_ms) {
    return WaitFor([&] { return Mapping(letter) == (folder.empty() ? L"" : L"\\??\\" + folder); }, timeout_ms);
}

void Subst(const std::wstring& arguments) { Launch(SystemFile(L"subst.exe"), arguments); }

wchar_t FreeLetter(wchar_t below) {
    wchar_t letter = static_cast<wchar_t>(below - 1);
    while (letter > L'D' && (((::GetLogicalDrives() >> (letter - L'A')) & 1) || !Mapping(letter).empty())) --letter;
    return letter;
}

std::string Narrow(const std::wstring& text) {
    std::string out(text.size() * 2 + 1, '\0');
    out.resize(static_cast<std::size_t>(std::max(0, ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out.data(),
        static_cast<int>(out.size()), nullptr, nullptr) - 1)));
    return out;
}

Value Encoded(const std::wstring& text) {
    std::string data = Narrow(text);
    for (char& c : data) c = static_cast<char>(255 - static_cast<unsigned char>(c));
    return {REG_SZ, data + '\0'};
}

std::optional<Value> Stored(const wchar_t* name, HKEY root, const wchar_t* key) {
    const std::string k = Narrow(key), n = Narrow(name);
    Value value;
    DWORD size = 0;
    if (::RegGetValueA(root, k.c_str(), n.c_str(), RRF_RT_ANY, &value.type, nullptr, &size)) return std::nullopt;
    value.data.resize(size);
    ::RegGetValueA(root, k.c_str(), n.c_str(), RRF_RT_ANY, nullptr, value.data.data(), &size);
    value.data.resize(size);
    return value;
}

void Store(const wchar_t* name, const Value& value, HKEY root, const wchar_t* key) {
    ::RegSetKeyValueA(root, Narrow(key).c_str(), Narrow(name).c_str(), value.type, value.data.data(),
                      static_cast<DWORD>(value.data.size()));
}
void Store(const wchar_t* name, const std::wstring& text) { Store(name, Encoded(text)); }

void Forget(HKEY root, const wchar_t* key) {
    ::RegDeleteTreeW(root, key);
    ::RegDeleteKeyW(root, key);
}

std::wstring PlantedCopy(const std::wstring& folder_name) {
    const fs::path copy = TempFolder(folder_name), built = fs::path(Orvanel::Exe()).parent_path();
    wchar_t self[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const fs::path tools = fs::path(self).parent_path();
    fs::copy(built / L"Orvanel.exe", copy);
    fs::copy(built / L"Help", copy / L"Help");
    for (const wchar_t* name : {L"subst.exe", L"hh.exe", L"explorer.exe"}) fs::copy(tools / L"planted.exe", copy / name);
    fs::copy(tools / L"version.dll", copy);
    return (copy / L"Orvanel.exe").wstring();
}

std::vector<std::wstring> PlantedRan(const std::wstring& exe) {
    std::vector<std::wstring> ran;
    for (const auto& entry : fs::directory_iterator(fs::path(exe).parent_path())) {
        if (entry.path().extension() == L".ran") ran.push_back(entry.path().filename().wstring());
    }
    return ran;
}

// What Orvanel starts comes into its job, which names each one while its command line can be read.
struct Orvanel::Watch {
    HANDLE job = ::CreateJobObjectW(nullptr, nullptr);
    HANDLE port = ::CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
    PROCESS_INFORMATION self{};
    std::mutex lock;
    std::vector<std::wstring> started;  // command lines
    std::thread thread;

    void Run() {
        DWORD message = 0;
        ULONG_PTR key = 0;
        LPOVERLAPPED data = nullptr;
        while (::GetQueuedCompletionStatus(port, &message, &key, &data, INFINITE) && key != 0) {
            const auto pid = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(data));
            if (message != JOB_OBJECT_MSG_NEW_PROCESS || pid == self.dwProcessId) continue;
            const HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
            std::wstring line;
            for (int tries = 0; line.empty() && tries < 200; ++tries, ::Sleep(5)) line = CommandLineOf(process);
            ::CloseHandle(process);
            const std::lock_guard<std::mutex> guard(lock);
            started.push_back(line);
        }
    }
};

std::wstring Orvanel::Exe() { return Env(L"ORVANEL_EXE"); }

Orvanel::Orvanel(bool wait, const std::wstring& exe) : watch_(std::make_unique<Watch>()) {
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT port{reinterpret_cast<void*>(1), watch_->port};
    ::SetInformationJobObject(watch_->job, JobObjectAssociateCompletionPortInformation, &port, sizeof(port));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    ::SetInformationJobObject(watch_->job, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    watch_->thread = std::thread([this] { watch_->Run(); });
    std::wstring line = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                         fs::path(exe).parent_path().c_str(), &startup, &watch_->self)) {
        ::AssignProcessToJobObject(watch_->job, watch_->self.hProcess);
        ::ResumeThread(watch_->self.hThread);
    }
    if (wait) WaitFor([this] { return Window() != nullptr; }, 20000);
}

Orvanel::~Orvanel() {
    ::CloseHandle(watch_->job);
    ::WaitForSingleObject(watch_->self.hProcess, 5000);
    ::PostQueuedCompletionStatus(watch_->port, 0, 0, nullptr);
    watch_->thread.join();
    for (const HANDLE h : {watch_->port, watch_->self.hThread, watch_->self.hProcess}) ::CloseHandle(h);
}

std::vector<HWND> TrayWindows() {
    std::vector<HWND> found;
    for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, L"OrvanelTrayWindow", nullptr)) != nullptr;) found.push_back(w);
    return found;
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    return ::GetWindowThreadProcessId(window, &pid), pid;
}

HWND Orvanel::Window() const {
    for (const HWND w : TrayWindows()) {
        if (ProcessOf(w) == watch_->self.dwProcessId) return w;
    }
    return nullptr;
}

HANDLE Orvanel::Process() const { return watch_->self.hProcess; }
bool Orvanel::WaitGone(int timeout_ms) const {
    return ::WaitForSingleObject(watch_->self.hProcess, static_cast<DWORD>(timeout_ms)) == WAIT_OBJECT_0;
}

std::vector<std::wstring> Orvanel::Started(const std::wstring& program) const {
    const std::lock_guard<std::mutex> guard(watch_->lock);
    std::vector<std::wstring> lines;
    std::copy_if(watch_->started.begin(), watch_->started.end(), std::back_inserter(lines),
                 [&program](const std::wstring& line) { return line.rfind(program + L" ", 0) == 0; });
    return lines;
}

void Orvanel::Post(UINT command) const { ::PostMessageW(Window(), WM_COMMAND, command, 0); }

void Key(WORD vk, WORD held) {
    std::vector<INPUT> keys{Keyboard(vk, 0, 0), Keyboard(vk, 0, KEYEVENTF_KEYUP)};
    if (held) keys = {Keyboard(held, 0, 0), keys[0], keys[1], Keyboard(held, 0, KEYEVENTF_KEYUP)};
    Send(keys, 60);
}

// Each character as itself, whatever the keyboard's layout.
void Type(const std::wstring& text) {
    for (const wchar_t c : text) Send({Keyboard(0, c, KEYEVENTF_UNICODE), Keyboard(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)}, 30);
}

void Click(POINT at, int times) {
    Send({Mouse(0, at)}, 100);
    for (int i = 0; i < times; ++i) Send({Mouse(MOUSEEVENTF_LEFTDOWN, at), Mouse(MOUSEEVENTF_LEFTUP, at)}, 80);
    Pause(150);
}

HWND Shown(const wchar_t* cls, const wchar_t* title) {
    HWND w = nullptr;
    while ((w = ::FindWindowExW(nullptr, w, cls, title)) != nullptr && !::IsWindowVisible(w)) {}
    return w;
}
HWND WaitShown(const wchar_t* cls, const wchar_t* title, int timeout_ms) {
    HWND found = nullptr;
    WaitFor([&] { return (found = Shown(cls, title)) != nullptr; }, timeout_ms);
    return found;
}
bool WaitClosed(HWND window) { return WaitFor([window] { return !::IsWindowVisible(window); }); }

std::wstring Text(HWND window) {
    wchar_t text[2048] = L"";
    ::SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

POINT Centre(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::vector<std::wstring> Rows(HWND list) {
    std::vector<std::wstring> rows(static_cast<std::size_t>(std::max<LRESULT>(0, ::SendMessageW(list, LB_GETCOUNT, 0, 0))));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        rows[row].resize(static_cast<std::size_t>(::SendMessageW(list, LB_GETTEXTLEN, row, 0)) + 1);
        ::SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(rows[row].data()));
        rows[row].pop_back();
    }
    return rows;
}

int Selection(HWND list) { return static_cast<int>(::SendMessageW(list, LB_GETCURSEL, 0, 0)); }

int FocusId() {
    GUITHREADINFO info{sizeof(info), 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, {}};
    const DWORD thread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
    return ::GetGUIThreadInfo(thread, &info) && info.hwndFocus ? ::GetDlgCtrlID(info.hwndFocus) : -1;
}

void ClickButton(HWND dialog, const std::wstring& caption) {
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (Text(c) == caption || Text(c) == L"&" + caption) return Click(Centre(c));
    }
    ADD_FAILURE() << "no button " << testing::PrintToString(caption);
}

std::wstring AnswerMessage(int timeout_ms, const std::wstring& button) {
    const HWND box = WaitShown(L"#32770", L"Orvanel", timeout_ms);
    if (box == nullptr) return L"";
    // Windows' own box, answered as its button would answer: input sent to
    // a busy desktop can land before the box is ready for it.
    DWORD_PTR id = 0;
    ::SendMessageTimeoutW(box, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 2000, &id);
    id = LOWORD(id);
    std::wstring text;
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[8] = L"";
        if (::GetClassNameW(c, cls, 8) && ::_wcsicmp(cls, L"Static") == 0 && !Text(c).empty()) text += (text.empty() ? L"" : L"\n") + Text(c);
        if (!button.empty() && (Text(c) == button || Text(c) == L"&" + button)) id = static_cast<DWORD_PTR>(::GetDlgCtrlID(c));
    }
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    WaitClosed(box);
    return text;
}

// The desktop's shell may still be starting when the tests do.
bool HasNotificationArea() {
    static const bool found = WaitFor([] { return ::FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr; }, 15000);
    return found;
}

bool Red(std::uint32_t p) { return (p & 0xFF) > 178 && (p >> 8 & 0xFF) < 90 && (p >> 16 & 0xFF) < 90; }
bool Yellow(std::uint32_t p) { return (p & 0xFF) > 178 && (p >> 8 & 0xFF) > 153 && (p >> 16 & 0xFF) < 102; }

POINT IconAt(HWND owner) {
    NOTIFYICONIDENTIFIER icon{sizeof(icon), owner, 1, {}};
    RECT r{};
    if (SUCCEEDED(::Shell_NotifyIconGetRect(&icon, &r))) return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    // Wine cannot say where: Orvanel's, the only one, stands in the taskbar's right corner.
    ::GetWindowRect(Shown(L"Shell_TrayWnd", nullptr), &r);
    return {r.right - 10, r.bottom - 11};
}

bool Showing(HWND owner, bool (*colour)(std::uint32_t)) {
    return WaitFor([&] {
        const POINT at = IconAt(owner);
        const HDC screen = ::GetDC(nullptr);
        long red = 0, yellow = 0;
        for (int x = at.x - 12; x < at.x + 12; ++x) {
            for (int y = at.y - 9; y < at.y + 11; ++y) red += Red(::GetPixel(screen, x, y)), yellow += Yellow(::GetPixel(screen, x, y));
        }
        ::ReleaseDC(nullptr, screen);
        return colour == nullptr ? red + yellow == 0 : colour == Red ? red > 0 && yellow == 0 : yellow > 0 && red == 0;
    });
}

std::wstring Tip(HWND owner) {
    const POINT at = IconAt(owner), away{at.x - 300, at.y - 300};
    Send({Mouse(0, away)}, 300);
    Send({Mouse(0, at)}, 300);
    Send({Mouse(0, {at.x - 1, at.y})}, 0);  // a little movement over it calls the tip
    const std::wstring tip = Text(WaitShown(L"tooltips_class32", nullptr));
    Send({Mouse(0, away)}, 100);
    return tip;
}

namespace {

// Menus live in the process that made them: a hook takes menu_reader.dll into its menu thread.
std::vector<MenuItem> ReadMenu(HWND menu) {
    static const HMODULE reader = ::LoadLibraryW(L"menu_reader.dll");
    const auto hook_proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(reader, "ReadMenuHook")));
    const fs::path file = fs::temp_directory_path() / L"orvanel-e2e-menu.txt";
    std::error_code ignored;
    fs::remove(file, ignored);
    if (menu == nullptr || hook_proc == nullptr) return {};
    const HHOOK hook = ::SetWindowsHookExW(WH_GETMESSAGE, hook_proc, reader, ::GetWindowThreadProcessId(menu, nullptr));
    ::PostMessageW(menu, ::RegisterWindowMessageW(L"OrvanelE2EReadMenu"), 0, 0);
    WaitFor([&file] { return fs::exists(file); });
    ::UnhookWindowsHookEx(hook);
    std::vector<MenuItem> items;
    std::wifstream lines(file);
    for (std::wstring line; std::getline(lines, line);) {
        std::wistringstream fields(line);
        MenuItem item;
        std::getline(std::getline(fields, item.text, L'\t'), item.state, L'\t') >> item.centre.x >> item.centre.y;
        items.push_back(item);
    }
    return items;
}

}  // namespace

std::vector<MenuItem> OpenMenu(HWND owner) {
    // The pointer comes from elsewhere, as a hand moves it (Wine's taskbar takes
    // a press where it already rests for none); a press missed is pressed again.
    const auto open = [] { return Shown(L"#32768", nullptr) != nullptr; };
    for (int tries = 0; tries < 3 && !open(); ++tries) {
        const POINT at = IconAt(owner);
        Send({Mouse(0, {at.x - 200, at.y - 200})}, 250);
        Send({Mouse(0, at), Mouse(MOUSEEVENTF_RIGHTDOWN, at), Mouse(MOUSEEVENTF_RIGHTUP, at)}, 40);
        WaitFor(open, 2000);
    }
    return ReadMenu(Shown(L"#32768", nullptr));
}

std::wstring Look(const std::vector<MenuItem>& items) {
    std::wstring look;
    for (const MenuItem& item : items) look += (look.empty() ? L"" : L" ") + item.text + (item.state == L"greyed" ? L":greyed" : L"");
    return look;
}

void Choose(const std::vector<MenuItem>& items, const std::wstring& text) {
    for (const MenuItem& item : items) {
        if (item.text == text) return Click(item.centre);
    }
    ADD_FAILURE() << "no menu item " << testing::PrintToString(text) << " in " << testing::PrintToString(Look(items));
    Key(VK_ESCAPE);
}

void ChooseFromMenu(HWND owner, const std::wstring& text) { Choose(OpenMenu(owner), text); }

const std::wstring kNoFolder = L"Mount:greyed - Settings Add Drive...:greyed - About... Help - Exit";
const std::wstring kUnmounted = L"Mount - Settings Add Drive... - About... Help - Exit";
const std::wstring kMounted = L"Unmount - Settings:greyed Add Drive... - About... Help - Exit";


LRESULT CALLBACK TrayStandIn::Proc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<TrayStandIn*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (msg == WM_DESTROY) ::PostQuitMessage(0);
    if (msg != WM_COPYDATA || self == nullptr) return ::DefWindowProcW(window, msg, wparam, lparam);
    COPYDATASTRUCT data = *reinterpret_cast<COPYDATASTRUCT*>(lparam);
    // Windows wraps the request in a record of its own; Wine sends it bare.
    const auto* words = static_cast<const DWORD*>(data.lpData);
    const bool wrapped = data.dwData == 1 && data.cbData >= 8 && words[0] == 0x34753423;
    self->last_ = static_cast<DWORD>(wrapped ? words[1] : data.dwData);
    if (self->last_ == NIM_ADD && self->refused_ < self->refuse_) return ++self->refused_, FALSE;
    HWND real = nullptr;
    while ((real = ::FindWindowExW(nullptr, real, L"Shell_TrayWnd", nullptr)) == window) {}
    DWORD_PTR result = TRUE;  // with no taskbar at all, it stands in for one
    if (real) ::SendMessageTimeoutW(real, WM_COPYDATA, wparam, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

TrayStandIn::TrayStandIn(int refuse) : refuse_(refuse) {
    std::promise<void> ready;
    thread_ = std::thread([this, &ready] {
        const WNDCLASSW cls{0, Proc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"Shell_TrayWnd"};
        ::RegisterClassW(&cls);
        window_ = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, cls.lpszClassName, L"Orvanel test tray", WS_POPUP,
                                    0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ready.set_value();
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    });
    ready.get_future().wait();
}

TrayStandIn::~TrayStandIn() {
    ::PostMessageW(window_, WM_CLOSE, 0, 0);
    thread_.join();
}

void E2ETest::SetUp() {
    // Without a taskbar (a build machine's), what needs no click runs with a stand-in.
    if (!HasNotificationArea() && clicks_) GTEST_SKIP() << "no notification area to click";
    if (!HasNotificationArea()) shell_ = std::make_unique<TrayStandIn>();
    Forget(HKEY_CURRENT_USER, kKey);
    if (StandInSubst()) SubstFails(""), SubstRemovalTakes(0);
}

void E2ETest::StoreSettings(bool mount_at_start) const {
    Store(L"Path", folder_);
    Store(L"Drive", std::wstring(1, letter_));
    if (mount_at_start) Store(L"MountAtStart", L"1");
}

void E2ETest::TearDown() {
    // A copy started by another (the installer) would hold the desktop, and the run, open.
    for (const HWND w : TrayWindows()) {
        const HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, ProcessOf(w));
        ::TerminateProcess(process, 1);
        ::WaitForSingleObject(process, 5000);
        ::CloseHandle(process);
    }
    while (!Mapping(letter_).empty() && ::DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_NO_BROADCAST_SYSTEM, drive_.c_str(), nullptr)) {
    }
}

bool Exit(const Orvanel& app) {
    ChooseFromMenu(app.Window(), L"Exit");
    return app.WaitGone(10000);
}

}  // namespace e2e
