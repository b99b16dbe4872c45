#include "value_codec.h"

#include <gtest/gtest.h>

namespace orvanel {
namespace {

std::string Bytes(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes) s.push_back(static_cast<char>(c));
    return s;
}

TEST(ValueCodec, KnownExamplesMatchTheStoredForm) {
    EXPECT_EQ(EncodeValue("C").text, Bytes({0xBC}));
    EXPECT_EQ(EncodeValue("Z").text, Bytes({0xA5}));
    EXPECT_EQ(EncodeValue(":").text, Bytes({0xC5}));
    EXPECT_EQ(EncodeValue("\\").text, Bytes({0xA3}));
    EXPECT_EQ(EncodeValue("abc").text, Bytes({0x9E, 0x9D, 0x9C}));
    EXPECT_EQ(DecodeValue(Bytes({0x9E, 0x9D, 0x9C})).text, "abc");
}

TEST(ValueCodec, EveryCodeRoundTripsAndMapsTo255Minus) {
    std::string all;
    for (int c = 0; c <= 255; ++c) all.push_back(static_cast<char>(c));
    const CodecResult encoded = EncodeValue(all);
    ASSERT_EQ(encoded.error, 0);
    for (int c = 0; c <= 255; ++c) {
        EXPECT_EQ(static_cast<unsigned char>(encoded.text[static_cast<std::size_t>(c)]), 255 - c);
    }
    EXPECT_EQ(DecodeValue(encoded.text).text, all);
}

TEST(ValueCodec, EmptyTextStaysEmpty) {
    const CodecResult r = EncodeValue("");
    EXPECT_EQ(r.error, 0);
    EXPECT_TRUE(r.text.empty());
}

TEST(ValueCodec, LengthLimitIsTheSixteenBitCounter) {
    const std::string longest(32766, 'x');
    const CodecResult ok = EncodeValue(longest);
    EXPECT_EQ(ok.error, 0);
    EXPECT_EQ(ok.text.size(), 32766u);
    EXPECT_EQ(ok.text.find_first_not_of(static_cast<char>(255 - 'x')), std::string::npos);

    EXPECT_EQ(EncodeValue(std::string(32767, 'x')).error, kErrorOverflow);
    EXPECT_EQ(DecodeValue(std::string(32767, 'x')).error, kErrorOverflow);
    EXPECT_EQ(EncodeValue(std::string(70000, 'x')).error, kErrorOverflow);
}

TEST(ValueCodec, ErrorMessageIsWordedForTheUser) {
    EXPECT_EQ(StoreErrorMessage(6), "ERROR # 6 : Overflow\rPlease exit and try again.");
    EXPECT_EQ(StoreErrorMessage(5).substr(0, 11), "ERROR # 5 :");
}

}  // namespace
}  // namespace orvanel
