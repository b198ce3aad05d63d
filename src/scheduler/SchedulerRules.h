// Decisions of the half-second tick that need no window: the clock-second latches, the wallpaper schedule,
// the hourly chime, when a reminder is due, and the sentence of a reminder's message window.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/WallpaperChoices.h"

// Item texts of the built-in chimes 0..7: "時報 1" … "時報 8"; the user's sound files follow them in the chime
// lists.
std::vector<std::wstring> BuiltInChimeTexts();

// A latch keeps an event that is defined by a clock second from firing twice in that second: 0 is clear,
// the event sets it to 1, and every tick ages it until it is clear again three ticks later.
using Latch = std::uint8_t;

struct TickState {
    Latch wallpaperLatch = 0;
    Latch chimeLatch = 0;
    std::array<Latch, 2> reminderLatch = {};
    // Alternates while the information page is current, so its memory figures change once a second.
    std::uint8_t memRefreshToggle = 1;
    // The millisecond counter when the wallpaper interval last began: when the scheduler was made, just
    // before the settings load, and at the end of each interval change.
    DWORD lastWallpaperChange = 0;
};

// Done at the start of the latch's own step on every tick, whatever the settings.
void AgeLatch(Latch& latch);

// Whether the interval has passed since last, measured as an unsigned difference, so that the wrap of
// the millisecond counter after 49.7 days neither fires at once nor stalls for weeks.
bool IntervalElapsed(DWORD now, DWORD last, DWORD interval);

enum class WallpaperDue { None, OnTheClock, Interval };
// The wallpaper step: ages the latch, then the first matching rule (hh:00:00, hh:30:00, the interval, as the
// change time has them). A change on the clock sets the latch.
WallpaperDue WallpaperScheduleStep(WallpaperChangeTime changeTime, int minute, int second, Latch& latch, DWORD nowMs,
                                   DWORD lastChangeMs);

// The hourly chime step: ages the latch; at hh:00:00 and hh:30:00 with the latch clear it sets the latch
// whatever the mode and returns whether the mode (0 off, 1 full hour, 2 full and half hour) wants a chime.
bool HourlyChimeStep(int timerWaveOnOff, int minute, int second, Latch& latch);

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
// Whether the picker's time equals the clock's hour, minute and second.
bool ReminderTimeMatches(const ReminderRecord& record, const SYSTEMTIME& now);
// Whether an armed reminder is due at now (latch aside): its second, and its date, every day, or one of
// its weekdays. A moment that has passed is never caught up.
bool ReminderDue(const ReminderRecord& record, const SYSTEMTIME& now);

// "只今、予定の" + yyyy/mm/dd dddd hh:nn:ss + "になりました", with the locale's weekday name and separators;
// window 2 puts two spaces before the hour.
std::wstring ReminderSentence(const SYSTEMTIME& when, std::wstring_view weekdayName, std::wstring_view dateSeparator,
                              std::wstring_view timeSeparator, int spacesBeforeTime);
