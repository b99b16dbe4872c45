#include "frmSet.h"

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "com_apartment.h"
#include "dialog_dpi.h"
#include "dialog_proc.h"
#include "drive_list.h"
#include "drives.h"
#include "folder_list_control.h"
#include "handles.h"
#include "message_box.h"
#include "module.h"
#include "registry.h"
#include "resource.h"
#include "settings_placement.h"
#include "settings_rules.h"
#include "sign_in.h"
#include "text.h"

namespace orvanel {
namespace {

constexpr wchar_t kPathDefault[] = L"C";
constexpr wchar_t kSaveFailed[] = L"Unable to save your settings";
constexpr wchar_t kFallbackDrive = L'C';

// The settings dialog. Its controls hold the state while it is open; the
// object lives only for one showing.
class FrmSet {
public:
    explicit FrmSet(const DriveDialog& drive) : drive_dialog_(drive) {}
    FrmSet(const FrmSet&) = delete;
    FrmSet& operator=(const FrmSet&) = delete;

    // True when every setting was saved.
    bool Show(HWND owner);

private:
    template <typename Dialog>
    friend INT_PTR CALLBACK orvanel::DialogProcFor(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    INT_PTR Dispatch(UINT msg, WPARAM wparam, LPARAM lparam);

    BOOL OnInitDialog();
    void OnCommand(int id, int code);
    void OnDrive1Notify(int code);
    void OnMeasureItem(MEASUREITEMSTRUCT& item) const;
    void OnDrawItem(const DRAWITEMSTRUCT& item) const;
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    void Form_Load();
    void Drive1_Change();
    void Dir1_DblClick();
    void cmdOK_Click();
    void cmdCancel_Click();

    // Shows the drive in Drive1 and follows it with Dir1.
    void SetDrive(wchar_t letter);
    void FallBackToUsableDrive();
    // Dir1.Path = folder part on the current drive.
    void SetDirPath(const std::wstring& folder_part);
    void OpenFolder(const std::wstring& path);

    void ApplyDpi(UINT dpi);
    void SetRowHeights();
    void FocusControl(int id, bool select_all);
    void ShowMessage(const std::wstring& text) const;
    HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
    bool Ticked(int id) const { return ::IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }
    void Tick(int id, bool on) { ::CheckDlgButton(hwnd_, id, on ? BST_CHECKED : BST_UNCHECKED); }
    // The options and the sign-in entry, as OK saves them; false when a
    // write failed.
    bool SaveOptions();

    const DriveDialog& drive_dialog_;
    HWND hwnd_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    UniqueGdiObject font_;
    int row_height_ = 0;
    PixelSize client_;  // as placed at dpi_
    DriveList drive1_;
    FolderListControl dir1_;
    wchar_t drive_ = 0;  // Drive1's drive; 0 until one is shown
    bool starts_at_sign_in_ = false;  // as the dialog opened
    bool saved_ = false;
};


bool FrmSet::Show(HWND owner) {
    const ComApartment com;  // the shell's icon functions want it
    ::DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_SETTINGS), owner, DialogProcFor<FrmSet>,
                      reinterpret_cast<LPARAM>(this));
    return saved_;
}

INT_PTR FrmSet::Dispatch(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
        case WM_INITDIALOG: return OnInitDialog();
        case WM_COMMAND: OnCommand(LOWORD(wparam), HIWORD(wparam)); return TRUE;
        case WM_MEASUREITEM: OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)); return TRUE;
        case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam)); return TRUE;
        case WM_DPICHANGED: OnDpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam)); return TRUE;
        default: return FALSE;
    }
}

BOOL FrmSet::OnInitDialog() {
    TakeOverDpiChanges(hwnd_);
    dir1_.Attach(Item(IDC_DIR1));
    // The letter box sets no limit on the number of characters.
    ::SendDlgItemMessageW(hwnd_, IDC_DRIVE_LETTER, EM_SETLIMITTEXT, 0, 0);
    drive1_.Attach(Item(IDC_DRIVE1));
    ApplyDpi(::GetDpiForWindow(hwnd_));
    drive1_.Fill();
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
    if (code == CBN_CLOSEUP || (code == CBN_SELCHANGE && !drive1_.Dropped())) Drive1_Change();
}

void FrmSet::OnMeasureItem(MEASUREITEMSTRUCT& item) const {
    if (row_height_ > 0) item.itemHeight = static_cast<UINT>(row_height_);
}

void FrmSet::OnDrawItem(const DRAWITEMSTRUCT& item) const {
    if (item.CtlID == IDC_DRIVE1) drive1_.Draw(item);
    if (item.CtlID == IDC_DIR1) dir1_.Draw(item);
}

void FrmSet::OnDpiChanged(UINT dpi, const RECT& suggested) {
    ApplyDpi(dpi);
    const SIZE size = WindowSizeForClient(hwnd_, dpi_, client_);
    ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}


void FrmSet::Form_Load() {
    const DriveSettings stored = drive_dialog_.store.Read(kPathDefault, drive_dialog_.letter_fallback);
    const StoredPathParts parts = SplitStoredPath(stored.folder.text);
    const std::optional<wchar_t> letter = DriveLetterOf(parts.drive);
    SetDrive(letter ? *letter : kFallbackDrive);
    // The stored folder belongs to the stored drive only.
    if (letter && drive_ == *letter) SetDirPath(parts.folder);
    ::SetDlgItemTextW(hwnd_, IDC_DRIVE_LETTER, stored.letter.text.c_str());
    Tick(IDC_MOUNT_AT_START, OptionIsOn(stored.mount_at_start));
    starts_at_sign_in_ = StartsAtSignIn();
    Tick(IDC_START_AT_SIGN_IN, starts_at_sign_in_);
}

