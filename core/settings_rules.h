// What the settings dialog accepts: how a stored folder is taken apart for
// the two lists, and the checks made before anything is saved.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orvanel {

// subst.exe maps a folder only when its full path, with the terminating NUL,
// fits a MAX_PATH (260) buffer; a longer one is refused before it is stored.
constexpr std::size_t kMaxMappedFolderLength = 259;

// The stored "Path" as the dialog opens it: the drive list gets its first two
// characters, the folder list the rest. "D:\Data\Work" -> "D:" and
// "\Data\Work"; "C" (nothing stored) -> "C" and "".
struct StoredPathParts {
    std::wstring drive;
    std::wstring folder;
};
StoredPathParts SplitStoredPath(std::wstring_view path);

// The upper-case letter a drive part names ("D:", "d", "C"); nullopt when it
// names no drive ("", "\\", "1:", "D?").
std::optional<wchar_t> DriveLetterOf(std::wstring_view drive_part);

// Exactly one letter A to Z, in either case, and nothing else.
bool IsDriveLetterText(std::wstring_view text);

// What is known about a drive letter on this machine.
struct LetterUse {
    bool exists = false;     // a disk, removable or network drive, or a mapping
    std::wstring target;     // its device target as QueryDosDevice reports it
};

enum class SaveField { Letter, Folder };

struct SaveRefusal {
    SaveField field;       // where the focus goes so the user can fix it
    std::wstring message;  // names what is expected
};

// Checked in this order: the letter's form, the folder's characters, the
// folder's length, then whether the letter is free. A letter that already
// maps to the chosen folder counts as free. nullopt: both may be saved.
std::optional<SaveRefusal> CheckSettingsToSave(
    std::wstring_view letter_text, std::wstring_view folder, bool folder_fits_ansi,
    const std::function<LetterUse(wchar_t letter)>& use_of);

// Short messages for a drive that can't be shown.
std::wstring DriveMissingMessage(wchar_t letter);
std::wstring DriveNotReadyMessage(wchar_t letter);

}  // namespace orvanel
