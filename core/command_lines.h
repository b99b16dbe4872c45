// The command lines Orvanel starts, exactly as users and scripts know them.
#pragma once

#include <string>
#include <string_view>

namespace orvanel {

// subst.exe X: "D:\Data\Work" -- the folder always quoted, the drive never.
// The folder is quoted so that a started program's standard splitting of
// its command line gives it back whole: "C:\" is written "C:\\" (else its
// backslash would escape the closing quote), and a quote inside is written \".
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

}  // namespace orvanel
