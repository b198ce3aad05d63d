// The tick's decisions that need no window and no clock: which moments each kind of event acts on between two
// readings of the clock, the interval table and the interval across the counter's wrap,
// the date of a once-only reminder, the sentence with other locales' separators.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <sstream>
#include <string>
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

// A reading of the clock or a moment in October 2003 (the 12th a Sunday) written as the digits ddhhmmss.
Moment Oct(int ddhhmmss)
{
    return MomentOf(2003, 10, ddhhmmss / 1000000, ddhhmmss / 10000 % 100, ddhhmmss / 100 % 100, ddhhmmss % 100);
}

std::string Shown(Moment moment)
{
    const SYSTEMTIME t = LocalTimeOf(moment);
    return std::to_string(((t.wDay * 100 + t.wHour) * 100 + t.wMinute) * 100 + t.wSecond);
}

// One kind of event as the tick takes it at a reading of the clock, with its own mark: what it fires for.
using EventRule = std::function<std::optional<Moment>(MomentMark& mark, Moment now)>;

EventRule Reminder(int kind, int hour, int minute, int second, int day = 0, std::vector<int> weekdays = {})
{
    ReminderRecord record;
    record.kind = kind;
    record.year = 2003, record.month = 10, record.day = day;
    record.hour = hour, record.minute = minute, record.second = second;
    for (int weekday : weekdays) {
        record.weekdays[static_cast<std::size_t>(weekday)] = true;
    }
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
    return [changeTime](MomentMark& mark, Moment now) {
        return WallpaperScheduleStep(changeTime, mark, now, 0, 0) == WallpaperDue::OnTheClock
                   ? std::optional<Moment>(now)
                   : std::nullopt;
    };
}
} // namespace

// Each row: an event, the clock's readings at successive ticks (the first is the program's first tick), and
// "reading -> moment" for each tick that acts, all as ddhhmmss.
TEST(MomentsBetweenTicksTest, EveryMomentSinceTheTickBeforeIsActedOnOnce)
{
    constexpr int kWednesday = 3;
    const EventRule daily = Reminder(kReminderDaily, 12, 0, 0);
    struct Row {
        const char* name;
        EventRule rule;
        const char* readings;
        const char* fired;
    };
    const Row rows[] = {
        {"on time, two ticks in its second", daily, "15115959 15120000 15120000 15120001", "15120000 -> 15120000"},
        {"a tick held over its second", daily, "15115958 15120001", "15120001 -> 15120000"},
        {"the program started a second after it", daily, "15120001 15120002", ""},
        {"a sleep across midnight", Reminder(kReminderDaily, 23, 59, 55), "15235950 16000020", "16000020 -> 15235955"},
        {"a daily reminder missed on three days, once for the latest", Reminder(kReminderDaily, 7, 0, 0),
         "15080000 18090000 18090001", "18090000 -> 18070000"},
        {"a once-only reminder in a sleep", Reminder(kReminderOnce, 12, 0, 0, 16), "15120000 17120000 18120000",
         "17120000 -> 16120000"},
        {"a weekly reminder on its weekday in the gap", Reminder(kReminderWeekly, 12, 0, 0, 0, {kWednesday}),
         "13130000 16130000", "16130000 -> 15120000"},
        {"the clock set back past a reminder that fired, then a day on", daily,
         "15115959 15120000 15120030 15110000 15115959 15120000 15120031 16120000",
         "15120000 -> 15120000, 16120000 -> 16120000"},
        {"the chime through the hour that the autumn's change repeats", Chime(2),
         "15015959 15020000 15023000 15025959 15020000 15022959 15023000 15025959 15030000",
         "15020000 -> 15020000, 15023000 -> 15023000, 15030000 -> 15030000"},
        {"the chime a minute late", Chime(2), "15122959 15123100", "15123100 -> 15123000"},
        {"the chime more than a minute late", Chime(2), "15122959 15123101", ""},
        {"the wallpaper on the hour, once in hours", Wallpaper(WallpaperChangeTime::OnTheHour),
         "15112000 15154000 15154001", "15154000 -> 15154000"},
    };
    for (const Row& row : rows) {
        MomentMark mark;
        std::string fired;
        std::istringstream readings(row.readings);
        for (int digits = 0; readings >> digits;) {
            const Moment reading = Oct(digits);
            if (const std::optional<Moment> moment = row.rule(mark, reading)) {
                fired += (fired.empty() ? "" : ", ") + Shown(reading) + " -> " + Shown(*moment);
            }
        }
        EXPECT_EQ(fired, row.fired) << row.name;
    }
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
