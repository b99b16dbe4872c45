// An in-memory registry whose failures the tests choose, and a reporter
// that keeps what it was told; shared by the core's tests and its fuzzer.
#pragma once

#include <map>
#include <tuple>
#include <vector>

#include "settings_store.h"

namespace orvanel {

class FakeRegistry final : public RegistryPort {
public:
    std::map<std::tuple<RootKey, std::string, std::string>, std::string> values;
    std::vector<std::string> created;  // the paths of the keys created
    bool refuse_create = false;
    bool refuse_set = false;

    std::optional<std::string> QueryString(RootKey root, const std::string& path, const std::string& name) override {
        const auto it = values.find({root, path, name});
        return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    std::unique_ptr<WritableKey> CreateKey(RootKey root, const std::string& path) override {
        if (refuse_create) return nullptr;
        created.push_back(path);
        return std::make_unique<Key>(*this, root, path);
    }

private:
    class Key final : public WritableKey {
    public:
        Key(FakeRegistry& owner, RootKey key_root, std::string key_path)
            : owner_(owner), root_(key_root), path_(std::move(key_path)) {}
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

}  // namespace orvanel
