// The stored values' encoding and the store's rules; the bytes, terminators
// and missing values of the real registry are checked under Wine.
#include "fake_registry.h"
#include "value_codec.h"

#include <gtest/gtest.h>

namespace orvanel {
namespace {

TEST(ValueCodec, EveryCodeMapsTo255MinusItAndBackUpToTheSixteenBitCounter) {
    std::string all;
    for (int c = 0; c <= 255; ++c) all.push_back(static_cast<char>(c));
    const CodecResult encoded = EncodeValue(all);
    ASSERT_EQ(encoded.error, 0);
    for (int c = 0; c <= 255; ++c) EXPECT_EQ(static_cast<unsigned char>(encoded.text[std::size_t(c)]), 255 - c);
    EXPECT_EQ(DecodeValue(encoded.text).text, all);
    EXPECT_EQ(EncodeValue("").text, "");

    EXPECT_EQ(EncodeValue(std::string(32766, 'x')).text, std::string(32766, static_cast<char>(255 - 'x')));
    EXPECT_EQ(EncodeValue(std::string(32767, 'x')).error, kErrorOverflow);
    EXPECT_EQ(DecodeValue(std::string(32767, 'x')).error, kErrorOverflow);
    EXPECT_EQ(EncodeValue(std::string(70000, 'x')).error, kErrorOverflow);
    EXPECT_EQ(StoreErrorMessage(kErrorOverflow), "ERROR # 6 : Overflow\rPlease exit and try again.");
}

constexpr RootKey kUser = RootKey::CurrentUser;
const std::string kPath = "SOFTWARE\\Kestrane\\Orvanel";

class SettingsStoreTest : public ::testing::Test {
protected:
    FakeRegistry registry;
    RecordingReporter errors;
    bool Write(const std::string& name, const std::string& value) {
        return WriteStoredValue(registry, errors, kUser, kPath, name, value);
    }
};

TEST_F(SettingsStoreTest, MissingReadsEmptyAFolderNamedFalseReadsAndNoTerminatorIsNeeded) {
    EXPECT_EQ(ReadStoredSetting(registry, errors, kUser, kPath, "Path").text, "");
    ASSERT_TRUE(Write("Path", "False"));
    EXPECT_EQ(ReadStoredSetting(registry, errors, kUser, kPath, "Path").status, ReadStatus::Read);
    registry.values[{kUser, kPath, "Drive"}] = "\xA7";  // "X", written by another tool
    EXPECT_EQ(ReadStoredValue(registry, errors, kUser, kPath, "Drive"), "X");
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(SettingsStoreTest, OverlongWriteReportsOverflowAfterCreatingTheKey) {
    EXPECT_FALSE(Write("Path", std::string(32767, 'p')));
    EXPECT_EQ(errors.messages, std::vector<std::string>{StoreErrorMessage(kErrorOverflow)});
    EXPECT_EQ(registry.created, std::vector<std::string>{kPath});
    EXPECT_TRUE(registry.values.empty());
}

TEST_F(SettingsStoreTest, RefusedKeyOrValueFailsSilently) {
    registry.refuse_create = true;
    EXPECT_FALSE(Write("Drive", "X"));
    registry.refuse_create = false;
    registry.refuse_set = true;
    EXPECT_FALSE(Write("Drive", "X"));
    EXPECT_TRUE(errors.messages.empty());
    EXPECT_TRUE(registry.values.empty());
}

}  // namespace
}  // namespace orvanel
