#include "settings_store.h"

#include "value_codec.h"

namespace orvanel {
namespace {

const char kFailedRead[] = "False";

// Data written by this store always ends in one zero byte; data written by
// others may not, and then every byte is text.
std::string WithoutTerminator(std::string data) {
    if (!data.empty() && data.back() == '\0') data.pop_back();
    return data;
}

}  // namespace

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

std::optional<std::string> ReadStoredValue(RegistryPort& registry, ErrorReporter& errors,
                                           RootKey root, const std::string& path,
                                           const std::string& name) {
    StoredRead read = ReadStoredSetting(registry, errors, root, path, name);
    if (read.status == ReadStatus::Missing) return std::nullopt;
    return std::move(read.text);
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
