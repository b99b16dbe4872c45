#include "drive_menu.h"

#include "drive_layout.h"
#include "settings_rules.h"
#include "tray_tip.h"

namespace orvanel {
namespace {

constexpr std::size_t kTipRoom = kTipFieldSize - 1;  // the NUL takes the last byte

// "D:\Data\Website" -> "Website"; a drive's root stays whole ("D:\").
std::wstring LastPart(std::wstring_view folder) {
    while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) folder.remove_suffix(1);
    const std::size_t slash = folder.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos || slash + 1 == folder.size()) return std::wstring(folder);
    return std::wstring(folder.substr(slash + 1));
}

// The letter as the user knows it: upper case; what is not a letter shows
// as a question mark, never as a control character.
std::wstring ShownLetter(std::wstring_view letter) {
    if (const std::optional<wchar_t> upper = DriveLetterOf(letter); upper && letter.size() == 1) {
        return std::wstring(1, *upper);
    }
    return L"?";
}

std::wstring MenuText(std::wstring_view text) {
    std::wstring escaped;
    for (const wchar_t c : text) escaped += c == L'&' ? std::wstring(L"&&") : std::wstring(1, c);
    return escaped;
}

bool Mounted(const DriveView& drive) { return drive.shown == MountState::Mounted; }

}  // namespace

std::wstring DriveLabel(const DriveView& drive) {
    std::wstring label = ShownLetter(drive.letter) + L":";
    if (!drive.folder.empty()) label += L"  " + LastPart(drive.folder);
    return label;
}

OneDriveMenu MenuForOneDrive(const DriveView& drive) {
    const TrayLook look = LookOf(drive.shown);
    return {{std::wstring(look.caption), drive.mountable}, look.settings_enabled, drive.mountable};
}

SeveralDrivesMenu MenuForDrives(const std::vector<DriveView>& drives) {
    SeveralDrivesMenu menu;
    menu.add_enabled = drives.size() < kMostDrives;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        const DriveView& drive = drives[i];
        const std::wstring label = MenuText(DriveLabel(drive));
        menu.mounts.push_back({std::wstring(LookOf(drive.shown).caption) + L" " + label, drive.mountable});
        menu.settings.push_back({label + L"...", !Mounted(drive)});
        if (Mounted(drive)) continue;
        menu.removable.push_back(i);
        menu.removals.push_back({label, true});
    }
    return menu;
}

MountState OverallState(const std::vector<DriveView>& drives) {
    for (const DriveView& drive : drives) {
        if (Mounted(drive)) return MountState::Mounted;
    }
    return MountState::Unmounted;
}

std::string TrayTip(const std::vector<DriveView>& drives) {
    if (drives.size() == 1) return std::string(LookOf(drives[0].shown).tip);
    std::string tip;
    std::size_t mounted = 0;
    for (const DriveView& drive : drives) {
        if (!tip.empty()) tip += ", ";
        const std::wstring letter = ShownLetter(drive.letter);
        tip += std::string(1, static_cast<char>(letter[0])) + (Mounted(drive) ? ": mounted" : ": unmounted");
        if (Mounted(drive)) ++mounted;
    }
    if (tip.size() > kTipRoom) {
        tip = std::to_string(mounted) + " of " + std::to_string(drives.size()) + " drives mounted";
    }
    return tip + '\0';
}

std::wstring NamingDrive(const std::vector<DriveView>& drives, std::size_t index, std::wstring_view message) {
    if (drives.size() < 2 || index >= drives.size()) return std::wstring(message);
    return DriveLabel(drives[index]) + L"\r\n" + std::wstring(message);
}

std::wstring RemoveDriveQuestion(const DriveView& drive) {
    return L"Remove the drive " + DriveLabel(drive) + L" from Orvanel?\r\nThe folder " + drive.folder +
           L" and its files stay as they are.";
}

}  // namespace orvanel
