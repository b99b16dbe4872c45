// `Dir1`: the owner-drawn list of folders from a drive's root down to the
// current folder and its subfolders, as the core's folder list lays them out.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "folder_list.h"
#include "handles.h"

namespace orvanel {

class FolderListControl {
public:
    // Takes the list box; from then on Enter in it opens the selected folder
    // by sending the dialog LBN_DBLCLK, as a double click does, instead of
    // pressing OK.
    void Attach(HWND list);
    // The dialog's font, which outlives the list, and icons sized for `dpi`.
    void ApplyDpi(UINT dpi, HGDIOBJ font);
    void Draw(const DRAWITEMSTRUCT& item) const;

    // `Dir1.Path`: the current folder; empty until one is open.
    const std::wstring& Path() const { return path_; }
    // Makes the folder current, or its nearest existing parent when it is
    // gone; false, and the list as it was, when not even the root exists.
    bool Open(const std::wstring& path);
    // What opening the selected row makes the current folder.
    std::optional<std::wstring> SelectedRowPath() const;

private:
    void Fill();

    HWND list_ = nullptr;
    std::wstring path_;
    FolderListModel folders_{};
    UniqueIcon open_icon_;
    UniqueIcon closed_icon_;
    HGDIOBJ font_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
};

}  // namespace orvanel
