#include "command_lines.h"

namespace orvanel {
namespace {

std::wstring Join(std::wstring_view a, std::wstring_view b) {
    std::wstring out;
    out.reserve(a.size() + b.size());
    out.append(a);
    out.append(b);
    return out;
}

// Backslashes count only before a quote, so only a run that ends at a quote
// (one inside, or the closing one) is doubled; every other folder is
// written exactly as it is.
void AppendQuoted(std::wstring& line, std::wstring_view argument) {
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
        } else if (c == L'"') {
            line.append(backslashes + 1, L'\\');
            backslashes = 0;
        } else {
            backslashes = 0;
        }
        line += c;
    }
    line.append(backslashes, L'\\');
    line += L'"';
}

}  // namespace

std::wstring MountCommandLine(std::wstring_view drive_spec, std::wstring_view folder) {
    std::wstring line = Join(L"subst.exe ", drive_spec);
    line += L' ';
    AppendQuoted(line, folder);
    return line;
}

std::wstring UnmountCommandLine(std::wstring_view drive_spec) {
    return Join(Join(L"subst.exe ", drive_spec), L" /d");
}

std::wstring HelpCommandLine(std::wstring_view help_file) { return Join(L"hh.exe ", help_file); }

std::wstring HomePageCommandLine(std::wstring_view address) { return Join(L"explorer ", address); }

std::wstring EmailCommandLine(std::wstring_view address) {
    return Join(L"explorer mailto:", address);
}

std::wstring DriveSpecFor(std::wstring_view stored_letter) { return Join(stored_letter, L":"); }

std::wstring ProgramFile(std::wstring_view command_line) {
    std::wstring program(command_line.substr(0, command_line.find(L' ')));
    if (program.find(L'.') == std::wstring::npos) program += L".exe";
    return program;
}

}  // namespace orvanel
