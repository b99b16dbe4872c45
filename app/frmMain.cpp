#include "frmMain.h"

#include <dbt.h>

#include <algorithm>
#include <cwchar>

#include "copy_claim.h"
#include "drive_layout.h"
#include "drive_store.h"
#include "drives.h"
#include "frmAbout.h"
#include "frmSet.h"
#include "leaving.h"
#include "links.h"
#include "message_box.h"
#include "module.h"
#include "resource.h"
#include "subst_watch.h"
#include "tray_menu.h"
#include "tray_tip.h"

namespace orvanel {
namespace {

constexpr wchar_t kClassName[] = L"OrvanelTrayWindow";
constexpr wchar_t kCaption[] = L"Drive";
constexpr UINT kTrayId = 1;
// The icon's callback arrives as a mouse move, the mouse message in lParam.
constexpr UINT kTrayCallback = WM_MOUSEMOVE;
constexpr UINT kTrayFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
constexpr UINT kSubstFinished = WM_APP + 1;
constexpr UINT_PTR kIconRetryTimer = 1;
constexpr wchar_t kSaveFailed[] = L"Unable to save your settings";
// A copy started while this one runs asks it, with this message, to bring
// its open dialog forward.
constexpr wchar_t kBringForwardMessage[] = L"Kestrane.Orvanel.BringForward";
constexpr wchar_t kIconMissing[] =
    L"Orvanel could not add its icon to the notification area, so its menu cannot be reached.\r\n"
    L"The icon appears as soon as the taskbar starts again: restart Windows Explorer, or sign out "
    L"and in again.";
// The record's earliest form, which every shell accepts.
static_assert(NOTIFYICONDATAA_V1_SIZE == (sizeof(void*) == 8 ? 104 : 88),
              "the first NOTIFYICONDATAA layout");

UniqueIcon LoadTrayIcon(int id) {
    // The small-icon size picks the icon's image for the notification area,
    // without loading the common controls at start-up.
    return UniqueIcon(static_cast<HICON>(::LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                                      ::GetSystemMetrics(SM_CXSMICON),
                                                      ::GetSystemMetrics(SM_CYSMICON), 0)));
}

// Lets a message through even when a process of lower rights sends it.
void AllowMessage(HWND window, UINT message) {
    if (message != 0) ::ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
}

BOOL CALLBACK FindOpenDialog(HWND window, LPARAM found) {
    wchar_t name[8] = L"";
    if (!::IsWindowVisible(window) || !::GetClassNameW(window, name, 8) ||
        std::wcscmp(name, L"#32770") != 0) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

FrmMain& frmMain() {
    static FrmMain instance;
    return instance;
}

void BringRunningCopyForward() {
    const HWND running = ::FindWindowW(kClassName, nullptr);
    if (running == nullptr) return;  // still starting: it has no dialog open yet
    DWORD process = 0;
    ::GetWindowThreadProcessId(running, &process);
    // The user started this copy, so it may hand its right to the foreground on.
    ::AllowSetForegroundWindow(process);
    ::PostMessageW(running, ::RegisterWindowMessageW(kBringForwardMessage), 0, 0);
}

bool FrmMain::Load() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ModuleInstance();
    wc.lpszClassName = kClassName;
    if (::RegisterClassExW(&wc) == 0) return false;
    // Never shown; a tool window so that nothing ever gives it a taskbar button.
    hwnd_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, kCaption, WS_OVERLAPPED, 0, 0, 0, 0,
                              nullptr, nullptr, ModuleInstance(), this);
    if (hwnd_ == nullptr) return false;
    taskbar_created_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    bring_forward_ = ::RegisterWindowMessageW(kBringForwardMessage);
    AllowMessage(hwnd_, taskbar_created_);
    AllowMessage(hwnd_, bring_forward_);
    drives_.Attach(hwnd_, kSubstFinished);
    Form_Load();
    return true;
}

LRESULT CALLBACK FrmMain::WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<FrmMain*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr || self->hwnd_ == nullptr) return ::DefWindowProcW(hwnd, msg, wparam, lparam);
    try {
        return self->Dispatch(msg, wparam, lparam);
    } catch (...) {
        // Nothing may unwind into the system's code that called us (out of
        // memory, say): the message counts as handled, the program runs on.
        return 0;
    }
}

