// Help from a copy with programs planted beside it: the viewer from the
// Windows folder opens the help file beside the program, and a help file
// marked as downloaded from the internet (as a browser's zip leaves it) is
// offered to be unblocked first.
#include "harness.h"

#include <filesystem>
#include <fstream>

namespace e2e {
namespace {

namespace fs = std::filesystem;
using Help = E2ETest;

TEST_F(Help, OpensTheFileBesideTheProgramAndOffersToUnblockAMarkedOneOnce) {
    const std::wstring exe = PlantedCopy(L"Orvanel Copy");
    const std::wstring help = (fs::path(exe).parent_path() / L"Help\\Orvanel.chm").wstring();
    Orvanel app(true, exe);
    const auto viewers = [&](std::size_t count) {
        return WaitFor([&] { return app.Started(L"hh.exe").size() == count; }, 10000) &&
               app.Started(L"hh.exe").back() == L"hh.exe " + help;
    };
    ChooseFromMenu(app.Window(), L"Help");
    EXPECT_TRUE(viewers(1)) << "unmarked, it opens at once";
    EXPECT_NE(WaitShown(nullptr, L"Orvanel Help", 15000), nullptr) << "the viewer shows it";
    EXPECT_EQ(PlantedRan(exe), std::vector<std::wstring>{});
    const fs::path mark = help + L":Zone.Identifier";
    const auto give_mark = [&] { return !!(std::ofstream(mark, std::ios::binary) << "[ZoneTransfer]\r\nZoneId=3\r\n" << std::flush); };
    if (!give_mark()) GTEST_SKIP() << "this volume keeps no Zone.Identifier stream beside a file";
    for (const std::wstring answer : {L"Yes", L"No"}) {
        ChooseFromMenu(app.Window(), L"Help");
        EXPECT_NE(AnswerMessage(5000, answer).find(help), std::wstring::npos) << "the question names the file";
        EXPECT_TRUE(viewers(answer == L"Yes" ? 2 : 3)) << Narrow(answer);
        EXPECT_EQ(std::ifstream(mark).is_open(), answer == L"No");
        if (answer == L"Yes") ASSERT_TRUE(give_mark());
    }
    ChooseFromMenu(app.Window(), L"Help");
    EXPECT_TRUE(viewers(4)) << "the No stands for the run";
    EXPECT_EQ(AnswerMessage(500), L"");
}

}  // namespace
}  // namespace e2e
