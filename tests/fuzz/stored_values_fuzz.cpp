// The value decoder and the store's reads, given any bytes as stored data.
#include "../core/fake_registry.h"
#include "fuzz_input.h"
#include "value_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace orvanel;
    FuzzInput input(bytes, size);
    const std::uint8_t flags = input.Byte();
    std::string data = input.RestAsBytes();
    // Overlong values need more bytes than the fuzzer likes to make.
    while ((flags & 2) != 0 && !data.empty() && data.size() <= kMaxValueLength + 1) data += data;

    const CodecResult decoded = DecodeValue(data);
    if (decoded.error == 0) {
        Require(EncodeValue(decoded.text).text == data, "decoding undoes encoding");
    } else {
        Require(data.size() > kMaxValueLength && decoded.text.empty(), "only overlong data fails");
    }

    FakeRegistry registry;
    RecordingReporter errors;
    if ((flags & 1) == 0) registry.values[{RootKey::CurrentUser, "k", "v"}] = data;
    const auto setting = [&] { return ReadStoredSetting(registry, errors, RootKey::CurrentUser, "k", "v"); };
    const StoredRead read = setting();
    const std::optional<std::string> text = ReadStoredValue(registry, errors, RootKey::CurrentUser, "k", "v");
    Require((read.status == ReadStatus::Missing) == !text, "both reads agree on a missing value");
    Require(!text || *text == read.text, "both reads agree on the text");

    const std::size_t stored = data.size() - (!data.empty() && data.back() == '\0' ? 1 : 0);
    switch (read.status) {
        case ReadStatus::Missing:
            Require(registry.values.empty() && errors.messages.empty(), "missing only when nothing is stored");
            break;
        case ReadStatus::Read:
            Require(stored <= kMaxValueLength && errors.messages.empty(), "read without a report");
            Require(read.text.size() == stored, "every stored byte is a character");
            Require(WriteStoredValue(registry, errors, RootKey::CurrentUser, "k", "v", read.text),
                    "a read text can be written");
            Require(setting().text == read.text, "a written text reads back");
            break;
        case ReadStatus::Failed:
            Require(stored > kMaxValueLength && read.text == "False", "fails only when overlong");
            Require(errors.messages == std::vector<std::string>(2, StoreErrorMessage(kErrorOverflow)),
                    "each failed read is reported once");
            break;
    }
    return 0;
}
