// What the end-to-end tests see and do, through Win32 only, from a program
// inside the same desktop as Orvanel: they start it as a user does, click
// its icon, read its menu, dialogs and message boxes, type and click with
// SendInput, and read the registry, the drives' mappings and the icon's
// pixels. Every wait is bounded: a program that hangs fails its test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

bool WaitFor(const std::function<bool()>& done, int timeout_ms = 5000);
void Pause(int ms);  // the test's own windows keep answering meanwhile

// --- the machine
std::wstring Env(const wchar_t* name);
DWORD Launch(const std::wstring& program, const std::wstring& arguments, int timeout_ms = 30000);  // its exit code
std::wstring SystemFile(const wchar_t* name);
// The stand-in installed under Wine can be told to refuse, as Windows' own cannot.
bool StandInSubst();
void SubstFails(const std::string& message);        // "" lets it succeed again
void SubstRemovalTakes(int ms);
std::wstring TempFolder(const std::wstring& name);  // made afresh, empty
std::wstring Mapping(wchar_t letter);               // "\??\C:\Folder", "" for none
bool Maps(wchar_t letter, const std::wstring& folder, int timeout_ms = 5000);  // "" for nothing
void Subst(const std::wstring& arguments);  // as a user does in a console
wchar_t FreeLetter(wchar_t below = static_cast<wchar_t>(L'Z' + 1));

// --- the registry
constexpr wchar_t kKey[] = L"SOFTWARE\\Kestrane\\Orvanel";
constexpr wchar_t kMakerKey[] = L"SOFTWARE\\Kestrane";
struct Value {
    DWORD type = REG_NONE;
    std::string data;  // as RegQueryValueExA gives it
    bool operator==(const Value& o) const { return type == o.type && data == o.data; }
};
Value Encoded(const std::wstring& text);  // REG_SZ, each byte c as 255 - c, a zero byte
std::optional<Value> Stored(const wchar_t* name, HKEY root = HKEY_CURRENT_USER, const wchar_t* key = kKey);
void Store(const wchar_t* name, const Value& value, HKEY root = HKEY_CURRENT_USER, const wchar_t* key = kKey);
void Store(const wchar_t* name, const std::wstring& text);  // encoded, in the program's key
void Forget(HKEY root, const wchar_t* key);
std::string Narrow(const std::wstring& text);  // in the ANSI code page

// --- Orvanel
// A copy of the program and its Help folder beside programs and a library
// named like those it starts and loads (planted.cpp): the marks they left.
std::wstring PlantedCopy(const std::wstring& folder_name);
std::vector<std::wstring> PlantedRan(const std::wstring& exe);

class Orvanel {
public:
    static std::wstring Exe();  // the build under test (ORVANEL_EXE)
    // Started as a user does, in its own folder; waits for its window unless told not to.
    explicit Orvanel(bool wait = true, const std::wstring& exe = Exe());
    ~Orvanel();  // ends whatever of it is left
    HWND Window() const;
    HANDLE Process() const;
    bool WaitGone(int timeout_ms = 15000) const;
    std::vector<std::wstring> Started(const std::wstring& program) const;  // the command lines it started, naming it first
    void Post(UINT command) const;  // a menu command, straight to its window

private:
    struct Watch;
    std::unique_ptr<Watch> watch_;
};
std::vector<HWND> TrayWindows();  // of every running Orvanel
DWORD ProcessOf(HWND window);
bool Exit(const Orvanel& app);  // through the menu; true once it has ended

// --- input and windows
void Key(WORD vk, WORD held = 0);  // `held` (Shift, say) down around it
void Type(const std::wstring& text);
void Click(POINT at, int times = 1);
HWND Shown(const wchar_t* cls, const wchar_t* title);  // a visible top-level window
HWND WaitShown(const wchar_t* cls, const wchar_t* title, int timeout_ms = 5000);
bool WaitClosed(HWND window);
std::wstring Text(HWND window);
POINT Centre(HWND window);
std::vector<std::wstring> Rows(HWND list);  // a list box's
int Selection(HWND list);
int FocusId();
void ClickButton(HWND dialog, const std::wstring& caption);  // "OK" finds "&OK" too
// Orvanel's message box, if one comes in time: its text, after pressing
// `button` (else its default one); "" when none came.
std::wstring AnswerMessage(int timeout_ms = 3000, const std::wstring& button = L"");

// --- the notification area
bool HasNotificationArea();
bool Red(std::uint32_t colour);     // the unmounted picture's cross (a COLORREF)
bool Yellow(std::uint32_t colour);  // the mounted picture's connector
// Waits until the icon shows that colour's picture, or (nullptr) none.
bool Showing(HWND owner, bool (*colour)(std::uint32_t));
std::wstring Tip(HWND owner);  // the icon's tip, as the pointer resting on it calls it
struct MenuItem {
    std::wstring text;   // "-" for a separator
    std::wstring state;  // "enabled", "greyed" or "separator"
    POINT centre;
};
std::vector<MenuItem> OpenMenu(HWND owner);  // a right click on the icon, the menu read in its process
std::wstring Look(const std::vector<MenuItem>& items);  // "Mount:greyed - Settings - ..."
void Choose(const std::vector<MenuItem>& items, const std::wstring& text);
void ChooseFromMenu(HWND owner, const std::wstring& text);
extern const std::wstring kNoFolder, kUnmounted, kMounted;  // the menu's three looks

// A window of the taskbar's class above the real one, which a program's icon
// requests reach first: it notes the last, refuses the first `refuse`
// NIM_ADDs as a shell not ready does, and passes the rest on to the real one.
class TrayStandIn {
public:
    explicit TrayStandIn(int refuse = 0);
    ~TrayStandIn();
    int Refused() const { return refused_; }
    DWORD Last() const { return last_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam);
    std::atomic<int> refused_{0};
    std::atomic<DWORD> last_{0};
    int refuse_;
    HWND window_ = nullptr;
    std::thread thread_;
};

// Each test starts from no settings, no Orvanel running and no test letter mapped.
class E2ETest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void StoreSettings(bool mount_at_start = false) const;  // the folder and the letter
    const wchar_t letter_ = FreeLetter();
    const std::wstring drive_{letter_, L':'};
    const std::wstring folder_ = TempFolder(L"Some Folder");
    bool clicks_ = true;  // the test clicks the icon: skipped where there is none

private:
    std::unique_ptr<TrayStandIn> shell_;
};

}  // namespace e2e
