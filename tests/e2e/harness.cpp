#include "harness.h"

#include <shellapi.h>
#include <winternl.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <thread>

namespace e2e {
namespace {

// Per-monitor aware, so that every position read or clicked is in pixels
// at every scale.
const bool kDpiAware = ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) != FALSE;

std::string Ansi(const std::wstring& text) {
    std::string out(text.size() * 2 + 1, '\0');
    out.resize(static_cast<std::size_t>(std::max(0, ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out.data(),
        static_cast<int>(out.size()), nullptr, nullptr) - 1)));
    return out;
}

std::wstring FileName(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

// Runs a console program from the system folder and waits for it.
void RunHidden(const std::wstring& file, const std::wstring& arguments) {
    std::wstring line = file + L" " + arguments;
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW((SystemFolder() + L"\\" + file).c_str(), line.data(), nullptr, nullptr, FALSE,
                          CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info)) return;
    ::WaitForSingleObject(info.hProcess, 30000);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
}

void WriteSteering(const wchar_t* file, const std::string& text) {
    const std::wstring path = kSteering + L"\\" + file;
    if (text.empty()) {
        ::DeleteFileW(path.c_str());
    } else {
        std::ofstream(std::filesystem::path(path), std::ios::binary) << text;
    }
}

// The command line a process was started with, read from its parameters
// (no call gives another process's command line on every system).
std::wstring CommandLineOf(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic{};
    if (::NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0) return L"";
    constexpr std::size_t kParameters = 0x20, kCommandLine = 0x70;  // in the 64-bit PEB and its parameters
    static_assert(sizeof(void*) == 8, "the 64-bit layout");
    char* parameters = nullptr;
    UNICODE_STRING line{};
    if (!::ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + kParameters, &parameters,
                             sizeof(parameters), nullptr) || parameters == nullptr ||
        !::ReadProcessMemory(process, parameters + kCommandLine, &line, sizeof(line), nullptr)) return L"";
    std::wstring text(line.Length / sizeof(wchar_t), L'\0');
    // A NUL means the new process has not written its parameters yet.
    const bool read = ::ReadProcessMemory(process, line.Buffer, text.data(), line.Length, nullptr);
    return read && text.find(L'\0') == std::wstring::npos ? text : L"";
}

POINT ScreenToAbsolute(POINT at) {
    return {at.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1), at.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1)};
}

void Mouse(DWORD flags, POINT at = {}) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    const POINT absolute = ScreenToAbsolute(at);
    input.mi = {absolute.x, absolute.y, 0, flags, 0, 0};
    ::SendInput(1, &input, sizeof(input));
    Pause(40);
}

}  // namespace

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH] = L"";
    ::GetSystemDirectoryW(folder, MAX_PATH);
    return folder;
}

std::string Narrow(const std::wstring& text) { return Ansi(text); }

bool WaitFor(const std::function<bool()>& done, int timeout_ms) {
    for (const DWORD start = ::GetTickCount(); !done(); Pause(20)) {
        if (::GetTickCount() - start >= static_cast<DWORD>(timeout_ms)) return false;
    }
    return true;
}

