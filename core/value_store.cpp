#include "value_store.h"

namespace orvanel {
namespace {

const char kFailedRead[] = "False";

CodecResult Transform(std::string_view ansi) {
    if (ansi.size() > kMaxValueLength) return {std::string(), kErrorOverflow};
    std::string out(ansi.size(), '\0');
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        out[i] = static_cast<char>(255 - static_cast<unsigned char>(ansi[i]));
    }
    return {out, 0};
}

// Data written by this store always ends in one zero byte; data written by
// others may not, and then every byte is text.
std::string WithoutTerminator(std::string data) {
    if (!data.empty() && data.back() == '\0') data.pop_back();
    return data;
}

// The decoded value of data read, with how the read went.
StoredRead Decoded(ErrorReporter& errors, const std::optional<std::string>& data) {
    if (!data) return {ReadStatus::Missing, std::string()};
    CodecResult decoded = DecodeValue(WithoutTerminator(*data));
    if (decoded.error != 0) {
        errors.Report(StoreErrorMessage(decoded.error));
        return {ReadStatus::Failed, std::string(kFailedRead)};
    }
    return {ReadStatus::Read, std::move(decoded.text)};
}

}  // namespace

CodecResult EncodeValue(std::string_view ansi) { return Transform(ansi); }
CodecResult DecodeValue(std::string_view ansi) { return Transform(ansi); }

std::string StoreErrorMessage(int error) {
    const char* description = error == kErrorOverflow ? "Overflow" : "Unexpected error";
    return "ERROR # " + std::to_string(error) + " : " + description + "\rPlease exit and try again.";
}

std::vector<std::optional<std::string>> RegistryPort::QueryStrings(RootKey root, const std::string& path,
                                                                   const std::vector<std::string>& names) {
    std::vector<std::optional<std::string>> data;
    for (const std::string& name : names) data.push_back(QueryString(root, path, name));
    return data;
}

StoredRead ReadStoredSetting(RegistryPort& registry, ErrorReporter& errors, RootKey root,
                             const std::string& path, const std::string& name) {
    return Decoded(errors, registry.QueryString(root, path, name));
}

std::vector<StoredRead> ReadStoredSettings(RegistryPort& registry, ErrorReporter& errors, RootKey root,
                                           const std::string& path, const std::vector<std::string>& names) {
    std::vector<StoredRead> reads;
    for (const std::optional<std::string>& data : registry.QueryStrings(root, path, names)) {
        reads.push_back(Decoded(errors, data));
    }
    return reads;
}

bool WriteStoredValue(RegistryPort& registry, ErrorReporter& errors, RootKey root,
                      const std::string& path, const std::string& name, const std::string& value) {
    // The key is created before the value is encoded, so a value too long to
    // encode still leaves the key behind, as it always has.
    const std::unique_ptr<WritableKey> key = registry.CreateKey(root, path);
    CodecResult encoded = EncodeValue(value);
    if (encoded.error != 0) {
        errors.Report(StoreErrorMessage(encoded.error));
        return false;
    }
    if (!key) return false;
    encoded.text.push_back('\0');
    return key->SetString(name, encoded.text);
}

}  // namespace orvanel
