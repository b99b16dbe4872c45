#include "settings_store.h"

#include "value_codec.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <vector>

namespace orvanel {
namespace {

// An in-memory registry whose failures the tests choose.
class FakeRegistry final : public RegistryPort {
public:
    using Address = std::tuple<RootKey, std::string, std::string>;
    std::map<Address, std::string> values;
    std::vector<std::pair<RootKey, std::string>> created;
    bool refuse_create = false;
    bool refuse_set = false;

    std::optional<std::string> QueryString(RootKey root, const std::string& path,
                                           const std::string& name) override {
        const auto it = values.find({root, path, name});
        if (it == values.end()) return std::nullopt;
        return it->second;
    }

    std::unique_ptr<WritableKey> CreateKey(RootKey root, const std::string& path) override {
        if (refuse_create) return nullptr;
        created.emplace_back(root, path);
        return std::make_unique<Key>(*this, root, path);
    }

private:
    class Key final : public WritableKey {
    public:
        Key(FakeRegistry& owner, RootKey root, std::string path)
            : owner_(owner), root_(root), path_(std::move(path)) {}
        bool SetString(const std::string& name, const std::string& data) override {
            if (owner_.refuse_set) return false;
            owner_.values[{root_, path_, name}] = data;
            return true;
        }

    private:
        FakeRegistry& owner_;
        RootKey root_;
        std::string path_;
    };
};

class RecordingReporter final : public ErrorReporter {
public:
    std::vector<std::string> messages;
    void Report(const std::string& message) override { messages.push_back(message); }
};

constexpr RootKey kUser = RootKey::CurrentUser;
const std::string kPath = "SOFTWARE\\Kestrane\\Orvanel";

class SettingsStoreTest : public ::testing::Test {
protected:
    FakeRegistry registry;
    RecordingReporter errors;

    bool Write(const std::string& name, const std::string& value) {
        return WriteStoredValue(registry, errors, kUser, kPath, name, value);
    }
    std::optional<std::string> Read(const std::string& name) {
        return ReadStoredValue(registry, errors, kUser, kPath, name);
    }
};

// Bytes, terminators and missing values are checked against the real
// registry under Wine; here what needs a registry the tests fill or fail.
TEST_F(SettingsStoreTest, DataWithoutTerminatorKeepsEveryCharacter) {
    registry.values[{kUser, kPath, "Drive"}] = "\xA7";  // "X", written by another tool
    EXPECT_EQ(Read("Drive"), "X");
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(SettingsStoreTest, OverlongWriteReportsOverflowAfterCreatingTheKey) {
    EXPECT_FALSE(Write("Path", std::string(32767, 'p')));
    EXPECT_EQ(errors.messages, std::vector<std::string>{StoreErrorMessage(kErrorOverflow)});
    ASSERT_EQ(registry.created.size(), 1u);
    EXPECT_EQ(registry.created[0].second, kPath);
    EXPECT_EQ(registry.values.count({kUser, kPath, "Path"}), 0u);
}

TEST_F(SettingsStoreTest, OverlongStoredValueReadsAsFalseAfterReport) {
    registry.values[{kUser, kPath, "Path"}] = std::string(40000, 'q');
    EXPECT_EQ(Read("Path"), "False");
    EXPECT_EQ(errors.messages, std::vector<std::string>{StoreErrorMessage(kErrorOverflow)});
}

TEST_F(SettingsStoreTest, StatusTellsAFailedReadFromAFolderNamedFalse) {
    const auto read = [&](const std::string& name) {
        return ReadStoredSetting(registry, errors, kUser, kPath, name);
    };
    EXPECT_EQ(read("Path").status, ReadStatus::Missing);
    EXPECT_EQ(read("Path").text, "");

    ASSERT_TRUE(Write("Path", "False"));
    EXPECT_EQ(read("Path").status, ReadStatus::Read);
    EXPECT_EQ(read("Path").text, "False");
    EXPECT_TRUE(errors.messages.empty());

    registry.values[{kUser, kPath, "Path"}] = std::string(40000, 'q');
    const StoredRead failed = read("Path");
    EXPECT_EQ(failed.status, ReadStatus::Failed);
    EXPECT_EQ(failed.text, "False");  // what callers of the text alone still see
    EXPECT_EQ(errors.messages.size(), 1u);
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
