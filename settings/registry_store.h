// The only way into the registry: named values, encoded, opened and closed
// on every call.
#pragma once

#include <string>

#include "settings_store.h"

namespace orvanel {

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

// The Win32 registry behind the store; exposed for tests.
RegistryPort& SystemRegistry();
// Shows the store's run-time errors in a message box.
ErrorReporter& MessageBoxReporter();

}  // namespace orvanel
