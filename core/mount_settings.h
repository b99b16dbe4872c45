// Whether the stored drive letter and folder may be handed to subst.exe.
#pragma once

#include <optional>
#include <string>

#include "settings_store.h"

namespace orvanel {

struct MountRefusal {
    std::wstring message;  // for a message box: which setting, and what to do
};

// A letter or folder that could not be read, or that holds a control
// character (below U+0020, or U+007F), is damaged: nothing may be started.
// A NUL in particular would cut the command line short, so that subst would
// map another folder than the one the mapping is compared with. Odd but
// printable values (a lower-case letter, several letters, an empty letter
// or folder) are used as stored: subst itself answers those. A Missing
// setting stands for its default and is used. nullopt: mount with them.
std::optional<MountRefusal> CheckMountSettings(const StoredSetting& letter,
                                               const StoredSetting& folder);

}  // namespace orvanel
