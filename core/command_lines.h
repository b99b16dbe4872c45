// The command lines Orvanel starts, exactly as users and scripts know them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvanel {

// subst.exe X: "D:\Data\Work" -- the folder always quoted, the drive never.
// The folder is quoted so that the standard splitting below gives it back
// whole: "C:\" is written "C:\\" (else its backslash would escape the
// closing quote), and a quote inside is written \".
std::wstring MountCommandLine(std::wstring_view drive_spec, std::wstring_view folder);
// subst.exe X: /d
std::wstring UnmountCommandLine(std::wstring_view drive_spec);
// hh.exe followed by the help file's path.
std::wstring HelpCommandLine(std::wstring_view help_file);
// explorer followed by the home-page address.
std::wstring HomePageCommandLine(std::wstring_view address);
// explorer mailto: followed by the e-mail address, nothing after it.
std::wstring EmailCommandLine(std::wstring_view address);

// The drive letter as stored, with its colon.
std::wstring DriveSpecFor(std::wstring_view stored_letter);

// The file of the program a command line names first, so that it can be
// started by its full path: "subst.exe X: /d" -> "subst.exe",
// "explorer mailto:a" -> "explorer.exe".
std::wstring ProgramFile(std::wstring_view command_line);

// The arguments after the program name, split as a started program splits
// them (CommandLineToArgvW, the C runtime's argv[1..]): blanks and tabs
// separate; quotes group and are dropped; 2n backslashes before a quote
// give n and the quote groups, 2n+1 give n and a literal quote; other
// backslashes are literal. Inside quotes, "" gives one literal quote (the
// C runtime's rule since 2008). Like Windows, it stops at a NUL.
std::vector<std::wstring> SplitArguments(std::wstring_view command_line);

}  // namespace orvanel
