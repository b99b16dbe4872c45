#include "drive_list.h"

#include <algorithm>

#include "drives.h"
#include "icon_rows.h"
#include "twips.h"

namespace orvanel {
namespace {

std::wstring VolumeName(wchar_t letter) {
    QuietDriveErrors quiet;
    wchar_t name[MAX_PATH + 1] = L"";
    if (!::GetVolumeInformationW(RootOf(letter).c_str(), name, MAX_PATH + 1, nullptr, nullptr,
                                 nullptr, nullptr, 0)) {
        return std::wstring();
    }
    return name;
}

std::wstring DriveText(wchar_t letter) {
    std::wstring text{letter, L':'};
    const std::wstring volume = VolumeName(letter);
    if (!volume.empty()) text += L" [" + volume + L"]";
    return text;
}

}  // namespace

void DriveList::Attach(HWND combo) {
    combo_ = combo;
    drives_.clear();
    const DWORD present = ::GetLogicalDrives();
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        if (DriveInMask(present, letter)) drives_.push_back({letter, DriveText(letter), UniqueIcon()});
    }
}

void DriveList::ApplyDpi(UINT dpi, HGDIOBJ font) {
    dpi_ = dpi;
    font_ = font;
    const int size = ScaleForDpi(kIconSize, dpi_);
    for (Entry& drive : drives_) drive.icon = LoadShellIcon(RootOf(drive.letter), 0, size);
    // Inside the open list's border, beside its scroll bar should it need one.
    const int open_width = WidestRow() + 2 * ::GetSystemMetricsForDpi(SM_CXBORDER, dpi_) +
                           ::GetSystemMetricsForDpi(SM_CXVSCROLL, dpi_);
    ::SendMessageW(combo_, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(open_width), 0);
}

void DriveList::Fill() {
    ::SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
    for (const Entry& drive : drives_) {
        ::SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(drive.text.c_str()));
    }
}

// As DrawIconRow lays a row out: margin, icon, gap, the text (a pixel in)
// and a gap after it, which the selection's highlight covers.
int DriveList::WidestRow() const {
    int widest = 0;
    const MeasuringDc dc(combo_, font_);
    for (const Entry& drive : drives_) widest = std::max(widest, TextWidth(dc.get(), drive.text));
    return ScaleForDpi(kRowMargin, dpi_) + ScaleForDpi(kIconSize, dpi_) + 2 * ScaleForDpi(kIconGap, dpi_) +
           ScaleForDpi(1, dpi_) + widest;
}

void DriveList::Draw(const DRAWITEMSTRUCT& item) const {
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= drives_.size()) {
        ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_WINDOW));
        return;
    }
    const Entry& drive = drives_[item.itemID];
    DrawIconRow(item, 0, drive.icon.get(), drive.text, font_, dpi_);
}

bool DriveList::Dropped() const { return ::SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0) != 0; }

std::vector<wchar_t> DriveList::Letters() const {
    std::vector<wchar_t> letters;
    for (const Entry& drive : drives_) letters.push_back(drive.letter);
    return letters;
}

std::optional<wchar_t> DriveList::Selected() const {
    const LRESULT index = ::SendMessageW(combo_, CB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<std::size_t>(index) >= drives_.size()) return std::nullopt;
    return drives_[static_cast<std::size_t>(index)].letter;
}

bool DriveList::Select(wchar_t letter) {
    const auto found = std::find_if(drives_.begin(), drives_.end(),
                                    [&](const Entry& d) { return d.letter == letter; });
    const WPARAM index = found == drives_.end() ? static_cast<WPARAM>(-1)
                                                : static_cast<WPARAM>(found - drives_.begin());
    ::SendMessageW(combo_, CB_SETCURSEL, index, 0);
    return Selected() == letter;
}

}  // namespace orvanel
