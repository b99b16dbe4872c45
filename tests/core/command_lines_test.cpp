#include "command_lines.h"

#include <gtest/gtest.h>

namespace orvanel {
namespace {

TEST(CommandLines, MountQuotesTheFolderAndNeverTheDrive) {
    EXPECT_EQ(MountCommandLine(L"X:", L"D:\\Data\\Work"), L"subst.exe X: \"D:\\Data\\Work\"");
    EXPECT_EQ(MountCommandLine(L"X:", L"C:\\Some Folder"), L"subst.exe X: \"C:\\Some Folder\"");
    // Stored values are used as they are: case, length and emptiness alike.
    EXPECT_EQ(MountCommandLine(L"x:", L"c:\\a"), L"subst.exe x: \"c:\\a\"");
    EXPECT_EQ(MountCommandLine(L"xy:", L"D:\\"), L"subst.exe xy: \"D:\\\"");
    EXPECT_EQ(MountCommandLine(L":", L""), L"subst.exe : \"\"");
}

TEST(CommandLines, UnmountUsesTheDeleteSwitch) {
    EXPECT_EQ(UnmountCommandLine(L"X:"), L"subst.exe X: /d");
    EXPECT_EQ(UnmountCommandLine(L":"), L"subst.exe : /d");
}

TEST(CommandLines, DriveSpecAppendsAColonToWhateverIsStored) {
    EXPECT_EQ(DriveSpecFor(L"C"), L"C:");
    EXPECT_EQ(DriveSpecFor(L"x"), L"x:");
    EXPECT_EQ(DriveSpecFor(L"xy"), L"xy:");
    EXPECT_EQ(DriveSpecFor(L""), L":");
}

TEST(CommandLines, LinksPutNothingAroundTheirArgument) {
    EXPECT_EQ(HelpCommandLine(L"C:\\Program Files\\Orvanel\\Help\\Orvanel.chm"),
              L"hh.exe C:\\Program Files\\Orvanel\\Help\\Orvanel.chm");
    EXPECT_EQ(HomePageCommandLine(L"https://www.kestrane.example/orvanel/"),
              L"explorer https://www.kestrane.example/orvanel/");
    EXPECT_EQ(EmailCommandLine(L"support@kestrane.example"),
              L"explorer mailto:support@kestrane.example");
    EXPECT_EQ(EmailCommandLine(L"1"), L"explorer mailto:1");
}

TEST(CommandLines, ProgramFileIsTheFirstWordAsAnExe) {
    EXPECT_EQ(ProgramFile(L"subst.exe X: /d"), L"subst.exe");
    EXPECT_EQ(ProgramFile(L"explorer mailto:a@b"), L"explorer.exe");
    EXPECT_EQ(ProgramFile(L"hh.exe"), L"hh.exe");
}

}  // namespace
}  // namespace orvanel
