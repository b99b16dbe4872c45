#include "settings_checks.h"

#include <windows.h>

#include "drives.h"
#include "text.h"

namespace orvanel {
namespace {

// A listed drive, or a mapping and its target.
LetterUse LetterUseOnMachine(wchar_t letter) {
    LetterUse use;
    use.exists = DriveListed(letter);
    const std::wstring device{letter, L':'};
    std::wstring target(1024, L'\0');
    const DWORD written = ::QueryDosDeviceW(device.c_str(), target.data(), static_cast<DWORD>(target.size()));
    if (written != 0) {
        use.exists = true;
        use.target = target.c_str();  // the first of the returned strings is the current target
    }
    return use;
}

}  // namespace

std::optional<SaveRefusal> CheckSettingsOnMachine(const std::wstring& letter_text,
                                                  const std::wstring& folder) {
    return CheckSettingsToSave(letter_text, folder, FitsAnsi(folder), LetterUseOnMachine);
}

}  // namespace orvanel
