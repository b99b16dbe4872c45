#include "folder_list.h"

#include <gtest/gtest.h>

#include <set>

namespace orvanel {
namespace {

// Row by row: "text|path|level|O or C".
std::vector<std::wstring> Describe(const FolderListModel& model) {
    std::vector<std::wstring> out;
    for (const FolderRow& row : model.rows) {
        out.push_back(row.text + L"|" + row.path + L"|" + std::to_wstring(row.level) + L"|" +
                      (row.icon == FolderIcon::Open ? L"O" : L"C"));
    }
    return out;
}

TEST(FolderList, OpensThePathDownToTheCurrentFolderThenListsItsChildren) {
    const FolderListModel model = BuildFolderList(L"D:\\Data\\Work", {L"src", L"Build", L"docs"});
    EXPECT_EQ(Describe(model), (std::vector<std::wstring>{
                                   L"D:\\|D:\\|0|O",
                                   L"Data|D:\\Data|1|O",
                                   L"Work|D:\\Data\\Work|2|O",
                                   L"Build|D:\\Data\\Work\\Build|3|C",
                                   L"docs|D:\\Data\\Work\\docs|3|C",
                                   L"src|D:\\Data\\Work\\src|3|C",
                               }));
    EXPECT_EQ(model.current, 2u);
    // Extra separators make no empty rows.
    EXPECT_EQ(Describe(BuildFolderList(L"D:\\Data\\\\Work\\", {L"docs", L"src", L"Build"})), Describe(model));
}

TEST(FolderList, AtTheRootTheChildrenAreOneLevelInSortedWithoutRegardToCase) {
    const FolderListModel model = BuildFolderList(L"C:\\", {L"cherry", L"Banana", L"apple"});
    EXPECT_EQ(Describe(model), (std::vector<std::wstring>{
                                   L"C:\\|C:\\|0|O",
                                   L"apple|C:\\apple|1|C",
                                   L"Banana|C:\\Banana|1|C",
                                   L"cherry|C:\\cherry|1|C",
                               }));
    EXPECT_EQ(model.current, 0u);
    // "C:" alone is the root too.
    EXPECT_EQ(Describe(BuildFolderList(L"C:", {})), std::vector<std::wstring>{L"C:\\|C:\\|0|O"});
    // Names equal but for case come in a fixed order, whatever order they came in.
    const FolderListModel a = BuildFolderList(L"D:\\", {L"b", L"A", L"a", L"B"});
    EXPECT_EQ(Describe(a), Describe(BuildFolderList(L"D:\\", {L"B", L"a", L"b", L"A"})));
    EXPECT_EQ(a.rows[2].text, L"a");
}

TEST(FolderPaths, NormalFormAndParents) {
    EXPECT_EQ(NormalFolderPath(L"D:"), L"D:\\");
    EXPECT_EQ(NormalFolderPath(L"D:\\"), L"D:\\");
    EXPECT_EQ(NormalFolderPath(L"d:/Data//Work\\"), L"d:\\Data\\Work");

    EXPECT_EQ(ParentFolder(L"D:\\Data\\Work"), L"D:\\Data");
    EXPECT_EQ(ParentFolder(L"D:\\Data\\Work\\"), L"D:\\Data");
    EXPECT_EQ(ParentFolder(L"D:\\Data"), L"D:\\");
    EXPECT_EQ(ParentFolder(L"D:\\"), std::nullopt);
    EXPECT_EQ(ParentFolder(L"D:"), std::nullopt);
}

TEST(NearestExistingFolder, WalksUpToTheFirstFolderThatExists) {
    const std::set<std::wstring> existing{L"D:\\", L"D:\\Data"};
    std::vector<std::wstring> asked;
    const auto exists = [&](const std::wstring& path) {
        asked.push_back(path);
        return existing.count(path) > 0;
    };
    EXPECT_EQ(NearestExistingFolder(L"D:\\Data\\Work\\Old", exists), L"D:\\Data");
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"D:\\Data\\Work\\Old", L"D:\\Data\\Work", L"D:\\Data"}));

    EXPECT_EQ(NearestExistingFolder(L"D:\\Data\\", exists), L"D:\\Data");
    EXPECT_EQ(NearestExistingFolder(L"D:\\Gone", exists), L"D:\\");
}

TEST(NearestExistingFolder, NothingWhenTheDriveItselfIsGone) {
    int calls = 0;
    const auto nothing = [&](const std::wstring&) {
        ++calls;
        return false;
    };
    EXPECT_EQ(NearestExistingFolder(L"E:\\Photos\\2024", nothing), std::nullopt);
    EXPECT_EQ(calls, 3);  // the folder, its parent, the root: no more
}

TEST(NearestExistingFolder, ADamagedPathOfThousandsOfNamesIsWalkedLevelByLevel) {
    // As long as the store allows: 16,382 names of one character.
    std::wstring path = L"D:";
    while (path.size() + 2 <= 32766) path += L"\\a";
    std::size_t calls = 0;
    std::wstring last;
    const auto only_root = [&](const std::wstring& asked) {
        ++calls;
        if (!last.empty() && last.compare(0, asked.size(), asked) != 0) ADD_FAILURE() << "not a parent";
        last = asked;
        return asked == L"D:\\";
    };
    EXPECT_EQ(NearestExistingFolder(path, only_root), L"D:\\");
    EXPECT_EQ(calls, 16383u);  // each level once, the root last
}

}  // namespace
}  // namespace orvanel
