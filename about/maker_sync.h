// The maker-wide values the links use, kept in line with the string table.
#pragma once

namespace orvanel {

// Brings "Email" and "Web Page" under the maker's key into line with the
// string table, Email first, writing only what differs.
void SyncMakerValues();

}  // namespace orvanel
