// What the end-to-end tests see and do, through Win32 only, from a program
// inside the same desktop as Orvanel: they start it as a user does, click
// its icon in the taskbar's notification area, read its menu, dialogs and
// message boxes, type and click with SendInput, read the registry and the
// drives' mappings, and look at the screen. Nothing here depends on Wine
// but what says so.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// --- time
bool WaitFor(const std::function<bool()>& done, int timeout_ms);
void Pause(int ms);

// --- the machine
std::wstring Env(const wchar_t* name);
// The stand-in subst.exe the tests install under Wine, steered by files in
// this folder; Windows' own subst.exe cannot be told to fail or to hang.
const std::wstring kSteering = L"C:\\windows\\temp\\orvanel-test";
bool StandInSubst();
void SubstFails(const std::string& message);  // "" lets it succeed again
void SubstDelays(int ms);                     // before each mount
std::wstring TempFolder(const std::wstring& name);  // made afresh, empty
// What the letter ("X") maps to now, "" for nothing.
std::wstring Mapping(wchar_t letter);
// Maps or frees a letter with subst.exe from the system folder, as a user
// does in a console, and waits for it to end.
void Subst(const std::wstring& arguments);
// A letter no drive uses, from Z down, none of `not_these`.
wchar_t FreeLetter(const std::wstring& not_these = L"");

// --- the registry
constexpr wchar_t kKey[] = L"SOFTWARE\\Kestrane\\Orvanel";
constexpr wchar_t kMakerKey[] = L"SOFTWARE\\Kestrane";
struct Value {
    DWORD type = REG_NONE;
    std::string data;  // as RegQueryValueExA gives it
    bool operator==(const Value& o) const { return type == o.type && data == o.data; }
};
// TEXT as the program stores it: REG_SZ, each byte c as 255 - c, a zero byte.
Value Encoded(const std::wstring& text);
std::optional<Value> Stored(const wchar_t* name, HKEY root = HKEY_CURRENT_USER, const wchar_t* key = kKey);
void Store(const wchar_t* name, const Value& value, HKEY root = HKEY_CURRENT_USER, const wchar_t* key = kKey);
void Store(const wchar_t* name, const std::wstring& text);  // encoded, in the program's key
void Forget(HKEY root, const wchar_t* key);

// --- Orvanel
struct Program {
    std::wstring image;         // the file it was started from
    std::wstring command_line;
};
class Orvanel {
public:
    // The copy under test: ORVANEL_EXE, with its Help folder beside it.
    static std::wstring Exe();
    // Starts it as a user does and, unless told not to, waits for its window.
    explicit Orvanel(bool wait = true, const std::wstring& exe = Exe());
    ~Orvanel();
    Orvanel(const Orvanel&) = delete;
    Orvanel& operator=(const Orvanel&) = delete;

    HWND Window() const;
    HANDLE Process() const;
    bool Running() const;
    bool WaitGone(int timeout_ms) const;
    DWORD ExitCode() const;
    // The programs it started since it started, in order; those whose file
    // is named `file` when given.
    std::vector<Program> Started(const wchar_t* file = nullptr) const;
    std::vector<std::wstring> Commands(const wchar_t* file = L"subst.exe") const;
    // Waits until it has started `count` programs named `file` and no
    // subst.exe of its own runs any more.
    bool WaitCommands(std::size_t count, const wchar_t* file = L"subst.exe") const;
    double CpuSeconds() const;
    // The menu command, as a repetition needs it: posted straight to the window.
    void Post(UINT command) const;

private:
    struct Watch;
    std::unique_ptr<Watch> watch_;
};

// --- input, as a user gives it
void Key(WORD vk, WORD held = 0);  // `held` (Shift, say) down around it
void Type(const std::wstring& text);
void MoveTo(POINT at);
void Click(POINT at, int times = 1);
void RightPress(POINT at);
void RightRelease();

// --- windows
HWND Shown(const wchar_t* cls, const wchar_t* title);  // a visible top-level window
HWND WaitShown(const wchar_t* cls, const wchar_t* title, int timeout_ms);
bool WaitClosed(const wchar_t* cls, const wchar_t* title, int timeout_ms);
std::wstring Text(HWND window);
POINT Centre(HWND window);
std::vector<std::wstring> Rows(HWND list);  // a list box's or a combo box's
int Selection(HWND list);
int FocusId();                 // the control with the keyboard focus
std::wstring Foreground();     // the foreground window's title
void ClickButton(HWND dialog, const std::wstring& caption);  // "OK" finds "&OK" too
// The texts of the window's static controls, joined by line ends.
std::wstring Statics(HWND window);
// Orvanel's message box, if one comes within `timeout_ms`: its text, after
// pressing Enter on its OK. "" when none came.
std::wstring AnswerMessage(int timeout_ms = 3000);

// --- the screen
struct Shot {
    RECT at{};
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows from the top
    long Count(bool (*colour)(std::uint32_t)) const;
    void Save(const std::wstring& name) const;  // ORVANEL_E2E_ARTIFACTS\name.bmp
};
Shot Capture(RECT at);
Shot CaptureWindow(HWND window, int margin = 0);
bool Red(std::uint32_t rgb);     // the unmounted picture's cross
bool Yellow(std::uint32_t rgb);  // the mounted picture's connector
bool Gold(std::uint32_t rgb);    // the about box's labels

// --- the notification area
bool HasNotificationArea();
POINT IconAt(HWND owner);
Shot IconShot(HWND owner, int width = 24);
bool IconShown(HWND owner);  // either picture
struct MenuItem {
    std::wstring text;  // "-" for a separator
    std::wstring state;  // "enabled", "greyed" or "separator"
    POINT centre;
};
bool MenuOpen();
std::vector<MenuItem> ReadMenu();  // the open menu, read inside its process
std::vector<MenuItem> OpenMenu(HWND owner);  // a right click on the icon
// "Mount:greyed - Settings - About... Help - Exit"
std::wstring Look(const std::vector<MenuItem>& items);
void Choose(const std::vector<MenuItem>& items, const std::wstring& text);
void ChooseFromMenu(HWND owner, const std::wstring& text);
// Rests the pointer on the icon until the shell shows its tip: its text,
// and its width through `width`.
std::wstring Tip(HWND owner, int* width);

// A window of the taskbar's class above the real one, so that it is the one
// a program's icons are sent to: it notes each request (NIM_ADD, NIM_DELETE,
// ...), refuses the first `refuse` NIM_ADDs as a shell not ready refuses
// them, and passes the rest on to the real taskbar, if there is one.
class TrayStandIn {
public:
    explicit TrayStandIn(int refuse = 0);
    ~TrayStandIn();
    TrayStandIn(const TrayStandIn&) = delete;
    TrayStandIn& operator=(const TrayStandIn&) = delete;
    std::vector<DWORD> Requests() const;
    int Refused() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Each test starts from no settings, no test letter mapped and the stand-in
// subst.exe doing as asked; a failing one leaves a picture of the desktop.
class E2ETest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A letter free on this machine for the test's drive.
    const wchar_t letter_ = FreeLetter();
    const std::wstring drive_{letter_, L':'};

private:
    std::unique_ptr<TrayStandIn> shell_;
};

// Leaves through the menu's Exit; true once the program has ended.
bool Exit(const Orvanel& app);
bool UnderWine();
std::wstring SystemFolder();
std::string Narrow(const std::wstring& text);  // in the ANSI code page

}  // namespace e2e
