#include "frmSet.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "Register.h"
#include "app_info.h"
#include "folder_list.h"
#include "frmMain.h"
#include "handles.h"
#include "registry_store.h"
#include "resource.h"
#include "settings_layout.h"
#include "settings_rules.h"
#include "text.h"

namespace orvanel {
namespace {

constexpr wchar_t kPathValue[] = L"Path";
constexpr wchar_t kDriveValue[] = L"Drive";
constexpr wchar_t kPathDefault[] = L"C";
constexpr wchar_t kDriveDefault[] = L"Z";
constexpr wchar_t kSaveFailed[] = L"Unable to save your settings";
constexpr wchar_t kFallbackDrive = L'C';

// The dialog's font: the shell's dialog face at 8 points, at the window's DPI.
constexpr wchar_t kFontFace[] = L"MS Shell Dlg";
constexpr int kFontPoints = 8;
constexpr int kPointsPerInch = 72;

// Design pixels at 96 DPI, scaled for the window's DPI.
constexpr int kIconSize = 16;
constexpr int kIconGap = 3;        // between an icon and its text
constexpr int kRowMargin = 2;      // left of the first level's icon
constexpr int kIndentStep = 10;    // one folder level
constexpr int kRowPadding = 1;     // added to the taller of icon and text
constexpr int kDroppedRows = 8;    // drives the open drive list shows at once

constexpr UINT_PTR kDir1SubclassId = 1;

// A removable drive with no medium must not make Windows ask for one.
class QuietDriveErrors {
public:
    QuietDriveErrors() { ::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_); }
    ~QuietDriveErrors() { ::SetThreadErrorMode(previous_, nullptr); }
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

private:
    DWORD previous_ = 0;
};

// The shell's icon functions want COM on the calling thread.
class ComApartment {
public:
    ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

struct FindTraits {
    using Handle = HANDLE;
    static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::FindClose(h); }
};
using UniqueFind = Unique<FindTraits>;

struct DriveEntry {
    wchar_t letter;
    std::wstring text;  // "C: [System]", or "C:" without a volume name
};

std::wstring RootOf(wchar_t letter) { return {letter, L':', L'\\'}; }

bool DriveListed(wchar_t letter) {
    return (::GetLogicalDrives() >> (letter - L'A')) & 1u;
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool DriveReady(wchar_t letter) {
    QuietDriveErrors quiet;
    return FolderExists(RootOf(letter));
}

std::wstring VolumeName(wchar_t letter) {
    QuietDriveErrors quiet;
    wchar_t name[MAX_PATH + 1] = L"";
    if (!::GetVolumeInformationW(RootOf(letter).c_str(), name, MAX_PATH + 1, nullptr, nullptr,
                                 nullptr, nullptr, 0)) {
        return std::wstring();
    }
    return name;
}

std::vector<DriveEntry> MachineDrives() {
    std::vector<DriveEntry> drives;
    const DWORD present = ::GetLogicalDrives();
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        if (!((present >> (letter - L'A')) & 1u)) continue;
        std::wstring text{letter, L':'};
        const std::wstring volume = VolumeName(letter);
        if (!volume.empty()) text += L" [" + volume + L"]";
        drives.push_back({letter, text});
    }
    return drives;
}

// Names of the folder's subfolders, hidden ones left out as Explorer does.
std::vector<std::wstring> SubfolderNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    const std::wstring pattern = folder.back() == L'\\' ? folder + L"*" : folder + L"\\*";
    WIN32_FIND_DATAW found{};
    QuietDriveErrors quiet;
    UniqueFind find(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                       FindExSearchLimitToDirectories, nullptr, 0));
    if (!find) return names;
    do {
        const std::wstring name = found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) continue;
        if (name == L"." || name == L"..") continue;
        names.push_back(name);
    } while (::FindNextFileW(find.get(), &found));
    return names;
}

