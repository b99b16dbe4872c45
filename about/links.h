// The operations that leave the program for another one (help viewer,
// browser, mail program) and the maker-wide values they use.
#pragma once

#include <string>

namespace orvanel {

// Brings "Email" and "Web Page" under the maker's key into line with the
// string table, writing only what differs.
void SyncMakerValues();

std::wstring GetWebPage();
std::wstring GetEmail();

void ShowHelp();
void OpenHomePage();
void SendEmail();

// Help\Orvanel.chm in the program's own folder.
std::wstring HelpFilePath();
// A string-table entry of the program.
std::wstring ResourceString(unsigned id);

}  // namespace orvanel
