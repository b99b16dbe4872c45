// Fixed properties of the application.
#pragma once

namespace orvanel {

// Caption of every message box, and the last part of the settings key.
constexpr wchar_t kAppTitle[] = L"Orvanel";
constexpr char kAppTitleAnsi[] = "Orvanel";
constexpr char kMakerKeyPath[] = "SOFTWARE\\Kestrane";

}  // namespace orvanel
