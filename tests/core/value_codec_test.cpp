#include "value_codec.h"

#include <gtest/gtest.h>

namespace orvanel {
namespace {

TEST(ValueCodec, EveryCodeMapsTo255MinusItAndBack) {
    std::string all;
    for (int c = 0; c <= 255; ++c) all.push_back(static_cast<char>(c));
    const CodecResult encoded = EncodeValue(all);
    ASSERT_EQ(encoded.error, 0);
    for (int c = 0; c <= 255; ++c) {
        EXPECT_EQ(static_cast<unsigned char>(encoded.text[static_cast<std::size_t>(c)]), 255 - c);
    }
    EXPECT_EQ(DecodeValue(encoded.text).text, all);
    EXPECT_EQ(EncodeValue("").text, "");
}

TEST(ValueCodec, LengthLimitIsTheSixteenBitCounter) {
    const CodecResult ok = EncodeValue(std::string(32766, 'x'));
    EXPECT_EQ(ok.error, 0);
    EXPECT_EQ(ok.text, std::string(32766, static_cast<char>(255 - 'x')));

    EXPECT_EQ(EncodeValue(std::string(32767, 'x')).error, kErrorOverflow);
    EXPECT_EQ(DecodeValue(std::string(32767, 'x')).error, kErrorOverflow);
    EXPECT_EQ(EncodeValue(std::string(70000, 'x')).error, kErrorOverflow);
}

TEST(ValueCodec, ErrorMessageIsWordedForTheUser) {
    EXPECT_EQ(StoreErrorMessage(kErrorOverflow), "ERROR # 6 : Overflow\rPlease exit and try again.");
}

}  // namespace
}  // namespace orvanel
