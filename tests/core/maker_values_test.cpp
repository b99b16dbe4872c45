#include "maker_values.h"

#include <gtest/gtest.h>

namespace orvanel {
namespace {

// The about box's "Version 1.0", the link buttons' tips and start-up's
// rewriting of the maker's values are checked end to end; here what the
// program's own values never show.
TEST(VersionText, MajorDotMinorInPlainDecimal) {
    EXPECT_EQ(VersionText(1, 5), L"Version 1.5");  // not widened to 1.05
    EXPECT_EQ(VersionText(2, 10), L"Version 2.10");
    EXPECT_EQ(VersionText(65535, 65535), L"Version 65535.65535");
}

TEST(MakerValueNeedsWrite, OnlyAnExactMatchIsLeftAlone) {
    EXPECT_FALSE(MakerValueNeedsWrite(L"support@kestrane.example", L"support@kestrane.example"));
    EXPECT_TRUE(MakerValueNeedsWrite(L"Support@Kestrane.example", L"support@kestrane.example"));
    EXPECT_TRUE(MakerValueNeedsWrite(L"https://www.kestrane.example/orvanel/",
                                     L"https://www.kestrane.example/orvanel"));
}

}  // namespace
}  // namespace orvanel
