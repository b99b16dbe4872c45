#include "links.h"

#include <windows.h>

#include "app_info.h"
#include "app_keys.h"
#include "command_lines.h"
#include "maker_values.h"
#include "module.h"
#include "process.h"
#include "registry_store.h"
#include "resource.h"

namespace orvanel {
namespace {

void SyncOne(const wchar_t* name, unsigned resource_id) {
    const std::wstring stored = ReadRegValue(AppRootKey, kMakerKeyPath, name, kMakerValueDefault);
    if (!MakerValueNeedsWrite(stored, ResourceString(resource_id))) return;
    WriteRegValue(AppRootKey, kMakerKeyPath, name, ResourceString(resource_id));
}

// When the value can't be read (most users may not create the maker's key),
// the program's own string table still knows the address.
std::wstring MakerValue(const wchar_t* name, unsigned resource_id) {
    return ReadRegValue(AppRootKey, kMakerKeyPath, name, ResourceString(resource_id));
}

void StartShown(const std::wstring& command_line) {
    StartProgram(WindowsDirectory(), command_line, SW_SHOWNORMAL, Output::Ignore);
}

}  // namespace

std::wstring ResourceString(unsigned id) {
    const wchar_t* text = nullptr;
    const int n = ::LoadStringW(ModuleInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return n > 0 ? std::wstring(text, static_cast<std::size_t>(n)) : std::wstring();
}

void SyncMakerValues() {
    SyncOne(L"Email", IDS_EMAIL);
    SyncOne(L"Web Page", IDS_WEB_PAGE);
}

std::wstring GetWebPage() { return MakerValue(L"Web Page", IDS_WEB_PAGE); }
std::wstring GetEmail() { return MakerValue(L"Email", IDS_EMAIL); }

std::wstring HelpFilePath() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = 0;
    while ((n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
           path.size()) {
        path.resize(path.size() * 2);
    }
    path.resize(n);
    path.erase(path.find_last_of(L'\\') + 1);
    return path + L"Help\\Orvanel.chm";
}

void ShowHelp() { StartShown(HelpCommandLine(HelpFilePath())); }
void OpenHomePage() { StartShown(HomePageCommandLine(GetWebPage())); }
void SendEmail() { StartShown(EmailCommandLine(GetEmail())); }

}  // namespace orvanel
