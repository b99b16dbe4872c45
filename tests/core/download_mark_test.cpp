// Help's question about a help file downloaded from the internet.
#include "download_mark.h"

#include <gtest/gtest.h>

namespace orvanel {
namespace {

TEST(DownloadMark, TheInternetRestrictedOrAnUnreadableZoneBlocksAndIsAskedAboutOnceAtATimeUntilANoOrAFailure) {
    const std::pair<const char*, bool> marks[] = {
        {"[ZoneTransfer]\r\nZoneId=3\r\nReferrerUrl=https://a.example/o.zip\r\n", true}, {"ZoneId=4", true},
        {"ZoneId=21", true}, {"", true}, {"[ZoneTransfer]\r\nZoneId=2\r\n", false}, {"ZoneId=1\n", false},
        {"[ZoneTransfer]\r\nAppZoneId=4\r\nZoneId=0\r\n", false}};
    for (const auto& [mark, blocks] : marks) EXPECT_EQ(MarkBlocks(mark), blocks) << mark;

    const std::string internet = "ZoneId=3";
    UnblockQuestion question, kept, failed;
    EXPECT_EQ(question.Next(std::nullopt), HelpStep::OpenFile);
    question.Asking();
    EXPECT_EQ(question.Next(internet), HelpStep::BringQuestionForward) << "asked once, however often Help is chosen";
    question.Answered(UnblockAnswer::Removed);
    kept.Answered(UnblockAnswer::Kept);
    failed.Answered(UnblockAnswer::RemovalFailed);
    EXPECT_EQ(question.Next(internet), HelpStep::Ask) << "marked again after a removal";
    EXPECT_TRUE(kept.Next(internet) == HelpStep::OpenFile && failed.Next(internet) == HelpStep::OpenFile) << "for the rest of the run";
}

}  // namespace
}  // namespace orvanel