LRESULT FrmMain::Dispatch(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
        case kTrayCallback: Form_MouseMove(lparam); return 0;
        case WM_COMMAND: OnMenuChoice(LOWORD(wparam)); return 0;
        case kSubstFinished: OnSubstFinished(wparam, lparam); return 0;
        case WM_TIMER: OnTimer(wparam); return 0;
        case WM_DEVICECHANGE: OnDeviceChange(wparam, lparam); return TRUE;
        case WM_CLOSE: OnClose(); return 0;
        case WM_QUERYENDSESSION: return OnQueryEndSession();
        case WM_ENDSESSION: OnEndSession(wparam); return 0;
        case WM_DESTROY: OnDestroy(); return 0;
        default: break;
    }
    if (DispatchRegistered(msg)) return 0;
    return ::DefWindowProcW(hwnd_, msg, wparam, lparam);
}

bool FrmMain::DispatchRegistered(UINT msg) {
    if (msg == 0) return false;  // a message that could not be registered
    if (msg == taskbar_created_) {
        OnTaskbarCreated();
    } else if (msg == bring_forward_) {
        OnBringForward();
    } else {
        return false;
    }
    return true;
}

void FrmMain::Form_Load() {
    drives_.Load();
    // A drive left mapped (by a copy ended from Task Manager, or in a
    // console) shows as mounted from the start.
    drives_.Follow();
    ShowLook();
    // Every drive starts before any message holds the user up.
    std::vector<std::pair<std::size_t, std::wstring>> messages;
    for (std::size_t i = 0; i < drives_.Count(); ++i) {
        if (std::optional<std::wstring> message = drives_[i].MountAtStart(false)) messages.emplace_back(i, *message);
    }
    ShowLook();
    for (const auto& [drive, message] : messages) ShowDriveMessage(drive, message);
}

void FrmMain::Form_MouseMove(LPARAM lparam) {
    if (LOWORD(lparam) != WM_RBUTTONDOWN) return;  // left clicks and moves do nothing
    if (leaving_) return;
    if (!::IsWindowEnabled(hwnd_)) {
        // The settings dialog is open and owns the window: Mount from the
        // menu now would use settings that are about to change, so the
        // press brings the dialog forward instead.
        ::SetForegroundWindow(::GetLastActivePopup(hwnd_));
        return;
    }
    // So that the menu never offers Mount over a mounted drive, nor Unmount
    // over a missing one.
    if (drives_.Follow()) ShowLook();
    const UniqueMenu menu = BuildTrayMenu(drives_.Views());
    POINT at{};
    ::GetCursorPos(&at);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    ::SetForegroundWindow(hwnd_);
    const UINT choice = static_cast<UINT>(
        ::TrackPopupMenu(::GetSubMenu(menu.get(), 0),
                         TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y,
                         0, hwnd_, nullptr));
    ::PostMessageW(hwnd_, WM_NULL, 0, 0);
    if (choice != 0) OnMenuChoice(choice);
}

void FrmMain::OnMenuChoice(UINT id) {
    if (leaving_) return;  // the program is already on its way out
    const MenuChoice choice = DecodeMenuChoice(id);
    // A drive removed since the menu was made is not there to choose.
    if (choice.kind != MenuChoice::Kind::Fixed && choice.drive >= drives_.Count()) return;
    switch (choice.kind) {
        case MenuChoice::Kind::Toggle: mnuEnabled_Click(choice.drive); return;
        case MenuChoice::Kind::Settings: mnuSet_Click(choice.drive); return;
        case MenuChoice::Kind::Remove: mnuRemoveDrive_Click(choice.drive); return;
        case MenuChoice::Kind::Fixed: break;
    }
    switch (id) {
        case IDM_ENABLED: mnuEnabled_Click(0); break;
        case IDM_SET: mnuSet_Click(0); break;
        case IDM_ADD_DRIVE: mnuAddDrive_Click(); break;
        case IDM_ABOUT: mnuAbout_Click(); break;
        case IDM_HELP: mnuHelp_Click(); break;
        case IDM_EXIT: mnuExit_Click(); break;
        default: break;
    }
}

