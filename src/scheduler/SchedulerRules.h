// Decisions of the half-second tick that need no window: moments and how far each kind of event has been acted
// on, the wallpaper schedule, the hourly chime, when a reminder is due, and the sentence of a reminder's window.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/WallpaperChoices.h"

// Item texts of the built-in chimes 0..7: "時報 1" … "時報 8"; the user's sound files follow them in the chime
// lists.
std::vector<std::wstring> BuiltInChimeTexts();

// A moment: a local date and time to the second, counted in seconds on the local calendar, every day 86,400 of
// them. The clock's own steps, a change of daylight saving time among them, are jumps between two readings.
using Moment = std::int64_t;
inline constexpr Moment kSecondsPerDay = 86400;
// The moment of a local date and time; milliseconds and the weekday do not count.
Moment MomentOf(int year, int month, int day, int hour, int minute, int second);
Moment MomentOf(const SYSTEMTIME& t);
// The local date and time of a moment, its weekday included.
SYSTEMTIME LocalTimeOf(Moment moment);

// The moments one tick covers: after `after` and no later than `upTo`; none when the clock stands at or before
// `after`.
struct Span {
    Moment after = 0;
    Moment upTo = 0;
    bool Empty() const { return upTo <= after; }
};
// The span of a tick that is the first to look: only the second it reads.
inline Span SecondOf(Moment now)
{
    return {now - 1, now};
}

// How far one kind of event has been acted on. Each tick takes the moments after the mark and no later than now,
// and the mark moves to now; so a late tick, a sleep or a clock set forward loses no moment, and a clock set back
// brings none again until it passes the mark.
class MomentMark {
public:
    // The moments this tick covers, from now on acted on. A mark that has reached nothing yet covers only the
    // second now reads: what came before the program looked is not caught up.
    Span Take(Moment now);
    // Starts again from nothing, as when the program started (a reminder switched off).
    void Forget() { reached_.reset(); }

private:
    std::optional<Moment> reached_;
};

struct TickState {
    // How far the wallpaper's change on the clock, the hourly chime and reminders 1 and 2 have been acted on.
    MomentMark wallpaperOnTheClock;
    MomentMark chime;
    std::array<MomentMark, 2> reminders;
    // Alternates while the information page is current, so its memory figures change once a second.
    std::uint8_t memRefreshToggle = 1;
    // The millisecond counter when the wallpaper interval last began: when the scheduler was made, just
    // before the settings load, and at the end of each interval change.
    DWORD lastWallpaperChange = 0;
};

// The latest full hour (or half hour, with everyHalfHour) in the span.
std::optional<Moment> LatestOnTheClock(Span span, bool everyHalfHour);

// Whether the interval has passed since last, measured as an unsigned difference, so that the wrap of
// the millisecond counter after 49.7 days neither fires at once nor stalls for weeks.
bool IntervalElapsed(DWORD now, DWORD last, DWORD interval);

enum class WallpaperDue { None, OnTheClock, Interval };
// The wallpaper step: a full or half hour that the change time names since the mark (once however many passed),
// else the interval. A change time that is not on the clock lets the mark go.
WallpaperDue WallpaperScheduleStep(WallpaperChangeTime changeTime, MomentMark& mark, Moment now, DWORD nowMs,
                                   DWORD lastChangeMs);

// A chime for a moment further past than this is noise, not a time signal.
inline constexpr Moment kChimeLatenessSeconds = 60;
// The hourly chime step: the latest full hour (mode 1) or full or half hour (mode 2) since the mark, when it is
// no more than a minute past; mode 0 chimes never. The mark moves whatever the mode.
std::optional<Moment> HourlyChimeStep(int timerWaveOnOff, MomentMark& mark, Moment now);

enum ReminderKind { kNoReminderKind = -1, kReminderOnce = 0, kReminderDaily = 1, kReminderWeekly = 2 };
enum ReminderAction { kActionChime = 0, kActionMessage = 1, kActionChimeAndMessage = 2 };
bool ActionSoundsChime(int action);
bool ActionShowsMessage(int action);

// What the reminder page's pickers and toggles hold; weekdays[0] is Sunday.
struct ReminderRecord {
    int kind = kNoReminderKind;
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
    std::array<bool, 7> weekdays = {};
};
// Whether the calendar day of a lies before that of b; the time of day does not count.
bool DayBefore(const SYSTEMTIME& a, const SYSTEMTIME& b);
// Whether a moment at this time of day lies in the span: the cheap test before the whole reminder is read.
bool TimeOfDayInSpan(int hour, int minute, int second, Span span);
// The latest moment of an armed reminder in the span: its date and time, its time every day, or its time on
// one of its weekdays. A reminder missed on several days is due once, for the latest of them.
std::optional<Moment> ReminderDue(const ReminderRecord& record, Span span);

// "只今、予定の" + yyyy/mm/dd dddd hh:nn:ss + "になりました", with the locale's weekday name and separators;
// window 2 puts two spaces before the hour.
std::wstring ReminderSentence(const SYSTEMTIME& when, std::wstring_view weekdayName, std::wstring_view dateSeparator,
                              std::wstring_view timeSeparator, int spacesBeforeTime);
