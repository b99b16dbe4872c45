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

}  // namespace

CodecResult EncodeValue(std::string_view ansi) { return Transform(ansi); }
CodecResult DecodeValue(std::string_view ansi) { return Transform(ansi); }

std::string StoreErrorMessage(int error) {
    const char* description = error == kErrorOverflow ? "Overflow" : "Unexpected error";
    return "ERROR # " + std::to_string(error) + " : " + description + "\rPlease exit and try again.";
}

StoredRead ReadStoredSetting(RegistryPort& registry, ErrorReporter& errors, RootKey root,
                             const std::string& path, const std::string& name) {
    const std::optional<std::string> data = registry.QueryString(root, path, name);
    if (!data) return {ReadStatus::Missing, std::string()};
    CodecResult decoded = DecodeValue(WithoutTerminator(*data));
    if (decoded.error != 0) {
        errors.Report(StoreErrorMessage(decoded.error));
        return {ReadStatus::Failed, std::string(kFailedRead)};
    }
    return {ReadStatus::Read, std::move(decoded.text)};
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