// "D:" plus a folder part: the drive's current folder when it is empty,
// relative to it when it has no leading backslash.
std::wstring FullPathOnDrive(wchar_t letter, const std::wstring& folder_part) {
    const std::wstring spec = std::wstring{letter, L':'} + folder_part;
    const DWORD needed = ::GetFullPathNameW(spec.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return RootOf(letter);
    std::wstring full(needed, L'\0');
    const DWORD written = ::GetFullPathNameW(spec.c_str(), needed, full.data(), nullptr);
    if (written == 0 || written >= needed) return RootOf(letter);
    full.resize(written);
    return full;
}

LetterUse UseOf(wchar_t letter) {
    LetterUse use;
    use.exists = DriveListed(letter);
    const std::wstring spec{letter, L':'};
    std::wstring target(1024, L'\0');
    const DWORD written = ::QueryDosDeviceW(spec.c_str(), target.data(), static_cast<DWORD>(target.size()));
    if (written != 0) {
        use.exists = true;
        use.target = target.c_str();  // the first of the returned strings is the current target
    }
    return use;
}

// Extracted at the wanted size from where the shell keeps the item's icon,
// so that a scaled display gets a sharp one; else the shell's small icon,
// drawn scaled.
UniqueIcon LoadShellIcon(const std::wstring& path, UINT open_flag, int size) {
    QuietDriveErrors quiet;
    SHFILEINFOW info{};
    UniqueIcon icon;
    if (::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_ICONLOCATION | open_flag) &&
        info.szDisplayName[0] != L'\0') {
        HICON extracted = nullptr;
        const UINT sizes = MAKELONG(size, size);
        if (::SHDefExtractIconW(info.szDisplayName, info.iIcon, 0, &extracted, nullptr, sizes) == S_OK) {
            icon.reset(extracted);
        }
    }
    if (!icon && ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON | open_flag)) {
        icon.reset(info.hIcon);
    }
    return icon;
}

// Any ordinary folder shows the shell's folder icons; the Windows folder
// is always there.
std::wstring OrdinaryFolder() {
    wchar_t windows[MAX_PATH + 1] = L"";
    const UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH + 1);
    return length > 0 && length <= MAX_PATH ? std::wstring(windows) : std::wstring(L"C:\\");
}

UniqueGdiObject CreateDialogFont(UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = -::MulDiv(kFontPoints, static_cast<int>(dpi), kPointsPerInch);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    std::copy(std::begin(kFontFace), std::end(kFontFace), font.lfFaceName);
    return UniqueGdiObject(::CreateFontIndirectW(&font));
}

int TextHeight(HWND window, HGDIOBJ font) {
    HDC dc = ::GetDC(window);
    const HGDIOBJ previous = ::SelectObject(dc, font);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, previous);
    ::ReleaseDC(window, dc);
    return metrics.tmHeight;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

int ControlId(SettingsControl control) {
    switch (control) {
        case SettingsControl::Drive1: return IDC_DRIVE1;
        case SettingsControl::Label1: return IDC_LABEL1;
        case SettingsControl::TxtDriveLetter: return IDC_DRIVE_LETTER;
        case SettingsControl::Dir1: return IDC_DIR1;
        case SettingsControl::CmdOK: return IDOK;
        case SettingsControl::CmdCancel: return IDCANCEL;
    }
    return 0;
}

// Enter in the folder list opens the selected folder, as a double click
// does, instead of pressing OK.
LRESULT OnDir1GetDlgCode(HWND list, WPARAM wparam, LPARAM lparam) {
    const LRESULT code = ::DefSubclassProc(list, WM_GETDLGCODE, wparam, lparam);
    const auto* msg = reinterpret_cast<const MSG*>(lparam);
    if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
        return code | DLGC_WANTMESSAGE;
    }
    return code;
}

LRESULT OnDir1KeyDown(HWND list, WPARAM wparam, LPARAM lparam) {
    if (wparam != VK_RETURN) return ::DefSubclassProc(list, WM_KEYDOWN, wparam, lparam);
    ::SendMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(IDC_DIR1, LBN_DBLCLK),
                   reinterpret_cast<LPARAM>(list));
    return 0;
}

LRESULT CALLBACK Dir1KeyProc(HWND list, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    switch (msg) {
        case WM_GETDLGCODE: return OnDir1GetDlgCode(list, wparam, lparam);
        case WM_KEYDOWN: return OnDir1KeyDown(list, wparam, lparam);
        case WM_NCDESTROY: ::RemoveWindowSubclass(list, Dir1KeyProc, kDir1SubclassId); break;
        default: break;
    }
    return ::DefSubclassProc(list, msg, wparam, lparam);
}

