#include "frmMain.h"

#include <dbt.h>

#include <algorithm>
#include <cwchar>

#include "command_lines.h"
#include "copy_claim.h"
#include "dos_device.h"
#include "drives.h"
#include "frmAbout.h"
#include "frmSet.h"
#include "leaving.h"
#include "links.h"
#include "message_box.h"
#include "module.h"
#include "registry.h"
#include "resource.h"
#include "subst_watch.h"
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
constexpr UINT_PTR kFolderWaitTimer = 2;
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

bool DriveMapsTo(const std::wstring& drive_spec, const std::wstring& folder) {
    const std::optional<std::wstring> target = DosDeviceTarget(drive_spec);
    return target && MappingNamesFolder(*target, folder);
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
    menu_.reset(::LoadMenuW(ModuleInstance(), MAKEINTRESOURCEW(IDM_TRAY)));
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
        case kSubstFinished: OnSubstFinished(lparam); return 0;
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
    const std::optional<MountRefusal> refusal = LoadMountSettings();
    if (FolderPath.empty()) ::EnableMenuItem(menu_.get(), IDM_ENABLED, MF_BYCOMMAND | MF_GRAYED);
    // A drive left mapped (by a copy ended from Task Manager, or in a
    // console) shows as mounted from the start.
    mount_.Observe(DriveMapped());
    SetLook(mount_.Shown());
    AddTrayIcon(LookOf(mount_.Shown()).tip);
    MountAtStart(refusal);
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
    FollowMapping();
    POINT at{};
    ::GetCursorPos(&at);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    ::SetForegroundWindow(hwnd_);
    const UINT choice = static_cast<UINT>(
        ::TrackPopupMenu(::GetSubMenu(menu_.get(), 0),
                         TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y,
                         0, hwnd_, nullptr));
    ::PostMessageW(hwnd_, WM_NULL, 0, 0);
    if (choice != 0) OnMenuChoice(choice);
}

void FrmMain::OnMenuChoice(UINT id) {
    if (leaving_) return;  // the program is already on its way out
    switch (id) {
        case IDM_ENABLED: mnuEnabled_Click(); break;
        case IDM_SET: mnuSet_Click(); break;
        case IDM_ABOUT: mnuAbout_Click(); break;
        case IDM_HELP: mnuHelp_Click(); break;
        case IDM_EXIT: mnuExit_Click(); break;
        default: break;
    }
}

void FrmMain::OnSubstFinished(LPARAM lparam) {
    const std::unique_ptr<SubstReport> report = TakeSubstReport(lparam);
    const CommandOutcome outcome{DriveMapsTo(DriveSpec, FolderPath), report->exit_code,
                                 report->output};
    const std::optional<Correction> correction = mount_.Finished(outcome);
    if (!correction) return;
    ShowLook(correction->look);
    // While leaving, a box would hold the program up; the state is all it needs.
    if (!leaving_) ShowAppMessage(nullptr, correction->message);
}

void FrmMain::OnTaskbarCreated() {
    // Explorer restarted: its notification area has forgotten the icon.
    // Removing it first keeps the addition right should the shell have
    // kept it after all.
    icon_retries_.Reset();
    RemoveTrayIcon();
    TryAddTrayIcon();
}

// Both timers are one shot: each runs only while there is something to
// look at again.
void FrmMain::OnTimer(UINT_PTR id) {
    ::KillTimer(hwnd_, id);
    if (leaving_) return;
    if (id == kIconRetryTimer) TryAddTrayIcon();
    if (id == kFolderWaitTimer) MountAtStart(LoadMountSettings());
}

