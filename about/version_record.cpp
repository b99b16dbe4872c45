#include "version_record.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "module.h"

namespace orvanel {
namespace {

struct Value {
    const void* data = nullptr;
    UINT size = 0;  // in bytes, or in characters for a string
};

Value Query(std::vector<BYTE>& block, const std::wstring& path) {
    void* data = nullptr;
    UINT size = 0;
    if (!::VerQueryValueW(block.data(), path.c_str(), &data, &size)) return {};
    return {data, size};
}

std::wstring Hex4(WORD value) {
    constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text(4, L'0');
    for (std::size_t i = 4; i-- > 0; value = static_cast<WORD>(value >> 4)) {
        text[i] = kDigits[value & 0xF];
    }
    return text;
}

// The strings sit under the first language and code page the record lists.
std::wstring CopyrightOf(std::vector<BYTE>& block) {
    const Value translation = Query(block, L"\\VarFileInfo\\Translation");
    if (translation.size < 2 * sizeof(WORD)) return std::wstring();
    const auto* ids = static_cast<const WORD*>(translation.data);
    const Value copyright =
        Query(block, L"\\StringFileInfo\\" + Hex4(ids[0]) + Hex4(ids[1]) + L"\\LegalCopyright");
    const auto* text = static_cast<const wchar_t*>(copyright.data);
    return text ? std::wstring(text, ::wcsnlen(text, copyright.size)) : std::wstring();
}

}  // namespace

VersionRecord ReadVersionRecord() {
    const ResourceBytes bytes = FindResourceBytes(MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    if (bytes.data == nullptr) return {};
    // VerQueryValue wants a block it may write to; resources are read-only.
    std::vector<BYTE> block(bytes.data, bytes.data + bytes.size);
    VersionRecord record;
    const Value fixed = Query(block, L"\\");
    if (fixed.size >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed.data);
        record.major = HIWORD(info->dwFileVersionMS);
        record.minor = LOWORD(info->dwFileVersionMS);
    }
    record.copyright = CopyrightOf(block);
    return record;
}

}  // namespace orvanel
