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

StoredSetting DriveStore::Folder(const std::wstring& fallback) const { return Read(kFolderValue, fallback); }
StoredSetting DriveStore::Letter(const std::wstring& fallback) const { return Read(kLetterValue, fallback); }
StoredSetting DriveStore::MountAtStart() const { return Read(kMountAtStartValue, kOptionOff); }

DriveSettings DriveStore::ReadAll(const std::wstring& letter_fallback, const std::wstring& folder_fallback) const {
    const std::vector<StoredRead> reads =
        ReadStoredSettings(*registry_, MessageBoxReporter(), kRoot, key_, {kLetterValue, kFolderValue, kMountAtStartValue});
    return {AsSetting(reads[0], letter_fallback), AsSetting(reads[1], folder_fallback), AsSetting(reads[2], kOptionOff)};
}

bool DriveStore::WriteFolder(const std::wstring& folder) const { return Write(kFolderValue, folder); }
bool DriveStore::WriteLetter(const std::wstring& letter) const { return Write(kLetterValue, letter); }
bool DriveStore::WriteMountAtStart(bool on) const {
    return Write(kMountAtStartValue, on ? kOptionOn : kOptionOff);
}

StoredSetting DriveStore::Read(const char* name, const std::wstring& fallback) const {
    return ReadRegSetting(*registry_, kRoot, key_, name, fallback);
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
