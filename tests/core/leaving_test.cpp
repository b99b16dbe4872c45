#include "leaving.h"

#include <gtest/gtest.h>

namespace orvanel {
namespace {

CommandOutcome Ended(bool mapped) { return {mapped, 0, L""}; }

MountTracker MountedAndSettled() {
    MountTracker t;
    t.Toggle();
    t.Started();
    t.Finished(Ended(true));
    return t;
}

TEST(Leaving, UnmountedWithNothingRunningEndsAtOnce) {
    MountTracker t;
    LeavePlan plan(0);
    EXPECT_EQ(plan.Next(t, 0), LeaveStep::End);
}

TEST(Leaving, MountedUnmountsThenWaitsForThatUnmountOnly) {
    MountTracker t = MountedAndSettled();
    LeavePlan plan(100);
    ASSERT_EQ(plan.Next(t, 100), LeaveStep::Unmount);
    t.Toggle();  // what the window does for the unmount
    t.Started();
    EXPECT_EQ(plan.Next(t, 150), LeaveStep::Wait);
    EXPECT_EQ(plan.WaitLeft(150), LeavePlan::kWaitForUnmountMs - 50);
    t.Finished(Ended(false));
    EXPECT_EQ(plan.Next(t, 300), LeaveStep::End);
}

TEST(Leaving, MountStillRunningIsWaitedForBeforeTheUnmount) {
    // Exit right after Mount: unmounting at once could overtake the mount.
    MountTracker t;
    t.Toggle();
    t.Started();
    LeavePlan plan(0);
    EXPECT_EQ(plan.Next(t, 0), LeaveStep::Wait);
    EXPECT_EQ(plan.Next(t, 2500), LeaveStep::Wait);
    t.Finished(Ended(true));
    EXPECT_EQ(plan.Next(t, 2600), LeaveStep::Unmount);
}

TEST(Leaving, FailedMountStillRunningNeedsNoUnmount) {
    MountTracker t;
    t.Toggle();
    t.Started();
    LeavePlan plan(0);
    EXPECT_EQ(plan.Next(t, 10), LeaveStep::Wait);
    t.Finished({false, 1, L"Path not found - C:\\Gone"});
    EXPECT_EQ(plan.Next(t, 20), LeaveStep::End);
}

TEST(Leaving, UnmountOvertakenByItsMountIsRepeated) {
    // Mount, then Unmount before the mount ended: the unmount found nothing
    // and the mount took effect afterwards; leaving unmounts after all.
    MountTracker t;
    t.Toggle();
    t.Started();
    t.Toggle();
    t.Started();
    LeavePlan plan(0);
    EXPECT_EQ(plan.Next(t, 0), LeaveStep::Wait);
    t.Finished({false, 1, L"Invalid parameter - X:"});
    t.Finished(Ended(true));
    EXPECT_EQ(plan.Next(t, 900), LeaveStep::Unmount);
}

TEST(Leaving, HungCommandsDelayTheEndByTheBoundedWaitsOnly) {
    MountTracker t;
    t.Toggle();
    t.Started();  // never ends
    LeavePlan plan(0);
    EXPECT_EQ(plan.Next(t, LeavePlan::kWaitForRunningMs - 1), LeaveStep::Wait);
    EXPECT_EQ(plan.WaitLeft(LeavePlan::kWaitForRunningMs - 1), 1u);
    // Shown as mounted: the unmount is tried all the same.
    ASSERT_EQ(plan.Next(t, LeavePlan::kWaitForRunningMs), LeaveStep::Unmount);
    t.Toggle();
    t.Started();
    const std::uint32_t unmount_at = LeavePlan::kWaitForRunningMs;
    EXPECT_EQ(plan.Next(t, unmount_at + LeavePlan::kWaitForUnmountMs - 1), LeaveStep::Wait);
    EXPECT_EQ(plan.Next(t, unmount_at + LeavePlan::kWaitForUnmountMs), LeaveStep::End);
}

TEST(Leaving, TickCountWrappingAroundKeepsTheWaitBounded) {
    MountTracker t;
    t.Toggle();
    t.Started();
    const std::uint32_t start = 0xFFFFFF00u;
    LeavePlan plan(start);
    EXPECT_EQ(plan.Next(t, start + 0x200u), LeaveStep::Wait);  // wrapped to 0x100
    EXPECT_EQ(plan.WaitLeft(start + 0x200u), LeavePlan::kWaitForRunningMs - 0x200u);
    EXPECT_NE(plan.Next(t, start + LeavePlan::kWaitForRunningMs), LeaveStep::Wait);
}

}  // namespace
}  // namespace orvanel
