// An in-memory registry whose failures the tests choose, and a reporter
// that keeps what it was told.
#pragma once

#include <functional>
#include <map>
#include <tuple>
#include <vector>

#include "value_store.h"

namespace orvanel {

class FakeRegistry final : public RegistryPort {
public:
    std::map<std::tuple<RootKey, std::string, std::string>, std::string> values;
    std::vector<std::string> created;  // the paths of the keys created
    std::vector<std::string> order;    // the names of the values set, in order
    bool refuse_create = false, refuse_set = false;

    std::optional<std::string> QueryString(RootKey root, const std::string& path, const std::string& name) override {
        const auto it = values.find({root, path, name});
        return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    std::unique_ptr<WritableKey> CreateKey(RootKey root, const std::string& path) override {
        if (refuse_create) return nullptr;
        created.push_back(path);
        return std::make_unique<Key>([this, root, path](const std::string& name, const std::string& data) {
            if (refuse_set) return false;
            order.push_back(name);
            values[{root, path, name}] = data;
            return true;
        });
    }

private:
    struct Key final : WritableKey {
        explicit Key(std::function<bool(const std::string&, const std::string&)> set) : set_(std::move(set)) {}
        bool SetString(const std::string& name, const std::string& data) override { return set_(name, data); }
        std::function<bool(const std::string&, const std::string&)> set_;
    };
};

struct RecordingReporter final : ErrorReporter {
    std::vector<std::string> messages;
    void Report(const std::string& message) override { messages.push_back(message); }
};

}  // namespace orvanel