// Messages keep coming meanwhile: the test's own windows answer.
void Pause(int ms) {
    for (const DWORD start = ::GetTickCount();;) {
        const DWORD waited = ::GetTickCount() - start;
        if (waited >= static_cast<DWORD>(ms)) return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(ms) - waited, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
}

std::wstring Env(const wchar_t* name) {
    wchar_t value[1024] = L"";
    const DWORD n = ::GetEnvironmentVariableW(name, value, 1024);
    return n > 0 && n < 1024 ? value : L"";
}

bool StandInSubst() {
    const DWORD attributes = ::GetFileAttributesW(kSteering.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
void SubstFails(const std::string& message) { WriteSteering(L"subst-fail", message); }
void SubstDelays(int ms) { WriteSteering(L"subst-delay-ms", ms > 0 ? std::to_string(ms) : ""); }

std::wstring TempFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    const std::filesystem::path folder = std::filesystem::path(temp) / L"orvanel-e2e" / name;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    return folder.wstring();
}

std::wstring Mapping(wchar_t letter) {
    wchar_t target[1024] = L"";
    const wchar_t drive[] = {letter, L':', L'\0'};
    return ::QueryDosDeviceW(drive, target, 1024) ? target : L"";
}

void Subst(const std::wstring& arguments) { RunHidden(L"subst.exe", arguments); }

wchar_t FreeLetter(const std::wstring& not_these) {
    for (wchar_t letter = L'Z'; letter > L'D'; --letter) {
        if (((::GetLogicalDrives() >> (letter - L'A')) & 1) == 0 && Mapping(letter).empty() &&
            not_these.find(letter) == std::wstring::npos) return letter;
    }
    return 0;
}

Value Encoded(const std::wstring& text) {
    std::string data = Ansi(text);
    for (char& c : data) c = static_cast<char>(255 - static_cast<unsigned char>(c));
    return {REG_SZ, data + '\0'};
}

std::optional<Value> Stored(const wchar_t* name, HKEY root, const wchar_t* key) {
    const std::string k = Ansi(key), n = Ansi(name);
    Value value;
    DWORD size = 0;
    if (::RegGetValueA(root, k.c_str(), n.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &value.type, nullptr, &size)) {
        return std::nullopt;
    }
    value.data.resize(size);
    ::RegGetValueA(root, k.c_str(), n.c_str(), RRF_RT_ANY | RRF_NOEXPAND, nullptr, value.data.data(), &size);
    value.data.resize(size);
    return value;
}

void Store(const wchar_t* name, const Value& value, HKEY root, const wchar_t* key) {
    ::RegSetKeyValueA(root, Ansi(key).c_str(), Ansi(name).c_str(), value.type, value.data.data(),
                      static_cast<DWORD>(value.data.size()));
}
void Store(const wchar_t* name, const std::wstring& text) { Store(name, Encoded(text)); }

void Forget(HKEY root, const wchar_t* key) {
    ::RegDeleteTreeW(root, key);
    ::RegDeleteKeyW(root, key);
}

// --- Orvanel

// Every program Orvanel starts comes into its job; the job's notifications
// name each one as it starts, while its command line can still be read.
struct Orvanel::Watch {
    HANDLE job = ::CreateJobObjectW(nullptr, nullptr);
    HANDLE port = ::CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
    PROCESS_INFORMATION self{};
    mutable std::mutex lock;
    std::vector<Program> started;
    std::set<DWORD> alive;
    std::thread thread;

    void Run() {
        DWORD message = 0;
        ULONG_PTR key = 0;
        LPOVERLAPPED data = nullptr;
        while (::GetQueuedCompletionStatus(port, &message, &key, &data, INFINITE) && key != 0) {
            const auto pid = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(data));
            if (message == JOB_OBJECT_MSG_EXIT_PROCESS || message == JOB_OBJECT_MSG_ABNORMAL_EXIT_PROCESS) {
                const std::lock_guard<std::mutex> guard(lock);
                alive.erase(pid);
            }
            if (message != JOB_OBJECT_MSG_NEW_PROCESS || pid == self.dwProcessId) continue;
            const HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
            Program program;
            for (int tries = 0; program.command_line.empty() && tries < 200; ++tries, ::Sleep(5)) {
                program.command_line = CommandLineOf(process);
            }
            wchar_t image[MAX_PATH] = L"";
            DWORD length = MAX_PATH;
            if (::QueryFullProcessImageNameW(process, 0, image, &length)) program.image = image;
            ::CloseHandle(process);
            const std::lock_guard<std::mutex> guard(lock);
            started.push_back(program);
            alive.insert(pid);
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
    wchar_t temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);  // not its own folder: nothing may be found through the current one
    STARTUPINFOW startup{sizeof(startup)};
    if (::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, temp, &startup,
                         &watch_->self)) {
        ::AssignProcessToJobObject(watch_->job, watch_->self.hProcess);
        ::ResumeThread(watch_->self.hThread);
    }
    if (wait) WaitFor([this] { return Window() != nullptr; }, 20000);
}

Orvanel::~Orvanel() {
    ::CloseHandle(watch_->job);  // ends whatever of it is left
    ::WaitForSingleObject(watch_->self.hProcess, 5000);
    ::PostQueuedCompletionStatus(watch_->port, 0, 0, nullptr);
    watch_->thread.join();
    ::CloseHandle(watch_->port);
    ::CloseHandle(watch_->self.hThread);
    ::CloseHandle(watch_->self.hProcess);
}

HWND Orvanel::Window() const {
    for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, L"OrvanelTrayWindow", nullptr)) != nullptr;) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(w, &pid);
        if (pid == watch_->self.dwProcessId) return w;
    }
    return nullptr;
}

