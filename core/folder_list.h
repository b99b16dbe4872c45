// The classic folder list: the folders from the root down to the current
// one, opened, then the current folder's subfolders, closed, each level
// indented one step further.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvanel {

enum class FolderIcon { Open, Closed };

struct FolderRow {
    std::wstring text;  // "D:\" for the root, else the folder's name
    std::wstring path;  // what opening the row makes the current path
    int level;          // indent steps
    FolderIcon icon;
};

struct FolderListModel {
    std::vector<FolderRow> rows;
    std::size_t current;  // the row of the current folder
};

// `current_path` is a full path on a drive ("D:\Data\Work", "D:\");
// `subfolders` are its subfolders' names in any order; they are listed
// sorted without regard to case.
FolderListModel BuildFolderList(std::wstring_view current_path,
                                std::vector<std::wstring> subfolders);

// "D:" -> "D:\", "d:/Data//Work\" -> "d:\Data\Work": one separator between
// names, none at the end but the root's own.
std::wstring NormalFolderPath(std::wstring_view path);

// The folder itself (made normal) when it exists, else its nearest existing parent;
// nullopt when not even the root exists (a drive gone or not ready).
std::optional<std::wstring> NearestExistingFolder(
    std::wstring_view path, const std::function<bool(const std::wstring&)>& exists);

}  // namespace orvanel