void FrmMain::OnSubstFinished(WPARAM tag, LPARAM lparam) {
    const std::unique_ptr<SubstReport> report = TakeSubstReport(lparam);
    DriveMount* drive = drives_.Tagged(static_cast<UINT>(tag));
    if (drive == nullptr) return;  // removed meanwhile: nothing shows it
    const std::optional<Correction> correction = drive->Finished(*report);
    if (!correction) return;
    ShowLook();
    // While leaving, a box would hold the program up; the state is all it needs.
    if (!leaving_) ShowDriveMessage(drive->Index(), correction->message);
}

void FrmMain::OnTaskbarCreated() {
    // Explorer restarted: its notification area has forgotten the icon.
    // Removing it first keeps the addition right should the shell have
    // kept it after all.
    icon_retries_.Reset();
    RemoveTrayIcon();
    TryAddTrayIcon();
}

// Every timer is one shot: each runs only while there is something to look
// at again.
void FrmMain::OnTimer(UINT_PTR id) {
    ::KillTimer(hwnd_, id);
    if (leaving_) return;
    if (id == kIconRetryTimer) TryAddTrayIcon();
    for (std::size_t i = 0; i < drives_.Count(); ++i) {
        if (drives_[i].WaitTimer() != id) continue;
        const std::optional<std::wstring> message = drives_[i].MountAtStart(true);
        ShowLook();
        if (message) ShowDriveMessage(i, *message);
        return;
    }
}

// Windows tells every top-level window when a drive letter comes or goes;
// the broadcast may come from another session's change, so the mapping
// itself is what counts.
void FrmMain::OnDeviceChange(WPARAM event, LPARAM data) {
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (header == nullptr || header->dbch_devicetype != DBT_DEVTYP_VOLUME) return;
    const auto* volume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(data);
    if (drives_.Follow(volume->dbcv_unitmask)) ShowLook();
}

void FrmMain::OnBringForward() { BringDialogForward(); }

// Closed from outside (an installer, Task Manager's polite close): leave
// exactly as through Exit.
void FrmMain::OnClose() {
    if (!leaving_) Terminate();
}

LRESULT FrmMain::OnQueryEndSession() { return TRUE; }

// The process may be ended as soon as this returns, so the leaving is done
// here, bounded like any other.
void FrmMain::OnEndSession(WPARAM ending) {
    if (ending && !leaving_) Terminate();
}

void FrmMain::OnDestroy() {
    // Nothing destroys the window but the end of the process; should it go
    // all the same, the program ends with it rather than lingering unseen.
    hwnd_ = nullptr;
    ::PostQuitMessage(0);
}

void FrmMain::mnuEnabled_Click(std::size_t drive) {
    if (const std::optional<std::wstring> message = drives_[drive].Toggle()) {
        ShowDriveMessage(drive, *message);
        return;
    }
    ShowLook();
}

// The never-shown tray window owns the dialog, which keeps it off the
// taskbar without making it a tool window.
void FrmMain::mnuSet_Click(std::size_t drive) {
    if (!ShowSettingsDialog(hwnd_, {DriveStore(drive), L"Z", drives_.LettersInUse(drive)})) return;
    drives_[drive].EnableMount();
    // The new letter may map to the new folder already.
    ReloadDrives();
}

// A new drive is stored once its dialog saved it all; a save that failed
// part-way leaves nothing of it behind.
void FrmMain::mnuAddDrive_Click() {
    const std::size_t added = drives_.Count();
    if (added >= kMostDrives) return;
    const std::vector<std::wstring> taken = drives_.LettersInUse(added);
    const wchar_t letter = NextFreeLetter(taken, [](wchar_t l) { return LetterUseOnMachine(l).exists; });
    if (!ShowSettingsDialog(hwnd_, {DriveStore(added), std::wstring(1, letter), taken})) {
        ForgetStoredDrive(added);
        return;
    }
    drives_.Add();
    drives_[added].EnableMount();
    ReloadDrives();
}

