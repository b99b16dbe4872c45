// The registry: the only way to the stored values. Every value is encoded,
// its key opened and closed on every call; the program's own settings and
// the maker-wide values, by name.
#pragma once

#include <string>

#include "value_store.h"

namespace orvanel {

// Root of the maker-wide values, below the key named in app_info.h.
constexpr RootKey AppRootKey = RootKey::LocalMachine;
// The program's own settings key below HKEY_CURRENT_USER.
constexpr wchar_t AppKeyPath[] = L"SOFTWARE\\Kestrane\\Orvanel";

// The value with how its read went: the fallback when Missing, "False"
// after the reported error when Failed. For callers that must not take a
// failed read for a value (the mount, through CheckMountSettings).
StoredSetting ReadRegSetting(RootKey root, const std::wstring& key_path, const std::wstring& name,
                             const std::wstring& fallback);
// Its text alone.
std::wstring ReadRegValue(RootKey root, const std::wstring& key_path, const std::wstring& name,
                          const std::wstring& fallback);
bool WriteRegValue(RootKey root, const std::wstring& key_path, const std::wstring& name,
                   const std::wstring& value);

// The Win32 registry behind the store, and the store's run-time errors shown
// in a message box.
RegistryPort& SystemRegistry();
ErrorReporter& MessageBoxReporter();

// A read as the program holds it: in UTF-16, the fallback when Missing.
StoredSetting AsSetting(const StoredRead& read, const std::wstring& fallback);
// A write through a given registry, the key and name in the ANSI code page.
bool WriteRegValue(RegistryPort& registry, RootKey root, const std::string& key_path, const std::string& name,
                   const std::wstring& value);

}  // namespace orvanel
