#include "registry.h"

#include <windows.h>

#include "handles.h"
#include "message_box.h"
#include "text.h"

namespace orvanel {
namespace {

// Access 0x3F: the six specific key rights together.
constexpr REGSAM kCreateAccess = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY |
                                 KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY | KEY_CREATE_LINK;

HKEY ToHkey(RootKey root) {
    // The predefined keys are sign-extended 32-bit values.
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

class Win32Key final : public WritableKey {
public:
    explicit Win32Key(UniqueKey key) : key_(std::move(key)) {}
    bool SetString(const std::string& name, const std::string& data) override {
        return ::RegSetValueExA(key_.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                                static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
    }

private:
    UniqueKey key_;
};

class Win32Registry final : public RegistryPort {
public:
    std::optional<std::string> QueryString(RootKey root, const std::string& path, const std::string& name) override {
        return QueryStrings(root, path, {name})[0];
    }

    // The key is opened once for all of them.
    std::vector<std::optional<std::string>> QueryStrings(RootKey root, const std::string& path,
                                                         const std::vector<std::string>& names) override {
        std::vector<std::optional<std::string>> data(names.size());
        UniqueKey key;
        if (::RegOpenKeyExA(ToHkey(root), path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return data;
        for (std::size_t i = 0; i < names.size(); ++i) data[i] = Query(key.get(), names[i]);
        return data;
    }

    std::unique_ptr<WritableKey> CreateKey(RootKey root, const std::string& path) override {
        SECURITY_ATTRIBUTES security{};
        UniqueKey key;
        DWORD disposition = 0;
        if (::RegCreateKeyExA(ToHkey(root), path.c_str(), 0, const_cast<char*>(""), REG_OPTION_NON_VOLATILE,
                              kCreateAccess, &security, key.put(), &disposition) != ERROR_SUCCESS) {
            return nullptr;
        }
        return std::make_unique<Win32Key>(std::move(key));
    }

    bool HasKey(RootKey root, const std::string& path) override {
        UniqueKey key;
        return ::RegOpenKeyExA(ToHkey(root), path.c_str(), 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS;
    }

    bool DeleteValue(RootKey root, const std::string& path, const std::string& name) override {
        return Gone(::RegDeleteKeyValueA(ToHkey(root), path.c_str(), name.c_str()));
    }

    bool DeleteKey(RootKey root, const std::string& path) override {
        return Gone(::RegDeleteKeyA(ToHkey(root), path.c_str()));
    }

private:
    static bool Gone(LSTATUS rc) { return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND; }

    // A value may be of any length the store wrote: a short one, the usual,
    // is read at the first try.
    static std::optional<std::string> Query(HKEY key, const std::string& name) {
        std::string data(256, '\0');
        DWORD size = static_cast<DWORD>(data.size());
        LONG rc = ::RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size);
        while (rc == ERROR_MORE_DATA) {  // the value may grow between the calls
            data.resize(size);
            rc = ::RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size);
        }
        if (rc != ERROR_SUCCESS) return std::nullopt;
        data.resize(size);
        return data;
    }
};

class BoxReporter final : public ErrorReporter {
public:
    void Report(const std::string& message) override { ShowAppMessage(nullptr, FromAnsi(message)); }
};

}  // namespace

RegistryPort& SystemRegistry() {
    static Win32Registry registry;
    return registry;
}

ErrorReporter& MessageBoxReporter() {
    static BoxReporter reporter;
    return reporter;
}

StoredSetting AsSetting(const StoredRead& read, const std::wstring& fallback) {
    if (read.status == ReadStatus::Missing) return {read.status, fallback};
    return {read.status, FromAnsi(read.text)};
}

bool WriteRegValue(RegistryPort& registry, RootKey root, const std::string& key_path, const std::string& name,
                   const std::wstring& value) {
    return WriteStoredValue(registry, MessageBoxReporter(), root, key_path, name, ToAnsi(value));
}

StoredSetting ReadRegSetting(RootKey root, const std::wstring& key_path, const std::wstring& name,
                             const std::wstring& fallback) {
    return AsSetting(ReadStoredSetting(SystemRegistry(), MessageBoxReporter(), root, ToAnsi(key_path), ToAnsi(name)),
                     fallback);
}

std::wstring ReadRegValue(RootKey root, const std::wstring& key_path, const std::wstring& name,
                          const std::wstring& fallback) {
    return ReadRegSetting(root, key_path, name, fallback).text;
}

bool WriteRegValue(RootKey root, const std::wstring& key_path, const std::wstring& name, const std::wstring& value) {
    return WriteRegValue(SystemRegistry(), root, ToAnsi(key_path), ToAnsi(name), value);
}

}  // namespace orvanel
