#include "settings_rules.h"

#include <algorithm>

#include "mount_state.h"

namespace orvanel {
namespace {

constexpr std::size_t kDrivePartLength = 2;  // "D:"

bool IsAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

wchar_t Upper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

std::wstring DriveName(wchar_t letter) { return std::wstring(1, Upper(letter)) + L":"; }

bool IsDamaged(const StoredSetting& setting) {
    if (setting.status == ReadStatus::Failed) return true;
    return std::any_of(setting.text.begin(), setting.text.end(),
                       [](wchar_t c) { return c < L' ' || c == L'\x7F'; });
}

}  // namespace

StoredPathParts SplitStoredPath(std::wstring_view path) {
    const std::wstring_view drive = path.substr(0, kDrivePartLength);
    const std::wstring_view folder = path.size() > kDrivePartLength ? path.substr(kDrivePartLength)
                                                                    : std::wstring_view();
    return {std::wstring(drive), std::wstring(folder)};
}

std::optional<wchar_t> DriveLetterOf(std::wstring_view drive_part) {
    if (drive_part.empty() || drive_part.size() > kDrivePartLength) return std::nullopt;
    if (!IsAsciiLetter(drive_part[0])) return std::nullopt;
    if (drive_part.size() == kDrivePartLength && drive_part[1] != L':') return std::nullopt;
    return Upper(drive_part[0]);
}

bool IsDriveLetterText(std::wstring_view text) { return text.size() == 1 && IsAsciiLetter(text[0]); }

std::optional<SaveRefusal> CheckSettingsToSave(
    std::wstring_view letter_text, std::wstring_view folder, bool folder_fits_ansi,
    const std::function<LetterUse(wchar_t letter)>& use_of) {
    if (!IsDriveLetterText(letter_text)) {
        return SaveRefusal{SaveField::Letter,
                           L"Type one drive letter from A to Z, without a colon (for example Z)."};
    }
    if (!folder_fits_ansi) {
        return SaveRefusal{SaveField::Folder,
                           L"The folder's path has characters that Windows cannot store in the "
                           L"settings. Choose a folder whose path has none of them."};
    }
    if (folder.size() > kMaxMappedFolderLength) {
        return SaveRefusal{SaveField::Folder,
                           L"The folder's path is longer than subst.exe can map (at most " +
                               std::to_wstring(kMaxMappedFolderLength) +
                               L" characters). Choose a folder with a shorter path."};
    }
    const wchar_t letter = letter_text[0];
    const LetterUse use = use_of(Upper(letter));
    if (use.exists && !MappingNamesFolder(use.target, folder)) {
        return SaveRefusal{SaveField::Letter, L"Drive " + DriveName(letter) +
                                                  L" is already in use. Type a letter that is not "
                                                  L"a drive yet."};
    }
    return std::nullopt;
}

std::wstring DriveMissingMessage(wchar_t letter) {
    return L"Drive " + DriveName(letter) + L" does not exist.";
}

std::wstring DriveNotReadyMessage(wchar_t letter) {
    return L"Drive " + DriveName(letter) + L" is not ready.";
}

std::optional<MountRefusal> CheckMountSettings(const StoredSetting& letter,
                                               const StoredSetting& folder) {
    if (IsDamaged(letter)) {
        return MountRefusal{L"The drive letter stored in Orvanel's settings is damaged. "
                            L"Choose the drive letter again in Settings."};
    }
    if (IsDamaged(folder)) {
        return MountRefusal{L"The folder stored in Orvanel's settings is damaged. "
                            L"Choose the folder again in Settings."};
    }
    return std::nullopt;
}

bool OptionIsOn(const StoredSetting& stored) {
    return stored.status == ReadStatus::Read && stored.text == kOptionOn;
}

bool TurnedOffByWindows(const std::optional<std::vector<std::uint8_t>>& mark) {
    return mark && !mark->empty() && ((*mark)[0] & 1u) != 0;
}

std::wstring SignInCommand(std::wstring_view program_path) {
    return L"\"" + std::wstring(program_path) + L"\"";
}

}  // namespace orvanel
