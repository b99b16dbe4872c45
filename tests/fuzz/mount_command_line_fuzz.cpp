// The mount command line, given any stored folder: whatever the mount rule
// lets through must reach subst.exe as exactly the letter and the folder.
#include "command_lines.h"
#include "fuzz_input.h"
#include "settings_rules.h"
#include "../core/split_arguments.h"

void orvanel::FuzzOne(FuzzInput& input) {
    const wchar_t* const letters[] = {L"X", L"x", L"xy", L""};
    const std::wstring letter = letters[input.Byte() % 4];
    const std::wstring folder = input.RestAsText();

    const std::wstring drive = DriveSpecFor(letter);
    const std::vector<std::wstring> arguments = SplitArguments(MountCommandLine(drive, folder));
    const bool usable = !CheckMountSettings({ReadStatus::Read, letter}, {ReadStatus::Read, folder});
    if (folder.find(L'\0') == std::wstring::npos)
        Require(arguments == std::vector<std::wstring>{drive, folder}, "the folder splits back whole");
    else
        Require(!usable, "a folder the command line would cut short is refused");
    Require(SplitArguments(UnmountCommandLine(drive)) == std::vector<std::wstring>{drive, L"/d"},
            "the unmount line splits back");
    (void)SplitArguments(folder);  // any text at all splits without harm
}
