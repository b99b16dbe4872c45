#include "tray_tip.h"

#include <gtest/gtest.h>

#include <string>

namespace orvanel {
namespace {

std::string AsString(const std::array<char, kTipFieldSize>& field) {
    return std::string(field.begin(), field.end());
}

TEST(TrayTip, WordsThenNulThenBlanksCutAtSixtyFourBytes) {
    const std::string field = AsString(TipField(std::string_view("Drive Mounted\0", 14)));
    EXPECT_EQ(field, std::string("Drive Mounted\0", 14) + std::string(64 - 14, ' '));
    EXPECT_EQ(AsString(TipField(std::string(80, 'k'))), std::string(64, 'k'));
}

}  // namespace
}  // namespace orvanel
