// Mounting: the command lines, the tray's mount state and look, leaving,
// starting (one copy, mounting at start, the icon's retries) and the mount rule.
#include "command_lines.h"
#include "drive_menu.h"
#include "icon_retries.h"
#include "leaving.h"
#include "mount_state.h"
#include "one_copy.h"
#include "settings_rules.h"
#include "startup_mount.h"
#include "tray_tip.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvanel {
namespace {

CommandOutcome Ok(bool mapped) { return {mapped, 0, L""}; }
CommandOutcome Failed(bool mapped, const wchar_t* message = L"") { return {mapped, 1, message}; }

// The user chooses Mount or Unmount `times` times in a row; each starts its command.
void Choose(MountTracker& t, int times = 1) { for (int i = 0; i < times; ++i, t.Started()) t.Toggle(); }

TEST(MountTracker, EachLastEndKeepsTheLookOrCorrectsItWithTheLatestFailure) {
    // Before each end the user chooses Mount or Unmount `choices` times; then the look, and what is said.
    struct Step { int choices; CommandOutcome ends; const wchar_t* then; };
    const Step steps[] = {
        {1, Ok(true), L"mounted"}, {1, Failed(true, L"Access denied"), L"mounted: Access denied"},
        {1, Ok(false), L"unmounted"}, {1, Failed(false, L"Invalid parameter - Q:\r\n"), L"unmounted: Invalid parameter - Q:"},
        {1, Failed(true, L"Drive already SUBSTed"), L"mounted"},  // it maps the folder already: mounted after all
        {1, Ok(true), L"mounted: subst.exe ended with exit code 0."},  // that message does not resurface
        // Overlapping commands are judged when the last ends, with the latest failure's words.
        {2, Ok(false), L"mounted"}, {0, Ok(true), L"mounted"},
        {2, Failed(true), L"mounted"}, {0, Failed(false, L"Access denied"), L"unmounted: Access denied"},
        {2, Failed(false), L"unmounted"}, {0, Ok(true), L"mounted: subst.exe ended with exit code 1."},
        {2, {false, 0, L"Odd words"}, L"mounted"}, {0, Ok(false), L"unmounted: Odd words"},
    };
    MountTracker t;
    for (const Step& s : steps) {
        Choose(t, s.choices);
        const auto c = t.Finished(s.ends);
        std::wstring seen = t.Shown() == MountState::Mounted ? L"mounted" : L"unmounted";
        if (c) seen += (c->look == t.Shown() ? L": " : L" but asked otherwise: ") + c->message;
        EXPECT_EQ(seen, s.then) << "step " << (&s - steps);
    }
}

TEST(MountTracker, TheMappingSeenWhileNoCommandRunsSetsTheLookSilently) {
    MountTracker t;
    EXPECT_EQ(t.Observe(false), std::nullopt);
    EXPECT_EQ(t.Observe(true), MountState::Mounted);  // mapped outside, or left mapped
    EXPECT_EQ(t.Observe(true), std::nullopt);
    Choose(t);
    EXPECT_EQ(t.Observe(true), std::nullopt) << "a command of ours is judged when it ends";
    t.Finished(Ok(false));
    EXPECT_EQ(t.Observe(false), std::nullopt);
    EXPECT_EQ(t.Observe(true), MountState::Mounted);
    EXPECT_EQ(t.Observe(false), MountState::Unmounted);  // removed outside
}

TEST(TrayLook, MountedOffersUnmountGreysSettingsAndTipsEndAtTheirNul) {
    const TrayLook mounted = LookOf(MountState::Mounted), unmounted = LookOf(MountState::Unmounted);
    EXPECT_EQ(std::wstring(mounted.caption) + (mounted.settings_enabled ? L" Settings" : L""), L"Unmount");
    EXPECT_EQ(std::wstring(unmounted.caption) + (unmounted.settings_enabled ? L" Settings" : L""), L"Mount Settings");
    EXPECT_NE(mounted.icon_id, unmounted.icon_id);
    const auto field = TipField(mounted.tip);
    EXPECT_EQ(std::string(field.begin(), field.end()), std::string("Drive Mounted\0", 14) + std::string(50, ' '));
    EXPECT_EQ(std::string(TipField(std::string(70, 'a')).data(), 64), std::string(64, 'a'));
    EXPECT_EQ(std::string(unmounted.tip), std::string("Drive Unmounted\0", 16));
}

std::wstring Entries(const std::vector<MenuEntry>& entries) {
    std::wstring shown;
    for (const MenuEntry& e : entries) shown += e.text + (e.enabled ? L"|" : L":greyed|");
    return shown;
}

TEST(DriveMenu, OneDriveKeepsItsMenuWithAddDriveSeveralHaveAnEntryEachAndATipThatNamesOrCountsThem) {
    DriveView one{L"x", L"D:\\Sites", MountState::Unmounted, false};
    const auto one_menu = [&] {
        const OneDriveMenu m = MenuForOneDrive(one);
        return Entries({m.mount, {L"Settings", m.settings_enabled}, {L"Add Drive...", m.add_enabled}});
    };
    EXPECT_EQ(one_menu(), L"Mount:greyed|Settings|Add Drive...:greyed|") << "until a first folder is saved";
    one.mountable = true;
    one.shown = MountState::Mounted;
    EXPECT_EQ(one_menu(), L"Unmount|Settings:greyed|Add Drive...|");
    EXPECT_EQ(TrayTip({one}), std::string("Drive Mounted\0", 14));
    EXPECT_EQ(NamingDrive({one}, 0, L"Path not found"), L"Path not found") << "one drive's messages as ever";

    const std::vector<DriveView> two{{L"x", L"D:\\Sites\\R&D\\", MountState::Mounted}, {L"W\x01", L"E:\\"}};
    const SeveralDrivesMenu menu = MenuForDrives(two);
    EXPECT_EQ(Entries(menu.mounts), L"Unmount X:  R&&D|Mount ?:  E:\\|");
    EXPECT_EQ(Entries(menu.settings), L"X:  R&&D...:greyed|?:  E:\\...|");
    EXPECT_EQ(Entries(menu.removals) + std::to_wstring(menu.removable.at(0)), L"?:  E:\\|1") << "only what is unmounted";
    EXPECT_TRUE(menu.add_enabled && !MenuForDrives(std::vector<DriveView>(26)).add_enabled) << "a drive a letter";
    EXPECT_EQ(NamingDrive(two, 1, L"Drive already SUBSTed"), L"?:  E:\\\r\nDrive already SUBSTed");
    EXPECT_EQ(OverallState(two), MountState::Mounted);
    EXPECT_EQ(OverallState({two[1], two[1]}), MountState::Unmounted);
    EXPECT_EQ(TrayTip(two), std::string("X: mounted, ?: unmounted\0", 25));
    // Five drives fit the tip's 63 characters with three mounted (62), not with two (64).
    std::vector<DriveView> five(5, DriveView{L"Q", L"C:\\Q", MountState::Mounted});
    five[0].shown = five[1].shown = MountState::Unmounted;
    EXPECT_EQ(TrayTip(five).size(), 63u);
    five[2].shown = MountState::Unmounted;
    EXPECT_EQ(TrayTip(five), std::string("2 of 5 drives mounted\0", 22));
}

TEST(MappingTarget, NamesTheFolderWhateverItsCaseOrSlashAndVolumeChangesConcernTheLettersBit) {
    EXPECT_TRUE(MappingNamesFolder(L"\\??\\c:\\some folder\\", L"C:\\Some Folder") && MappingNamesFolder(L"\\??\\D:\\", L"D:\\") &&
                MappingNamesFolder(L"C:\\Data", L"C:\\Data\\\\"));
    for (const auto& [target, folder] : {std::pair{L"\\??\\C:\\Some Folder2", L"C:\\Some Folder"},
                                         {L"\\Device\\HarddiskVolume1", L"C:\\"}, {L"\\??\\", L""}, {L"\\??\\D:\\", L"D:"}})
        EXPECT_FALSE(MappingNamesFolder(target, folder)) << testing::PrintToString(target);
    EXPECT_TRUE(MaskHoldsDrive(1u << 23 | 1u, L"x:") && MaskHoldsDrive(1u, L"A:") && MaskHoldsDrive(1u << 25, L"Z:"));
    EXPECT_FALSE(MaskHoldsDrive(1u << 22 | 1u << 24, L"X:"));
    for (const wchar_t* odd : {L"X", L"xy:", L":", L"1:", L"X;"}) EXPECT_FALSE(MaskHoldsDrive(~0u, odd)) << odd;
}

TEST(StartupMount, MountsOnlyWhenAskedWithAFolderWaitsAMinuteForAMissingOneAndRefusesADamagedOne) {
    struct Case { StartupFacts facts; StartupMount then; };  // option, folder stored, damaged, mapped, folder exists
    const Case cases[] = {
        {{true, true, false, false, true}, StartupMount::Mount},    {{true, true, false, false, false}, StartupMount::Wait},
        {{true, true, false, true, true}, StartupMount::Nothing},   {{true, true, true, false, true}, StartupMount::Refuse},
        {{false, true, true, false, true}, StartupMount::Nothing},  {{true, false, false, false, true}, StartupMount::Nothing},
    };
    for (const Case& c : cases) EXPECT_EQ(DecideStartupMount(c.facts), c.then) << "case " << (&c - cases);
    for (const std::uint32_t start : {0u, 0xFFFFF000u}) {  // across a wrap of the tick count too
        const FolderWait wait(start);
        EXPECT_EQ(wait.Missing(start), 3000u) << start;
        EXPECT_EQ(wait.Missing(start + 58500), 1500u) << start;
        EXPECT_EQ(wait.Missing(start + 60000), std::nullopt) << start;
    }
}

TEST(OneCopy, ACopyLeavingAndItsCommandsAreWaitedForTenSecondsAtMostOneStayingIsHandedOverTo) {
    for (const std::uint32_t start : {0u, 0xFFFFFF00u}) {
        const ClaimWait wait(start);
        EXPECT_EQ(wait.Next(true, true, false, start), ClaimStep::Run) << start;
        EXPECT_EQ(wait.Next(false, false, true, start + 5000), ClaimStep::HandOver) << start;
        EXPECT_EQ(wait.Next(false, true, false, start + 9999), ClaimStep::Wait) << start;
        EXPECT_EQ(wait.Next(true, false, true, start + 9999), ClaimStep::Wait) << "its removal still runs";
        EXPECT_EQ(wait.Pause(start + 9900), 100u) << start;
        EXPECT_EQ(wait.Next(false, true, false, start + 10000), ClaimStep::GiveUp) << start;
        EXPECT_EQ(wait.Next(true, false, true, start + 10000), ClaimStep::GiveUp) << start;
    }
}

TEST(Leaving, UnmountsEveryMappedDriveOnceWaitingBoundedForWhatAnyRuns) {
    MountTracker t, idle;
    EXPECT_EQ(LeavePlan(0).Next({&t, &idle}, 0), LeaveStep::End) << "nothing mounted: at once";
    Choose(t);
    t.Finished(Ok(true));
    LeavePlan plan(100);
    ASSERT_EQ(plan.Next({&idle, &t}, 100), LeaveStep::Unmount) << "one drive of two mounted";
    Choose(t);  // what the window does for the unmount
    EXPECT_EQ(plan.Next({&idle, &t}, 150), LeaveStep::Wait);
    EXPECT_EQ(plan.WaitLeft(150), 1950u);
    t.Finished(Failed(true, L"Access denied"));
    EXPECT_EQ(plan.Next({&idle, &t}, 300), LeaveStep::End) << "one that fails is not tried again";
    // A mount still running could overtake an unmount: it is let finish first.
    for (const bool mapped : {true, false}) {
        MountTracker running;
        Choose(running);
        LeavePlan waiting(0);
        EXPECT_EQ(waiting.Next({&idle, &running}, 2500), LeaveStep::Wait);
        running.Finished(mapped ? Ok(true) : Failed(false, L"Path not found - C:\\Gone"));
        EXPECT_EQ(waiting.Next({&idle, &running}, 2600), mapped ? LeaveStep::Unmount : LeaveStep::End);
    }
}

TEST(Leaving, HungCommandsDelayTheEndBySixSecondsAtMostAlsoAcrossAWrap) {
    for (const std::uint32_t start : {0u, 0xFFFFFF00u}) {
        MountTracker t;
        Choose(t);  // never ends
        LeavePlan plan(start);
        EXPECT_EQ(plan.WaitLeft(start + 3999), 1u) << start;
        ASSERT_EQ(plan.Next({&t}, start + 4000), LeaveStep::Unmount) << start;  // shown mounted: tried all the same
        Choose(t);
        EXPECT_EQ(plan.Next({&t}, start + 5999), LeaveStep::Wait) << start;
        EXPECT_EQ(plan.Next({&t}, start + 6000), LeaveStep::End) << start;
    }
}

TEST(MountSettings, PrintableValuesAreUsedAsStoredControlCharactersAreDamaged) {
    const auto says = [](const StoredSetting& letter, const StoredSetting& folder) {
        const auto refusal = CheckMountSettings(letter, folder);
        return refusal ? refusal->message : L"used";
    };
    const auto read = [](std::wstring text) { return StoredSetting{ReadStatus::Read, std::move(text)}; };
    for (const wchar_t* ok : {L"x", L"xy", L"", L" ", L"False", L"D:\\\u00c4\u20ac~", L"\\\\server\\share", L"\x80"}) {
        EXPECT_EQ(says(read(ok), read(L"D:\\Data")) + says(read(L"X"), read(ok)), L"usedused") << testing::PrintToString(std::wstring(ok));
    }
    EXPECT_EQ(says({ReadStatus::Missing, L"C"}, {ReadStatus::Missing, L""}), L"used");  // the defaults stand in
    for (const StoredSetting& d : {StoredSetting{ReadStatus::Failed, L"False"}, read(L"\x1F"), read(L"a\tb"), read(L"\x7F"),
                                   read(std::wstring(L"C:\\Data\0\x01", 9))}) {
        EXPECT_NE(says(d, read(L"D:\\Data")).find(L"drive letter stored in Orvanel's settings is damaged"), std::wstring::npos);
        EXPECT_EQ(says(read(L"X"), d), L"The folder stored in Orvanel's settings is damaged. Choose the folder again in Settings.");
    }
}

TEST(IconRetries, FourAttemptsFurtherApartOverFifteenSecondsThenGiveUpAndBeginAgain) {
    IconRetrySchedule schedule;
    std::vector<std::optional<std::uint32_t>> pauses;
    for (int i = 0; i < 7; ++i) pauses.push_back(schedule.Failed());  // giving up, then a fresh series
    schedule.Reset();  // the icon was added after a failure
    pauses.push_back(schedule.Failed());
    EXPECT_EQ(pauses, (std::vector<std::optional<std::uint32_t>>{1000, 2000, 4000, 8000, std::nullopt, 1000, 2000, 1000}));
}

TEST(CommandLines, AreTheLinesUsersKnowStartedByTheirFirstWordAsAnExe) {
    EXPECT_EQ(MountCommandLine(DriveSpecFor(L"X"), L"D:\\Data Work"), L"subst.exe X: \"D:\\Data Work\"");
    // Quoted so that the started program's standard splitting gives the folder back whole: backslashes
    // before a quote, the closing one included, are doubled and a quote inside is escaped; others stay.
    for (const auto& [folder, quoted] : {std::pair{L"C:\\", L"\"C:\\\\\""}, {L"x\\\\", L"\"x\\\\\\\\\""},
                                         {L"a\"b", L"\"a\\\"b\""}, {L"a\\\"b", L"\"a\\\\\\\"b\""}, {L"a\\b\\", L"\"a\\b\\\\\""}})
        EXPECT_EQ(MountCommandLine(L"X:", folder), std::wstring(L"subst.exe X: ") + quoted) << testing::PrintToString(std::wstring(folder));
    EXPECT_EQ(UnmountCommandLine(DriveSpecFor(L"x")), L"subst.exe x: /d");
    EXPECT_EQ(DriveSpecFor(L""), L":");
    EXPECT_EQ(HelpCommandLine(L"C:\\Program Files\\O\\Help\\Orvanel.chm"), L"hh.exe C:\\Program Files\\O\\Help\\Orvanel.chm");
    EXPECT_EQ(HomePageCommandLine(L"https://k.example/"), L"explorer https://k.example/");
    EXPECT_EQ(EmailCommandLine(L"a@k.example"), L"explorer mailto:a@k.example");
    EXPECT_EQ(ProgramFile(UnmountCommandLine(L"X:")), L"subst.exe");
    EXPECT_EQ(ProgramFile(HelpCommandLine(L"C:\\Orvanel\\Help\\Orvanel.chm")), L"hh.exe");
    // Dots in the address don't make "explorer" a file name with an extension.
    EXPECT_EQ(ProgramFile(HomePageCommandLine(L"www.kestrane.example/x.y")), L"explorer.exe");
}

}  // namespace
}  // namespace orvanel
