// The tick's decisions: latches, wallpaper schedule, hourly chime, due reminders, reminder sentence.
#include "scheduler/SchedulerRules.h"

#include <cwchar>
#include <tuple>

#include "settings/SettingsRules.h"

namespace {
constexpr Latch kLatchBlockedUntil = 3;
constexpr int kHalfHour = 30;
constexpr int kChimeOnTheHour = 1;
constexpr int kChimeOnTheHalfHour = 2;

std::wstring TwoDigits(int value)
{
    wchar_t text[8] = {};
    std::swprintf(text, 8, L"%02d", value);
    return text;
}
} // namespace

std::vector<std::wstring> BuiltInChimeTexts()
{
    std::vector<std::wstring> texts;
    for (int i = 0; i < kBuiltInChimeCount; ++i) {
        texts.push_back(L"時報 " + std::to_wstring(i + 1));
    }
    return texts;
}

void AgeLatch(Latch& latch)
{
    if (latch != 0 && ++latch > kLatchBlockedUntil) {
        latch = 0;
    }
}

bool IntervalElapsed(DWORD now, DWORD last, DWORD interval)
{
    return static_cast<DWORD>(now - last) >= interval;
}

WallpaperDue WallpaperScheduleStep(WallpaperChangeTime changeTime, int minute, int second, Latch& latch, DWORD nowMs,
                                   DWORD lastChangeMs)
{
    AgeLatch(latch);
    bool onTheClock =
        latch == 0 && second == 0 &&
        ((minute == 0 && ChangesOnTheHour(changeTime)) || (minute == kHalfHour && ChangesOnTheHalfHour(changeTime)));
    if (onTheClock) {
        latch = 1;
        return WallpaperDue::OnTheClock;
    }
    DWORD interval = WallpaperIntervalMs(changeTime);
    if (interval != 0 && IntervalElapsed(nowMs, lastChangeMs, interval)) {
        return WallpaperDue::Interval;
    }
    return WallpaperDue::None;
}

bool HourlyChimeStep(int timerWaveOnOff, int minute, int second, Latch& latch)
{
    AgeLatch(latch);
    if (latch != 0 || second != 0 || (minute != 0 && minute != kHalfHour)) {
        return false;
    }
    latch = 1;
    return minute == 0 ? timerWaveOnOff == kChimeOnTheHour || timerWaveOnOff == kChimeOnTheHalfHour
                       : timerWaveOnOff == kChimeOnTheHalfHour;
}

bool ActionSoundsChime(int action)
{
    return action == kActionChime || action == kActionChimeAndMessage;
}

bool ActionShowsMessage(int action)
{
    return action == kActionMessage || action == kActionChimeAndMessage;
}

bool DayBefore(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return std::tie(a.wYear, a.wMonth, a.wDay) < std::tie(b.wYear, b.wMonth, b.wDay);
}

bool ReminderTimeMatches(const ReminderRecord& record, const SYSTEMTIME& now)
{
    return record.hour == now.wHour && record.minute == now.wMinute && record.second == now.wSecond;
}

bool ReminderDue(const ReminderRecord& record, const SYSTEMTIME& now)
{
    if (!ReminderTimeMatches(record, now)) {
        return false;
    }
    switch (record.kind) {
    case kReminderOnce:
        return record.year == now.wYear && record.month == now.wMonth && record.day == now.wDay;
    case kReminderDaily:
        return true;
    case kReminderWeekly:
        return now.wDayOfWeek < record.weekdays.size() && record.weekdays[now.wDayOfWeek];
    default:
        return false;
    }
}

std::wstring ReminderSentence(const SYSTEMTIME& when, std::wstring_view weekdayName, std::wstring_view dateSeparator,
                              std::wstring_view timeSeparator, int spacesBeforeTime)
{
    wchar_t year[8] = {};
    std::swprintf(year, 8, L"%04d", static_cast<int>(when.wYear));
    std::wstring text = L"只今、予定の";
    text += year;
    text += dateSeparator;
    text += TwoDigits(when.wMonth);
    text += dateSeparator;
    text += TwoDigits(when.wDay);
    text += L' ';
    text += weekdayName;
    text.append(static_cast<std::size_t>(spacesBeforeTime > 0 ? spacesBeforeTime : 0), L' ');
    text += TwoDigits(when.wHour);
    text += timeSeparator;
    text += TwoDigits(when.wMinute);
    text += timeSeparator;
    text += TwoDigits(when.wSecond);
    text += L"になりました";
    return text;
}
