#include "folder_list.h"

#include <algorithm>
#include <cwctype>
#include <utility>

namespace orvanel {
namespace {

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

// In place, so that a path of many names is built in one pass.
void AppendName(std::wstring& parent, const std::wstring& name) {
    if (parent.back() != kSeparator) parent += kSeparator;
    parent += name;
}

std::wstring Child(std::wstring parent, const std::wstring& name) {
    AppendName(parent, name);
    return parent;
}

// Cuts a path in normal form back to its parent, the root keeping its own
// separator; false at the root. Cutting needs no copy, so walking up even
// a damaged stored path of thousands of names stays quick.
bool CutToParent(std::wstring& normal, std::size_t root_length) {
    if (normal.size() <= root_length) return false;
    normal.resize(std::max(normal.rfind(kSeparator), root_length));
    return true;
}

std::wstring UpperCased(const std::wstring& name) {
    std::wstring upper(name.size(), L'\0');
    std::transform(name.begin(), name.end(), upper.begin(), [](wchar_t c) {
        return static_cast<wchar_t>(std::towupper(static_cast<std::wint_t>(c)));
    });
    return upper;
}

// Upper-cased names compared character by character, and names equal but
// for case in a fixed order. Each name is upper-cased once rather than at
// every comparison, which made sorting a folder of thousands of subfolders
// take longer than listing it.
void SortIgnoringCase(std::vector<std::wstring>& names) {
    std::vector<std::pair<std::wstring, std::wstring>> keyed;  // upper-cased, as given
    keyed.reserve(names.size());
    for (std::wstring& name : names) keyed.emplace_back(UpperCased(name), std::move(name));
    std::sort(keyed.begin(), keyed.end());
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = std::move(keyed[i].second);
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

    SortIgnoringCase(subfolders);
    model.rows.reserve(model.rows.size() + subfolders.size());
    for (std::wstring& name : subfolders) {
        std::wstring child = Child(path, name);
        model.rows.push_back({std::move(name), std::move(child), level + 1, FolderIcon::Closed});
    }
    return model;
}

std::wstring NormalFolderPath(std::wstring_view path) {
    std::wstring normal = RootOf(path);
    for (const std::wstring& name : NamesBelowRoot(path)) AppendName(normal, name);
    return normal;
}

std::optional<std::wstring> NearestExistingFolder(
    std::wstring_view path, const std::function<bool(const std::wstring&)>& exists) {
    std::wstring candidate = NormalFolderPath(path);
    const std::size_t root_length = RootOf(path).size();
    do {
        if (exists(candidate)) return candidate;
    } while (CutToParent(candidate, root_length));
    return std::nullopt;
}

}  // namespace orvanel
