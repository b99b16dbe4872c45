#include "sign_in.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "module.h"
#include "settings_rules.h"

namespace orvanel {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kApprovedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
constexpr wchar_t kValueName[] = L"Orvanel";

bool RunValueExists() {
    return ::RegGetValueW(HKEY_CURRENT_USER, kRunKey, kValueName, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

std::optional<std::vector<std::uint8_t>> WindowsMark() {
    DWORD size = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kApprovedKey, kValueName, RRF_RT_REG_BINARY, nullptr, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> mark(size);
    if (::RegGetValueW(HKEY_CURRENT_USER, kApprovedKey, kValueName, RRF_RT_REG_BINARY, nullptr, mark.data(),
                       &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    mark.resize(size);
    return mark;
}

// Gone already counts as done.
bool DeleteValue(const wchar_t* key) {
    const LSTATUS rc = ::RegDeleteKeyValueW(HKEY_CURRENT_USER, key, kValueName);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

}  // namespace

bool StartsAtSignIn() { return RunValueExists() && !TurnedOffByWindows(WindowsMark()); }

bool SetStartAtSignIn(bool on) {
    if (!on) {
        const bool run_gone = DeleteValue(kRunKey);
        return DeleteValue(kApprovedKey) && run_gone;
    }
    const std::wstring command = SignInCommand(ProgramPath());
    const auto bytes = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
    return ::RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, kValueName, REG_SZ, command.c_str(), bytes) ==
               ERROR_SUCCESS &&
           DeleteValue(kApprovedKey);
}

}  // namespace orvanel
