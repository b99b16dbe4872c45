// The rules for the stored settings: how a stored folder is taken apart for
// the dialog's two lists, the checks made before anything is saved, whether
// the stored values may be handed to subst.exe, and the two start-up options.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "value_store.h"

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
// folder's length, whether another of Orvanel's drives has the letter
// (`other_drives`: their letters as stored), then whether the letter is
// free on the machine. A letter that already maps to the chosen folder
// counts as free. nullopt: both may be saved.
std::optional<SaveRefusal> CheckSettingsToSave(
    std::wstring_view letter_text, std::wstring_view folder, bool folder_fits_ansi,
    const std::vector<std::wstring>& other_drives, const std::function<LetterUse(wchar_t letter)>& use_of);

// The letter a new drive is offered: from Z down, the first that neither
// another of Orvanel's drives nor the machine uses; Z when none is left.
wchar_t NextFreeLetter(const std::vector<std::wstring>& drives, const std::function<bool(wchar_t letter)>& in_use);

// For each drive, whether an earlier one in the menu has its letter
// (either case): only the first of them may be used.
std::vector<bool> LetterClashes(const std::vector<std::wstring>& letters);

// Short messages for a drive that can't be shown.
std::wstring DriveMissingMessage(wchar_t letter);
std::wstring DriveNotReadyMessage(wchar_t letter);

struct MountRefusal {
    std::wstring message;  // for a message box: which setting, and what to do
};

// A letter or folder that could not be read, or that holds a control
// character (below U+0020, or U+007F), is damaged: nothing may be started.
// A NUL in particular would cut the command line short, so that subst would
// map another folder than the one the mapping is compared with. Odd but
// printable values (a lower-case letter, several letters, an empty letter
// or folder) are used as stored: subst itself answers those. A Missing
// setting stands for its default and is used. nullopt: mount with them.
std::optional<MountRefusal> CheckMountSettings(const StoredSetting& letter,
                                               const StoredSetting& folder);
// A drive whose letter an earlier one has.
MountRefusal LetterClashRefusal(std::wstring_view letter);

// "Mount the drive when Orvanel starts" is stored as "1" when ticked;
// anything else, or nothing at all, means off.
constexpr wchar_t kOptionOn[] = L"1";
constexpr wchar_t kOptionOff[] = L"0";
bool OptionIsOn(const StoredSetting& stored);

// Windows' Startup apps page keeps a mark beside a Run value it turned off:
// binary data whose first byte is odd. No mark, or an even first byte, leaves
// the value in effect.
bool TurnedOffByWindows(const std::optional<std::vector<std::uint8_t>>& mark);

// The Run value that starts the program at sign-in: its full path, quoted.
std::wstring SignInCommand(std::wstring_view program_path);

// Whether two full paths name the same file as Windows reads them: A to Z
// in either case alike, / and \ alike, a run of them as one, and a trailing
// one ignored. Other letters are compared as spelt: the caller hands paths
// spelt as the file system holds them.
bool SamePath(std::wstring_view a, std::wstring_view b);

// A full path's file spelt as the file system holds it (its long names, its
// letters' case), or nullopt when no file is there.
using RealFileOf = std::function<std::optional<std::wstring>(const std::wstring& path)>;

// Whether a Run command line (environment strings expanded) starts
// `program`, this copy's full path. The program is read from the command
// line as CreateProcess reads it: a first word in quotes (both of them) is
// the program, whatever follows; an unquoted one is tried up to each blank,
// then whole, and the first that names a file is started. ".exe" is added
// to a name without an extension. A program not named by a full path (a
// drive or a network share) never counts: Windows looks for it along a
// search path.
bool CommandStartsProgram(std::wstring_view command_line, const std::wstring& program,
                          const RealFileOf& real_file);

}  // namespace orvanel
