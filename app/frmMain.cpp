#include "frmMain.h"

#include "Register.h"
#include "app_info.h"
#include "command_lines.h"
#include "frmAbout.h"
#include "frmSet.h"
#include "links.h"
#include "registry_store.h"
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
// The record's earliest form, which every shell accepts.
static_assert(NOTIFYICONDATAA_V1_SIZE == (sizeof(void*) == 8 ? 104 : 88),
              "the first NOTIFYICONDATAA layout");

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

UniqueIcon LoadTrayIcon(int id) {
    // The small-icon size picks the icon's image for the notification area,
    // without loading the common controls at start-up.
    return UniqueIcon(static_cast<HICON>(::LoadImageW(Instance(), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                                      ::GetSystemMetrics(SM_CXSMICON),
                                                      ::GetSystemMetrics(SM_CYSMICON), 0)));
}

bool DriveMapsTo(const std::wstring& drive_spec, const std::wstring& folder) {
    wchar_t target[1024];
    if (drive_spec.empty() || !::QueryDosDeviceW(drive_spec.c_str(), target, 1024)) return false;
    return MappingNamesFolder(target, folder);
}

void ShowMessage(const std::wstring& text) { ::MessageBoxW(nullptr, text.c_str(), kAppTitle, MB_OK); }

}  // namespace

FrmMain& frmMain() {
    static FrmMain instance;
    return instance;
}

FrmMain::FrmMain() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = Instance();
    wc.lpszClassName = kClassName;
    ::RegisterClassExW(&wc);
    // Never shown; a tool window so that nothing ever gives it a taskbar button.
    hwnd_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, kCaption, WS_OVERLAPPED, 0, 0, 0, 0,
                              nullptr, nullptr, Instance(), this);
    taskbar_created_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    ::ChangeWindowMessageFilterEx(hwnd_, taskbar_created_, MSGFLT_ALLOW, nullptr);
    menu_.reset(::LoadMenuW(Instance(), MAKEINTRESOURCEW(IDM_TRAY)));
    Form_Load();
}

LRESULT CALLBACK FrmMain::WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<FrmMain*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr || self->hwnd_ == nullptr) return ::DefWindowProcW(hwnd, msg, wparam, lparam);
    return self->Dispatch(msg, wparam, lparam);
}

LRESULT FrmMain::Dispatch(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
        case kTrayCallback: Form_MouseMove(lparam); return 0;
        case WM_COMMAND: OnMenuChoice(LOWORD(wparam)); return 0;
        case kSubstFinished: OnSubstFinished(lparam); return 0;
        case WM_DESTROY: OnDestroy(); return 0;
        default: break;
    }
    if (msg == taskbar_created_) {
        OnTaskbarCreated();
        return 0;
    }
    return ::DefWindowProcW(hwnd_, msg, wparam, lparam);
}

void FrmMain::Form_Load() {
    LoadMountSettings();
    if (FolderPath.empty()) ::EnableMenuItem(menu_.get(), IDM_ENABLED, MF_BYCOMMAND | MF_GRAYED);
    icon_ = LoadTrayIcon(IDI_UNMOUNTED);
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
    AddTrayIcon(LookOf(MountState::Unmounted).tip);
}

void FrmMain::Form_MouseMove(LPARAM lparam) {
    if (LOWORD(lparam) != WM_RBUTTONDOWN) return;  // left clicks and moves do nothing
    if (!::IsWindowEnabled(hwnd_)) {
        // The settings dialog is open and owns the window: Mount from the
        // menu now would use settings that are about to change, so the
        // press brings the dialog forward instead.
        ::SetForegroundWindow(::GetLastActivePopup(hwnd_));
        return;
    }
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
    ShowMessage(correction->message);
}

void FrmMain::OnDestroy() {
    // Closed from outside (not through Exit): the program ends with its
    // window rather than lingering without one.
    hwnd_ = nullptr;
    ::PostQuitMessage(0);
}

void FrmMain::OnTaskbarCreated() {
    // Explorer restarted: its notification area has forgotten the icon.
    ::Shell_NotifyIconA(NIM_ADD, &TrayData);
}

void FrmMain::mnuEnabled_Click() {
    if (mount_.Shown() == MountState::Unmounted) {
        MountDrive();
    } else {
        UnmountDrive(Watch::Outcome);
    }
}

void FrmMain::mnuSet_Click() { ShowSettingsDialog(); }
void FrmMain::mnuAbout_Click() { ShowAboutBox(); }
void FrmMain::mnuHelp_Click() { ShowHelp(); }
void FrmMain::mnuExit_Click() { Terminate(); }

void FrmMain::EnableMount() { ::EnableMenuItem(menu_.get(), IDM_ENABLED, MF_BYCOMMAND | MF_ENABLED); }

void FrmMain::Terminate() {
    if (mount_.Shown() == MountState::Mounted) UnmountDrive(Watch::None);
    RemoveTrayIcon();
    ::ExitProcess(0);
}

void FrmMain::LoadMountSettings() {
    FolderPath = ReadRegValue(RootKey::CurrentUser, AppKeyPath, L"Path", L"");
    DriveSpec = DriveSpecFor(ReadRegValue(RootKey::CurrentUser, AppKeyPath, L"Drive", L"C"));
}

void FrmMain::MountDrive() {
    mount_.Toggle();
    LoadMountSettings();
    StartWatchedSubst(hwnd_, kSubstFinished, MountCommandLine(DriveSpec, FolderPath));
    mount_.Started();
    ShowLook(MountState::Mounted);
}

void FrmMain::UnmountDrive(Watch watch) {
    LoadMountSettings();
    mount_.Toggle();
    const std::wstring command = UnmountCommandLine(DriveSpec);
    if (watch == Watch::Outcome) {
        StartWatchedSubst(hwnd_, kSubstFinished, command);
        mount_.Started();
    } else {
        StartUnwatchedSubst(command);
    }
    ShowLook(MountState::Unmounted);
}

void FrmMain::ShowLook(MountState state) {
    const TrayLook look = LookOf(state);
    std::wstring caption(look.caption);
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING;
    item.dwTypeData = caption.data();
    ::SetMenuItemInfoW(menu_.get(), IDM_ENABLED, FALSE, &item);
    ::EnableMenuItem(menu_.get(), IDM_SET, MF_BYCOMMAND | (look.settings_enabled ? MF_ENABLED : MF_GRAYED));

    // Every change of look removes the icon and adds it again.
    RemoveTrayIcon();
    UniqueIcon icon = LoadTrayIcon(look.icon_id);
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.get()));
    icon_ = std::move(icon);
    AddTrayIcon(look.tip);
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
    ::Shell_NotifyIconA(NIM_ADD, &TrayData);
}

void FrmMain::RemoveTrayIcon() { ::Shell_NotifyIconA(NIM_DELETE, &TrayData); }

}  // namespace orvanel
