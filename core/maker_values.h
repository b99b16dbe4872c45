// Decisions about the maker-wide values and the texts built from them.
#pragma once

#include <string>
#include <string_view>

namespace orvanel {

// What a stored maker value reads as when it can't be read.
constexpr wchar_t kMakerValueDefault[] = L"1";

// Case-sensitive, whole-text comparison: anything else is rewritten.
bool MakerValueNeedsWrite(std::wstring_view stored, std::wstring_view resource_text);

// " address " -- a blank on each side.
std::wstring TooltipText(std::wstring_view address);

// "Version 1.0": major and minor in decimal, the revision not shown.
std::wstring VersionText(unsigned major, unsigned minor);

}  // namespace orvanel