// The system's own re-layout of dialogs on a DPI change would fight ours.
void TakeOverDpiChanges(HWND dialog) {
    using SetBehavior = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    const auto set = user32 ? reinterpret_cast<SetBehavior>(reinterpret_cast<void*>(
                                  ::GetProcAddress(user32, "SetDialogDpiChangeBehavior")))
                            : nullptr;
    if (set != nullptr) set(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
}

// The settings dialog. Its controls hold the state while it is open; the
// object lives only for one showing.
class FrmSet {
public:
    FrmSet() = default;
    FrmSet(const FrmSet&) = delete;
    FrmSet& operator=(const FrmSet&) = delete;

    void Show();
    static HWND Open() { return open_; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    INT_PTR Dispatch(UINT msg, WPARAM wparam, LPARAM lparam);

    BOOL OnInitDialog();
    void OnCommand(int id, int code);
    void OnDrive1Notify(int code);
    void OnMeasureItem(MEASUREITEMSTRUCT& item) const;
    void OnDrawItem(const DRAWITEMSTRUCT& item) const;
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void OnDestroy();

    void Form_Load();
    void Drive1_Change();
    void Dir1_DblClick();
    void cmdOK_Click();
    void cmdCancel_Click();

    // Drive1.Drive = letter, which raises Drive1_Change.
    void SetDrive(wchar_t letter);
    std::optional<wchar_t> ListedDrive() const;
    void ShowDriveInList(wchar_t letter);
    void FallBackToUsableDrive();
    // Dir1.Path = folder part on the current drive.
    void SetDirPath(const std::wstring& folder_part);
    bool OpenFolder(const std::wstring& path);
    void FillFolderList();

    void ApplyDpi(UINT dpi);
    void LoadIcons();
    void SetRowHeights();
    void PlaceControls();
    void FitClosedHeight(HWND combo, int height) const;
    SIZE WindowSizeForClient() const;
    void FillDriveList();
    void DrawDriveItem(const DRAWITEMSTRUCT& item) const;
    void DrawFolderItem(const DRAWITEMSTRUCT& item) const;
    void DrawRow(const DRAWITEMSTRUCT& item, int indent, HICON icon, const std::wstring& text) const;
    void FocusControl(int id, bool select_all);
    void ShowMessage(const std::wstring& text) const;
    HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }

    static HWND open_;

    HWND hwnd_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    UniqueGdiObject font_;
    int row_height_ = 0;
    UniqueIcon open_folder_icon_;
    UniqueIcon closed_folder_icon_;
    std::vector<UniqueIcon> drive_icons_;  // one per entry of drives_
    std::vector<DriveEntry> drives_;
    wchar_t drive_ = 0;        // Drive1's drive; 0 until one is shown
    std::wstring dir_path_;    // Dir1's path, what OK saves
    FolderListModel folders_{};
};

HWND FrmSet::open_ = nullptr;

void FrmSet::Show() {
    ComApartment com;
    // The never-shown tray window owns the dialog, which keeps it off the
    // taskbar without making it a tool window.
    ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS), frmMain().Handle(),
                      DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK FrmSet::DialogProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lparam);
        reinterpret_cast<FrmSet*>(lparam)->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<FrmSet*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self == nullptr) return FALSE;  // owner-drawn controls measure before WM_INITDIALOG
    try {
        return self->Dispatch(msg, wparam, lparam);
    } catch (...) {
        // Out of memory: close without saving rather than let it through.
        ::EndDialog(hwnd, IDCANCEL);
        return TRUE;
    }
}

INT_PTR FrmSet::Dispatch(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
        case WM_INITDIALOG: return OnInitDialog();
        case WM_COMMAND: OnCommand(LOWORD(wparam), HIWORD(wparam)); return TRUE;
        case WM_MEASUREITEM: OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)); return TRUE;
        case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam)); return TRUE;
        case WM_DPICHANGED: OnDpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam)); return TRUE;
        case WM_DESTROY: OnDestroy(); return FALSE;
        default: return FALSE;
    }
}

BOOL FrmSet::OnInitDialog() {
    open_ = hwnd_;
    TakeOverDpiChanges(hwnd_);
    ::SetWindowSubclass(Item(IDC_DIR1), Dir1KeyProc, kDir1SubclassId, 0);
    // The letter box sets no limit on the number of characters.
    ::SendDlgItemMessageW(hwnd_, IDC_DRIVE_LETTER, EM_SETLIMITTEXT, 0, 0);
    drives_ = MachineDrives();
    ApplyDpi(::GetDpiForWindow(hwnd_));
    FillDriveList();
    Form_Load();
    return TRUE;  // the focus goes to the first control in the tab order, Drive1
}

void FrmSet::OnCommand(int id, int code) {
    switch (id) {
        case IDC_DRIVE1: OnDrive1Notify(code); break;
        case IDC_DIR1:
            if (code == LBN_DBLCLK) Dir1_DblClick();
            break;
        case IDOK: cmdOK_Click(); break;
        case IDCANCEL: cmdCancel_Click(); break;
        default: break;
    }
}

