#include "mount_state.h"

#include "resource.h"

#include <gtest/gtest.h>

namespace orvanel {
namespace {

CommandOutcome Ok(bool mapped) { return {mapped, 0, L""}; }
CommandOutcome Failed(bool mapped, const wchar_t* message) { return {mapped, 1, message}; }

// The user chooses Mount or Unmount `times` times in a row; each starts its command.
void Choose(MountTracker& t, int times = 1) {
    for (int i = 0; i < times; ++i) {
        t.Toggle();
        t.Started();
    }
}

// The captions and tips are read from the screen end to end; the icons'
// ids must be those the resource file gives the pictures.
TEST(TrayLooks, IconsAreTheResourcePictures) {
    EXPECT_EQ(LookOf(MountState::Unmounted).icon_id, IDI_UNMOUNTED);
    EXPECT_EQ(LookOf(MountState::Mounted).icon_id, IDI_MOUNTED);
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
    Choose(t);
    const auto c = t.Finished(Failed(false, L"Invalid parameter - Q:\r\n"));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->look, MountState::Unmounted);
    EXPECT_EQ(c->message, L"Invalid parameter - Q:");
    EXPECT_EQ(t.Shown(), MountState::Unmounted);
}

TEST(MountTracker, LetterAlreadyMappedToTheFolderCountsAsMounted) {
    MountTracker t;
    Choose(t);
    EXPECT_EQ(t.Finished(Failed(true, L"Drive already SUBSTed")), std::nullopt);
    EXPECT_EQ(t.Shown(), MountState::Mounted);
    // The old message must not resurface with a later, unrelated correction.
    Choose(t);
    const auto c = t.Finished({true, 0, L""});
    ASSERT_TRUE(c);
    EXPECT_EQ(c->message, L"subst.exe ended with exit code 0.");
}

TEST(MountTracker, FailedUnmountShowsMountedAgain) {
    MountTracker t;
    Choose(t);
    t.Finished(Ok(true));
    Choose(t);
    const auto c = t.Finished(Failed(true, L"Access denied"));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->look, MountState::Mounted);
    EXPECT_EQ(c->message, L"Access denied");
    EXPECT_EQ(t.Shown(), MountState::Mounted);
}

TEST(MountTracker, OverlappingCommandsThatAgreeWithTheLookStaySilent) {
    MountTracker t;
    Choose(t, 2);
    EXPECT_EQ(t.Finished(Ok(true)), std::nullopt);  // the mount, still one pending
    EXPECT_EQ(t.Finished(Ok(false)), std::nullopt);
    EXPECT_EQ(t.Shown(), MountState::Unmounted);
}

TEST(MountTracker, OverlappingCommandsAreJudgedWhenTheLastEnds) {
    // Mount, then Unmount before the mount has ended; the unmount ends first,
    // saying nothing but exit code 1, and the mount maps the drive afterwards.
    MountTracker t;
    Choose(t, 2);
    EXPECT_EQ(t.Shown(), MountState::Unmounted);
    EXPECT_EQ(t.Finished({false, 1, L""}), std::nullopt);
    const auto c = t.Finished(Ok(true));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->look, MountState::Mounted);
    EXPECT_EQ(c->message, L"subst.exe ended with exit code 1.");
    // The same pair again, the last to end failing in words of its own: the
    // latest failure is the one shown.
    Choose(t, 2);
    EXPECT_EQ(t.Finished({true, 1, L""}), std::nullopt);
    const auto last = t.Finished(Failed(false, L"Access denied"));
    ASSERT_TRUE(last);
    EXPECT_EQ(last->look, MountState::Unmounted);
    EXPECT_EQ(last->message, L"Access denied");
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
