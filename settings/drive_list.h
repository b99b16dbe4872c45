// `Drive1`: the owner-drawn drop-down list of the machine's drives, each
// with its shell icon and volume name.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "handles.h"

namespace orvanel {

class DriveList {
public:
    // Takes the combo box and the drives the machine has now.
    void Attach(HWND combo);
    // The dialog's font, which outlives the list, and icons sized for `dpi`;
    // the open list as wide as the longest row needs at that DPI.
    void ApplyDpi(UINT dpi, HGDIOBJ font);
    // One row per drive.
    void Fill();
    // The width the widest drive's icon and text take in a row.
    int WidestRow() const;
    void Draw(const DRAWITEMSTRUCT& item) const;

    bool Dropped() const;
    std::vector<wchar_t> Letters() const;
    // The drive shown; nullopt when none is.
    std::optional<wchar_t> Selected() const;
    // Shows the drive; false, and no drive shown, when it isn't listed.
    bool Select(wchar_t letter);

private:
    struct Entry {
        wchar_t letter;
        std::wstring text;  // "C: [System]", or "C:" without a volume name
        UniqueIcon icon;
    };

    HWND combo_ = nullptr;
    std::vector<Entry> drives_;
    HGDIOBJ font_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
};

}  // namespace orvanel
