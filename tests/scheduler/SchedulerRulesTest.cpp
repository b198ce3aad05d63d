// The tick's decisions that need no window and no clock: which moments each kind of event acts on between two
// readings of the clock, the calendar of moments, the interval table and the interval across the counter's wrap,
// the date of a once-only reminder, the sentence with other locales' separators.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
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

namespace {
// October 2003: the 12th is a Sunday, the 15th a Wednesday.
Moment Oct(int day, int hour, int minute, int second)
{
    return MomentOf(2003, 10, day, hour, minute, second);
}

std::string Shown(Moment moment)
{
    const SYSTEMTIME t = LocalTimeOf(moment);
    char text[32] = {};
    std::snprintf(text, sizeof(text), "%02d/%02d %02d:%02d:%02d", t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return text;
}

// One kind of event as the tick takes it at a reading of the clock: what it fires for, if anything. The mark is
// the event's own, as the tick keeps it.
using EventRule = std::function<std::optional<Moment>(MomentMark& mark, Moment now)>;

ReminderRecord Kind(int kind, int hour, int minute, int second, int day = 0, std::vector<int> weekdays = {})
{
    ReminderRecord record;
    record.kind = kind;
    record.year = 2003, record.month = 10, record.day = day;
    record.hour = hour, record.minute = minute, record.second = second;
    for (int weekday : weekdays) {
        record.weekdays[static_cast<std::size_t>(weekday)] = true;
    }
    return record;
}

EventRule Reminder(const ReminderRecord& record)
{
    return [record](MomentMark& mark, Moment now) {
        const Span span = mark.Take(now);
        const std::optional<Moment> due = ReminderDue(record, span);
        // The tick reads the whole reminder only where the cheap test lets it.
        EXPECT_TRUE(!due || TimeOfDayInSpan(record.hour, record.minute, record.second, span));
        return due;
    };
}

EventRule Chime(int timerWaveOnOff)
{
    return [timerWaveOnOff](MomentMark& mark, Moment now) { return HourlyChimeStep(timerWaveOnOff, mark, now); };
}

// The wallpaper names no moment: it answers with the reading it changes at.
EventRule Wallpaper(WallpaperChangeTime changeTime)
{
    return [changeTime](MomentMark& mark, Moment now) -> std::optional<Moment> {
        if (WallpaperScheduleStep(changeTime, mark, now, 0, 0) != WallpaperDue::OnTheClock) {
            return std::nullopt;
        }
        return now;
    };
}
} // namespace

// Each row: an event, the clock's readings at successive ticks (the first is the program's first tick), and
// "reading -> moment" for each tick that acts.
TEST(MomentsBetweenTicksTest, EveryMomentSinceTheTickBeforeIsActedOnOnce)
{
    constexpr int kSunday = 0, kWednesday = 3, kFriday = 5;
    struct Row {
        const char* name;
        EventRule rule;
        std::vector<Moment> readings;
        std::vector<std::string> fired;
    };
    const Row rows[] = {
        {"on time, two ticks in its second",
         Reminder(Kind(kReminderDaily, 12, 0, 0)),
         {Oct(15, 11, 59, 59), Oct(15, 12, 0, 0), Oct(15, 12, 0, 0), Oct(15, 12, 0, 1)},
         {"10/15 12:00:00 -> 10/15 12:00:00"}},
        {"a tick held over its second",
         Reminder(Kind(kReminderDaily, 12, 0, 0)),
         {Oct(15, 11, 59, 58), Oct(15, 12, 0, 1)},
         {"10/15 12:00:01 -> 10/15 12:00:00"}},
        {"the first tick in its second",
         Reminder(Kind(kReminderDaily, 12, 0, 0)),
         {Oct(15, 12, 0, 0)},
         {"10/15 12:00:00 -> 10/15 12:00:00"}},
        {"the program started a second after it",
         Reminder(Kind(kReminderDaily, 12, 0, 0)),
         {Oct(15, 12, 0, 1), Oct(15, 12, 0, 2)},
         {}},
        {"a sleep across midnight",
         Reminder(Kind(kReminderDaily, 23, 59, 55)),
         {Oct(15, 23, 59, 50), Oct(16, 0, 0, 20)},
         {"10/16 00:00:20 -> 10/15 23:59:55"}},
        {"a daily reminder missed on three days, once for the latest",
         Reminder(Kind(kReminderDaily, 7, 0, 0)),
         {Oct(15, 8, 0, 0), Oct(18, 9, 0, 0), Oct(18, 9, 0, 1)},
         {"10/18 09:00:00 -> 10/18 07:00:00"}},
        {"a once-only reminder in a sleep",
         Reminder(Kind(kReminderOnce, 12, 0, 0, 16)),
         {Oct(15, 12, 0, 0), Oct(17, 12, 0, 0), Oct(18, 12, 0, 0)},
         {"10/17 12:00:00 -> 10/16 12:00:00"}},
        {"a once-only reminder of a day before the program started",
         Reminder(Kind(kReminderOnce, 12, 0, 0, 14)),
         {Oct(15, 8, 0, 0), Oct(16, 13, 0, 0)},
         {}},
        {"a weekly reminder on its weekday inside the gap",
         Reminder(Kind(kReminderWeekly, 12, 0, 0, 0, {kWednesday})),
         {Oct(13, 13, 0, 0), Oct(16, 13, 0, 0)},
         {"10/16 13:00:00 -> 10/15 12:00:00"}},
        {"a weekly reminder of the latest of its weekdays in a long gap",
         Reminder(Kind(kReminderWeekly, 12, 0, 0, 0, {kSunday, kWednesday})),
         {Oct(1, 13, 0, 0), Oct(17, 13, 0, 0)},
         {"10/17 13:00:00 -> 10/15 12:00:00"}},
        {"a weekly reminder whose weekday the gap misses",
         Reminder(Kind(kReminderWeekly, 12, 0, 0, 0, {kFriday})),
         {Oct(13, 13, 0, 0), Oct(16, 13, 0, 0)},
         {}},
        {"the clock set back past a reminder that fired, then a day on",
         Reminder(Kind(kReminderDaily, 12, 0, 0)),
         {Oct(15, 11, 59, 59), Oct(15, 12, 0, 0), Oct(15, 12, 0, 30), Oct(15, 11, 0, 0), Oct(15, 11, 59, 59),
          Oct(15, 12, 0, 0), Oct(15, 12, 0, 31), Oct(16, 12, 0, 0)},
         {"10/15 12:00:00 -> 10/15 12:00:00", "10/16 12:00:00 -> 10/16 12:00:00"}},
        {"the chime through the hour that the autumn's change repeats",
         Chime(2),
         {Oct(26, 1, 59, 59), Oct(26, 2, 0, 0), Oct(26, 2, 30, 0), Oct(26, 2, 59, 59), Oct(26, 2, 0, 0),
          Oct(26, 2, 29, 59), Oct(26, 2, 30, 0), Oct(26, 2, 59, 59), Oct(26, 3, 0, 0)},
         {"10/26 02:00:00 -> 10/26 02:00:00", "10/26 02:30:00 -> 10/26 02:30:00", "10/26 03:00:00 -> 10/26 03:00:00"}},
        {"the chime on the full hour only, at half past", Chime(1), {Oct(15, 12, 29, 59), Oct(15, 12, 30, 0)}, {}},
        {"the chime a minute late",
         Chime(2),
         {Oct(15, 12, 29, 59), Oct(15, 12, 31, 0)},
         {"10/15 12:31:00 -> 10/15 12:30:00"}},
        {"the chime more than a minute late", Chime(2), {Oct(15, 12, 29, 59), Oct(15, 12, 31, 1)}, {}},
        {"the chime after a night's sleep, for its latest moment only",
         Chime(2),
         {Oct(15, 3, 10, 0), Oct(15, 7, 0, 30)},
         {"10/15 07:00:30 -> 10/15 07:00:00"}},
        {"no chime chosen", Chime(0), {Oct(15, 11, 59, 59), Oct(15, 12, 0, 0)}, {}},
        {"the wallpaper on the hour, once in a gap of hours",
         Wallpaper(WallpaperChangeTime::OnTheHour),
         {Oct(15, 11, 20, 0), Oct(15, 15, 40, 0), Oct(15, 15, 40, 1)},
         {"10/15 15:40:00 -> 10/15 15:40:00"}},
        {"the wallpaper on the half hour, two ticks in its second",
         Wallpaper(WallpaperChangeTime::OnTheHourAndHalfHour),
         {Oct(15, 12, 29, 59), Oct(15, 12, 30, 0), Oct(15, 12, 30, 0), Oct(15, 12, 45, 0)},
         {"10/15 12:30:00 -> 10/15 12:30:00"}},
        {"the wallpaper on the hour at half past",
         Wallpaper(WallpaperChangeTime::OnTheHour),
         {Oct(15, 12, 29, 59), Oct(15, 12, 30, 0)},
         {}},
    };
    for (const Row& row : rows) {
        MomentMark mark;
        std::vector<std::string> fired;
        for (Moment reading : row.readings) {
            if (const std::optional<Moment> moment = row.rule(mark, reading)) {
                fired.push_back(Shown(reading) + " -> " + Shown(*moment));
            }
        }
        EXPECT_EQ(fired, row.fired) << row.name;
    }
}

TEST(MomentTest, TheCalendarOfMomentsRoundTripsWithItsWeekday)
{
    for (const SYSTEMTIME& t : {At(2003, 10, 15, 12, 0, 0), At(2000, 2, 29, 23, 59, 59), At(1601, 1, 1, 0, 0, 0),
                                At(2100, 3, 1, 7, 8, 9), At(1969, 12, 31, 0, 0, 1)}) {
        const SYSTEMTIME back = LocalTimeOf(MomentOf(t));
        EXPECT_EQ(std::tie(back.wYear, back.wMonth, back.wDay, back.wDayOfWeek, back.wHour, back.wMinute, back.wSecond),
                  std::tie(t.wYear, t.wMonth, t.wDay, t.wDayOfWeek, t.wHour, t.wMinute, t.wSecond))
            << t.wYear << "/" << t.wMonth << "/" << t.wDay;
    }
    EXPECT_EQ(MomentOf(At(2004, 3, 1, 0, 0, 0)) - MomentOf(At(2004, 2, 28, 0, 0, 0)), 2 * kSecondsPerDay);
}

TEST(WallpaperScheduleTest, IntervalsOfEveryItem)
{
    const DWORD expected[] = {900000, 600000, 300000, 180000, 60000, 30000, 10000};
    for (int index = 4; index <= 10; ++index) {
        const auto item = static_cast<WallpaperChangeTime>(index);
        DWORD interval = expected[index - 4];
        EXPECT_EQ(WallpaperIntervalMs(item), interval);
        MomentMark mark;
        const Moment now = MomentOf(At(2003, 10, 15, 12, 7, 7));
        EXPECT_EQ(WallpaperScheduleStep(item, mark, now, 5000 + interval - 1, 5000), WallpaperDue::None) << index;
        EXPECT_EQ(WallpaperScheduleStep(item, mark, now, 5000 + interval, 5000), WallpaperDue::Interval) << index;
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
        EXPECT_EQ(ReminderDue(once, SecondOf(MomentOf(now))).has_value(), due)
            << now.wYear << "/" << now.wMonth << "/" << now.wDay;
    }
}

// Both windows' sentences in the Japanese locale are checked on the windows themselves (ReminderWindowTest).
TEST(ReminderSentenceTest, OtherLocalesSeparatorsAndAShortYear)
{
    EXPECT_EQ(Utf8(ReminderSentence(At(987, 1, 2, 5, 3, 4, 5), L"Friday", L"-", L".", 1)),
              "只今、予定の0987-01-02 Friday 03.04.05になりました");
}
