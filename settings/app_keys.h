// Where the program's values live in the registry. Main sets both once at
// start-up; every part of the program only reads them afterwards.
#pragma once

#include <string>

#include "settings_store.h"

namespace orvanel {

// Root of the maker-wide values (HKEY_LOCAL_MACHINE).
extern RootKey AppRootKey;
// The program's own settings key below HKEY_CURRENT_USER.
extern std::wstring AppKeyPath;

}  // namespace orvanel
