#include "settings_checks.h"

#include <windows.h>

#include "dos_device.h"
#include "drives.h"
#include "text.h"

namespace orvanel {
namespace {

// A listed drive, or a mapping and its target.
LetterUse LetterUseOnMachine(wchar_t letter) {
    LetterUse use;
    use.exists = DriveListed(letter);
    if (std::optional<std::wstring> target = DosDeviceTarget({letter, L':'})) {
        use.exists = true;
        use.target = std::move(*target);
    }
    return use;
}

}  // namespace

std::optional<SaveRefusal> CheckSettingsOnMachine(const std::wstring& letter_text,
                                                  const std::wstring& folder) {
    return CheckSettingsToSave(letter_text, folder, FitsAnsi(folder), LetterUseOnMachine);
}

}  // namespace orvanel