HANDLE Orvanel::Process() const { return watch_->self.hProcess; }
bool Orvanel::Running() const { return ::WaitForSingleObject(watch_->self.hProcess, 0) == WAIT_TIMEOUT; }
bool Orvanel::WaitGone(int timeout_ms) const {
    return ::WaitForSingleObject(watch_->self.hProcess, static_cast<DWORD>(timeout_ms)) == WAIT_OBJECT_0;
}
DWORD Orvanel::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(watch_->self.hProcess, &code);
    return code;
}

std::vector<Program> Orvanel::Started(const wchar_t* file) const {
    const std::lock_guard<std::mutex> guard(watch_->lock);
    std::vector<Program> found;
    for (const Program& p : watch_->started) {
        if (file == nullptr || ::_wcsicmp(FileName(p.image).c_str(), file) == 0) found.push_back(p);
    }
    return found;
}

std::vector<std::wstring> Orvanel::Commands(const wchar_t* file) const {
    std::vector<std::wstring> lines;
    for (const Program& p : Started(file)) lines.push_back(p.command_line);
    return lines;
}

bool Orvanel::WaitCommands(std::size_t count, const wchar_t* file) const {
    return WaitFor([&] {
        if (Started(file).size() < count) return false;
        const std::lock_guard<std::mutex> guard(watch_->lock);
        return watch_->alive.empty();
    }, 30000);
}

double Orvanel::CpuSeconds() const {
    FILETIME created, ended, kernel, user;
    if (!::GetProcessTimes(watch_->self.hProcess, &created, &ended, &kernel, &user)) return -1;
    const auto seconds = [](FILETIME t) { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7; };
    return seconds(kernel) + seconds(user);
}

void Orvanel::Post(UINT command) const { ::PostMessageW(Window(), WM_COMMAND, command, 0); }

// --- input

void Key(WORD vk, WORD held) {
    INPUT keys[4]{};
    UINT n = 0;
    for (const auto& [key, up] : {std::pair{held, 0}, {vk, 0}, {vk, KEYEVENTF_KEYUP}, {held, KEYEVENTF_KEYUP}}) {
        if (key == 0) continue;
        keys[n].type = INPUT_KEYBOARD;
        keys[n].ki.wVk = key;
        keys[n++].ki.dwFlags = static_cast<DWORD>(up);
    }
    ::SendInput(n, keys, sizeof(INPUT));
    Pause(60);
}

