#include "tray_tip.h"

#include <gtest/gtest.h>

#include <string>

namespace orvanel {
namespace {

std::string AsString(const std::array<char, kTipFieldSize>& field) {
    return std::string(field.begin(), field.end());
}

TEST(TrayTip, WordsThenNulThenBlanks) {
    const std::string field = AsString(TipField(std::string_view("Drive Mounted\0", 14)));
    EXPECT_EQ(field.substr(0, 14), std::string("Drive Mounted\0", 14));
    EXPECT_EQ(field.substr(14), std::string(64 - 14, ' '));
}

TEST(TrayTip, LongTipIsCutAtSixtyFourBytes) {
    const std::string tip(80, 'k');
    EXPECT_EQ(AsString(TipField(tip)), std::string(64, 'k'));
    const std::string exact(64, 'e');
    EXPECT_EQ(AsString(TipField(exact)), exact);
}

TEST(TrayTip, EmptyTipIsAllBlanks) { EXPECT_EQ(AsString(TipField("")), std::string(64, ' ')); }

}  // namespace
}  // namespace orvanel
