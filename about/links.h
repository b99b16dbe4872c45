// The operations that leave the program for another one: the help viewer,
// the browser with the maker's home page, the mail program with a new
// message to the maker.
#pragma once

#include <string>

namespace orvanel {

// The maker's addresses as stored, else as the string table has them.
std::wstring GetWebPage();
std::wstring GetEmail();

void ShowHelp();
void OpenHomePage();
void SendEmail();

// Help\Orvanel.chm in the program's own folder.
std::wstring HelpFilePath();

}  // namespace orvanel