void FrmSet::OnDrive1Notify(int code) {
    // While the list is open the selection only follows the pointer or the
    // arrow keys; the drive changes when the list closes.
    const bool dropped = ::SendDlgItemMessageW(hwnd_, IDC_DRIVE1, CB_GETDROPPEDSTATE, 0, 0) != 0;
    if (code == CBN_CLOSEUP || (code == CBN_SELCHANGE && !dropped)) Drive1_Change();
}

void FrmSet::OnMeasureItem(MEASUREITEMSTRUCT& item) const {
    if (row_height_ > 0) item.itemHeight = static_cast<UINT>(row_height_);
}

void FrmSet::OnDrawItem(const DRAWITEMSTRUCT& item) const {
    if (item.CtlID == IDC_DRIVE1) DrawDriveItem(item);
    if (item.CtlID == IDC_DIR1) DrawFolderItem(item);
}

void FrmSet::OnDpiChanged(UINT dpi, const RECT& suggested) {
    ApplyDpi(dpi);
    const SIZE size = WindowSizeForClient();
    ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void FrmSet::OnDestroy() { open_ = nullptr; }

void FrmSet::Form_Load() {
    const std::wstring path = ReadRegValue(RootKey::CurrentUser, AppKeyPath, kPathValue, kPathDefault);
    const StoredPathParts parts = SplitStoredPath(path);
    const std::optional<wchar_t> letter = DriveLetterOf(parts.drive);
    SetDrive(letter ? *letter : kFallbackDrive);
    // The stored folder belongs to the stored drive only.
    if (letter && drive_ == *letter) SetDirPath(parts.folder);
    const std::wstring stored_letter =
        ReadRegValue(RootKey::CurrentUser, AppKeyPath, kDriveValue, kDriveDefault);
    ::SetDlgItemTextW(hwnd_, IDC_DRIVE_LETTER, stored_letter.c_str());
}

void FrmSet::Drive1_Change() {
    const std::optional<wchar_t> chosen = ListedDrive();
    if (!chosen || *chosen == drive_) return;
    if (!DriveListed(*chosen) || !DriveReady(*chosen)) {
        ShowMessage(DriveListed(*chosen) ? DriveNotReadyMessage(*chosen) : DriveMissingMessage(*chosen));
        FallBackToUsableDrive();
        return;
    }
    drive_ = *chosen;
    SetDirPath(std::wstring());
}

void FrmSet::Dir1_DblClick() {
    const LRESULT row = ::SendDlgItemMessageW(hwnd_, IDC_DIR1, LB_GETCURSEL, 0, 0);
    if (row < 0 || static_cast<std::size_t>(row) >= folders_.rows.size()) return;
    OpenFolder(folders_.rows[static_cast<std::size_t>(row)].path);
}

void FrmSet::cmdOK_Click() {
    const std::wstring folder = dir_path_;
    const std::wstring letter = WindowText(Item(IDC_DRIVE_LETTER));
    if (const std::optional<SaveRefusal> refusal = CheckSettingsToSave(letter, folder, FitsAnsi(folder), UseOf)) {
        ShowMessage(refusal->message);
        if (refusal->field == SaveField::Letter) {
            FocusControl(IDC_DRIVE_LETTER, true);
        } else {
            FocusControl(IDC_DIR1, false);
        }
        return;
    }
    // Both writes are made, whatever the first one returned.
    const bool drive_saved = WriteRegValue(RootKey::CurrentUser, AppKeyPath, kDriveValue, letter);
    const bool path_saved = WriteRegValue(RootKey::CurrentUser, AppKeyPath, kPathValue, folder);
    if (drive_saved && path_saved) {
        frmMain().EnableMount();
    } else {
        ShowMessage(kSaveFailed);
    }
    ::EndDialog(hwnd_, IDOK);
}

void FrmSet::cmdCancel_Click() { ::EndDialog(hwnd_, IDCANCEL); }

void FrmSet::SetDrive(wchar_t letter) {
    ShowDriveInList(letter);
    if (ListedDrive() != letter) {
        ShowMessage(DriveMissingMessage(letter));
        FallBackToUsableDrive();
        return;
    }
    Drive1_Change();
}

std::optional<wchar_t> FrmSet::ListedDrive() const {
    const LRESULT index = ::SendDlgItemMessageW(hwnd_, IDC_DRIVE1, CB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<std::size_t>(index) >= drives_.size()) return std::nullopt;
    return drives_[static_cast<std::size_t>(index)].letter;
}

void FrmSet::ShowDriveInList(wchar_t letter) {
    const auto found = std::find_if(drives_.begin(), drives_.end(),
                                    [&](const DriveEntry& d) { return d.letter == letter; });
    const WPARAM index = found == drives_.end() ? static_cast<WPARAM>(-1)
                                                : static_cast<WPARAM>(found - drives_.begin());
    ::SendDlgItemMessageW(hwnd_, IDC_DRIVE1, CB_SETCURSEL, index, 0);
}

// Back to the drive shown before; at the start, drive C or else the first
// drive that is ready, so that the dialog is always usable.
void FrmSet::FallBackToUsableDrive() {
    if (drive_ != 0) {
        ShowDriveInList(drive_);
        return;
    }
    std::vector<wchar_t> candidates{kFallbackDrive};
    for (const DriveEntry& d : drives_) candidates.push_back(d.letter);
    for (const wchar_t letter : candidates) {
        ShowDriveInList(letter);
        if (ListedDrive() == letter && DriveReady(letter)) {
            drive_ = letter;
            SetDirPath(std::wstring());
            return;
        }
    }
    ShowDriveInList(0);
}

void FrmSet::SetDirPath(const std::wstring& folder_part) {
    if (drive_ == 0) return;
    OpenFolder(FullPathOnDrive(drive_, folder_part));
}

// A folder that is gone opens at its nearest existing parent; a drive that
// is gone leaves the list as it was.
bool FrmSet::OpenFolder(const std::wstring& path) {
    const std::optional<std::wstring> folder = NearestExistingFolder(path, FolderExists);
    if (!folder) {
        ShowMessage(DriveNotReadyMessage(path.empty() ? drive_ : path[0]));
        return false;
    }
    dir_path_ = *folder;
    folders_ = BuildFolderList(dir_path_, SubfolderNames(dir_path_));
    FillFolderList();
    return true;
}

void FrmSet::FillFolderList() {
    const HWND list = Item(IDC_DIR1);
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const FolderRow& row : folders_.rows) {
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.text.c_str()));
    }
    ::SendMessageW(list, LB_SETCURSEL, folders_.current, 0);
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

