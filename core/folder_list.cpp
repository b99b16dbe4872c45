#include "folder_list.h"

#include <algorithm>
#include <cwctype>

namespace orvanel {
namespace {

constexpr std::size_t kRootLength = 3;  // "D:\"
constexpr wchar_t kSeparator = L'\\';

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::wstring RootOf(std::wstring_view path) {
    return std::wstring(path.substr(0, 2)) + kSeparator;
}

// The folder names below the root, empty ones (doubled or trailing
// separators) left out.
std::vector<std::wstring> NamesBelowRoot(std::wstring_view path) {
    std::vector<std::wstring> names;
    std::wstring name;
    for (const wchar_t c : path.substr(std::min(path.size(), std::size_t{2}))) {
        if (!IsSeparator(c)) {
            name += c;
        } else if (!name.empty()) {
            names.push_back(name);
            name.clear();
        }
    }
    if (!name.empty()) names.push_back(name);
    return names;
}

std::wstring Child(const std::wstring& parent, const std::wstring& name) {
    return parent.back() == kSeparator ? parent + name : parent + kSeparator + name;
}

bool LessIgnoringCase(const std::wstring& a, const std::wstring& b) {
    const auto upper = [](wchar_t c) { return std::towupper(static_cast<std::wint_t>(c)); };
    const bool less = std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [&](wchar_t x, wchar_t y) { return upper(x) < upper(y); });
    const bool greater = std::lexicographical_compare(
        b.begin(), b.end(), a.begin(), a.end(),
        [&](wchar_t x, wchar_t y) { return upper(x) < upper(y); });
    return less || (!greater && a < b);  // a fixed order for names equal but for case
}

}  // namespace

FolderListModel BuildFolderList(std::wstring_view current_path,
                                std::vector<std::wstring> subfolders) {
    FolderListModel model{};
    std::wstring path = RootOf(current_path);
    model.rows.push_back({path, path, 0, FolderIcon::Open});
    int level = 0;
    for (const std::wstring& name : NamesBelowRoot(current_path)) {
        path = Child(path, name);
        model.rows.push_back({name, path, ++level, FolderIcon::Open});
    }
    model.current = model.rows.size() - 1;

    std::sort(subfolders.begin(), subfolders.end(), LessIgnoringCase);
    for (const std::wstring& name : subfolders) {
        model.rows.push_back({name, Child(path, name), level + 1, FolderIcon::Closed});
    }
    return model;
}

std::wstring NormalFolderPath(std::wstring_view path) {
    std::wstring normal = RootOf(path);
    for (const std::wstring& name : NamesBelowRoot(path)) normal = Child(normal, name);
    return normal;
}

std::optional<std::wstring> ParentFolder(std::wstring_view path) {
    std::vector<std::wstring> names = NamesBelowRoot(path);
    if (names.empty()) return std::nullopt;
    names.pop_back();
    std::wstring parent = RootOf(path);
    for (const std::wstring& name : names) parent = Child(parent, name);
    return parent;
}

std::optional<std::wstring> NearestExistingFolder(
    std::wstring_view path, const std::function<bool(const std::wstring&)>& exists) {
    std::optional<std::wstring> candidate = NormalFolderPath(path);
    while (candidate) {
        if (exists(*candidate)) return candidate;
        candidate = ParentFolder(*candidate);
    }
    return std::nullopt;
}

}  // namespace orvanel
