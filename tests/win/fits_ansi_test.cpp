// The settings dialog refuses a folder whose path the ANSI code page can't
// hold, since the store would keep "?" in place of those characters.
#include "text.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace orvanel {
namespace {

TEST(FitsAnsi, PlainPathsFitCharactersOutsideTheCodePageDoNot) {
    EXPECT_TRUE(FitsAnsi(L""));
    EXPECT_TRUE(FitsAnsi(L"C:\\Some Folder (2)\\x-y_z"));
    if (::GetACP() == CP_UTF8) GTEST_SKIP() << "a UTF-8 ANSI code page holds every character";
    EXPECT_FALSE(FitsAnsi(L"D:\\Smile \U0001F600"));
    if (::GetACP() != 1252) return;
    EXPECT_TRUE(FitsAnsi(L"D:\\M\u00fcller"));
    // Best-fit mapping would store a look-alike: fullwidth A is not A.
    EXPECT_FALSE(FitsAnsi(L"D:\\\uff21"));
    EXPECT_FALSE(FitsAnsi(L"D:\\\u65e5\u672c"));
}

}  // namespace
}  // namespace orvanel
