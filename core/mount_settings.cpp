#include "mount_settings.h"

#include <algorithm>

namespace orvanel {
namespace {

bool IsDamaged(const StoredSetting& setting) {
    if (setting.status == ReadStatus::Failed) return true;
    return std::any_of(setting.text.begin(), setting.text.end(),
                       [](wchar_t c) { return c < L' ' || c == L'\x7F'; });
}

}  // namespace

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

}  // namespace orvanel
