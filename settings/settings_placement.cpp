#include "settings_placement.h"

#include <algorithm>
#include <iterator>

#include "icon_rows.h"
#include "resource.h"
#include "settings_layout.h"
#include "twips.h"
#include "text_room.h"

namespace orvanel {
namespace {

constexpr wchar_t kFontFace[] = L"MS Shell Dlg";
constexpr int kFontPoints = 8;
constexpr int kPointsPerInch = 72;
constexpr int kRowPadding = 1;   // design pixels added to the taller of icon and text
constexpr int kDroppedRows = 8;  // drives the open drive list shows at once
// The widest letter the letter box is meant to show in full.
constexpr wchar_t kWidestLetter[] = L"W";
// Design pixels between the label's text and the letter box beside it.
constexpr int kLabelGap = 6;

int ControlId(SettingsControl control) {
    switch (control) {
        case SettingsControl::Drive1: return IDC_DRIVE1;
        case SettingsControl::Label1: return IDC_LABEL1;
        case SettingsControl::TxtDriveLetter: return IDC_DRIVE_LETTER;
        case SettingsControl::Dir1: return IDC_DIR1;
        case SettingsControl::ChkMountAtStart: return IDC_MOUNT_AT_START;
        case SettingsControl::ChkStartAtSignIn: return IDC_START_AT_SIGN_IN;
        case SettingsControl::CmdOK: return IDOK;
        case SettingsControl::CmdCancel: return IDCANCEL;
    }
    return 0;
}

// What a closed drop-down list adds to its selection field's height. It is
// measured, since what CB_GETITEMHEIGHT reports for the field differs
// between systems.
int ClosedFrame(HWND combo, int row_height) {
    ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), row_height);
    RECT closed{};
    ::GetWindowRect(combo, &closed);
    return (closed.bottom - closed.top) - row_height;
}

// The closed drive list: its frame and button beside a selection field that
// shows the widest drive's row, and a line of text, inside the pixel the
// list keeps clear around the field (the icon shrinks to the field).
PixelSize DriveListNeed(HWND combo, int row_height, int drive_row) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    RECT window{};
    ::GetWindowRect(combo, &window);
    int beside_field = 0;
    if (::GetComboBoxInfo(combo, &info)) {
        beside_field = (window.right - window.left) - (info.rcItem.right - info.rcItem.left) + 2;
    }
    const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageW(combo, WM_GETFONT, 0, 0));
    const int line = TextSize(combo, font, L"C:", DT_SINGLELINE).height;
    return {drive_row + beside_field, line + 2 + ClosedFrame(combo, row_height)};
}

SettingsNeeds MeasureNeeds(HWND dialog, UINT dpi, int row_height, int drive_row) {
    SettingsNeeds needs{};
    for (std::size_t i = 0; i < kSettingsLayout.size(); ++i) {
        const HWND control = ::GetDlgItem(dialog, ControlId(kSettingsLayout[i].part));
        const PixelRect designed = ToPixels(kSettingsLayout[i].twips, dpi);
        switch (kSettingsLayout[i].part) {
            case SettingsControl::Drive1: needs[i] = DriveListNeed(control, row_height, drive_row); break;
            case SettingsControl::Label1:
                needs[i] = LabelNeed(control, designed.right - designed.left);
                needs[i].width += ScaleForDpi(kLabelGap, dpi);
                break;
            case SettingsControl::TxtDriveLetter: needs[i] = EditNeed(control, kWidestLetter); break;
            case SettingsControl::Dir1: break;  // its rows are the user's folders, cut with an ellipsis
            case SettingsControl::ChkMountAtStart:
            case SettingsControl::ChkStartAtSignIn: needs[i] = CheckBoxNeed(control, dpi); break;
            case SettingsControl::CmdOK:
            case SettingsControl::CmdCancel: needs[i] = ButtonNeed(control, dpi); break;
        }
    }
    return needs;
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

PixelSize PlaceControls(HWND dialog, UINT dpi, int row_height, int drive_row) {
    const SettingsNeeds needs = MeasureNeeds(dialog, dpi, row_height, drive_row);
    const SettingsPlacement placement = FitSettingsLayout(dpi, needs, {CaptionClientWidth(dialog, dpi), 0});
    for (std::size_t i = 0; i < kSettingsLayout.size(); ++i) {
        const PixelRect& r = placement.boxes[i];
        const HWND control = ::GetDlgItem(dialog, ControlId(kSettingsLayout[i].part));
        int height = r.bottom - r.top;
        if (kSettingsLayout[i].part == SettingsControl::Drive1) {
            // The field's height that gives the closed list the placed height.
            const int field = std::max(1, height - ClosedFrame(control, row_height));
            ::SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
            height += kDroppedRows * row_height;  // a combo box's height includes its open list
        }
        ::SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return placement.client;
}

}  // namespace orvanel
