#include "maker_values.h"

#include <gtest/gtest.h>

namespace orvanel {
namespace {

TEST(VersionText, MajorDotMinorInPlainDecimal) {
    EXPECT_EQ(VersionText(1, 0), L"Version 1.0");
    EXPECT_EQ(VersionText(1, 5), L"Version 1.5");  // not widened to 1.05
    EXPECT_EQ(VersionText(10, 0), L"Version 10.0");
    EXPECT_EQ(VersionText(2, 10), L"Version 2.10");
    EXPECT_EQ(VersionText(0, 0), L"Version 0.0");
    EXPECT_EQ(VersionText(65535, 65535), L"Version 65535.65535");
}

TEST(TooltipText, OneBlankOnEachSide) {
    EXPECT_EQ(TooltipText(L"support@kestrane.example"), L" support@kestrane.example ");
    EXPECT_EQ(TooltipText(L"https://www.kestrane.example/orvanel/"),
              L" https://www.kestrane.example/orvanel/ ");
    // What the store yields after reporting a value it could not decode.
    EXPECT_EQ(TooltipText(L"False"), L" False ");
    EXPECT_EQ(TooltipText(L""), L"  ");
    // Blanks of the value itself are kept, not trimmed.
    EXPECT_EQ(TooltipText(L" a b "), L"  a b  ");
}

TEST(MakerValueNeedsWrite, OnlyAnExactMatchIsLeftAlone) {
    EXPECT_FALSE(MakerValueNeedsWrite(L"support@kestrane.example", L"support@kestrane.example"));
    EXPECT_TRUE(MakerValueNeedsWrite(L"Support@Kestrane.example", L"support@kestrane.example"));
    EXPECT_TRUE(MakerValueNeedsWrite(L"https://www.kestrane.example/orvanel/",
                                     L"https://www.kestrane.example/orvanel"));
    EXPECT_TRUE(MakerValueNeedsWrite(L"False", L"support@kestrane.example"));
    EXPECT_TRUE(MakerValueNeedsWrite(L"", L"support@kestrane.example"));
}

TEST(MakerValueNeedsWrite, MissingValueReadsAsTheDefault) {
    EXPECT_STREQ(kMakerValueDefault, L"1");
    EXPECT_TRUE(MakerValueNeedsWrite(kMakerValueDefault, L"support@kestrane.example"));
    // A string-table text of "1" equals the default, so nothing is written.
    EXPECT_FALSE(MakerValueNeedsWrite(kMakerValueDefault, L"1"));
    EXPECT_TRUE(MakerValueNeedsWrite(L"1", L"1 "));
}

}  // namespace
}  // namespace orvanel
