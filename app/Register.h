// Start-up: the first code of the program.
#pragma once

namespace orvanel {

enum class StartUp {
    Running,          // the hidden window is loaded: run the message loop
    AnotherCopyRuns,  // this session has Orvanel already: end quietly
    Failed,           // the user has been told why; end with an error
};

// Makes sure this is the session's only copy, brings the maker-wide values
// up to date and loads the hidden main window.
StartUp Main();

}  // namespace orvanel
