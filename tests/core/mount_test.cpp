// Mounting: the command lines, the tray's mount state, leaving, the mount rule and the icon's retries.
#include "command_lines.h"
#include "icon_retries.h"
#include "leaving.h"
#include "one_copy.h"
#include "settings_rules.h"
#include "split_arguments.h"
#include "startup_mount.h"
#include "tray_tip.h"
#include "mount_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <vector>

namespace orvanel {
namespace {

CommandOutcome Ok(bool mapped) { return {mapped, 0, L""}; }
CommandOutcome Failed(bool mapped, const wchar_t* message = L"") { return {mapped, 1, message}; }

// The user chooses Mount or Unmount `times` times in a row; each starts its command.
void Choose(MountTracker& t, int times = 1) {
    for (int i = 0; i < times; ++i, t.Started()) t.Toggle();
}

// After a command's end: the look shown, and the message the window is asked to show with it, if any.
std::wstring Ends(MountTracker& t, const CommandOutcome& outcome) {
    const auto c = t.Finished(outcome);
    std::wstring seen = t.Shown() == MountState::Mounted ? L"mounted" : L"unmounted";
    if (c) seen += (c->look == t.Shown() ? L": " : L" but asked otherwise: ") + c->message;
    return seen;
}

TEST(MountTracker, EachLastEndKeepsTheLookOrCorrectsItWithTheLatestFailure) {
    // Before each end the user chooses Mount or Unmount `choices` times.
    struct Step { int choices; CommandOutcome ends; const wchar_t* then; };
    const Step steps[] = {
        {1, Ok(true), L"mounted"},
        {1, Failed(true, L"Access denied"), L"mounted: Access denied"},
        {1, Ok(false), L"unmounted"},
        {1, Failed(false, L"Invalid parameter - Q:\r\n"), L"unmounted: Invalid parameter - Q:"},  // line end trimmed
        {1, Failed(true, L"Drive already SUBSTed"), L"mounted"},  // it maps the folder already: mounted after all
        {1, Ok(true), L"mounted: subst.exe ended with exit code 0."},  // that message does not resurface
        // Overlapping commands are judged when the last ends.
        {2, Ok(false), L"mounted"}, {0, Ok(true), L"mounted"},
        // The last to end fails in words of its own: the latest failure is shown.
        {2, Failed(true), L"mounted"}, {0, Failed(false, L"Access denied"), L"unmounted: Access denied"},
        // The unmount ends first saying nothing but exit code 1; the mount maps afterwards.
        {2, Failed(false), L"unmounted"}, {0, Ok(true), L"mounted: subst.exe ended with exit code 1."},
        // Words printed with exit code 0 are kept as well.
        {2, {false, 0, L"Odd words"}, L"mounted"}, {0, Ok(false), L"unmounted: Odd words"},
    };
    MountTracker t;
    for (const Step& s : steps) {
        Choose(t, s.choices);
        EXPECT_EQ(Ends(t, s.ends), s.then) << "step " << (&s - steps);
    }
}

TEST(MountTracker, TheMappingSeenWhileNoCommandRunsSetsTheLookSilently) {
    MountTracker t;
    EXPECT_EQ(t.Observe(false), std::nullopt);
    EXPECT_EQ(t.Observe(true), MountState::Mounted);  // mapped outside, or left mapped
    EXPECT_EQ(t.Observe(true), std::nullopt);
    Choose(t);  // Unmount: its command runs
    EXPECT_EQ(t.Observe(true), std::nullopt) << "a command of ours is judged when it ends";
    EXPECT_EQ(Ends(t, Ok(false)), L"unmounted");
    EXPECT_EQ(t.Observe(true), MountState::Mounted);
    EXPECT_EQ(t.Observe(false), MountState::Unmounted);  // removed outside
    EXPECT_EQ(t.Shown(), MountState::Unmounted);
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

TEST(VolumeChange, ConcernsTheDriveWhoseBitTheMaskHolds) {
    EXPECT_TRUE(MaskHoldsDrive(1u << 23, L"X:"));
    EXPECT_TRUE(MaskHoldsDrive(1u << 23 | 1u, L"x:"));
    EXPECT_TRUE(MaskHoldsDrive(1u, L"A:"));
    EXPECT_TRUE(MaskHoldsDrive(1u << 25, L"Z:"));
    EXPECT_FALSE(MaskHoldsDrive(1u << 22 | 1u << 24, L"X:"));
    for (const wchar_t* odd : {L"X", L"xy:", L":", L"", L"1:", L"X;"}) EXPECT_FALSE(MaskHoldsDrive(~0u, odd)) << odd;
}

TEST(StartupMount, MountsOnlyWhenAskedWithAFolderWaitsForAMissingOneAndRefusesADamagedOne) {
    struct Case { StartupFacts facts; StartupMount then; };  // option, folder stored, damaged, mapped, folder exists
    const Case cases[] = {
        {{true, true, false, false, true}, StartupMount::Mount},   {{true, true, false, false, false}, StartupMount::Wait},
        {{true, true, false, true, true}, StartupMount::Nothing},  {{true, true, true, false, true}, StartupMount::Refuse},
        {{false, true, false, false, true}, StartupMount::Nothing}, {{false, true, true, false, true}, StartupMount::Nothing},
        {{true, false, false, false, true}, StartupMount::Nothing},
    };
    for (const Case& c : cases) EXPECT_EQ(DecideStartupMount(c.facts), c.then) << "case " << (&c - cases);
}

TEST(StartupMount, TheWaitLooksEveryFewSecondsForAMinuteAlsoAcrossAWrap) {
    for (const std::uint32_t start : {0u, 0xFFFFF000u}) {
        const FolderWait wait(start);
        EXPECT_EQ(wait.Missing(start), 3000u) << start;
        EXPECT_EQ(wait.Missing(start + 58500), 1500u) << start;
        EXPECT_EQ(wait.Missing(start + 59999), 1u) << start;
        EXPECT_EQ(wait.Missing(start + 60000), std::nullopt) << start;
    }
}

TEST(MappingTarget, NamesTheFolderWhateverItsCaseOrSlash) {
    EXPECT_TRUE(MappingNamesFolder(L"\\??\\C:\\Some Folder", L"C:\\Some Folder"));
    EXPECT_TRUE(MappingNamesFolder(L"\\??\\c:\\some folder\\", L"C:\\Some Folder"));
    EXPECT_TRUE(MappingNamesFolder(L"\\??\\D:\\", L"D:\\"));
    EXPECT_TRUE(MappingNamesFolder(L"C:\\Data", L"C:\\Data\\"));
    EXPECT_FALSE(MappingNamesFolder(L"\\??\\C:\\Some Folder2", L"C:\\Some Folder"));
    EXPECT_FALSE(MappingNamesFolder(L"\\Device\\HarddiskVolume1", L"C:\\"));
    EXPECT_FALSE(MappingNamesFolder(L"\\??\\C:\\", L""));
    EXPECT_FALSE(MappingNamesFolder(L"\\??\\", L""));
    EXPECT_FALSE(MappingNamesFolder(L"\\??\\D:\\", L"D:")) << "a drive's root is not its current folder";
}

TEST(Leaving, UnmountedEndsAtOnceMountedUnmountsThenWaitsForThatUnmountOnly) {
    MountTracker t;
    EXPECT_EQ(LeavePlan(0).Next(t, 0), LeaveStep::End);
    Choose(t);
    t.Finished(Ok(true));
    LeavePlan plan(100);
    ASSERT_EQ(plan.Next(t, 100), LeaveStep::Unmount);
    Choose(t);  // what the window does for the unmount
    EXPECT_EQ(plan.Next(t, 150), LeaveStep::Wait);
    EXPECT_EQ(plan.WaitLeft(150), LeavePlan::kWaitForUnmountMs - 50);
    t.Finished(Ok(false));
    EXPECT_EQ(plan.Next(t, 300), LeaveStep::End);
    // An unmount that fails with the drive still mapped is not tried again and again.
    LeavePlan again(400);
    Choose(t);
    t.Finished(Ok(true));
    ASSERT_EQ(again.Next(t, 400), LeaveStep::Unmount);
    Choose(t);
    t.Finished(Failed(true, L"Access denied"));
    EXPECT_EQ(again.Next(t, 450), LeaveStep::End);
}

TEST(Leaving, RunningCommandsAreWaitedForThenUnmountedOnlyWhenTheDriveMapped) {
    // Unmounting at once could be overtaken by a running mount.
    struct Case { int choices; std::vector<CommandOutcome> ended; LeaveStep then; };
    const Case cases[] = {
        {1, {Ok(true)}, LeaveStep::Unmount},
        {1, {Failed(false, L"Path not found - C:\\Gone")}, LeaveStep::End},
        {2, {Failed(false, L"Invalid parameter - X:"), Ok(true)}, LeaveStep::Unmount},  // the unmount came first
    };
    for (const Case& c : cases) {
        MountTracker t;
        Choose(t, c.choices);
        LeavePlan plan(0);
        EXPECT_EQ(plan.Next(t, 2500), LeaveStep::Wait);
        for (const CommandOutcome& outcome : c.ended) t.Finished(outcome);
        EXPECT_EQ(plan.Next(t, 2600), c.then) << "case " << (&c - cases);
    }
}

TEST(Leaving, HungCommandsDelayTheEndByTheBoundedWaitsOnlyAcrossAWrap) {
    for (const std::uint32_t start : {0u, 0xFFFFFF00u}) {
        MountTracker t;
        Choose(t);  // never ends
        LeavePlan plan(start);
        const std::uint32_t unmount_at = start + LeavePlan::kWaitForRunningMs;
        EXPECT_EQ(plan.Next(t, unmount_at - 1), LeaveStep::Wait) << start;
        EXPECT_EQ(plan.WaitLeft(unmount_at - 1), 1u) << start;
        // Shown as mounted: the unmount is tried all the same.
        ASSERT_EQ(plan.Next(t, unmount_at), LeaveStep::Unmount) << start;
        Choose(t);
        EXPECT_EQ(plan.Next(t, unmount_at + LeavePlan::kWaitForUnmountMs - 1), LeaveStep::Wait) << start;
        EXPECT_EQ(plan.Next(t, unmount_at + LeavePlan::kWaitForUnmountMs), LeaveStep::End) << start;
    }
}

TEST(OneCopy, ACopyLeavingIsWaitedForBoundedOneStayingIsHandedOverTo) {
    for (const std::uint32_t start : {0u, 0xFFFFFF00u}) {
        const ClaimWait wait(start);
        EXPECT_EQ(wait.Next(true, true, start), ClaimStep::Run) << start;
        EXPECT_EQ(wait.Next(false, false, start + 5000), ClaimStep::HandOver) << start;
        EXPECT_EQ(wait.Next(false, true, start), ClaimStep::Wait) << start;
        EXPECT_EQ(wait.Pause(start + 9900), 100u) << start;
        EXPECT_EQ(wait.Next(false, true, start + ClaimWait::kWaitAtMostMs - 1), ClaimStep::Wait) << start;
        EXPECT_EQ(wait.Next(false, true, start + ClaimWait::kWaitAtMostMs), ClaimStep::GiveUp) << start;
        EXPECT_EQ(wait.Next(true, true, start + 60000), ClaimStep::Run) << start;
    }
}

StoredSetting Read(std::wstring text) { return {ReadStatus::Read, std::move(text)}; }

TEST(MountSettings, PrintableValuesAreUsedAsStoredControlCharactersAreDamaged) {
    const auto says = [](const StoredSetting& letter, const StoredSetting& folder) {
        const auto refusal = CheckMountSettings(letter, folder);
        return refusal ? refusal->message : L"used";
    };
    const StoredSetting letter = Read(L"X"), folder = Read(L"D:\\Data\\Work");
    for (const wchar_t* ok : {L"X", L"x", L"xy", L"", L"1", L" ", L"C:\\", L"False", L"D:\\\u00c4\u20ac~",
                              L"\\\\server\\share", L"\x80"}) {
        EXPECT_EQ(says(Read(ok), folder), L"used") << testing::PrintToString(std::wstring(ok));
        EXPECT_EQ(says(letter, Read(ok)), L"used") << testing::PrintToString(std::wstring(ok));
    }
    EXPECT_EQ(says({ReadStatus::Missing, L"C"}, {ReadStatus::Missing, L""}), L"used");  // the defaults stand in

    const StoredSetting failed{ReadStatus::Failed, L"False"};
    const std::wstring damaged_letter = says(failed, folder);
    EXPECT_NE(damaged_letter.find(L"drive letter"), std::wstring::npos);
    for (const StoredSetting& d : {failed, Read(L"\x1F"), Read(L"a\tb"), Read(L"a\rb"), Read(L"\x7F"),
                                   Read(std::wstring(L"C:\\Data Folder\0\x01", 16)), Read(std::wstring(1, L'\0'))}) {
        EXPECT_EQ(says(d, folder), damaged_letter) << testing::PrintToString(d.text);
        EXPECT_EQ(says(letter, d),
                  L"The folder stored in Orvanel's settings is damaged. Choose the folder again in Settings.");
    }
}

TEST(IconRetries, AFewAttemptsFurtherApartOverSomeSecondsThenGiveUpAndBeginAgain) {
    IconRetrySchedule schedule;
    const auto series = [&schedule] {  // the pauses of one series of failures, up to giving up
        std::vector<std::uint32_t> pauses;
        for (auto pause = schedule.Failed(); pause && pauses.size() < 100; pause = schedule.Failed())
            pauses.push_back(*pause);
        return pauses;
    };
    const std::vector<std::uint32_t> pauses = series();
    ASSERT_TRUE(pauses.size() >= 2 && pauses.size() < 100) << pauses.size();
    EXPECT_EQ(std::adjacent_find(pauses.begin(), pauses.end(), std::greater_equal<>()), pauses.end());
    const std::uint32_t total = std::accumulate(pauses.begin(), pauses.end(), 0u);
    EXPECT_TRUE(total >= 5000 && total <= 30000) << total;
    EXPECT_EQ(series(), pauses);
    schedule.Failed();
    schedule.Reset();
    EXPECT_EQ(series(), pauses);
}

using Arguments = std::vector<std::wstring>;

TEST(CommandLines, AreTheLinesUsersKnowStartedByTheirFirstWordAsAnExe) {
    EXPECT_EQ(MountCommandLine(DriveSpecFor(L"X"), L"D:\\Data Work"), L"subst.exe X: \"D:\\Data Work\"");
    EXPECT_EQ(UnmountCommandLine(DriveSpecFor(L"x")), L"subst.exe x: /d");
    EXPECT_EQ(DriveSpecFor(L""), L":");
    EXPECT_EQ(HelpCommandLine(L"C:\\Program Files\\O\\Help\\Orvanel.chm"), L"hh.exe C:\\Program Files\\O\\Help\\Orvanel.chm");
    EXPECT_EQ(HomePageCommandLine(L"https://k.example/"), L"explorer https://k.example/");
    EXPECT_EQ(EmailCommandLine(L"a@k.example"), L"explorer mailto:a@k.example");
    EXPECT_EQ(ProgramFile(UnmountCommandLine(L"X:")), L"subst.exe");
    EXPECT_EQ(ProgramFile(HelpCommandLine(L"C:\\Orvanel\\Help\\Orvanel.chm")), L"hh.exe");
    EXPECT_EQ(ProgramFile(EmailCommandLine(L"a@b.example")), L"explorer.exe");
    // Dots in the address don't make "explorer" a file name with an extension.
    EXPECT_EQ(ProgramFile(HomePageCommandLine(L"www.kestrane.example/x.y")), L"explorer.exe");
}

TEST(SplitArguments, FollowsTheStandardRules) {
    struct Case { const wchar_t* line; Arguments arguments; };
    const Case cases[] = {
        {L"subst.exe", {}}, {L"subst.exe   ", {}}, {L"p a\tb  c", {L"a", L"b", L"c"}}, {L"p \"a b\" c", {L"a b", L"c"}},
        {L"p \"\"", {L""}}, {L"p a\"b\"c", {L"abc"}}, {L"p \"unclosed arg", {L"unclosed arg"}},
        {L"p a\\b\\\\c", {L"a\\b\\\\c"}},      // backslashes alone are literal
        {L"p \"C:\\\"", {L"C:\""}},              // the line that failed for a root
        {L"p \"C:\\\\\"", {L"C:\\"}},
        {L"p a\\\\\\\"b", {L"a\\\"b"}},        // 2n+1 backslashes: n and a quote
        {L"p a\\\\\"b c\"", {L"a\\b c"}},      // 2n backslashes: n, and the quote groups
        {L"p \"a\"\"b\"", {L"a\"b"}},          // "" inside quotes
        {L"\"C:\\Program Files\\p.exe\" x", {L"x"}}, {L"\"p\"x y", {L"x", L"y"}},  // a quoted name ends at its quote
    };
    for (const Case& c : cases) EXPECT_EQ(SplitArguments(c.line), c.arguments) << testing::PrintToString(c.line);
    EXPECT_EQ(SplitArguments(std::wstring_view(L"p a\0b", 5)), Arguments{L"a"});  // stops at a NUL
}

// Every folder of up to five characters that matter to the rules, after
// each prefix, and every letter, must come back whole.
TEST(SplitArguments, MountAndUnmountLinesSplitBackExactly) {
    const std::wstring letters[] = {L"X:", L"x:", L"xy:", L":"};
    std::vector<std::wstring> folders = {L""};
    for (std::size_t start = 0; folders[start].size() < 5; ++start)
        for (const wchar_t c : std::wstring(L"\\\" \ta:")) folders.push_back(folders[start] + c);
    std::size_t checked = 0;
    for (const std::wstring prefix : {L"", L"C:\\", L"\\\\server\\share\\", L"D:\\Some Folder\\"}) {
        for (const std::wstring& tail : folders) {
            const std::wstring& letter = letters[checked++ % 4];
            const std::wstring line = MountCommandLine(letter, prefix + tail);
            ASSERT_EQ(SplitArguments(line), (Arguments{letter, prefix + tail})) << testing::PrintToString(line);
        }
    }
    EXPECT_GT(checked, 30000u);
    for (const std::wstring& letter : letters)
        EXPECT_EQ(SplitArguments(UnmountCommandLine(letter)), (Arguments{letter, L"/d"}));
}

}  // namespace
}  // namespace orvanel