void FrmSet::Drive1_Change() {
    const std::optional<wchar_t> chosen = drive1_.Selected();
    if (!chosen || *chosen == drive_) return;
    const bool listed = DriveListed(*chosen);
    if (!listed || !DriveReady(*chosen)) {
        ShowMessage(listed ? DriveNotReadyMessage(*chosen) : DriveMissingMessage(*chosen));
        FallBackToUsableDrive();
        return;
    }
    drive_ = *chosen;
    SetDirPath(std::wstring());
}

void FrmSet::Dir1_DblClick() {
    if (const std::optional<std::wstring> path = dir1_.SelectedRowPath()) OpenFolder(*path);
}

void FrmSet::cmdOK_Click() {
    // The folder the user sees highlighted, not only the one opened last.
    const std::wstring folder = dir1_.SelectedRowPath().value_or(dir1_.Path());
    const std::wstring letter = WindowText(Item(IDC_DRIVE_LETTER));
    if (const std::optional<SaveRefusal> refusal = CheckSettingsToSave(
            letter, folder, FitsAnsi(folder), drive_dialog_.other_letters, LetterUseOnMachine)) {
        ShowMessage(refusal->message);
        if (refusal->field == SaveField::Letter) {
            FocusControl(IDC_DRIVE_LETTER, true);
        } else {
            FocusControl(IDC_DIR1, false);
        }
        return;
    }
    // Every write is made, whatever the ones before it returned; the
    // settings count as saved only when all of them were.
    const bool drive_saved = drive_dialog_.store.WriteLetter(letter);
    const bool path_saved = drive_dialog_.store.WriteFolder(folder);
    const bool options_saved = SaveOptions();
    saved_ = drive_saved && path_saved && options_saved;
    if (!saved_) ShowMessage(kSaveFailed);
    ::EndDialog(hwnd_, IDOK);
}

bool FrmSet::SaveOptions() {
    const bool option_saved = drive_dialog_.store.WriteMountAtStart(Ticked(IDC_MOUNT_AT_START));
    // Left as it was, the entry stays as it is, even where it names another copy.
    const bool sign_in = Ticked(IDC_START_AT_SIGN_IN);
    const bool sign_in_saved = sign_in == starts_at_sign_in_ || SetStartAtSignIn(sign_in);
    return option_saved && sign_in_saved;
}

void FrmSet::cmdCancel_Click() { ::EndDialog(hwnd_, IDCANCEL); }

void FrmSet::SetDrive(wchar_t letter) {
    if (!drive1_.Select(letter)) {
        ShowMessage(DriveMissingMessage(letter));
        FallBackToUsableDrive();
        return;
    }
    Drive1_Change();
}

// Back to the drive shown before; at the start, drive C or else the first
// drive that is ready, so that the dialog is always usable.
void FrmSet::FallBackToUsableDrive() {
    if (drive_ != 0) {
        drive1_.Select(drive_);
        return;
    }
    std::vector<wchar_t> candidates = drive1_.Letters();
    candidates.insert(candidates.begin(), kFallbackDrive);
    for (const wchar_t letter : candidates) {
        if (drive1_.Select(letter) && DriveReady(letter)) {
            drive_ = letter;
            SetDirPath(std::wstring());
            return;
        }
    }
    drive1_.Select(0);
}

void FrmSet::SetDirPath(const std::wstring& folder_part) { OpenFolder(FullPathOnDrive(drive_, folder_part)); }

// A drive that is gone leaves the list as it was.
void FrmSet::OpenFolder(const std::wstring& path) {
    if (!dir1_.Open(path)) ShowMessage(DriveNotReadyMessage(path.empty() ? drive_ : path[0]));
}

void FrmSet::ApplyDpi(UINT dpi) {
    dpi_ = dpi == 0 ? USER_DEFAULT_SCREEN_DPI : dpi;
    UniqueGdiObject font = CreateDialogFont(dpi_);
    dir1_.ApplyDpi(dpi_, font.get());
    drive1_.ApplyDpi(dpi_, font.get());
    for (HWND child = ::GetWindow(hwnd_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    }
    // Only now that no control holds the old font any more may it go.
    font_ = std::move(font);
    SetRowHeights();
    client_ = PlaceControls(hwnd_, dpi_, row_height_, drive1_.WidestRow());
    const SIZE size = WindowSizeForClient(hwnd_, dpi_, client_);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrmSet::SetRowHeights() {
    row_height_ = ListRowHeight(hwnd_, font_.get(), dpi_);
    ::SendDlgItemMessageW(hwnd_, IDC_DIR1, LB_SETITEMHEIGHT, 0, row_height_);
    ::SendDlgItemMessageW(hwnd_, IDC_DRIVE1, CB_SETITEMHEIGHT, 0, row_height_);
}

void FrmSet::FocusControl(int id, bool select_all) {
    ::SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
    if (select_all) ::SendDlgItemMessageW(hwnd_, id, EM_SETSEL, 0, -1);
}

void FrmSet::ShowMessage(const std::wstring& text) const { ShowAppMessage(hwnd_, text); }

}  // namespace

bool ShowSettingsDialog(HWND owner, const DriveDialog& drive) {
    FrmSet dialog(drive);
    return dialog.Show(owner);
}

}  // namespace orvanel
