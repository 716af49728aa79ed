#include "usb_backend/input_queue.h"

#include <gtest/gtest.h>

namespace {

InputBytes Bytes(std::uint8_t first)
{
    return {first, 2, 3, 4, 5, 6, 7, 8};
}

}  // namespace

TEST(InputQueue, NothingIsKeptBeforeNotificationIsEnabled)
{
    InputQueue queue;
    EXPECT_FALSE(queue.Offer(5, Bytes(1)));
    queue.Enable(5);
    Report report{};
    EXPECT_FALSE(queue.Take(5, report));
}

TEST(InputQueue, TakesReportsInOrderWithReportIdZero)
{
    InputQueue queue;
    queue.Enable(5);
    EXPECT_TRUE(queue.Offer(5, Bytes(0x41)));
    EXPECT_TRUE(queue.Offer(5, Bytes(0x42)));

    Report report;
    report.fill(0xEE);
    ASSERT_TRUE(queue.Take(5, report));
    EXPECT_EQ(report, (Report{0, 0x41, 2, 3, 4, 5, 6, 7, 8}));
    ASSERT_TRUE(queue.Take(5, report));
    EXPECT_EQ(report[1], 0x42);
}

TEST(InputQueue, FailedTakeLeavesTheBufferAlone)
{
    InputQueue queue;
    queue.Enable(5);
    queue.Offer(5, Bytes(1));
    Report report;
    report.fill(0xEE);
    const Report before = report;
    EXPECT_FALSE(queue.Take(6, report));
    EXPECT_FALSE(queue.Take(0, report));
    EXPECT_EQ(report, before);
    ASSERT_TRUE(queue.Take(5, report));
    report.fill(0xEE);
    EXPECT_FALSE(queue.Take(5, report));
    EXPECT_EQ(report, before);
}

TEST(InputQueue, EnablingTheSameHandleAgainKeepsWhatIsQueued)
{
    InputQueue queue;
    queue.Enable(5);
    queue.Offer(5, Bytes(1));
    queue.Enable(5);
    Report report{};
    EXPECT_TRUE(queue.Take(5, report));
}

TEST(InputQueue, AnotherHandleStartsEmptyAndRefusesTheOldOne)
{
    InputQueue queue;
    queue.Enable(5);
    queue.Offer(5, Bytes(1));
    queue.Enable(6);
    EXPECT_FALSE(queue.Offer(5, Bytes(2)));
    Report report{};
    EXPECT_FALSE(queue.Take(6, report));
    EXPECT_FALSE(queue.Take(5, report));
}

TEST(InputQueue, ForgetOnlyAffectsTheEnabledHandle)
{
    InputQueue queue;
    queue.Enable(6);
    queue.Offer(6, Bytes(1));
    queue.Forget(5);
    EXPECT_TRUE(queue.Offer(6, Bytes(2)));
    queue.Forget(6);
    EXPECT_FALSE(queue.Offer(6, Bytes(3)));
    Report report{};
    EXPECT_FALSE(queue.Take(6, report));
}

TEST(InputQueue, DisableDropsEverything)
{
    InputQueue queue;
    queue.Enable(5);
    queue.Offer(5, Bytes(1));
    queue.Disable();
    Report report{};
    EXPECT_FALSE(queue.Take(5, report));
    EXPECT_FALSE(queue.Offer(5, Bytes(2)));
}

TEST(InputQueue, StopsKeepingAtCapacity)
{
    InputQueue queue(2);
    queue.Enable(5);
    EXPECT_TRUE(queue.Offer(5, Bytes(1)));
    EXPECT_TRUE(queue.Offer(5, Bytes(2)));
    EXPECT_FALSE(queue.Offer(5, Bytes(3)));
    Report report{};
    ASSERT_TRUE(queue.Take(5, report));
    EXPECT_TRUE(queue.Offer(5, Bytes(4)));
}
