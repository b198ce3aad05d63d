// The tick's decisions without windows: latch ageing, the wallpaper schedule across the counter's wrap,
// the hourly chime modes, due reminders of every kind, and the reminder sentence.
#include <gtest/gtest.h>

#include <vector>

#include "scheduler/SchedulerRules.h"
#include "support/TestSupport.h"

namespace {
SYSTEMTIME At(int year, int month, int day, int weekday, int hour, int minute, int second)
{
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wDayOfWeek = static_cast<WORD>(weekday);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    return t;
}

ReminderRecord Record(int kind, int hour, int minute, int second)
{
    ReminderRecord r;
    r.kind = kind;
    r.year = 2003;
    r.month = 10;
    r.day = 15;
    r.hour = hour;
    r.minute = minute;
    r.second = second;
    return r;
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

TEST(KabeScheduleTest, OnTheClockItemsChangeOnceAtTheirSecondsOnly)
{
    Latch latch = 0;
    // "毎時 ０分 + ３０分": 12:00:00 twice in that second, then 12:30:00; nothing at 12:00:01 or 12:15:00.
    EXPECT_EQ(KabeScheduleStep(3, 0, 0, latch, 0, 0), KabeDue::OnTheClock);
    EXPECT_EQ(KabeScheduleStep(3, 0, 0, latch, 0, 0), KabeDue::None);
    EXPECT_EQ(KabeScheduleStep(3, 0, 1, latch, 0, 0), KabeDue::None);
    EXPECT_EQ(KabeScheduleStep(3, 15, 0, latch, 0, 0), KabeDue::None);
    EXPECT_EQ(KabeScheduleStep(3, 30, 0, latch, 0, 0), KabeDue::OnTheClock);
    latch = 0;
    // "毎時 ０分" ignores the half hour; the other items never change on the clock.
    EXPECT_EQ(KabeScheduleStep(2, 30, 0, latch, 0, 0), KabeDue::None);
    for (int item : {-1, 0, 1}) {
        EXPECT_EQ(KabeScheduleStep(item, 0, 0, latch, 999999999, 0), KabeDue::None) << item;
    }
}

TEST(KabeScheduleTest, IntervalsOfEveryItem)
{
    const DWORD expected[] = {900000, 600000, 300000, 180000, 60000, 30000, 10000};
    for (int item = 4; item <= 10; ++item) {
        DWORD interval = expected[item - 4];
        EXPECT_EQ(KabeIntervalMs(item), interval);
        Latch latch = 0;
        EXPECT_EQ(KabeScheduleStep(item, 7, 7, latch, 5000 + interval - 1, 5000), KabeDue::None) << item;
        EXPECT_EQ(KabeScheduleStep(item, 7, 7, latch, 5000 + interval, 5000), KabeDue::Interval) << item;
        EXPECT_EQ(latch, 0) << "an interval change leaves the latch alone";
    }
    EXPECT_EQ(KabeIntervalMs(3), 0u);
    EXPECT_EQ(KabeIntervalMs(11), 0u);
}

TEST(KabeScheduleTest, IntervalsSpanningTheCounterWrapAreMeasuredAsDifferences)
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

TEST(HourlyChimeTest, ModesAndTheLatchSetWhateverTheMode)
{
    Latch latch = 0;
    EXPECT_TRUE(HourlyChimeStep(1, 0, 0, latch));
    EXPECT_FALSE(HourlyChimeStep(1, 0, 0, latch)) << "second tick in the same second";
    latch = 0;
    EXPECT_FALSE(HourlyChimeStep(1, 30, 0, latch)) << "mode 1 is silent at the half hour";
    EXPECT_EQ(latch, 1) << "the latch is set although nothing sounds";
    latch = 0;
    EXPECT_TRUE(HourlyChimeStep(2, 30, 0, latch));
    latch = 0;
    EXPECT_TRUE(HourlyChimeStep(2, 0, 0, latch));
    latch = 0;
    EXPECT_FALSE(HourlyChimeStep(0, 0, 0, latch));
    EXPECT_EQ(latch, 1);
    latch = 0;
    for (int minute : {1, 15, 29, 31, 59}) {
        EXPECT_FALSE(HourlyChimeStep(2, minute, 0, latch)) << minute;
    }
    EXPECT_FALSE(HourlyChimeStep(2, 0, 1, latch));
    EXPECT_EQ(latch, 0);
}

TEST(ReminderDueTest, TheSecondCountsAndOnceNeedsTheDate)
{
    const ReminderRecord once = Record(kReminderOnce, 8, 15, 30);
    EXPECT_TRUE(ReminderDue(once, At(2003, 10, 15, 3, 8, 15, 30)));
    EXPECT_FALSE(ReminderDue(once, At(2003, 10, 15, 3, 8, 15, 0)));
    EXPECT_FALSE(ReminderDue(once, At(2003, 10, 15, 3, 8, 15, 31)));
    EXPECT_FALSE(ReminderDue(once, At(2003, 10, 16, 4, 8, 15, 30))) << "a past date is never caught up";
    EXPECT_FALSE(ReminderDue(once, At(2004, 10, 15, 5, 8, 15, 30)));
    EXPECT_TRUE(ReminderDue(Record(kReminderDaily, 8, 15, 30), At(2010, 1, 2, 6, 8, 15, 30)));
    EXPECT_FALSE(ReminderDue(Record(kNoReminderKind, 8, 15, 30), At(2003, 10, 15, 3, 8, 15, 30)));
    EXPECT_FALSE(ReminderDue(Record(7, 8, 15, 30), At(2003, 10, 15, 3, 8, 15, 30)));
}

TEST(ReminderDueTest, WeeklyOnTheChosenWeekdaysOfAWholeWeek)
{
    ReminderRecord weekly = Record(kReminderWeekly, 12, 0, 0);
    for (int weekday = 0; weekday < 7; ++weekday) {
        EXPECT_FALSE(ReminderDue(weekly, At(2003, 10, 12 + weekday, weekday, 12, 0, 0))) << "no weekday chosen";
    }
    weekly.weekdays[1] = true; // Monday
    weekly.weekdays[3] = true; // Wednesday
    for (int weekday = 0; weekday < 7; ++weekday) {
        EXPECT_EQ(ReminderDue(weekly, At(2003, 10, 12 + weekday, weekday, 12, 0, 0)), weekday == 1 || weekday == 3)
            << weekday;
    }
}

TEST(ReminderActionTest, ChimeAndMessageOfEachAction)
{
    EXPECT_TRUE(ActionSoundsChime(0));
    EXPECT_FALSE(ActionShowsMessage(0));
    EXPECT_FALSE(ActionSoundsChime(1));
    EXPECT_TRUE(ActionShowsMessage(1));
    EXPECT_TRUE(ActionSoundsChime(2));
    EXPECT_TRUE(ActionShowsMessage(2));
    EXPECT_FALSE(ActionSoundsChime(-1));
    EXPECT_FALSE(ActionShowsMessage(-1));
}

TEST(ReminderSentenceTest, PatternsOfBothWindows)
{
    const SYSTEMTIME t = At(2003, 10, 15, 3, 12, 0, 0);
    EXPECT_EQ(Utf8(ReminderSentence(t, L"水曜日", L"/", L":", 1)),
              "只今、予定の2003/10/15 水曜日 12:00:00になりました");
    EXPECT_EQ(Utf8(ReminderSentence(t, L"水曜日", L"/", L":", 2)),
              "只今、予定の2003/10/15 水曜日  12:00:00になりました");
    EXPECT_EQ(Utf8(ReminderSentence(At(987, 1, 2, 5, 3, 4, 5), L"Friday", L"-", L".", 1)),
              "只今、予定の0987-01-02 Friday 03.04.05になりました");
}