void FrmSet::ApplyDpi(UINT dpi) {
    dpi_ = dpi == 0 ? USER_DEFAULT_SCREEN_DPI : dpi;
    font_ = CreateDialogFont(dpi_);
    for (HWND child = ::GetWindow(hwnd_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    LoadIcons();
    SetRowHeights();
    PlaceControls();
    const SIZE size = WindowSizeForClient();
    ::SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrmSet::LoadIcons() {
    const int size = ScaleForDpi(kIconSize, dpi_);
    const std::wstring folder = OrdinaryFolder();
    open_folder_icon_ = LoadShellIcon(folder, SHGFI_OPENICON, size);
    closed_folder_icon_ = LoadShellIcon(folder, 0, size);
    drive_icons_.clear();
    for (const DriveEntry& drive : drives_) drive_icons_.push_back(LoadShellIcon(RootOf(drive.letter), 0, size));
}

void FrmSet::SetRowHeights() {
    row_height_ = std::max(ScaleForDpi(kIconSize, dpi_), TextHeight(hwnd_, font_.get())) +
                  ScaleForDpi(kRowPadding, dpi_);
    ::SendDlgItemMessageW(hwnd_, IDC_DIR1, LB_SETITEMHEIGHT, 0, row_height_);
    ::SendDlgItemMessageW(hwnd_, IDC_DRIVE1, CB_SETITEMHEIGHT, 0, row_height_);
}

void FrmSet::PlaceControls() {
    for (const PlacedControl& placed : kSettingsLayout) {
        const PixelRect r = ToPixels(placed.twips, dpi_);
        const HWND control = Item(ControlId(placed.control));
        int height = r.bottom - r.top;
        if (placed.control == SettingsControl::Drive1) {
            FitClosedHeight(control, height);
            height += kDroppedRows * row_height_;  // a combo box's height includes its open list
        }
        ::SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// A closed drop-down list is as high as its selection field and its frame.
// The frame is measured, since what CB_GETITEMHEIGHT reports for the field
// differs between systems, and the field sized to give the wanted height.
void FrmSet::FitClosedHeight(HWND combo, int height) const {
    ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), row_height_);
    RECT closed{};
    ::GetWindowRect(combo, &closed);
    const int frame = (closed.bottom - closed.top) - row_height_;
    ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(1, height - frame));
}

SIZE FrmSet::WindowSizeForClient() const {
    const PixelRect client = ToPixels(kSettingsClient, dpi_);
    RECT frame{0, 0, client.right, client.bottom};
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_STYLE));
    const auto ex_style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    ::AdjustWindowRectExForDpi(&frame, style, FALSE, ex_style, dpi_);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void FrmSet::FillDriveList() {
    const HWND combo = Item(IDC_DRIVE1);
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    int widest = 0;
    HDC dc = ::GetDC(combo);
    const HGDIOBJ previous = ::SelectObject(dc, font_.get());
    for (const DriveEntry& drive : drives_) {
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(drive.text.c_str()));
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, drive.text.c_str(), static_cast<int>(drive.text.size()), &extent);
        widest = std::max(widest, static_cast<int>(extent.cx));
    }
    ::SelectObject(dc, previous);
    ::ReleaseDC(combo, dc);
    // The open list is as wide as the longest volume name needs.
    const int row = ScaleForDpi(kRowMargin + kIconSize + kIconGap + kRowMargin, dpi_) + widest +
                    ::GetSystemMetricsForDpi(SM_CXVSCROLL, dpi_);
    ::SendMessageW(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(row), 0);
}

