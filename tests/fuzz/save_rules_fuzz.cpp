// The checks before settings are saved, given any letter and folder.
#include "fuzz_input.h"
#include "mount_state.h"
#include "settings_rules.h"

void orvanel::FuzzOne(FuzzInput& input) {
    const std::uint8_t flags = input.Byte();
    const std::wstring letter = input.Text();
    const std::wstring folder = input.RestAsText();
    const bool fits_ansi = (flags & 1) != 0;
    // The letter is in use when flag 2 is set; with flag 4 it maps to the folder.
    const LetterUse use{(flags & 2) != 0, (flags & 4) != 0 ? L"\\??\\" + folder : L"\\Device\\X"};

    const auto refusal = CheckSettingsToSave(letter, folder, fits_ansi, [&](wchar_t asked) {
        Require(asked >= L'A' && asked <= L'Z', "a letter is looked up in upper case");
        return use;
    });
    Require(!refusal || !refusal->message.empty(), "a refusal says why");
    if (refusal) return;
    Require(IsDriveLetterText(letter), "only one letter A to Z is saved");
    Require(fits_ansi && folder.size() <= kMaxMappedFolderLength, "only a mappable folder is saved");
    Require(!use.exists || MappingNamesFolder(use.target, folder), "only a free letter is saved");
}