// Windows tells every top-level window when a drive letter comes or goes;
// the broadcast may come from another session's change, so the mapping
// itself is what counts.
void FrmMain::OnDeviceChange(WPARAM event, LPARAM data) {
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (header == nullptr || header->dbch_devicetype != DBT_DEVTYP_VOLUME) return;
    const auto* volume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(data);
    if (MaskHoldsDrive(volume->dbcv_unitmask, DriveSpec)) FollowMapping();
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

void FrmMain::mnuEnabled_Click() {
    StopWaitingForFolder();  // the user's own choice ends the wait
    if (mount_.Shown() == MountState::Unmounted) {
        MountDrive();
    } else {
        UnmountDrive();
    }
}

void FrmMain::mnuSet_Click() {
    // The never-shown tray window owns the dialog, which keeps it off the
    // taskbar without making it a tool window.
    if (!ShowSettingsDialog(hwnd_)) return;
    EnableMount();
    // The new letter may map to the new folder already.
    LoadMountSettings();
    FollowMapping();
}
void FrmMain::mnuAbout_Click() { ShowAboutBox(); }
void FrmMain::mnuHelp_Click() { ShowHelp(); }
void FrmMain::mnuExit_Click() { Terminate(); }

void FrmMain::EnableMount() { ::EnableMenuItem(menu_.get(), IDM_ENABLED, MF_BYCOMMAND | MF_ENABLED); }

void FrmMain::Terminate() {
    leaving_ = true;
    // A copy started from now on waits for this one to end instead of
    // handing over to it.
    AnnounceLeaving();
    ::KillTimer(hwnd_, kIconRetryTimer);
    StopWaitingForFolder();
    LeavePlan plan(::GetTickCount());
    for (;;) {
        const DWORD now = ::GetTickCount();
        switch (plan.Next(mount_, now)) {
            case LeaveStep::Wait: WaitForMessages(plan.WaitLeft(now)); break;
            case LeaveStep::Unmount: UnmountDrive(); break;
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

std::optional<MountRefusal> FrmMain::LoadMountSettings() {
    const StoredSetting folder = ReadStoredFolder(L"");
    const StoredSetting letter = ReadStoredLetter(L"C");
    FolderPath = folder.text;
    DriveSpec = DriveSpecFor(letter.text);
    return CheckMountSettings(letter, folder);
}

void FrmMain::MountDrive() {
    // A damaged setting never reaches subst: it would map something other
    // than what the shown state is checked against.
    if (const std::optional<MountRefusal> refusal = LoadMountSettings()) {
        ShowAppMessage(nullptr, refusal->message);
        return;
    }
    mount_.Toggle();
    StartWatchedSubst(hwnd_, kSubstFinished, MountCommandLine(DriveSpec, FolderPath));
    mount_.Started();
    ShowLook(MountState::Mounted);
}

void FrmMain::UnmountDrive() {
    // Settings damaged since the mount: the drive that was mounted is the
    // one to free.
    std::wstring mounted_drive = DriveSpec;
    std::wstring mounted_folder = FolderPath;
    if (LoadMountSettings()) {
        DriveSpec = std::move(mounted_drive);
        FolderPath = std::move(mounted_folder);
    }
    mount_.Toggle();
    StartWatchedSubst(hwnd_, kSubstFinished, UnmountCommandLine(DriveSpec));
    mount_.Started();
    ShowLook(MountState::Unmounted);
}

void FrmMain::MountAtStart(const std::optional<MountRefusal>& refusal) {
    StartupFacts facts;
    facts.option_on = OptionIsOn(ReadStoredMountAtStart());
    facts.folder_stored = !FolderPath.empty();
    facts.damaged = refusal.has_value();
    facts.mapped = !facts.damaged && DriveMapped();
    facts.folder_exists = !facts.damaged && FolderExists(FolderPath);
    const StartupMount step = DecideStartupMount(facts);
    if (step == StartupMount::Wait) {
        if (!folder_wait_) folder_wait_.emplace(::GetTickCount());
        if (const std::optional<std::uint32_t> pause = folder_wait_->Missing(::GetTickCount())) {
            ::SetTimer(hwnd_, kFolderWaitTimer, *pause, nullptr);
            return;
        }
    }
    folder_wait_.reset();
    if (step == StartupMount::Refuse) ShowAppMessage(nullptr, refusal->message);
    // A folder that never came is mounted all the same, so that subst.exe
    // says what a Mount would have said.
    if ((step == StartupMount::Wait || step == StartupMount::Mount) && mount_.Shown() == MountState::Unmounted) {
        MountDrive();
    }
}

void FrmMain::StopWaitingForFolder() {
    ::KillTimer(hwnd_, kFolderWaitTimer);
    folder_wait_.reset();
}

void FrmMain::FollowMapping() {
    if (const std::optional<MountState> look = mount_.Observe(DriveMapped())) ShowLook(*look);
}

bool FrmMain::DriveMapped() const { return DriveMapsTo(DriveSpec, FolderPath); }

void FrmMain::SetLook(MountState state) {
    const TrayLook look = LookOf(state);
    std::wstring caption(look.caption);
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING;
    item.dwTypeData = caption.data();
    ::SetMenuItemInfoW(menu_.get(), IDM_ENABLED, FALSE, &item);
    ::EnableMenuItem(menu_.get(), IDM_SET, MF_BYCOMMAND | (look.settings_enabled ? MF_ENABLED : MF_GRAYED));
    UniqueIcon icon = LoadTrayIcon(look.icon_id);
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.get()));
    icon_ = std::move(icon);
}

// Every change of look removes the icon and adds it again.
void FrmMain::ShowLook(MountState state) {
    RemoveTrayIcon();
    SetLook(state);
    AddTrayIcon(LookOf(state).tip);
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