void FrmSet::DrawDriveItem(const DRAWITEMSTRUCT& item) const {
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= drives_.size()) {
        ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_WINDOW));
        return;
    }
    DrawRow(item, 0, drive_icons_[item.itemID].get(), drives_[item.itemID].text);
}

void FrmSet::DrawFolderItem(const DRAWITEMSTRUCT& item) const {
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= folders_.rows.size()) {
        ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_WINDOW));
        if (item.itemState & ODS_FOCUS) ::DrawFocusRect(item.hDC, &item.rcItem);
        return;
    }
    const FolderRow& row = folders_.rows[item.itemID];
    const HICON icon = row.icon == FolderIcon::Open ? open_folder_icon_.get() : closed_folder_icon_.get();
    DrawRow(item, row.level * ScaleForDpi(kIndentStep, dpi_), icon, row.text);
}

// Icon, then text; only the text is highlighted, as in the classic lists.
void FrmSet::DrawRow(const DRAWITEMSTRUCT& item, int indent, HICON icon, const std::wstring& text) const {
    const HDC dc = item.hDC;
    ::FillRect(dc, &item.rcItem, ::GetSysColorBrush(COLOR_WINDOW));
    const int icon_size = ScaleForDpi(kIconSize, dpi_);
    const int row_height = item.rcItem.bottom - item.rcItem.top;
    const int icon_x = item.rcItem.left + ScaleForDpi(kRowMargin, dpi_) + indent;
    const int icon_y = item.rcItem.top + (row_height - std::min(icon_size, row_height)) / 2;
    const int drawn = std::min(icon_size, row_height);  // a short selection field shrinks it
    if (icon != nullptr) ::DrawIconEx(dc, icon_x, icon_y, icon, drawn, drawn, 0, nullptr, DI_NORMAL);

    RECT text_rect = item.rcItem;
    text_rect.left = icon_x + drawn + ScaleForDpi(kIconGap, dpi_);
    SIZE extent{};
    const HGDIOBJ previous = ::SelectObject(dc, font_.get());
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    text_rect.right = std::min(item.rcItem.right, text_rect.left + extent.cx + ScaleForDpi(kIconGap, dpi_));
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    ::FillRect(dc, &text_rect, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT inner = text_rect;
    inner.left += ScaleForDpi(1, dpi_);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inner,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SelectObject(dc, previous);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) ::DrawFocusRect(dc, &text_rect);
}

void FrmSet::FocusControl(int id, bool select_all) {
    ::SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
    if (select_all) ::SendDlgItemMessageW(hwnd_, id, EM_SETSEL, 0, -1);
}

void FrmSet::ShowMessage(const std::wstring& text) const {
    ::MessageBoxW(hwnd_, text.c_str(), kAppTitle, MB_OK);
}

}  // namespace

void ShowSettingsDialog() {
    // One dialog at a time: the tray menu stays usable while it is open.
    if (const HWND open = FrmSet::Open()) {
        ::SetForegroundWindow(open);
        return;
    }
    FrmSet dialog;
    dialog.Show();
}

}  // namespace orvanel
