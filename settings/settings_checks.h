// The checks made before the settings are saved, answered from this machine:
// which drive letters are in use and what the ANSI code page can hold.
#pragma once

#include <optional>
#include <string>

#include "settings_rules.h"

namespace orvanel {

// nullopt: both may be saved.
std::optional<SaveRefusal> CheckSettingsOnMachine(const std::wstring& letter_text,
                                                  const std::wstring& folder);

}  // namespace orvanel
