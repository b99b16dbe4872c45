// The maker-wide values, brought into line with the string table at every
// start, and the texts the about box builds from them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "value_store.h"

namespace orvanel {

// What a stored maker value reads as when it can't be read.
constexpr char kMakerValueDefault[] = "1";

struct MakerValue {
    std::string name;           // "Email", "Web Page"
    std::string resource_text;  // the string table's text, its authoritative copy
};

// In the order given, rewrites each value whose stored text differs from its
// resource text, letter case included; a missing value reads as "1". Writes
// nothing that matches; a failed write is silent and tried again next time.
void SyncMakerValues(RegistryPort& registry, ErrorReporter& errors, RootKey root,
                     const std::string& key_path, const std::vector<MakerValue>& values);

// " address " -- a blank on each side.
std::wstring TooltipText(std::wstring_view address);

// "Version 1.0": major and minor in decimal, the revision not shown.
std::wstring VersionText(unsigned major, unsigned minor);

}  // namespace orvanel
