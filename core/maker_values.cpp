#include "maker_values.h"

namespace orvanel {

bool MakerValueNeedsWrite(std::wstring_view stored, std::wstring_view resource_text) {
    return stored != resource_text;
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
