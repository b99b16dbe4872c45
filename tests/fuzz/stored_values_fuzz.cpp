// The value decoder and the store's reads, given any bytes as stored data.
#include "../core/fake_registry.h"
#include "fuzz_input.h"
#include "value_store.h"

void orvanel::FuzzOne(FuzzInput& input) {
    const std::uint8_t flags = input.Byte();
    std::string data = input.RestAsBytes();
    // Overlong values need more bytes than the fuzzer likes to make.
    while ((flags & 2) != 0 && !data.empty() && data.size() <= kMaxValueLength + 1) data += data;

    const CodecResult decoded = DecodeValue(data);
    if (decoded.error == 0)
        Require(EncodeValue(decoded.text).text == data, "decoding undoes encoding");
    else
        Require(data.size() > kMaxValueLength && decoded.text.empty(), "only overlong data fails");

    FakeRegistry registry;
    RecordingReporter errors;
    constexpr RootKey kUser = RootKey::CurrentUser;
    if ((flags & 1) == 0) registry.values[{kUser, "k", "v"}] = data;
    const StoredRead read = ReadStoredSetting(registry, errors, kUser, "k", "v");

    const std::size_t stored = data.size() - (!data.empty() && data.back() == '\0' ? 1 : 0);
    if (read.status == ReadStatus::Missing) {
        Require(registry.values.empty() && errors.messages.empty(), "missing only when nothing is stored");
    } else if (read.status == ReadStatus::Read) {
        Require(stored <= kMaxValueLength && errors.messages.empty(), "read without a report");
        Require(read.text.size() == stored, "every stored byte is a character");
        Require(WriteStoredValue(registry, errors, kUser, "k", "v", read.text), "a read text can be written");
        Require(ReadStoredSetting(registry, errors, kUser, "k", "v").text == read.text, "a written text reads back");
    } else {
        Require(stored > kMaxValueLength && read.text == "False", "fails only when overlong");
        Require(errors.messages == std::vector<std::string>(1, StoreErrorMessage(kErrorOverflow)),
                "each failed read is reported");
    }
}
