#include "text.h"

#include <algorithm>
#include <vector>

namespace orvanel {
namespace {

std::wstring ToWide(UINT code_page, std::string_view text) {
    if (text.empty()) return std::wstring();
    const int n = ::MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

}  // namespace

std::string ToAnsi(std::wstring_view text) {
    if (text.empty()) return std::string();
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                          nullptr, nullptr);
    return out;
}

std::wstring FromAnsi(std::string_view text) { return ToWide(CP_ACP, text); }

std::wstring FromOem(std::string_view text) { return ToWide(CP_OEMCP, text); }

bool FitsAnsi(std::wstring_view text) {
    // Best-fit mapping would quietly turn characters into look-alikes, so
    // compare the round trip instead of trusting the default-char flag alone.
    return FromAnsi(ToAnsi(text)) == text;
}

std::wstring WindowText(HWND window) {
    std::vector<wchar_t> text(static_cast<std::size_t>(std::max(::GetWindowTextLengthW(window), 0)) + 1, L'\0');
    const int length = ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return std::wstring(text.data(), static_cast<std::size_t>(std::max(length, 0)));
}

}  // namespace orvanel
