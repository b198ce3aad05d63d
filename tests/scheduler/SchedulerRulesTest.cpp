// The tick's decisions that need no window and no clock: latch ageing, the interval table and the interval
// across the counter's wrap, the date of a once-only reminder, the sentence with other locales' separators (the
// moments are tested on the tick).
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "scheduler/SchedulerRules.h"
#include "support/TestSupport.h"

namespace {
// The rules read the weekday as given, so a case may name one the calendar would not.
SYSTEMTIME At(int year, int month, int day, int weekday, int hour, int minute, int second)
{
    SYSTEMTIME t = ::At(year, month, day, hour, minute, second);
    t.wDayOfWeek = static_cast<WORD>(weekday);
    return t;
}

} // namespace

TEST(LatchTest, ASetLatchBlocksTwoMoreTicksAndIsClearOnTheThird)
{
    Latch latch = 1;
    std::vector<int> seen;
    for (int tick = 0; tick < 4; ++tick) {
        AgeLatch(latch);
        seen.push_back(latch);
    }
    EXPECT_EQ(seen, (std::vector<int>{2, 3, 0, 0}));
}

TEST(WallpaperScheduleTest, IntervalsOfEveryItem)
{
    const DWORD expected[] = {900000, 600000, 300000, 180000, 60000, 30000, 10000};
    for (int index = 4; index <= 10; ++index) {
        const auto item = static_cast<WallpaperChangeTime>(index);
        DWORD interval = expected[index - 4];
        EXPECT_EQ(WallpaperIntervalMs(item), interval);
        Latch latch = 0;
        EXPECT_EQ(WallpaperScheduleStep(item, 7, 7, latch, 5000 + interval - 1, 5000), WallpaperDue::None) << index;
        EXPECT_EQ(WallpaperScheduleStep(item, 7, 7, latch, 5000 + interval, 5000), WallpaperDue::Interval) << index;
        EXPECT_EQ(latch, 0) << "an interval change leaves the latch alone";
    }
    EXPECT_EQ(WallpaperIntervalMs(WallpaperChangeTime::OnTheHourAndHalfHour), 0u);
    EXPECT_EQ(WallpaperIntervalMs(static_cast<WallpaperChangeTime>(11)), 0u);
}

TEST(WallpaperScheduleTest, IntervalsSpanningTheCounterWrapAreMeasuredAsDifferences)
{
    const DWORD tenSeconds = 10000;
    const DWORD fifteenMinutes = 900000;
    // Stamped just before the wrap: "last + interval" overflows, yet nothing is due a second later.
    DWORD last = 0xFFFFFF00u;
    EXPECT_FALSE(IntervalElapsed(last + 1000, last, fifteenMinutes));
    EXPECT_FALSE(IntervalElapsed(last + tenSeconds - 1, last, tenSeconds));
    EXPECT_TRUE(IntervalElapsed(last + tenSeconds, last, tenSeconds));
    EXPECT_TRUE(IntervalElapsed(last + fifteenMinutes + 5, last, fifteenMinutes));
    // Stamped before the wrap, the counter now past it and far enough: due, not stalled for 49 days.
    EXPECT_TRUE(IntervalElapsed(0x00002000u, 0xFFFFF000u, tenSeconds / 2));
    // A whole day of ten-second changes across the wrap: every one comes exactly on time.
    const DWORD start = 0xFFF00000u;
    last = start;
    int changes = 0;
    for (DWORD tick = 1; tick <= 86400000u / 500; ++tick) {
        const DWORD now = start + tick * 500;
        if (IntervalElapsed(now, last, tenSeconds)) {
            EXPECT_EQ(now - last, tenSeconds);
            last = now;
            ++changes;
        }
    }
    EXPECT_EQ(changes, 8640);
}

TEST(ReminderDueTest, AOnceOnlyReminderComparesTheWholeDate)
{
    ReminderRecord once;
    once.kind = kReminderOnce;
    once.year = 2003, once.month = 11, once.day = 15, once.hour = 12;
    const std::pair<SYSTEMTIME, bool> cases[] = {
        {At(2003, 11, 15, 6, 12, 0, 0), true},  {At(2003, 10, 15, 3, 12, 0, 0), false},
        {At(2004, 11, 15, 1, 12, 0, 0), false}, {At(2002, 11, 15, 5, 12, 0, 0), false},
        {At(2003, 11, 16, 0, 12, 0, 0), false}, {At(2003, 11, 15, 6, 12, 0, 1), false}};
    for (const auto& [now, due] : cases) {
        EXPECT_EQ(ReminderDue(once, now), due) << now.wYear << "/" << now.wMonth << "/" << now.wDay;
    }
}

// Both windows' sentences in the Japanese locale are checked on the windows themselves (ReminderWindowTest).
TEST(ReminderSentenceTest, OtherLocalesSeparatorsAndAShortYear)
{
    EXPECT_EQ(Utf8(ReminderSentence(At(987, 1, 2, 5, 3, 4, 5), L"Friday", L"-", L".", 1)),
              "只今、予定の0987-01-02 Friday 03.04.05になりました");
}
