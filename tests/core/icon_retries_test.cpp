#include "icon_retries.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvanel {
namespace {

// The pauses of one series of failures, up to giving up.
std::vector<std::uint32_t> Series(IconRetrySchedule& schedule) {
    std::vector<std::uint32_t> pauses;
    for (int i = 0; i < 100; ++i) {
        const auto pause = schedule.Failed();
        if (!pause) return pauses;
        pauses.push_back(*pause);
    }
    ADD_FAILURE() << "never gives up";
    return pauses;
}

TEST(IconRetries, AFewAttemptsFurtherApartOverSomeSecondsThenGiveUp) {
    IconRetrySchedule schedule;
    const std::vector<std::uint32_t> pauses = Series(schedule);
    ASSERT_GE(pauses.size(), 2u);
    std::uint32_t total = 0;
    for (std::size_t i = 0; i < pauses.size(); ++i) {
        if (i > 0) EXPECT_GT(pauses[i], pauses[i - 1]);
        total += pauses[i];
    }
    EXPECT_GE(total, 5000u);
    EXPECT_LE(total, 30000u);
}

TEST(IconRetries, AfterGivingUpOrSucceedingANewSeriesBegins) {
    IconRetrySchedule schedule;
    const std::vector<std::uint32_t> first = Series(schedule);
    EXPECT_EQ(Series(schedule), first);

    schedule.Failed();
    schedule.Failed();
    schedule.Reset();
    EXPECT_EQ(Series(schedule), first);
}

}  // namespace
}  // namespace orvanel