// As the keyboard types it: a key and Shift where the layout has one, the
// character itself where it has none.
void Type(const std::wstring& text) {
    for (const wchar_t c : text) {
        const SHORT key = ::VkKeyScanW(c);
        if (key != -1 && (HIBYTE(key) & ~1) == 0) {
            INPUT keys[4]{};
            int n = 0;
            const auto add = [&](WORD vk, DWORD up) { keys[n].type = INPUT_KEYBOARD, keys[n].ki.wVk = vk, keys[n++].ki.dwFlags = up; };
            if (HIBYTE(key) & 1) add(VK_SHIFT, 0);
            add(LOBYTE(key), 0);
            add(LOBYTE(key), KEYEVENTF_KEYUP);
            if (HIBYTE(key) & 1) add(VK_SHIFT, KEYEVENTF_KEYUP);
            ::SendInput(static_cast<UINT>(n), keys, sizeof(INPUT));
        } else {
            INPUT keys[2]{};
            for (INPUT& k : keys) {
                k.type = INPUT_KEYBOARD;
                k.ki.wScan = c;
                k.ki.dwFlags = KEYEVENTF_UNICODE;
            }
            keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
            ::SendInput(2, keys, sizeof(INPUT));
        }
        Pause(30);
    }
}

// Every button event says where it happens too.
constexpr DWORD kAt = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;

void MoveTo(POINT at) {
    Mouse(kAt, at);
    Pause(60);
}
void Click(POINT at, int times) {
    MoveTo(at);
    for (int i = 0; i < times; ++i) {
        Mouse(MOUSEEVENTF_LEFTDOWN | kAt, at);
        Mouse(MOUSEEVENTF_LEFTUP | kAt, at);
    }
    Pause(150);
}
void RightPress(POINT at) {
    MoveTo(at);
    Mouse(MOUSEEVENTF_RIGHTDOWN | kAt, at);
}
void RightRelease() {
    POINT at{};
    ::GetCursorPos(&at);
    Mouse(MOUSEEVENTF_RIGHTUP | kAt, at);
}

// --- windows

