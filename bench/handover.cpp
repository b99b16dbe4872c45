// Starts Orvanel again right after a copy with its drive mounted leaves
// (Exit from its menu, or a close from outside as installers send), at
// gaps of 0 to 1 s, also two new copies at once, and prints what runs
// afterwards: the copies, the icon's look and the drive's mapping.
#include "harness.h"

#include <cstdio>

#include "resource.h"

namespace e2e {
namespace {

class Handover : public E2ETest {};

TEST_F(Handover, StartsRightAfterACopyLeaves) {
    struct Road { const char* name; UINT message; bool mount_at_start; int gap_ms; int new_copies; };
    const Road roads[] = {
        {"Exit, mount at start", WM_COMMAND, true, 0, 1}, {"Exit, mount at start", WM_COMMAND, true, 200, 1},
        {"Exit, mount at start", WM_COMMAND, true, 500, 1}, {"Exit, mount at start", WM_COMMAND, true, 1000, 1},
        {"Exit, mount at start", WM_COMMAND, true, 0, 2},
        {"closed from outside", WM_CLOSE, false, 0, 1}, {"closed from outside", WM_CLOSE, false, 300, 1},
    };
    for (const Road& road : roads) {
        StoreSettings(road.mount_at_start);
        auto leaving = std::make_unique<Orvanel>();
        if (!road.mount_at_start) leaving->Post(IDM_ENABLED);
        const bool mounted = Maps(letter_, folder_);
        ::PostMessageW(leaving->Window(), road.message, road.message == WM_COMMAND ? IDM_EXIT : 0, 0);
        Pause(road.gap_ms);
        std::vector<std::unique_ptr<Orvanel>> next;
        for (int i = 0; i < road.new_copies; ++i) next.push_back(std::make_unique<Orvanel>(false));
        const bool left = leaving->WaitGone();
        WaitFor([] { return !TrayWindows().empty(); }, 15000);
        Pause(2000);  // time for a second copy, or a late unmount, to show
        const std::size_t copies = TrayWindows().size();
        const bool mapped = Mapping(letter_) == L"\\??\\" + folder_;
        const bool looks_right = copies == 1 && Showing(TrayWindows()[0], mapped ? Yellow : Red);
        std::printf("handover: %-21s %d new cop%s after %4d ms: %s, %zu running, icon %s, drive %s\n", road.name,
                    road.new_copies, road.new_copies == 1 ? "y" : "ies", road.gap_ms,
                    mounted && left ? "left" : "did not leave", copies, looks_right ? "right" : "WRONG",
                    mapped ? "mapped" : "not mapped");
        std::fflush(stdout);
        EXPECT_EQ(copies, 1u) << road.name << " " << road.gap_ms;
        EXPECT_EQ(mapped, road.mount_at_start) << road.name << " " << road.gap_ms;
        TearDown();
        SetUp();
    }
}

}  // namespace
}  // namespace e2e
