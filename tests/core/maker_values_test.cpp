#include "maker_values.h"

#include <gtest/gtest.h>

namespace orvanel {
namespace {

// The about box's "Version 1.0", the link buttons' tips and start-up's
// rewriting of the maker's values are checked end to end; here the version
// numbers the program's own never show.
TEST(VersionText, MajorDotMinorInPlainDecimal) {
    EXPECT_EQ(VersionText(1, 5), L"Version 1.5");  // not widened to 1.05
    EXPECT_EQ(VersionText(2, 10), L"Version 2.10");
    EXPECT_EQ(VersionText(65535, 65535), L"Version 65535.65535");
}

}  // namespace
}  // namespace orvanel
