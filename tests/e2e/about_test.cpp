// The about box: what it shows, and its links' commands with the maker's
// addresses stored and missing; and Help, offering first to unblock a help
// file marked as downloaded from the internet (as a browser's zip leaves it).
#include "harness.h"

#include <tlhelp32.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "resource.h"

namespace e2e {
namespace {

const std::wstring kHome = L"https://www.kestrane.example/orvanel/", kEmail = L"support@kestrane.example";

// What its links opened outside its job (a browser, a mail program): each process started after it that shows a
// window is ended, never one that ran before. True once no process started after it runs.
bool EndedWhatItOpened(const Orvanel& app) {
    FILETIME orvanel{}, at{}, unused{};
    ::GetProcessTimes(app.Process(), &orvanel, &unused, &unused, &unused);
    bool running = false;
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{sizeof(entry), 0, 0, 0, 0, 0, 0, 0, 0, {}};
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
        const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, entry.th32ProcessID);
        const bool later = ::GetProcessTimes(process, &at, &unused, &unused, &unused) && ::CompareFileTime(&at, &orvanel) > 0;
        for (HWND w = ::GetTopWindow(nullptr); later && w; w = ::GetWindow(w, GW_HWNDNEXT)) {
            if (::IsWindowVisible(w) && ProcessOf(w) == entry.th32ProcessID) ::TerminateProcess(process, 1);
        }
        running = running || later;
        ::CloseHandle(process);
    }
    ::CloseHandle(snapshot);
    return !running;
}

struct About : E2ETest {
    static HWND Open(const Orvanel& app) {
        ChooseFromMenu(app.Window(), L"About...");
        return WaitShown(L"#32770", L"About Orvanel");
    }
    // Both buttons pressed, the box kept above what they open so that the clicks land: the commands they started,
    // in order; what those opened is ended. The box is closed by its buttons' commands: keys would reach those.
    static std::vector<std::wstring> Links(const Orvanel& app, HWND box) {
        const std::size_t before = app.Started(L"explorer").size();
        ::SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        Click(Centre(::GetDlgItem(box, IDC_ABOUT_EMAIL)));
        Click(Centre(::GetDlgItem(box, IDC_ABOUT_HOMEPAGE)));
        WaitFor([&] { return app.Started(L"explorer").size() == before + 2; }, 10000);
        WaitFor([&app] { return EndedWhatItOpened(app); }, 20000);
        const std::vector<std::wstring> lines = app.Started(L"explorer");
        return {lines.begin() + static_cast<std::ptrdiff_t>(std::min(before, lines.size())), lines.end()};
    }
};

// From a copy with programs and a library planted beside it: the links
// start Windows' own explorer, and no library is loaded from there.
TEST_F(About, ShowsTheVersionAndItsLinksStartTheStoredAddressesElseTheBuiltInOnes) {
    const std::wstring copy = PlantedCopy(L"Orvanel Copy");
    Orvanel app(true, copy);
    EXPECT_EQ(Stored(L"Email", HKEY_LOCAL_MACHINE, kMakerKey), Encoded(kEmail)) << "start-up stored the string table's";
    EXPECT_EQ(Stored(L"Web Page", HKEY_LOCAL_MACHINE, kMakerKey), Encoded(kHome));
    const std::wstring home = L"https://mirror.kestrane.example/get/", email = L"sales@kestrane.example";
    Store(L"Web Page", Encoded(home), HKEY_LOCAL_MACHINE, kMakerKey);
    Store(L"Email", Encoded(email), HKEY_LOCAL_MACHINE, kMakerKey);
    HWND box = Open(app);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Text(::GetDlgItem(box, IDC_ABOUT_TITLE)) + L" " + Text(::GetDlgItem(box, IDC_ABOUT_VERSION)), L"Orvanel Version 1.0");
    EXPECT_NE(Text(::GetDlgItem(box, IDC_ABOUT_COPYRIGHT)).find(L"2026 Kestrane"), std::wstring::npos) << "the version record's";
    EXPECT_EQ(Links(app, box), (std::vector<std::wstring>{L"explorer mailto:" + email, L"explorer " + home}));
    EXPECT_TRUE(::IsWindowVisible(box)) << "the box stays open beside them";
    ::PostMessageW(box, WM_COMMAND, IDC_ABOUT_OK, 0);
    EXPECT_TRUE(WaitClosed(box));

    Forget(HKEY_LOCAL_MACHINE, kMakerKey);
    box = Open(app);
    EXPECT_EQ(Links(app, box), (std::vector<std::wstring>{L"explorer mailto:" + kEmail, L"explorer " + kHome}));
    EXPECT_FALSE(Stored(L"Email", HKEY_LOCAL_MACHINE, kMakerKey)) << "the box writes nothing";
    ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);  // Escape's
    EXPECT_TRUE(WaitClosed(box));
    EXPECT_EQ(PlantedRan(copy), std::vector<std::wstring>{});
}

namespace fs = std::filesystem;
using Help = E2ETest;

TEST_F(Help, OpensTheFileBesideTheProgramAndOffersToUnblockAMarkedOneOnce) {
    const std::wstring exe = PlantedCopy(L"Orvanel Copy");
    const std::wstring help = (fs::path(exe).parent_path() / L"Help\\Orvanel.chm").wstring();
    Orvanel app(true, exe);
    const auto viewers = [&](std::size_t count) {
        return WaitFor([&] { return app.Started(L"hh.exe").size() == count; }, 10000) && app.Started(L"hh.exe").back() == L"hh.exe " + help;
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
        if (answer == L"Yes") {  // Help again while the question waits
            const HWND asked = WaitShown(L"#32770", L"Orvanel");
            ChooseFromMenu(app.Window(), L"Help");
            EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == asked; })) << "asked once, and brought forward";
        }
        EXPECT_NE(AnswerMessage(5000, answer).find(help), std::wstring::npos) << "the question names the file";
        EXPECT_TRUE(viewers(answer == L"Yes" ? 2 : 3)) << Narrow(answer);
        EXPECT_EQ(std::ifstream(mark).is_open(), answer == L"No");
        if (answer == L"Yes") { ASSERT_TRUE(give_mark()); }
    }
    ChooseFromMenu(app.Window(), L"Help");
    EXPECT_TRUE(viewers(4)) << "the No stands for the run";
    EXPECT_EQ(AnswerMessage(500), L"");
}

}  // namespace
}  // namespace e2e
