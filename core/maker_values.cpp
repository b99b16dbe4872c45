#include "maker_values.h"

namespace orvanel {

void SyncMakerValues(RegistryPort& registry, ErrorReporter& errors, RootKey root,
                     const std::string& key_path, const std::vector<MakerValue>& values) {
    for (const MakerValue& value : values) {
        const StoredRead stored = ReadStoredSetting(registry, errors, root, key_path, value.name);
        const std::string text = stored.status == ReadStatus::Missing ? kMakerValueDefault : stored.text;
        if (text != value.resource_text) {
            WriteStoredValue(registry, errors, root, key_path, value.name, value.resource_text);
        }
    }
}

std::wstring TooltipText(std::wstring_view address) {
    std::wstring text = L" ";
    text.append(address);
    text += L' ';
    return text;
}

std::wstring VersionText(unsigned major, unsigned minor) {
    return L"Version " + std::to_wstring(major) + L"." + std::to_wstring(minor);
}

}  // namespace orvanel
