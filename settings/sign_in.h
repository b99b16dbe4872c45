// Starting Orvanel when the user signs in: the same entry the installer
// writes, the value "Orvanel" under the current user's Run key, which
// Windows' Startup apps page may turn off with a mark of its own.
#pragma once

namespace orvanel {

// True when the Run value starts this very program file and Windows has not
// turned it off. An entry left by a copy moved or deleted starts nothing.
bool StartsAtSignIn();

// On: the Run value names the running copy (a portable copy points at
// itself), and a mark that turned it off goes. Off: both go, unless the
// value starts another program. True when done.
bool SetStartAtSignIn(bool on);

}  // namespace orvanel
