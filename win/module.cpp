#include "module.h"

namespace orvanel {

std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = 0;
    while ((n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size()) {
        path.resize(path.size() * 2);
    }
    path.resize(n);
    return path;
}

std::wstring ResourceString(unsigned id) {
    const wchar_t* text = nullptr;
    const int n = ::LoadStringW(ModuleInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return n > 0 ? std::wstring(text, static_cast<std::size_t>(n)) : std::wstring();
}

ResourceBytes FindResourceBytes(const wchar_t* name, const wchar_t* type) {
    const HMODULE self = ModuleInstance();
    HRSRC found = ::FindResourceW(self, name, type);
    HGLOBAL loaded = found ? ::LoadResource(self, found) : nullptr;
    if (loaded == nullptr) return {};
    return {static_cast<const BYTE*>(::LockResource(loaded)), ::SizeofResource(self, found)};
}

}  // namespace orvanel
