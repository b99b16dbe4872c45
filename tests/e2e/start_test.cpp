// Starting and leaving: one copy a session, also right after a copy left;
// an icon the shell refuses at first; and mounting when Orvanel starts.
#include "harness.h"

#include <shellapi.h>

#include <filesystem>

namespace e2e {
namespace {

using Start = E2ETest;

TEST_F(Start, ASecondCopyEndsAtOnceAndBringsTheFirstOnesOpenDialogForward) {
    Orvanel app;
    ChooseFromMenu(app.Window(), L"Settings");
    const HWND dialog = WaitShown(L"#32770", L"Select Path to Make As drive");
    ASSERT_NE(dialog, nullptr);
    // As a user clicks elsewhere and starts Orvanel again: only the foreground process, and what it starts, may hand the foreground on.
    const HWND own = ::CreateWindowExW(WS_EX_TOPMOST, L"Static", L"", WS_POPUP | WS_VISIBLE | SS_NOTIFY, 0, 0, 99, 99, nullptr, nullptr, nullptr, nullptr);
    Click(Centre(own));
    EXPECT_TRUE(WaitFor([own] { return ::GetForegroundWindow() == own; })) << "a click on the test's own window takes the foreground";
    Orvanel second(false);
    EXPECT_TRUE(second.WaitGone());
    EXPECT_TRUE(WaitFor([dialog] { return ::GetForegroundWindow() == dialog; })) << "the dialog comes forward";
    EXPECT_EQ(TrayWindows().size(), 1u) << "one copy, one icon";
    ::DestroyWindow(own);
}

// A copy started while the other is leaving (an installer closes it and
// starts the new one at once) waits for it, then runs.
TEST_F(Start, AStartRightAfterACopyLeavesRunsAfterItsUnmount) {
    StoreSettings(true);
    auto leaving = std::make_unique<Orvanel>();
    ASSERT_TRUE(Maps(letter_, folder_)) << "a stored folder that is there is mounted at start";
    // A removal that outlasts the leaving copy's wait (a busy disk) must not take the new copy's drive.
    if (StandInSubst()) SubstRemovalTakes(6000);
    ChooseFromMenu(leaving->Window(), L"Exit");
    Orvanel next(false);
    EXPECT_TRUE(leaving->WaitGone());
    Pause(16000);
    EXPECT_EQ(TrayWindows().size(), 1u) << "the new copy runs";
    EXPECT_TRUE(Maps(letter_, folder_)) << "and mounted the drive after the old one unmounted it";
    Pause(4000);
    EXPECT_TRUE(Maps(letter_, folder_)) << "and keeps it";
    EXPECT_TRUE(Showing(next.Window(), Yellow));
    EXPECT_EQ(AnswerMessage(500), L"");
    if (StandInSubst()) SubstRemovalTakes(0);

    // Closed from outside, without mounting at start: nothing is left mapped.
    Store(L"MountAtStart", L"0");
    ::PostMessageW(next.Window(), WM_CLOSE, 0, 0);
    Orvanel last(false);
    EXPECT_TRUE(next.WaitGone());
    EXPECT_TRUE(WaitFor([&] { return last.Window() != nullptr; }, 15000));
    EXPECT_TRUE(Maps(letter_, L""));
    EXPECT_TRUE(Showing(last.Window(), Red));
}

TEST_F(Start, AnIconTheShellRefusesAtFirstIsAddedLaterAndTaskbarCreatedBringsItBack) {
    const TrayStandIn shell_not_ready(2);
    Orvanel app;
    EXPECT_TRUE(WaitFor([&] { return shell_not_ready.Refused() == 2; }, 10000));
    EXPECT_TRUE(Showing(app.Window(), Red)) << "added at the third try";
    EXPECT_EQ(AnswerMessage(500), L"");
    // As when Explorer restarts: the notification area forgot the icon.
    NOTIFYICONDATAW forgotten{};
    forgotten.cbSize = sizeof(forgotten);
    forgotten.hWnd = app.Window();
    forgotten.uID = 1;
    ::Shell_NotifyIconW(NIM_DELETE, &forgotten);
    ASSERT_TRUE(Showing(app.Window(), nullptr)) << "gone";
    ::SendMessageTimeoutW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    EXPECT_TRUE(Showing(app.Window(), Red)) << "TaskbarCreated brings it back";
}

using MountAtStart = E2ETest;

// A USB disk plugged in, a network drive reconnected a little later.
TEST_F(MountAtStart, AFolderThatComesLaterIsMountedWhenItComes) {
    StoreSettings(true);
    std::filesystem::remove(folder_);
    Orvanel app;
    Pause(4000);
    std::filesystem::create_directory(folder_);
    EXPECT_TRUE(Maps(letter_, folder_, 10000));
    EXPECT_EQ(AnswerMessage(500), L"");
}

TEST_F(MountAtStart, AFolderThatNeverComesGivesTheMountsMessageOnceAfterAMinute) {
    StoreSettings(true);
    std::filesystem::remove(folder_);
    Orvanel app;
    EXPECT_EQ(AnswerMessage(50000), L"") << "still waiting after 50 s";
    EXPECT_NE(AnswerMessage(20000), L"") << "the message a Mount gives";
    EXPECT_EQ(AnswerMessage(4000), L"") << "once";
    EXPECT_EQ(Look(OpenMenu(app.Window())), kUnmounted);
    Key(VK_ESCAPE);
}

}  // namespace
}  // namespace e2e
