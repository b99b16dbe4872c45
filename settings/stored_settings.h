// The program's two settings, the folder and the drive letter, under the
// current user's key. Each reader gives its own default.
#pragma once

#include <string>

namespace orvanel {

std::wstring ReadStoredFolder(const std::wstring& fallback);
std::wstring ReadStoredLetter(const std::wstring& fallback);
bool WriteStoredFolder(const std::wstring& folder);
bool WriteStoredLetter(const std::wstring& letter);

}  // namespace orvanel
