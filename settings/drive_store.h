// Each drive's stored values (its letter, its folder, whether it is mounted
// at start) in the key the stored layout gives it, and the list of drives
// as a whole: how many there are, removing one, forgetting one half added.
#pragma once

#include <cstddef>
#include <string>

#include "registry.h"
#include "value_store.h"

namespace orvanel {

// A drive's three values as one read gives them; "Mount the drive when
// Orvanel starts" is off unless stored as on.
struct DriveSettings {
    StoredSetting folder;
    StoredSetting letter;
    StoredSetting mount_at_start;
};

class DriveStore {
public:
    // `index` 0 is the first drive. The registry is the system's but where
    // a test needs one that refuses.
    explicit DriveStore(std::size_t index, RegistryPort& registry = SystemRegistry());

    std::size_t Index() const { return index_; }
    // All three, the key opened once; each reader gives its own defaults.
    DriveSettings Read(const std::wstring& folder_fallback, const std::wstring& letter_fallback) const;
    bool WriteFolder(const std::wstring& folder) const;
    bool WriteLetter(const std::wstring& letter) const;
    bool WriteMountAtStart(bool on) const;

private:
    bool Write(const char* name, const std::wstring& value) const;

    std::size_t index_;
    RegistryPort* registry_;
    std::string key_;
};

// At least one: the first drive counts whether or not anything is stored.
std::size_t StoredDriveCount();
// Drive `index` of `count` goes; the later ones move up a place. False
// when part of it failed (no drive is lost; one may be stored twice).
bool RemoveStoredDrive(std::size_t index, std::size_t count);
// A further drive's key goes with whatever was written to it.
bool ForgetStoredDrive(std::size_t index);

}  // namespace orvanel
