#include "links.h"

#include <windows.h>

#include "app_info.h"
#include "command_lines.h"
#include "help_unblock.h"
#include "module.h"
#include "process.h"
#include "registry.h"
#include "resource.h"

namespace orvanel {
namespace {

// When the value can't be read (most users may not create the maker's key),
// the program's own string table still knows the address.
std::wstring MakerValue(const wchar_t* name, unsigned resource_id) {
    return ReadRegValue(AppRootKey, kMakerKeyPath, name, ResourceString(resource_id));
}

void StartShown(const std::wstring& command_line) {
    StartProgram(WindowsDirectory(), command_line, SW_SHOWNORMAL, Output::Ignore);
}

}  // namespace

std::wstring GetWebPage() { return MakerValue(L"Web Page", IDS_WEB_PAGE); }
std::wstring GetEmail() { return MakerValue(L"Email", IDS_EMAIL); }

std::wstring HelpFilePath() {
    std::wstring path = ProgramPath();
    path.erase(path.find_last_of(L'\\') + 1);
    return path + L"Help\\Orvanel.chm";
}

void ShowHelp() {
    const std::wstring help_file = HelpFilePath();
    if (OfferToUnblock(help_file)) StartShown(HelpCommandLine(help_file));
}
void OpenHomePage() { StartShown(HomePageCommandLine(GetWebPage())); }
void SendEmail() { StartShown(EmailCommandLine(GetEmail())); }

}  // namespace orvanel
