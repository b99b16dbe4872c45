#include "settings_rules.h"

#include <algorithm>

#include "mount_state.h"

namespace orvanel {
namespace {

constexpr std::size_t kDrivePartLength = 2;  // "D:"

bool IsAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

wchar_t Upper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

std::wstring DriveName(wchar_t letter) { return std::wstring(1, Upper(letter)) + L":"; }

bool SameLetter(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i])) return false;
    }
    return true;
}

bool HasLetter(const std::vector<std::wstring>& drives, std::wstring_view letter) {
    return std::any_of(drives.begin(), drives.end(), [&](const std::wstring& d) { return SameLetter(d, letter); });
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// The form two paths of one file share: separators as one backslash, the
// letters A to Z upper case, no trailing separator.
std::wstring PathKey(std::wstring_view path) {
    std::wstring key;
    for (const wchar_t c : path) {
        if (!IsSeparator(c)) {
            key += Upper(c);
        } else if (key.empty() || key.back() != L'\\' || key.size() == 1) {
            key += L'\\';  // "\\server" keeps both of its leading ones
        }
    }
    if (key.size() > 3 && key.back() == L'\\') key.pop_back();
    return key;
}

// "C:\..." or "\\server\share\...".
bool IsFullPath(std::wstring_view path) {
    if (path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == L':' && IsSeparator(path[2])) return true;
    return path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2]);
}

std::wstring WithExeAdded(std::wstring_view path) {
    const std::size_t name = path.find_last_of(L"\\/") + 1;
    const bool has_extension = path.find(L'.', name) != std::wstring_view::npos;
    return std::wstring(path) + (has_extension ? L"" : L".exe");
}

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
    const std::vector<std::wstring>& other_drives, const std::function<LetterUse(wchar_t letter)>& use_of) {
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
    if (HasLetter(other_drives, letter_text)) {
        return SaveRefusal{SaveField::Letter, L"Drive " + DriveName(letter) +
                                                  L" is already another of Orvanel's drives. Type a "
                                                  L"letter that is not a drive yet."};
    }
    const LetterUse use = use_of(Upper(letter));
    if (use.exists && !MappingNamesFolder(use.target, folder)) {
        return SaveRefusal{SaveField::Letter, L"Drive " + DriveName(letter) +
                                                  L" is already in use. Type a letter that is not "
                                                  L"a drive yet."};
    }
    return std::nullopt;
}

wchar_t NextFreeLetter(const std::vector<std::wstring>& drives, const std::function<bool(wchar_t letter)>& in_use) {
    // A, B and C are the floppies' and the system's by long habit.
    for (wchar_t letter = L'Z'; letter >= L'D'; --letter) {
        if (!HasLetter(drives, std::wstring(1, letter)) && !in_use(letter)) return letter;
    }
    return L'Z';
}

std::vector<bool> LetterClashes(const std::vector<std::wstring>& letters) {
    std::vector<bool> clashes;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const std::vector<std::wstring> earlier(letters.begin(), letters.begin() + static_cast<std::ptrdiff_t>(i));
        clashes.push_back(HasLetter(earlier, letters[i]));
    }
    return clashes;
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

MountRefusal LetterClashRefusal(std::wstring_view letter) {
    const std::wstring drive = letter.size() == 1 ? DriveName(letter[0]) : std::wstring(letter) + L":";
    return MountRefusal{L"A drive earlier in Orvanel's menu has the letter " + drive +
                        L" already, so this one is not used. Choose another letter for it in Settings."};
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

bool SamePath(std::wstring_view a, std::wstring_view b) { return PathKey(a) == PathKey(b); }

bool CommandStartsProgram(std::wstring_view command_line, const std::wstring& program,
                          const RealFileOf& real_file) {
    std::vector<std::wstring_view> candidates;
    const std::size_t closing = command_line.find(L'"', 1);
    if (!command_line.empty() && command_line[0] == L'"' && closing != std::wstring_view::npos) {
        candidates.push_back(command_line.substr(1, closing - 1));
    } else {
        // An opening quote without its closing one is a character of the name.
        for (std::size_t blank = command_line.find_first_of(L" \t"); blank != std::wstring_view::npos;
             blank = command_line.find_first_of(L" \t", blank + 1)) {
            candidates.push_back(command_line.substr(0, blank));
        }
        candidates.push_back(command_line);
    }
    const std::wstring self = real_file(program).value_or(program);
    for (const std::wstring_view candidate : candidates) {
        if (!IsFullPath(candidate)) return false;
        if (const std::optional<std::wstring> file = real_file(WithExeAdded(candidate))) return SamePath(*file, self);
    }
    return false;
}

}  // namespace orvanel
