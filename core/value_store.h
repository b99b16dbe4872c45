// How every stored value is kept in the registry: the per-character
// encoding, and the rules of reading and writing one named value, with the
// registry itself behind a small port so that the rules are testable anywhere.
// All texts here are in the ANSI code page, one byte a character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvanel {

// The run-time error the store reports to the user.
constexpr int kErrorOverflow = 6;

// The longest text the encoding accepts: its counter is a 16-bit signed
// number, so 32,767 characters or more overflow.
constexpr std::size_t kMaxValueLength = 32766;

struct CodecResult {
    std::string text;  // empty when error != 0
    int error = 0;     // 0, or kErrorOverflow
};

// Each byte c becomes 255 - c; applying it twice gives the text back.
CodecResult EncodeValue(std::string_view ansi);
CodecResult DecodeValue(std::string_view ansi);

// "ERROR # 6 : Overflow", a carriage return, "Please exit and try again."
std::string StoreErrorMessage(int error);

// The predefined root keys, by their 32-bit values.
enum class RootKey : std::uint32_t {
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
};

// A key opened for writing; closed when destroyed.
class WritableKey {
public:
    virtual ~WritableKey() = default;
    // Stores `data` (terminator included) as REG_SZ; false on failure.
    virtual bool SetString(const std::string& name, const std::string& data) = 0;
};

class RegistryPort {
public:
    virtual ~RegistryPort() = default;
    // The value's raw data, or nullopt when the key or the value can't be read.
    virtual std::optional<std::string> QueryString(RootKey root, const std::string& path,
                                                   const std::string& name) = 0;
    // Several values of one key, in the order named; one by one unless the
    // registry can do better (open the key once).
    virtual std::vector<std::optional<std::string>> QueryStrings(RootKey root, const std::string& path,
                                                                 const std::vector<std::string>& names);
    // Creates the key and every missing key above it; nullptr on failure.
    virtual std::unique_ptr<WritableKey> CreateKey(RootKey root, const std::string& path) = 0;
    virtual bool HasKey(RootKey root, const std::string& path) = 0;
    // Gone already counts as done for both.
    virtual bool DeleteValue(RootKey root, const std::string& path, const std::string& name) = 0;
    // A key without subkeys.
    virtual bool DeleteKey(RootKey root, const std::string& path) = 0;
};

class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual void Report(const std::string& message) = 0;
};

// How a read went. Failed is told apart by this status, never by the text:
// a folder may really be named "False".
enum class ReadStatus {
    Missing,  // the key or the value can't be read: the caller's default applies
    Read,     // the decoded text
    Failed,   // the value could not be decoded; the error has been reported
};

struct StoredRead {
    ReadStatus status = ReadStatus::Missing;
    std::string text;  // the decoded text; "False" when Failed; empty when Missing
};

// The same, as the program holds it: in UTF-16, with the caller's default
// in place when Missing.
struct StoredSetting {
    ReadStatus status = ReadStatus::Missing;
    std::wstring text;
};

StoredRead ReadStoredSetting(RegistryPort& registry, ErrorReporter& errors, RootKey root,
                             const std::string& path, const std::string& name);
// Several values of one key, in the order named.
std::vector<StoredRead> ReadStoredSettings(RegistryPort& registry, ErrorReporter& errors, RootKey root,
                                           const std::string& path, const std::vector<std::string>& names);

// True when the value was stored.
bool WriteStoredValue(RegistryPort& registry, ErrorReporter& errors, RootKey root,
                      const std::string& path, const std::string& name, const std::string& value);

}  // namespace orvanel
