// Fixed properties of the application.
#pragma once

namespace orvanel {

// Caption of every message box, and the last part of the settings key.
constexpr wchar_t kAppTitle[] = L"Orvanel";
// The maker-wide values' key, below the maker-wide root.
constexpr wchar_t kMakerKeyPath[] = L"SOFTWARE\\Kestrane";

}  // namespace orvanel
