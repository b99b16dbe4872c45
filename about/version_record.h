// The running program's version record: the numbers and the copyright the
// about box shows.
#pragma once

#include <string>

namespace orvanel {

struct VersionRecord {
    unsigned major = 0;
    unsigned minor = 0;
    std::wstring copyright;  // LegalCopyright
};

// Read from the program's own resource, so the numbers have one source.
// Whatever the record lacks stays zero or empty.
VersionRecord ReadVersionRecord();

}  // namespace orvanel
