#include "folder_list_control.h"

#include <shellapi.h>

#include <vector>

#include "drives.h"
#include "icon_rows.h"
#include "twips.h"

namespace orvanel {
namespace {

constexpr int kIndentStep = 10;  // design pixels for one folder level

struct FindTraits {
    using Handle = HANDLE;
    static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::FindClose(h); }
};
using UniqueFind = Unique<FindTraits>;

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

// What the list box keeps of the rows' texts, their terminators included.
LPARAM TextBytes(const std::vector<FolderRow>& rows) {
    std::size_t bytes = 0;
    for (const FolderRow& row : rows) bytes += (row.text.size() + 1) * sizeof(wchar_t);
    return static_cast<LPARAM>(bytes);
}

// Any ordinary folder shows the shell's folder icons; the Windows folder
// is always there.
std::wstring OrdinaryFolder() {
    wchar_t windows[MAX_PATH + 1] = L"";
    const UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH + 1);
    return length > 0 && length <= MAX_PATH ? std::wstring(windows) : std::wstring(L"C:\\");
}

// The list box's own procedure, which Attach keeps in the list's user data.
LRESULT ListBoxProc(HWND list, UINT msg, WPARAM wparam, LPARAM lparam) {
    const auto own = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(list, GWLP_USERDATA));
    return ::CallWindowProcW(own, list, msg, wparam, lparam);
}

LRESULT OnGetDlgCode(HWND list, WPARAM wparam, LPARAM lparam) {
    const LRESULT code = ListBoxProc(list, WM_GETDLGCODE, wparam, lparam);
    const auto* msg = reinterpret_cast<const MSG*>(lparam);
    if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
        return code | DLGC_WANTMESSAGE;
    }
    return code;
}

LRESULT OnKeyDown(HWND list, WPARAM wparam, LPARAM lparam) {
    if (wparam != VK_RETURN) return ListBoxProc(list, WM_KEYDOWN, wparam, lparam);
    ::SendMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_DBLCLK),
                   reinterpret_cast<LPARAM>(list));
    return 0;
}

LRESULT CALLBACK EnterKeyProc(HWND list, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
        case WM_GETDLGCODE: return OnGetDlgCode(list, wparam, lparam);
        case WM_KEYDOWN: return OnKeyDown(list, wparam, lparam);
        default: return ListBoxProc(list, msg, wparam, lparam);
    }
}

}  // namespace

// A window procedure of our own in front of the list box's, not
// SetWindowSubclass: comctl32 looks a subclass chain up in a window property
// three times for every message, a round trip to the server each where
// properties live out of process (Wine), and filling the list sends a
// message per row. The list's own procedure goes into its user data first,
// so that no message finds ours without it.
void FolderListControl::Attach(HWND list) {
    list_ = list;
    ::SetWindowLongPtrW(list_, GWLP_USERDATA, ::GetWindowLongPtrW(list_, GWLP_WNDPROC));
    ::SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EnterKeyProc));
}

void FolderListControl::ApplyDpi(UINT dpi, HGDIOBJ font) {
    dpi_ = dpi;
    font_ = font;
    const int size = ScaleForDpi(kIconSize, dpi_);
    const std::wstring folder = OrdinaryFolder();
    open_icon_ = LoadShellIcon(folder, SHGFI_OPENICON, size);
    closed_icon_ = LoadShellIcon(folder, 0, size);
}

void FolderListControl::Draw(const DRAWITEMSTRUCT& item) const {
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= folders_.rows.size()) {
        ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_WINDOW));
        if (item.itemState & ODS_FOCUS) ::DrawFocusRect(item.hDC, &item.rcItem);
        return;
    }
    const FolderRow& row = folders_.rows[item.itemID];
    const HICON icon = row.icon == FolderIcon::Open ? open_icon_.get() : closed_icon_.get();
    DrawIconRow(item, row.level * ScaleForDpi(kIndentStep, dpi_), icon, row.text, font_, dpi_);
}

bool FolderListControl::Open(const std::wstring& path) {
    const std::optional<std::wstring> folder = NearestExistingFolder(path, FolderExists);
    if (!folder) return false;
    path_ = *folder;
    folders_ = BuildFolderList(path_, SubfolderNames(path_));
    Fill();
    return true;
}

std::optional<std::wstring> FolderListControl::SelectedRowPath() const {
    const LRESULT row = ::SendMessageW(list_, LB_GETCURSEL, 0, 0);
    if (row < 0 || static_cast<std::size_t>(row) >= folders_.rows.size()) return std::nullopt;
    return folders_.rows[static_cast<std::size_t>(row)].path;
}

void FolderListControl::Fill() {
    ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    // Room for all the rows at once, rather than grown as they come.
    ::SendMessageW(list_, LB_INITSTORAGE, folders_.rows.size(), TextBytes(folders_.rows));
    for (const FolderRow& row : folders_.rows) {
        ::SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.text.c_str()));
    }
    ::SendMessageW(list_, LB_SETCURSEL, folders_.current, 0);
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, TRUE);
}

}  // namespace orvanel