HWND Shown(const wchar_t* cls, const wchar_t* title) {
    for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, cls, title)) != nullptr;) {
        if (::IsWindowVisible(w)) return w;
    }
    return nullptr;
}
HWND WaitShown(const wchar_t* cls, const wchar_t* title, int timeout_ms) {
    HWND found = nullptr;
    WaitFor([&] { return (found = Shown(cls, title)) != nullptr; }, timeout_ms);
    return found;
}
bool WaitClosed(const wchar_t* cls, const wchar_t* title, int timeout_ms) {
    return WaitFor([&] { return Shown(cls, title) == nullptr; }, timeout_ms);
}

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
    wchar_t cls[16] = L"";
    ::GetClassNameW(list, cls, 16);
    const bool combo = ::_wcsicmp(cls, L"ComboBox") == 0;
    std::vector<std::wstring> rows;
    const auto count = ::SendMessageW(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    for (WPARAM row = 0; static_cast<LRESULT>(row) < count; ++row) {
        const auto length = ::SendMessageW(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, row, 0);
        std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        ::SendMessageW(list, combo ? CB_GETLBTEXT : LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
        rows.push_back(text.c_str());
    }
    return rows;
}

int Selection(HWND list) {
    wchar_t cls[16] = L"";
    ::GetClassNameW(list, cls, 16);
    return static_cast<int>(::SendMessageW(list, ::_wcsicmp(cls, L"ComboBox") == 0 ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

int FocusId() {
    GUITHREADINFO info{sizeof(info)};
    const DWORD thread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
    return ::GetGUIThreadInfo(thread, &info) && info.hwndFocus ? ::GetDlgCtrlID(info.hwndFocus) : -1;
}

std::wstring Foreground() { return Text(::GetForegroundWindow()); }

void ClickButton(HWND dialog, const std::wstring& caption) {
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        const std::wstring text = Text(c);
        if (text == caption || text == L"&" + caption) return Click(Centre(c));
    }
}

std::wstring Statics(HWND window) {
    std::wstring texts;
    for (HWND c = ::GetWindow(window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[16] = L"";
        ::GetClassNameW(c, cls, 16);
        const std::wstring text = Text(c);
        if (::_wcsicmp(cls, L"Static") == 0 && !text.empty()) texts += (texts.empty() ? L"" : L"\n") + text;
    }
    return texts;
}

std::wstring AnswerMessage(int timeout_ms) {
    const HWND box = WaitShown(L"#32770", L"Orvanel", timeout_ms);
    if (box == nullptr) return L"";
    const std::wstring text = Statics(box);
    Key(VK_RETURN);  // OK has the focus
    WaitFor([box] { return !::IsWindow(box); }, 3000);
    return text;
}

// --- the screen

long Shot::Count(bool (*colour)(std::uint32_t)) const {
    return static_cast<long>(std::count_if(pixels.begin(), pixels.end(), colour));
}

void Shot::Save(const std::wstring& name) const {
    const std::wstring folder = Env(L"ORVANEL_E2E_ARTIFACTS");
    if (folder.empty() || pixels.empty()) return;
    std::filesystem::create_directories(folder);
    const LONG w = at.right - at.left, h = at.bottom - at.top;
    BITMAPINFOHEADER info{sizeof(info), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD bytes = static_cast<DWORD>(pixels.size() * 4);
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(file) + sizeof(info) + bytes), 0, 0,
                          static_cast<DWORD>(sizeof(file) + sizeof(info))};
    std::ofstream out(std::filesystem::path(folder) / (name + L".bmp"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(reinterpret_cast<const char*>(pixels.data()), bytes);
}

Shot Capture(RECT at) {
    // What lies off the screen is not there to see.
    at = {std::max(at.left, 0L), std::max(at.top, 0L), std::min<LONG>(at.right, ::GetSystemMetrics(SM_CXSCREEN)),
          std::min<LONG>(at.bottom, ::GetSystemMetrics(SM_CYSCREEN))};
    Shot shot{at, {}};
    const int w = at.right - at.left, h = at.bottom - at.top;
    if (w <= 0 || h <= 0) return shot;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC screen = ::GetDC(nullptr);
    const HDC dc = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ before = ::SelectObject(dc, bitmap);
    ::BitBlt(dc, 0, 0, w, h, screen, at.left, at.top, SRCCOPY);
    ::GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    shot.pixels.assign(first, first + static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (std::uint32_t& p : shot.pixels) p &= 0x00FFFFFFu;
    ::SelectObject(dc, before);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return shot;
}

Shot CaptureWindow(HWND window, int margin) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return Capture({std::max(0L, r.left - margin), std::max(0L, r.top - margin), r.right + margin, r.bottom + margin});
}

bool Red(std::uint32_t p) { return (p >> 16 & 0xFF) > 178 && (p >> 8 & 0xFF) < 90 && (p & 0xFF) < 90; }
bool Yellow(std::uint32_t p) { return (p >> 16 & 0xFF) > 178 && (p >> 8 & 0xFF) > 153 && (p & 0xFF) < 102; }
bool Gold(std::uint32_t p) { return p == 0xDDAD31u; }

// --- the notification area

// The desktop's shell may still be starting when the tests do.
bool HasNotificationArea() {
    static const bool found = WaitFor([] { return ::FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr; }, 15000);
    return found;
}

POINT IconAt(HWND owner) {
    NOTIFYICONIDENTIFIER icon{sizeof(icon), owner, 1, {}};
    RECT r{};
    if (SUCCEEDED(::Shell_NotifyIconGetRect(&icon, &r))) return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    // Wine draws its icons without windows of their own and cannot say where
    // one is: Orvanel's, the only one, stands in the taskbar's right corner.
    ::GetWindowRect(Shown(L"Shell_TrayWnd", nullptr), &r);  // the real one, not a stand-in
    return {r.right - 10, r.bottom - 11};
}

Shot IconShot(HWND owner, int width) {
    const POINT at = IconAt(owner);
    return Capture({at.x + 12 - width, at.y - 9, at.x + 12, at.y + 11});
}

bool MenuOpen() { return Shown(L"#32768", nullptr) != nullptr; }

namespace {
std::string g_answer;
}

// Menus live in the process that made them (under Wine, their items too):
// a message hook takes menu_reader.dll into Orvanel's menu thread, which
// answers with the items through WM_COPYDATA.
std::vector<MenuItem> ReadMenu() {
    const HWND menu = WaitShown(L"#32768", nullptr, 2000);
    static const HMODULE reader = ::LoadLibraryW(L"menu_reader.dll");
    const auto hook_proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(reader, "ReadMenuHook")));
    if (menu == nullptr || hook_proc == nullptr) return {};
    static const HWND reply = [] {
        WNDCLASSW cls{};
        cls.lpfnWndProc = [](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
            if (msg != WM_COPYDATA) return ::DefWindowProcW(w, msg, wp, lp);
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
            g_answer.assign(static_cast<const char*>(data->lpData), data->cbData);
            return TRUE;
        };
        cls.lpszClassName = L"OrvanelE2EReply";
        ::RegisterClassW(&cls);
        return ::CreateWindowW(cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }();
    g_answer.clear();
    const HHOOK hook = ::SetWindowsHookExW(WH_GETMESSAGE, hook_proc, reader, ::GetWindowThreadProcessId(menu, nullptr));
    ::PostMessageW(menu, ::RegisterWindowMessageW(L"OrvanelE2EReadMenu"), reinterpret_cast<WPARAM>(reply), 0);
    WaitFor([] { return !g_answer.empty(); }, 5000);
    ::UnhookWindowsHookEx(hook);
    std::vector<MenuItem> items;
    const auto* line = reinterpret_cast<const wchar_t*>(g_answer.data());
    for (std::size_t n = g_answer.size() / sizeof(wchar_t), i = 0; i < n;) {
        // Each item: TEXT \t STATE \t X \t Y \n
        std::vector<std::wstring> fields(1);
        for (; i < n && line[i] != L'\n'; ++i) {
            if (line[i] == L'\t') {
                fields.emplace_back();
            } else {
                fields.back() += line[i];
            }
        }
        ++i;
        if (fields.size() == 4) items.push_back({fields[0], fields[1], {std::stol(fields[2]), std::stol(fields[3])}});
    }
    return items;
}

bool IconShown(HWND owner) {
    const Shot icon = IconShot(owner);
    return icon.Count(Red) + icon.Count(Yellow) > 0;
}

std::vector<MenuItem> OpenMenu(HWND owner) {
    WaitFor([owner] { return IconShown(owner); }, 5000);
    // The pointer comes to the icon from elsewhere, as a hand moves it:
    // Wine's taskbar takes a press where the pointer already rests for none.
    // A press the shell missed is pressed again, as a user would.
    const POINT at = IconAt(owner);
    for (int tries = 0; tries < 3 && !MenuOpen(); ++tries) {
        MoveTo({at.x - 200, at.y - 200});
        Pause(250);
        RightPress(at);
        WaitFor(MenuOpen, 2000);
        RightRelease();
    }
    return ReadMenu();
}

std::wstring Look(const std::vector<MenuItem>& items) {
    std::wstring look;
    for (const MenuItem& item : items) {
        look += (look.empty() ? L"" : L" ") + item.text;
        if (item.state == L"greyed") look += L":greyed";
    }
    return look;
}

void Choose(const std::vector<MenuItem>& items, const std::wstring& text) {
    for (const MenuItem& item : items) {
        if (item.text == text) return Click(item.centre);
    }
}

void ChooseFromMenu(HWND owner, const std::wstring& text) { Choose(OpenMenu(owner), text); }

std::wstring Tip(HWND owner, int* width) {
    const POINT at = IconAt(owner);
    MoveTo({at.x - 300, at.y - 300});
    Pause(300);
    MoveTo(at);
    Pause(300);
    MoveTo({at.x - 1, at.y});
    const HWND tip = WaitShown(L"tooltips_class32", nullptr, 5000);
    RECT r{};
    ::GetWindowRect(tip, &r);
    *width = r.right - r.left;
    const std::wstring text = tip ? Text(tip) : L"";
    MoveTo({at.x - 300, at.y - 300});
    return text;
}

// --- the taskbar's stand-in

struct TrayStandIn::State {
    int refuse = 0;
    mutable std::mutex lock;
    std::vector<DWORD> requests;
    int refused = 0;
    HWND window = nullptr;
    std::thread thread;

    // Windows wraps the request in a record of its own; Wine sends it bare.
    static DWORD RequestOf(const COPYDATASTRUCT& data) {
        const auto* words = static_cast<const DWORD*>(data.lpData);
        constexpr DWORD kSignature = 0x34753423;
        return data.dwData == 1 && data.cbData >= 8 && words[0] == kSignature ? words[1] : static_cast<DWORD>(data.dwData);
    }

    LRESULT Received(HWND self, WPARAM from, const COPYDATASTRUCT& data) {
        const DWORD request = RequestOf(data);
        {
            const std::lock_guard<std::mutex> guard(lock);
            requests.push_back(request);
            if (request == NIM_ADD && refused < refuse) return ++refused, FALSE;
        }
        HWND real = nullptr;
        while ((real = ::FindWindowExW(nullptr, real, L"Shell_TrayWnd", nullptr)) == self) {
        }
        if (real == nullptr) return TRUE;  // no taskbar at all: it stands in for one
        COPYDATASTRUCT copy = data;
        DWORD_PTR result = FALSE;
        ::SendMessageTimeoutW(real, WM_COPYDATA, from, reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG, 5000, &result);
        return static_cast<LRESULT>(result);
    }

    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<State*>(::GetWindowLongPtrW(w, GWLP_USERDATA));
        if (msg == WM_COPYDATA && self != nullptr) return self->Received(w, wp, *reinterpret_cast<COPYDATASTRUCT*>(lp));
        if (msg == WM_DESTROY) ::PostQuitMessage(0);
        return ::DefWindowProcW(w, msg, wp, lp);
    }

    void Run(HANDLE ready) {
        WNDCLASSW cls{};
        cls.lpfnWndProc = Proc;
        cls.lpszClassName = L"Shell_TrayWnd";
        ::RegisterClassW(&cls);
        window = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, cls.lpszClassName, L"Orvanel test tray", WS_POPUP,
                                   0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::SetEvent(ready);
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    }
};

TrayStandIn::TrayStandIn(int refuse) : state_(std::make_unique<State>()) {
    state_->refuse = refuse;
    const HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    state_->thread = std::thread([this, ready] { state_->Run(ready); });
    ::WaitForSingleObject(ready, 5000);
    ::CloseHandle(ready);
}

TrayStandIn::~TrayStandIn() {
    ::PostMessageW(state_->window, WM_CLOSE, 0, 0);
    state_->thread.join();
}

std::vector<DWORD> TrayStandIn::Requests() const {
    const std::lock_guard<std::mutex> guard(state_->lock);
    return state_->requests;
}

int TrayStandIn::Refused() const {
    const std::lock_guard<std::mutex> guard(state_->lock);
    return state_->refused;
}

// --- every test

void E2ETest::SetUp() {
    // A session without a taskbar (a build machine's, say) gets a stand-in,
    // so that what needs no click on the icon still runs.
    if (!HasNotificationArea()) shell_ = std::make_unique<TrayStandIn>();
    Forget(HKEY_CURRENT_USER, kKey);
    if (StandInSubst()) {
        SubstFails("");
        SubstDelays(0);
    }
}

void E2ETest::TearDown() {
    if (HasFailure()) {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string(test->test_suite_name()) + "." + test->name();
        Capture({0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)})
            .Save(L"failed-" + std::wstring(name.begin(), name.end()));
    }
    while (!Mapping(letter_).empty() && ::DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_NO_BROADCAST_SYSTEM, drive_.c_str(), nullptr)) {
    }
}

bool UnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

bool Exit(const Orvanel& app) {
    ChooseFromMenu(app.Window(), L"Exit");
    return app.WaitGone(10000);
}

}  // namespace e2e
