// Start-up: the first code of the program.
#pragma once

namespace orvanel {

// Sets the registry globals, brings the maker-wide values up to date and
// loads the hidden main window.
void Main();

}  // namespace orvanel
