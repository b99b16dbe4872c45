#include "command_lines.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvanel {
namespace {

using Arguments = std::vector<std::wstring>;

// The exact lines are read end to end; here what a started program makes of them.
TEST(CommandLines, ProgramFileIsTheFirstWordAsAnExe) {
    EXPECT_EQ(ProgramFile(UnmountCommandLine(L"X:")), L"subst.exe");
    EXPECT_EQ(ProgramFile(HelpCommandLine(L"C:\\Orvanel\\Help\\Orvanel.chm")), L"hh.exe");
    EXPECT_EQ(ProgramFile(EmailCommandLine(L"a@b.example")), L"explorer.exe");
    // Dots in the address don't make "explorer" a file name with an extension.
    EXPECT_EQ(ProgramFile(HomePageCommandLine(L"www.kestrane.example/x.y")), L"explorer.exe");
}

TEST(SplitArguments, FollowsTheStandardRules) {
    struct Case { const wchar_t* line; Arguments arguments; };
    const Case cases[] = {
        {L"subst.exe", {}}, {L"subst.exe   ", {}}, {L"p a\tb  c", {L"a", L"b", L"c"}}, {L"p \"a b\" c", {L"a b", L"c"}},
        {L"p \"\"", {L""}}, {L"p a\"b\"c", {L"abc"}}, {L"p \"unclosed arg", {L"unclosed arg"}},
        {L"p a\\b\\\\c", {L"a\\b\\\\c"}},      // backslashes alone are literal
        {L"p \"C:\\\"", {L"C:\""}},              // the line that failed for a root
        {L"p \"C:\\\\\"", {L"C:\\"}},
        {L"p a\\\\\\\"b", {L"a\\\"b"}},        // 2n+1 backslashes: n and a quote
        {L"p a\\\\\"b c\"", {L"a\\b c"}},      // 2n backslashes: n, and the quote groups
        {L"p \"a\"\"b\"", {L"a\"b"}},          // "" inside quotes
        {L"\"C:\\Program Files\\p.exe\" x", {L"x"}}, {L"\"p\"x y", {L"x", L"y"}},  // a quoted name ends at its quote
    };
    for (const Case& c : cases) EXPECT_EQ(SplitArguments(c.line), c.arguments) << testing::PrintToString(c.line);
    EXPECT_EQ(SplitArguments(std::wstring_view(L"p a\0b", 5)), Arguments{L"a"});  // stops at a NUL
}

// Every folder of up to five characters that matter to the rules, after
// each prefix, and every letter, must come back whole.
TEST(SplitArguments, MountAndUnmountLinesSplitBackExactly) {
    const std::wstring letters[] = {L"X:", L"x:", L"xy:", L":"};
    std::vector<std::wstring> folders = {L""};
    for (std::size_t start = 0; folders[start].size() < 5; ++start)
        for (const wchar_t c : std::wstring(L"\\\" \ta:")) folders.push_back(folders[start] + c);
    std::size_t checked = 0;
    for (const std::wstring prefix : {L"", L"C:\\", L"\\\\server\\share\\", L"D:\\Some Folder\\"}) {
        for (const std::wstring& tail : folders) {
            const std::wstring& letter = letters[checked++ % 4];
            const std::wstring line = MountCommandLine(letter, prefix + tail);
            ASSERT_EQ(SplitArguments(line), (Arguments{letter, prefix + tail})) << testing::PrintToString(line);
        }
    }
    EXPECT_GT(checked, 30000u);
    for (const std::wstring& letter : letters)
        EXPECT_EQ(SplitArguments(UnmountCommandLine(letter)), (Arguments{letter, L"/d"}));
}

}  // namespace
}  // namespace orvanel
