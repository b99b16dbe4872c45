#include "drive_layout.h"

namespace orvanel {
namespace {

std::string DrivesKey(const std::string& app_key) { return app_key + "\\Drives"; }

// The values as they are stored, bytes and all: nothing is decoded and
// written anew, so a move cannot change what it moves.
bool CopyDrive(RegistryPort& registry, RootKey root, const std::string& from, const std::string& to) {
    const std::unique_ptr<WritableKey> key = registry.CreateKey(root, to);
    if (!key) return false;
    for (const char* name : kDriveValueNames) {
        const std::optional<std::string> data = registry.QueryString(root, from, name);
        const bool done = data ? key->SetString(name, *data) : registry.DeleteValue(root, to, name);
        if (!done) return false;
    }
    return true;
}

}  // namespace

std::string DriveKeyPath(const std::string& app_key, std::size_t index) {
    if (index == 0) return app_key;
    return DrivesKey(app_key) + "\\" + std::to_string(index + 1);
}

std::size_t CountStoredDrives(RegistryPort& registry, RootKey root, const std::string& app_key) {
    std::size_t count = 1;
    while (count < kMostDrives && registry.HasKey(root, DriveKeyPath(app_key, count))) ++count;
    return count;
}

bool RemoveStoredDrive(RegistryPort& registry, RootKey root, const std::string& app_key,
                       std::size_t index, std::size_t count) {
    if (count < 2 || index >= count) return false;
    for (std::size_t to = index; to + 1 < count; ++to) {
        if (!CopyDrive(registry, root, DriveKeyPath(app_key, to + 1), DriveKeyPath(app_key, to))) return false;
    }
    return ForgetStoredDrive(registry, root, app_key, count - 1);
}

bool ForgetStoredDrive(RegistryPort& registry, RootKey root, const std::string& app_key,
                       std::size_t index) {
    if (index == 0) return false;  // the first drive's values are the program key's own
    const std::string key = DriveKeyPath(app_key, index);
    if (registry.HasKey(root, key) && !registry.DeleteKey(root, key)) return false;
    // The empty parent goes with the last further drive; one that stays is harmless.
    if (index == 1) registry.DeleteKey(root, DrivesKey(app_key));
    return true;
}

}  // namespace orvanel
