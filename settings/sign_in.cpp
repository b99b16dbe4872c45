#include "sign_in.h"

#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "handles.h"
#include "module.h"
#include "settings_rules.h"

namespace orvanel {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kApprovedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
constexpr wchar_t kValueName[] = L"Orvanel";

// The Run value's command line, environment strings expanded as Windows
// expands them at sign-in; nullopt when there is none or it is no text.
std::optional<std::wstring> RunCommand() {
    std::wstring command(MAX_PATH, L'\0');
    // An expanded value's size is only known once it is expanded.
    for (int tries = 0; tries < 3; ++tries) {
        auto size = static_cast<DWORD>(command.size() * sizeof(wchar_t));
        const LSTATUS rc =
            ::RegGetValueW(HKEY_CURRENT_USER, kRunKey, kValueName, RRF_RT_REG_SZ, nullptr, command.data(), &size);
        if (rc == ERROR_SUCCESS) {
            command.resize(std::wcslen(command.c_str()));
            return command;
        }
        if (rc != ERROR_MORE_DATA) return std::nullopt;
        command.resize(size / sizeof(wchar_t) + 1);
    }
    return std::nullopt;
}

// Spelt as the file system holds it: 8.3 names long, letters in their case,
// links followed, so that two spellings of one file compare alike.
std::optional<std::wstring> RealFile(const std::wstring& path) {
    const UniqueHandle file(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;  // a folder too: no program
    std::wstring real(MAX_PATH, L'\0');
    DWORD n = ::GetFinalPathNameByHandleW(file.get(), real.data(), static_cast<DWORD>(real.size()), VOLUME_NAME_DOS);
    if (n >= real.size()) {
        real.resize(n);
        n = ::GetFinalPathNameByHandleW(file.get(), real.data(), static_cast<DWORD>(real.size()), VOLUME_NAME_DOS);
    }
    if (n == 0 || n >= real.size()) return path;  // there, though its spelling can't be had
    real.resize(n);
    constexpr std::wstring_view kShare = L"\\\\?\\UNC\\", kLong = L"\\\\?\\";
    if (real.compare(0, kShare.size(), kShare) == 0) return L"\\\\" + real.substr(kShare.size());
    if (real.compare(0, kLong.size(), kLong) == 0) return real.substr(kLong.size());
    return real;
}

bool RunValueStartsThisCopy() {
    const std::optional<std::wstring> command = RunCommand();
    return command && CommandStartsProgram(*command, ProgramPath(), RealFile);
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

bool StartsAtSignIn() { return RunValueStartsThisCopy() && !TurnedOffByWindows(WindowsMark()); }

bool SetStartAtSignIn(bool on) {
    if (!on) {
        if (!RunValueStartsThisCopy()) return true;  // another program's entry is left alone
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
