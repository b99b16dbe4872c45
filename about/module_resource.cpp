#include "module_resource.h"

#include "module.h"

namespace orvanel {

ResourceBytes FindResourceBytes(const wchar_t* name, const wchar_t* type) {
    const HMODULE self = ModuleInstance();
    HRSRC found = ::FindResourceW(self, name, type);
    HGLOBAL loaded = found ? ::LoadResource(self, found) : nullptr;
    if (loaded == nullptr) return {};
    return {static_cast<const BYTE*>(::LockResource(loaded)), ::SizeofResource(self, found)};
}

}  // namespace orvanel
