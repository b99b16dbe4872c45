// Starting and leaving: one copy a session; an icon the shell refuses at
// first; every road out while the drive is mounted or being mounted; the
// maker-wide values; Help; and mounting when Orvanel starts.
#include "harness.h"

#include <filesystem>

#include "resource.h"

namespace e2e {
namespace {

using Lines = std::vector<std::wstring>;
constexpr wchar_t kSettings[] = L"Select Path to Make As drive";

class Start : public E2ETest {
protected:
    void SetUp() override {
        E2ETest::SetUp();
        if (!HasNotificationArea()) GTEST_SKIP() << "no notification area";
        Store(L"Path", folder_);
        Store(L"Drive", std::wstring(1, letter_));
    }
    Lines MountThenUnmount() const {
        return {L"subst.exe " + drive_ + L" \"" + folder_ + L"\"", L"subst.exe " + drive_ + L" /d"};
    }
    // After leaving by some road: the program ended, it mounted and then
    // unmounted, no drive is left, and its last word to the shell removed the icon.
    void CheckLeft(const Orvanel& app, const TrayStandIn& tray, const char* road) const {
        EXPECT_TRUE(app.WaitGone(15000)) << road;
        app.WaitCommands(2);
        EXPECT_EQ(app.Commands(), MountThenUnmount()) << road;
        EXPECT_TRUE(WaitFor([&] { return Mapping(letter_).empty(); }, 5000)) << road;
        ASSERT_FALSE(tray.Requests().empty()) << road;
        EXPECT_EQ(tray.Requests().back(), static_cast<DWORD>(NIM_DELETE)) << road;
    }
    const std::wstring folder_ = TempFolder(L"Some Folder");
};

TEST_F(Start, ASecondCopyEndsAtOnceAndBringsTheFirstOnesOpenDialogForward) {
    Orvanel app;
    ASSERT_TRUE(WaitFor([&] { return IconShown(app.Window()); }, 5000));
    const long red = IconShot(app.Window()).Count(Red);
    {
        Orvanel second(false);
        EXPECT_TRUE(second.WaitGone(20000));
        EXPECT_EQ(second.ExitCode(), 0u);
    }
    EXPECT_EQ(IconShot(app.Window()).Count(Red), red) << "the first copy's icon is still there";
    EXPECT_EQ(IconShot(app.Window(), 240).Count(Red), red) << "and it is the only one";
    for (const auto& [item, title] : {std::pair{L"Settings", kSettings}, {L"About...", L"About Orvanel"}}) {
        ChooseFromMenu(app.Window(), item);
        ASSERT_NE(WaitShown(L"#32770", title, 5000), nullptr) << title;
        STARTUPINFOW startup{sizeof(startup)};
        PROCESS_INFORMATION notepad{};
        std::wstring line = L"notepad.exe";
        ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &notepad);
        EXPECT_TRUE(WaitFor([] { return Foreground().find(L"Notepad") != std::wstring::npos; }, 20000));
        Orvanel second(false);
        EXPECT_TRUE(second.WaitGone(20000));
        EXPECT_TRUE(WaitFor([title = title] { return Foreground() == title; }, 5000)) << title << " comes forward";
        ::TerminateProcess(notepad.hProcess, 0);
        ::CloseHandle(notepad.hThread);
        ::CloseHandle(notepad.hProcess);
        ::PostMessageW(Shown(L"#32770", title), WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitClosed(L"#32770", title, 5000));
    }
    EXPECT_EQ(::FindWindowExW(nullptr, app.Window(), L"OrvanelTrayWindow", nullptr), nullptr) << "one hidden window";
}

TEST_F(Start, AnIconTheShellRefusesAtFirstIsAddedLaterOrTheUserIsToldAndTaskbarCreatedBringsIt) {
    {
        const TrayStandIn shell_not_ready(2);
        Orvanel app;
        EXPECT_TRUE(WaitFor([&] { return IconShot(app.Window()).Count(Red) > 0; }, 20000));
        EXPECT_EQ(shell_not_ready.Refused(), 2);
        EXPECT_EQ(Shown(L"#32770", L"Orvanel"), nullptr);
        EXPECT_TRUE(Exit(app));
    }
    auto shell_gone = std::make_unique<TrayStandIn>(1000);
    Orvanel app;
    EXPECT_NE(AnswerMessage(40000).find(L"could not add its icon to the notification area"), std::wstring::npos);
    shell_gone.reset();
    EXPECT_EQ(IconShot(app.Window()).Count(Red), 0) << "no icon yet";
    ::SendMessageTimeoutW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    EXPECT_TRUE(WaitFor([&] { return IconShot(app.Window()).Count(Red) > 0; }, 10000)) << "TaskbarCreated brings it";
    EXPECT_TRUE(Exit(app));
}

TEST_F(Start, EveryRoadOutUnmountsRemovesTheIconAndEnds) {
    if (!StandInSubst()) GTEST_SKIP() << "needs the stand-in subst.exe to delay and to hang";
    const auto mounted = [](const Orvanel& app) { ChooseFromMenu(app.Window(), L"Mount"); };
    {
        SubstDelays(3000);
        const TrayStandIn tray;
        Orvanel app;
        mounted(app);
        ChooseFromMenu(app.Window(), L"Exit");
        CheckLeft(app, tray, "Exit during the mount");
        SubstDelays(0);
    }
    {
        const TrayStandIn tray;
        Orvanel app;
        mounted(app);
        app.WaitCommands(1);
        ::PostMessageW(app.Window(), WM_CLOSE, 0, 0);
        CheckLeft(app, tray, "WM_CLOSE from outside");
    }
    {
        const TrayStandIn tray;
        Orvanel app;
        mounted(app);
        app.WaitCommands(1);
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(app.Window(), WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000, &answer);
        EXPECT_EQ(answer, 1u) << "Orvanel lets the session end";
        ::SendMessageTimeoutW(app.Window(), WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_NORMAL, 15000, nullptr);
        CheckLeft(app, tray, "the end of the session");
    }
    SubstDelays(600000);  // far longer than the program may wait
    Orvanel app;
    mounted(app);
    ChooseFromMenu(app.Window(), L"Exit");
    EXPECT_TRUE(app.WaitGone(30000)) << "Exit does not wait for a hung subst.exe";
}

TEST_F(Start, StartUpWritesTheMakerValuesOnlyWhereTheyDifferFromTheStringTable) {
    const std::wstring home = L"https://www.kestrane.example/orvanel/", email = L"support@kestrane.example";
    Forget(HKEY_LOCAL_MACHINE, kMakerKey);
    if (!Orvanel().Window()) FAIL() << "Orvanel did not start";
    EXPECT_EQ(Stored(L"Email", HKEY_LOCAL_MACHINE, kMakerKey), Encoded(email));
    EXPECT_EQ(Stored(L"Web Page", HKEY_LOCAL_MACHINE, kMakerKey), Encoded(home));
    // Stored as binary, the values read the same; a rewrite would make them REG_SZ again.
    const auto as_binary = [](const std::wstring& text) { return Value{REG_BINARY, Encoded(text).data}; };
    Store(L"Email", as_binary(L"Support@Kestrane.example"), HKEY_LOCAL_MACHINE, kMakerKey);
    Store(L"Web Page", as_binary(home), HKEY_LOCAL_MACHINE, kMakerKey);
    if (!Orvanel().Window()) FAIL() << "Orvanel did not start";
    EXPECT_EQ(Stored(L"Email", HKEY_LOCAL_MACHINE, kMakerKey), Encoded(email)) << "differing in case: rewritten";
    EXPECT_EQ(Stored(L"Web Page", HKEY_LOCAL_MACHINE, kMakerKey), as_binary(home)) << "equal: left alone";
}

TEST_F(Start, HelpOpensTheHelpFileBesideTheProgramWithTheViewerFromTheWindowsFolder) {
    // Installed where users put programs: a folder with a blank in its path.
    const std::filesystem::path copy = TempFolder(L"Orvanel Copy");
    const std::filesystem::path built = std::filesystem::path(Orvanel::Exe()).parent_path();
    std::filesystem::copy(built / L"Orvanel.exe", copy);
    std::filesystem::copy(built / L"Help", copy / L"Help");
    Orvanel app(true, (copy / L"Orvanel.exe").wstring());
    ChooseFromMenu(app.Window(), L"Help");
    EXPECT_NE(WaitShown(nullptr, L"Orvanel Help", 15000), nullptr) << "the viewer shows Orvanel's help file";
    const std::vector<Program> viewers = app.Started(L"hh.exe");
    ASSERT_EQ(viewers.size(), 1u);
    EXPECT_EQ(viewers[0].command_line, L"hh.exe " + (copy / L"Help\\Orvanel.chm").wstring()) << "unquoted";
    wchar_t windows[MAX_PATH] = L"";
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_EQ(::_wcsnicmp(viewers[0].image.c_str(), windows, wcslen(windows)), 0) << testing::PrintToString(viewers[0].image);
    EXPECT_TRUE(app.Running());
    ::PostMessageW(Shown(nullptr, L"Orvanel Help"), WM_CLOSE, 0, 0);
}

class Library : public E2ETest {};

TEST_F(Library, APlantedOneBesideTheProgramIsNeverLoaded) {
    if (UnderWine()) GTEST_SKIP() << "Wine's own advapi32 loads version.dll before any program starts";
    // A browser may save a file named like a Windows library in Downloads,
    // beside a portable copy; the about box is what loads version.dll.
    const std::filesystem::path downloads = TempFolder(L"Downloads");
    wchar_t tests[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, tests, MAX_PATH);
    std::filesystem::copy(Orvanel::Exe(), downloads);
    std::filesystem::copy(std::filesystem::path(tests).parent_path() / L"planted\\version.dll", downloads);
    Orvanel app(true, (downloads / L"Orvanel.exe").wstring());
    app.Post(IDM_ABOUT);
    EXPECT_NE(WaitShown(L"#32770", L"About Orvanel", 10000), nullptr);
    EXPECT_FALSE(std::filesystem::exists(downloads / L"version.dll.loaded"));
    ::PostMessageW(Shown(L"#32770", L"About Orvanel"), WM_CLOSE, 0, 0);
}

class MountAtStart : public Start {
protected:
    void SetUp() override {
        Start::SetUp();
        Store(L"MountAtStart", L"1");
    }
};

TEST_F(MountAtStart, AStoredFolderThatIsThereIsMountedAsTheMenuMountsIt) {
    Orvanel app;
    ASSERT_TRUE(app.WaitCommands(1));
    EXPECT_EQ(app.Commands(), Lines{MountThenUnmount()[0]});
    EXPECT_EQ(Mapping(letter_), L"\\??\\" + folder_);
    EXPECT_TRUE(WaitFor([&] { return IconShot(app.Window()).Count(Yellow) > 0; }, 3000));
}

TEST_F(MountAtStart, AFolderThatComesLaterIsWaitedForWithoutBusyWaitingAndMountedWhenItComes) {
    std::filesystem::remove(folder_);
    Orvanel app;
    Pause(1000);
    const double started = app.CpuSeconds();
    Pause(4000);
    EXPECT_EQ(app.Commands(), Lines{}) << "nothing starts while the folder is missing";
    EXPECT_LT(app.CpuSeconds() - started, 0.5) << "four seconds of waiting cost next to nothing";
    std::filesystem::create_directory(folder_);
    ASSERT_TRUE(app.WaitCommands(1));
    EXPECT_EQ(Mapping(letter_), L"\\??\\" + folder_);
    EXPECT_EQ(AnswerMessage(500), L"");
}

TEST_F(MountAtStart, AFolderThatNeverComesGivesTheMountsMessageOnceAfterAMinute) {
    std::filesystem::remove(folder_);
    Orvanel app;
    EXPECT_EQ(AnswerMessage(50000), L"") << "still waiting after 50 s";
    EXPECT_NE(AnswerMessage(20000), L"") << "the message a Mount gives";
    EXPECT_EQ(app.Commands(), Lines{MountThenUnmount()[0]});
    EXPECT_EQ(AnswerMessage(4000), L"") << "once";
    EXPECT_EQ(Look(OpenMenu(app.Window())), L"Mount - Settings - About... Help - Exit");
    Key(VK_ESCAPE);
}

TEST_F(MountAtStart, AMountFromTheMenuEndsTheWait) {
    std::filesystem::remove(folder_);
    Orvanel app;
    ChooseFromMenu(app.Window(), L"Mount");
    EXPECT_NE(AnswerMessage(5000), L"") << "subst's word on the missing folder";
    std::filesystem::create_directory(folder_);
    Pause(4000);
    EXPECT_EQ(app.Commands(), Lines{MountThenUnmount()[0]}) << "no second mount when the folder comes";
}

TEST_F(MountAtStart, ADamagedStoredSettingIsRefusedAndNothingStarts) {
    Value damaged = Encoded(std::wstring(1, letter_));
    damaged.data.insert(damaged.data.begin(), '\xF7');  // a tab before the letter
    Store(L"Drive", damaged);
    Orvanel app;
    EXPECT_NE(AnswerMessage(5000).find(L"drive letter stored in Orvanel's settings is damaged"), std::wstring::npos);
    Pause(500);
    EXPECT_EQ(app.Commands(), Lines{});
}

}  // namespace
}  // namespace e2e
