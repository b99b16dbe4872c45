// The value decoder and the store's reads, given any bytes as stored data.
#include <map>

#include "fuzz_input.h"
#include "settings_store.h"
#include "value_codec.h"

namespace orvanel {
namespace {

// A registry holding one value, the fuzzer's bytes, or none at all.
class OneValueRegistry final : public RegistryPort {
public:
    std::optional<std::string> data;

    std::optional<std::string> QueryString(RootKey, const std::string&, const std::string&) override {
        return data;
    }
    std::unique_ptr<WritableKey> CreateKey(RootKey, const std::string&) override {
        return std::make_unique<Key>(*this);
    }

private:
    class Key final : public WritableKey {
    public:
        explicit Key(OneValueRegistry& owner) : owner_(owner) {}
        bool SetString(const std::string&, const std::string& data) override {
            owner_.data = data;
            return true;
        }

    private:
        OneValueRegistry& owner_;
    };
};

class CountingReporter final : public ErrorReporter {
public:
    int reports = 0;
    std::string last;
    void Report(const std::string& message) override {
        ++reports;
        last = message;
    }
};

}  // namespace
}  // namespace orvanel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace orvanel;
    FuzzInput input(bytes, size);
    const std::uint8_t flags = input.Byte();
    std::string data = input.RestAsBytes();
    // Overlong values need more bytes than the fuzzer likes to make.
    if ((flags & 2) != 0 && !data.empty()) {
        while (data.size() <= kMaxValueLength + 1) data += data;
    }

    const CodecResult decoded = DecodeValue(data);
    if (decoded.error == 0) {
        Require(EncodeValue(decoded.text).text == data, "decoding undoes encoding");
    } else {
        Require(data.size() > kMaxValueLength && decoded.text.empty(), "only overlong data fails");
    }

    OneValueRegistry registry;
    CountingReporter errors;
    if ((flags & 1) == 0) registry.data = data;
    const StoredRead read = ReadStoredSetting(registry, errors, RootKey::CurrentUser, "k", "v");
    const std::optional<std::string> text =
        ReadStoredValue(registry, errors, RootKey::CurrentUser, "k", "v");
    Require((read.status == ReadStatus::Missing) == !text, "both reads agree on a missing value");
    Require(!text || *text == read.text, "both reads agree on the text");

    const std::size_t stored = data.size() - (!data.empty() && data.back() == '\0' ? 1 : 0);
    switch (read.status) {
        case ReadStatus::Missing:
            Require(!registry.data && errors.reports == 0, "missing only when nothing is stored");
            break;
        case ReadStatus::Read:
            Require(stored <= kMaxValueLength && errors.reports == 0, "read without a report");
            Require(read.text.size() == stored, "every stored byte is a character");
            Require(WriteStoredValue(registry, errors, RootKey::CurrentUser, "k", "v", read.text),
                    "a read text can be written");
            Require(ReadStoredSetting(registry, errors, RootKey::CurrentUser, "k", "v").text ==
                        read.text,
                    "a written text reads back");
            break;
        case ReadStatus::Failed:
            Require(stored > kMaxValueLength && read.text == "False", "fails only when overlong");
            Require(errors.reports == 2 && errors.last == StoreErrorMessage(kErrorOverflow),
                    "each failed read is reported once");
            break;
    }
    return 0;
}