// The question is owned by the tray window, as the settings dialog is: a
// press on the icon meanwhile brings it forward. The drive may have been
// mounted from outside while it waited, so it is looked at again after.
void FrmMain::mnuRemoveDrive_Click(std::size_t drive) {
    const auto removable = [this](const DriveMount* d) {
        return d != nullptr && d->View().shown == MountState::Unmounted && drives_.Count() > 1;
    };
    const UINT tag = drives_[drive].Tag();
    if (!removable(&drives_[drive]) || !AskAppQuestion(hwnd_, RemoveDriveQuestion(drives_[drive].View()))) return;
    const DriveMount* asked = drives_.Tagged(tag);
    if (!removable(asked)) return;
    if (!drives_.Remove(asked->Index())) ShowAppMessage(nullptr, kSaveFailed);
    ReloadDrives();
}

void FrmMain::mnuAbout_Click() { ShowAboutBox(); }
void FrmMain::mnuHelp_Click() { ShowHelp(); }
void FrmMain::mnuExit_Click() { Terminate(); }

void FrmMain::Terminate() {
    leaving_ = true;
    // A copy started from now on waits for this one to end instead of
    // handing over to it.
    AnnounceLeaving();
    ::KillTimer(hwnd_, kIconRetryTimer);
    drives_.StopWaiting();
    const std::vector<const MountTracker*> trackers = drives_.Trackers();
    LeavePlan plan(::GetTickCount());
    for (;;) {
        const DWORD now = ::GetTickCount();
        switch (plan.Next(trackers, now)) {
            case LeaveStep::Wait: WaitForMessages(plan.WaitLeft(now)); break;
            case LeaveStep::Unmount: drives_.UnmountMounted(); ShowLook(); break;
            case LeaveStep::End: RemoveTrayIcon(); ::ExitProcess(0);
        }
    }
}

// A nested message loop: the commands' ends arrive as messages, and the
// program stays responsive while it waits for them.
void FrmMain::WaitForMessages(DWORD timeout_ms) {
    ::MsgWaitForMultipleObjectsEx(0, nullptr, timeout_ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;  // the process ends through Terminate
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void FrmMain::ShowDriveMessage(std::size_t drive, const std::wstring& text) const {
    ShowAppMessage(nullptr, NamingDrive(drives_.Views(), drive, text));
}

void FrmMain::ReloadDrives() {
    drives_.Load();
    drives_.Follow();
    ShowLook();
}

// Every change of look removes the icon and adds it again.
void FrmMain::ShowLook() {
    const std::vector<DriveView> views = drives_.Views();
    const std::string tip = TrayTip(views);
    if (tip == shown_tip_ && icon_) return;
    if (icon_) RemoveTrayIcon();
    shown_tip_ = tip;
    SetIcon(OverallState(views));
    AddTrayIcon(tip);
}

void FrmMain::SetIcon(MountState state) {
    UniqueIcon icon = LoadTrayIcon(LookOf(state).icon_id);
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.get()));
    icon_ = std::move(icon);
}

void FrmMain::AddTrayIcon(std::string_view tip) {
    TrayData = NOTIFYICONDATAA{};
    TrayData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    TrayData.hWnd = hwnd_;
    TrayData.uID = kTrayId;
    TrayData.uFlags = kTrayFlags;
    TrayData.uCallbackMessage = kTrayCallback;
    const auto field = TipField(tip);
    std::copy(field.begin(), field.end(), TrayData.szTip);
    TrayData.hIcon = icon_.get();
    TryAddTrayIcon();
}

// At sign-in the shell may not be ready, or too busy to answer: a refused
// icon is tried again a few times, then the user is told.
void FrmMain::TryAddTrayIcon() {
    if (::Shell_NotifyIconA(NIM_ADD, &TrayData)) {
        icon_retries_.Reset();
        ::KillTimer(hwnd_, kIconRetryTimer);
        return;
    }
    if (leaving_) return;
    if (const std::optional<std::uint32_t> pause = icon_retries_.Failed()) {
        ::SetTimer(hwnd_, kIconRetryTimer, *pause, nullptr);
    } else {
        ShowAppMessage(nullptr, kIconMissing);
    }
}

void FrmMain::RemoveTrayIcon() { ::Shell_NotifyIconA(NIM_DELETE, &TrayData); }

// The settings dialog is owned by the window, the about box and the message
// boxes stand on their own: whichever dialog of this thread is open is the
// one the user left.
void FrmMain::BringDialogForward() {
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindOpenDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog != nullptr) ::SetForegroundWindow(::GetLastActivePopup(dialog));
}

}  // namespace orvanel
