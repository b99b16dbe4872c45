// Before Help opens: a help file that Windows marked as downloaded from the
// internet shows no pages, so the user is offered to unblock it.
#pragma once

#include <string>

namespace orvanel {

// Asks when the file's mark blocks it, and on Yes removes the mark; a
// failure is told with the system's reason. Changes nothing else. Called
// again while its question is open, it brings that forward instead of
// asking twice. True when the file may be opened now; false when the call
// that asked opens it once answered.
bool OfferToUnblock(const std::wstring& help_file);

}  // namespace orvanel
