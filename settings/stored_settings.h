// The program's two settings, the folder and the drive letter, under the
// current user's key. Each reader gives its own default.
#pragma once

#include <string>

#include "settings_store.h"

namespace orvanel {

// The text, or `fallback` when nothing is stored; the status tells a value
// that could not be read from one that holds the same text.
StoredSetting ReadStoredFolder(const std::wstring& fallback);
StoredSetting ReadStoredLetter(const std::wstring& fallback);
bool WriteStoredFolder(const std::wstring& folder);
bool WriteStoredLetter(const std::wstring& letter);

}  // namespace orvanel
