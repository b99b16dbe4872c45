// How a started program splits its command line (CommandLineToArgvW, the C
// runtime's argv[1..]): the oracle the command lines are checked against.
// Blanks and tabs separate; quotes group and are dropped; 2n backslashes
// before a quote give n and the quote groups, 2n+1 give n and a literal
// quote; other backslashes are literal. Inside quotes, "" gives one literal
// quote (the C runtime's rule since 2008). Like Windows, it stops at a NUL.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvanel {

inline bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

inline std::vector<std::wstring> SplitArguments(std::wstring_view command_line) {
    command_line = command_line.substr(0, command_line.find(L'\0'));
    const std::size_t n = command_line.size();
    std::size_t i = 0;

    // The program name, as CommandLineToArgvW takes it: up to the closing
    // quote when it starts with one, else up to the first blank; backslashes
    // mean nothing in it.
    if (i < n && command_line[i] == L'"') {
        const std::size_t close = command_line.find(L'"', 1);
        i = close == std::wstring_view::npos ? n : close + 1;
    } else {
        while (i < n && !IsBlank(command_line[i])) ++i;
    }

    std::vector<std::wstring> arguments;
    for (;;) {
        while (i < n && IsBlank(command_line[i])) ++i;
        if (i == n) return arguments;
        std::wstring argument;
        bool quoted = false;
        while (i < n && (quoted || !IsBlank(command_line[i]))) {
            std::size_t backslashes = 0;
            while (i < n && command_line[i] == L'\\') {
                ++backslashes;
                ++i;
            }
            if (i < n && command_line[i] == L'"') {
                argument.append(backslashes / 2, L'\\');
                if (backslashes % 2 == 1) {
                    argument += L'"';
                } else if (quoted && i + 1 < n && command_line[i + 1] == L'"') {
                    argument += L'"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                argument.append(backslashes, L'\\');
                if (i < n && (quoted || !IsBlank(command_line[i]))) argument += command_line[i++];
            }
        }
        arguments.push_back(std::move(argument));
    }
}

}  // namespace orvanel
