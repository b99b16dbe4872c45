#include "mount_state.h"

#include <gtest/gtest.h>

namespace orvanel {
namespace {

CommandOutcome Ok(bool mapped) { return {mapped, 0, L""}; }
CommandOutcome Failed(bool mapped, const wchar_t* message) { return {mapped, 1, message}; }

TEST(TrayLooks, EachStateHasItsCaptionIconAndTip) {
    const TrayLook unmounted = LookOf(MountState::Unmounted);
    EXPECT_EQ(unmounted.caption, L"Mount");
    EXPECT_TRUE(unmounted.settings_enabled);
    EXPECT_EQ(unmounted.icon_id, 101);
    EXPECT_EQ(unmounted.tip, std::string_view("Drive Unmounted\0", 16));

    const TrayLook mounted = LookOf(MountState::Mounted);
    EXPECT_EQ(mounted.caption, L"Unmount");
    EXPECT_FALSE(mounted.settings_enabled);
    EXPECT_EQ(mounted.icon_id, 102);
    EXPECT_EQ(mounted.tip, std::string_view("Drive Mounted\0", 14));
}

TEST(MountTracker, SuccessfulMountAndUnmountKeepTheirLook) {
    MountTracker t;
    EXPECT_EQ(t.Shown(), MountState::Unmounted);
    EXPECT_EQ(t.Toggle(), MountState::Mounted);
    t.Started();
    EXPECT_TRUE(t.Pending());
    EXPECT_EQ(t.Finished(Ok(true)), std::nullopt);
    EXPECT_FALSE(t.Pending());
    EXPECT_EQ(t.Toggle(), MountState::Unmounted);
    t.Started();
    EXPECT_EQ(t.Finished(Ok(false)), std::nullopt);
    EXPECT_EQ(t.Shown(), MountState::Unmounted);
}

TEST(MountTracker, FailedMountGoesBackWithSubstsMessage) {
    MountTracker t;
    t.Toggle();
    t.Started();
    const auto c = t.Finished(Failed(false, L"Invalid parameter - Q:\r\n"));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->look, MountState::Unmounted);
    EXPECT_EQ(c->message, L"Invalid parameter - Q:");
    EXPECT_EQ(t.Shown(), MountState::Unmounted);
}

TEST(MountTracker, LetterAlreadyMappedToTheFolderCountsAsMounted) {
    MountTracker t;
    t.Toggle();
    t.Started();
    EXPECT_EQ(t.Finished(Failed(true, L"Drive already SUBSTed")), std::nullopt);
    EXPECT_EQ(t.Shown(), MountState::Mounted);
    // The old message must not resurface with a later, unrelated correction.
    t.Toggle();
    t.Started();
    const auto c = t.Finished({true, 0, L""});
    ASSERT_TRUE(c);
    EXPECT_EQ(c->message, L"subst.exe ended with exit code 0.");
}

TEST(MountTracker, FailedUnmountShowsMountedAgain) {
    MountTracker t;
    t.Toggle();
    t.Started();
    t.Finished(Ok(true));
    t.Toggle();
    t.Started();
    const auto c = t.Finished(Failed(true, L"Access denied"));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->look, MountState::Mounted);
    EXPECT_EQ(c->message, L"Access denied");
    EXPECT_EQ(t.Shown(), MountState::Mounted);
}

TEST(MountTracker, OverlappingCommandsAreJudgedWhenTheLastEnds) {
    // Mount, then Unmount before the mount has ended; the unmount ends
    // first (nothing to delete yet) and the mount takes effect afterwards.
    MountTracker t;
    t.Toggle();
    t.Started();
    t.Toggle();
    t.Started();
    EXPECT_EQ(t.Shown(), MountState::Unmounted);
    EXPECT_EQ(t.Finished(Failed(false, L"Invalid parameter - X:")), std::nullopt);
    const auto c = t.Finished(Ok(true));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->look, MountState::Mounted);
    EXPECT_EQ(c->message, L"Invalid parameter - X:");
}

TEST(MountTracker, OverlappingCommandsThatAgreeWithTheLookStaySilent) {
    MountTracker t;
    t.Toggle();
    t.Started();
    t.Toggle();
    t.Started();
    EXPECT_EQ(t.Finished(Ok(true)), std::nullopt);  // the mount, still one pending
    EXPECT_EQ(t.Finished(Ok(false)), std::nullopt);
    EXPECT_EQ(t.Shown(), MountState::Unmounted);
}

TEST(MountTracker, CommandThatCouldNotStartReportsWhy) {
    MountTracker t;
    t.Toggle();
    t.Started();
    const auto c = t.Finished({false, 2, L"The system cannot find the file specified."});
    ASSERT_TRUE(c);
    EXPECT_EQ(c->message, L"The system cannot find the file specified.");
}

TEST(MappingTarget, NamesTheFolderWhateverItsCaseOrSlash) {
    EXPECT_TRUE(MappingNamesFolder(L"\\??\\C:\\Some Folder", L"C:\\Some Folder"));
    EXPECT_TRUE(MappingNamesFolder(L"\\??\\c:\\some folder\\", L"C:\\Some Folder"));
    EXPECT_TRUE(MappingNamesFolder(L"\\??\\D:\\", L"D:\\"));
    EXPECT_TRUE(MappingNamesFolder(L"C:\\Data", L"C:\\Data\\"));
    EXPECT_FALSE(MappingNamesFolder(L"\\??\\C:\\Some Folder2", L"C:\\Some Folder"));
    EXPECT_FALSE(MappingNamesFolder(L"\\Device\\HarddiskVolume1", L"C:\\"));
    EXPECT_FALSE(MappingNamesFolder(L"\\??\\C:\\", L""));
}

}  // namespace
}  // namespace orvanel
