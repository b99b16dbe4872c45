#include "settings_placement.h"

#include <algorithm>
#include <iterator>

#include "icon_rows.h"
#include "resource.h"
#include "settings_layout.h"

namespace orvanel {
namespace {

constexpr wchar_t kFontFace[] = L"MS Shell Dlg";
constexpr int kFontPoints = 8;
constexpr int kPointsPerInch = 72;
constexpr int kRowPadding = 1;   // design pixels added to the taller of icon and text
constexpr int kDroppedRows = 8;  // drives the open drive list shows at once

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

// A closed drop-down list is as high as its selection field and its frame.
// The frame is measured, since what CB_GETITEMHEIGHT reports for the field
// differs between systems, and the field sized to give the wanted height.
void FitClosedHeight(HWND combo, int height, int row_height) {
    ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), row_height);
    RECT closed{};
    ::GetWindowRect(combo, &closed);
    const int frame = (closed.bottom - closed.top) - row_height;
    ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(1, height - frame));
}

}  // namespace

UniqueGdiObject CreateDialogFont(UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = -::MulDiv(kFontPoints, static_cast<int>(dpi), kPointsPerInch);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    std::copy(std::begin(kFontFace), std::end(kFontFace), font.lfFaceName);
    return UniqueGdiObject(::CreateFontIndirectW(&font));
}

int ListRowHeight(HWND dialog, HGDIOBJ font, UINT dpi) {
    const MeasuringDc dc(dialog, font);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.get(), &metrics);
    return std::max(ScaleForDpi(kIconSize, dpi), static_cast<int>(metrics.tmHeight)) +
           ScaleForDpi(kRowPadding, dpi);
}

void PlaceControls(HWND dialog, UINT dpi, int row_height) {
    for (const PlacedControl& placed : kSettingsLayout) {
        const PixelRect r = ToPixels(placed.twips, dpi);
        const HWND control = ::GetDlgItem(dialog, ControlId(placed.control));
        int height = r.bottom - r.top;
        if (placed.control == SettingsControl::Drive1) {
            FitClosedHeight(control, height, row_height);
            height += kDroppedRows * row_height;  // a combo box's height includes its open list
        }
        ::SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

SIZE WindowSizeForClient(HWND dialog, UINT dpi) {
    const PixelRect client = ToPixels(kSettingsClient, dpi);
    RECT frame{0, 0, client.right, client.bottom};
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_STYLE));
    const auto ex_style = static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_EXSTYLE));
    ::AdjustWindowRectExForDpi(&frame, style, FALSE, ex_style, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}


}  // namespace orvanel
