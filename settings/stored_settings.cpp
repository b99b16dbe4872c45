#include "stored_settings.h"

#include "app_keys.h"
#include "registry_store.h"

namespace orvanel {
namespace {

constexpr wchar_t kFolderValue[] = L"Path";
constexpr wchar_t kLetterValue[] = L"Drive";

}  // namespace

StoredSetting ReadStoredFolder(const std::wstring& fallback) {
    return ReadRegSetting(RootKey::CurrentUser, AppKeyPath, kFolderValue, fallback);
}

StoredSetting ReadStoredLetter(const std::wstring& fallback) {
    return ReadRegSetting(RootKey::CurrentUser, AppKeyPath, kLetterValue, fallback);
}

bool WriteStoredFolder(const std::wstring& folder) {
    return WriteRegValue(RootKey::CurrentUser, AppKeyPath, kFolderValue, folder);
}

bool WriteStoredLetter(const std::wstring& letter) {
    return WriteRegValue(RootKey::CurrentUser, AppKeyPath, kLetterValue, letter);
}

}  // namespace orvanel
