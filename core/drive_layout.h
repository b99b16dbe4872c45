// Where each of the program's drives is stored. The first stays in the
// program's own key, as it always was, so that every release's settings
// open unchanged and an older release still finds it; each further one has
// a subkey Drives\2, Drives\3, ... in menu order, with the same values in
// the same encoding, numbered without holes.
#pragma once

#include <cstddef>
#include <string>

#include "value_store.h"

namespace orvanel {

// A drive letter each.
constexpr std::size_t kMostDrives = 26;

// What every drive's key holds.
constexpr char kLetterValue[] = "Drive";
constexpr char kFolderValue[] = "Path";
constexpr char kMountAtStartValue[] = "MountAtStart";
constexpr const char* kDriveValueNames[] = {kLetterValue, kFolderValue, kMountAtStartValue};

// Index 0 is the first drive, the program's own key.
std::string DriveKeyPath(const std::string& app_key, std::size_t index);

// The first drive always counts, stored or not; then Drives\2, Drives\3,
// ... up to the first that is missing.
std::size_t CountStoredDrives(RegistryPort& registry, RootKey root, const std::string& app_key);

// Removes drive `index` of `count` (at least two): each later drive moves
// up one place, the second into the program key's own values when the
// first goes, and the last place's key goes. It stops at the first write
// that fails, so that no drive is ever lost: at worst one is stored twice,
// which start-up refuses by name. True when all of it was done.
bool RemoveStoredDrive(RegistryPort& registry, RootKey root, const std::string& app_key,
                       std::size_t index, std::size_t count);

// A further drive's key with its values, as when adding it failed part-way.
bool ForgetStoredDrive(RegistryPort& registry, RootKey root, const std::string& app_key,
                       std::size_t index);

}  // namespace orvanel
