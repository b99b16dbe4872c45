// Help from a copy extracted from a downloaded zip, its help file marked as
// coming from the internet: Orvanel offers to unblock it, Yes removes the
// mark, No keeps it for the run, and the viewer opens the file every time.
#include "harness.h"

#include <filesystem>
#include <fstream>

namespace e2e {
namespace {

using Path = std::filesystem::path;
class HelpMark : public E2ETest {};

TEST_F(HelpMark, YesRemovesTheMarkNoKeepsItAndIsNotAskedAgainTheViewerOpensTheFileEachTime) {
    if (!HasNotificationArea()) GTEST_SKIP() << "no notification area";
    const Path copy = TempFolder(L"Downloads\\Orvanel"), built = Path(Orvanel::Exe()).parent_path();
    std::filesystem::copy(built / L"Orvanel.exe", copy);
    std::filesystem::copy(built / L"Help", copy / L"Help");
    const std::wstring help = (copy / L"Help\\Orvanel.chm").wstring();
    const Path mark = help + L":Zone.Identifier";  // what a browser's download leaves
    const auto give_mark = [&] {
        return !!(std::ofstream(mark, std::ios::binary) << "[ZoneTransfer]\r\nZoneId=3\r\n" << std::flush);
    };
    if (!give_mark()) GTEST_SKIP() << "this volume keeps no Zone.Identifier stream beside a file";
    Orvanel app(true, (copy / L"Orvanel.exe").wstring());
    const auto viewers = [&](std::size_t count) {
        return WaitFor([&] { return app.Started(L"hh.exe").size() == count; }, 10000) &&
               app.Started(L"hh.exe").back().command_line == L"hh.exe " + help;
    };
    for (const std::wstring answer : {L"Yes", L"No"}) {
        ChooseFromMenu(app.Window(), L"Help");
        const HWND box = WaitShown(L"#32770", L"Orvanel", 5000);
        ASSERT_NE(box, nullptr) << "asked before " << Narrow(answer);
        EXPECT_NE(Statics(box).find(help), std::wstring::npos) << Narrow(Statics(box));
        ClickButton(box, answer);
        EXPECT_TRUE(viewers(answer == L"Yes" ? 1u : 2u)) << Narrow(answer);
        EXPECT_EQ(std::ifstream(mark).is_open(), answer == L"No");
        if (answer == L"Yes") ASSERT_TRUE(give_mark());
    }
    ChooseFromMenu(app.Window(), L"Help");
    EXPECT_TRUE(viewers(3)) << "the No stands for the run";
}

}  // namespace
}  // namespace e2e
