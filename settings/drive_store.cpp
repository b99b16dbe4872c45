#include "drive_store.h"

#include "drive_layout.h"
#include "settings_rules.h"
#include "text.h"

namespace orvanel {
namespace {

constexpr RootKey kRoot = RootKey::CurrentUser;

std::string AppKey() { return ToAnsi(AppKeyPath); }

}  // namespace

DriveStore::DriveStore(std::size_t index, RegistryPort& registry)
    : index_(index), registry_(&registry), key_(DriveKeyPath(AppKey(), index)) {}

DriveSettings DriveStore::Read(const std::wstring& folder_fallback, const std::wstring& letter_fallback) const {
    const std::vector<StoredRead> reads =
        ReadStoredSettings(*registry_, MessageBoxReporter(), kRoot, key_, {kFolderValue, kLetterValue, kMountAtStartValue});
    return {AsSetting(reads[0], folder_fallback), AsSetting(reads[1], letter_fallback), AsSetting(reads[2], kOptionOff)};
}

bool DriveStore::WriteFolder(const std::wstring& folder) const { return Write(kFolderValue, folder); }
bool DriveStore::WriteLetter(const std::wstring& letter) const { return Write(kLetterValue, letter); }
bool DriveStore::WriteMountAtStart(bool on) const {
    return Write(kMountAtStartValue, on ? kOptionOn : kOptionOff);
}

bool DriveStore::Write(const char* name, const std::wstring& value) const {
    return WriteRegValue(*registry_, kRoot, key_, name, value);
}

std::size_t StoredDriveCount() { return CountStoredDrives(SystemRegistry(), kRoot, AppKey()); }

bool RemoveStoredDrive(std::size_t index, std::size_t count) {
    return RemoveStoredDrive(SystemRegistry(), kRoot, AppKey(), index, count);
}

bool ForgetStoredDrive(std::size_t index) { return ForgetStoredDrive(SystemRegistry(), kRoot, AppKey(), index); }

}  // namespace orvanel
