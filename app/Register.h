// Start-up and the globals every part of the program reads.
#pragma once

#include <string>

#include "settings_store.h"

namespace orvanel {

// Root of the maker-wide values; set once by Main.
extern RootKey AppRootKey;
// The program's own settings key below HKEY_CURRENT_USER; set once by Main.
extern std::wstring AppKeyPath;

// Sets the globals, brings the maker-wide values up to date and loads the
// hidden main window.
void Main();

}  // namespace orvanel
