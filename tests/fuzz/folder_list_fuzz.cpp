// Splitting a stored path and walking its folders, given any text.
#include "folder_list.h"
#include "fuzz_input.h"
#include "settings_rules.h"

void orvanel::FuzzOne(FuzzInput& input) {
    const std::uint8_t existing = input.Byte();  // how many levels exist
    const std::wstring subfolder = input.Text();
    const std::wstring path = input.RestAsText();

    const StoredPathParts parts = SplitStoredPath(path);
    Require(parts.drive + parts.folder == path, "the two parts make the stored path");

    const std::wstring normal = NormalFolderPath(path);
    if (DriveLetterOf(parts.drive) && parts.drive.size() == 2)
        Require(NormalFolderPath(normal) == normal, "a normal path stays as it is");
    const FolderListModel model = BuildFolderList(path, {subfolder, subfolder, L"a", L"A"});
    Require(model.current < model.rows.size() && model.rows[model.current].path == normal,
            "the current row is the normal path");

    const std::size_t steps = model.current;  // the levels below the root
    std::size_t asked = 0;
    const auto nearest = NearestExistingFolder(path, [&](const std::wstring&) {
        return ++asked > steps + 1 - std::min<std::size_t>(existing, steps + 1);
    });
    Require(asked <= steps + 1, "each level is asked once at most");
    Require(nearest.has_value() == (existing > 0), "found when some level exists");
}
