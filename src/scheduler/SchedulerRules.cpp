// The tick's decisions: moments on the local calendar, the marks of what was acted on, wallpaper schedule,
// hourly chime, due reminders, reminder sentence.
#include "scheduler/SchedulerRules.h"

#include <cwchar>
#include <tuple>
#include <cstddef>

#include "settings/SettingsRules.h"

namespace {
constexpr Moment kSecondsPerHour = 3600;
constexpr Moment kSecondsPerHalfHour = 1800;
constexpr int kChimeOnTheHour = 1;
constexpr int kChimeOnTheHalfHour = 2;
constexpr int kDaysPerWeek = 7;
// 1970/01/01, day 0 of the count below, was a Thursday.
constexpr int kWeekdayOfDayZero = 4;

// Division and remainder that round towards minus infinity, for moments before 1970 (b is positive).
Moment FloorDiv(Moment a, Moment b)
{
    return a / b - (a % b < 0);
}

Moment FloorMod(Moment a, Moment b)
{
    return a - FloorDiv(a, b) * b;
}

// Days since 1970/01/01 of a date of the proleptic Gregorian calendar, and back: plain arithmetic, so the tick
// needs no call into the system for either.
Moment DaysFromCivil(Moment year, int month, int day)
{
    year -= month <= 2;
    const Moment era = FloorDiv(year, 400);
    const Moment yearOfEra = year - era * 400;
    const Moment dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const Moment dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

SYSTEMTIME CivilFromDays(Moment days)
{
    days += 719468;
    const Moment era = FloorDiv(days, 146097);
    const Moment dayOfEra = days - era * 146097;
    const Moment yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const Moment dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const Moment shiftedMonth = (5 * dayOfYear + 2) / 153;
    const Moment month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(yearOfEra + era * 400 + (month <= 2));
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    return t;
}

int WeekdayOf(Moment moment)
{
    return static_cast<int>(FloorMod(FloorDiv(moment, kSecondsPerDay) + kWeekdayOfDayZero, kDaysPerWeek));
}

// The latest moment at this second of the day no later than upTo.
Moment LatestAtTimeOfDay(Moment secondOfDay, Moment upTo)
{
    const Moment candidate = FloorDiv(upTo, kSecondsPerDay) * kSecondsPerDay + secondOfDay;
    return candidate > upTo ? candidate - kSecondsPerDay : candidate;
}

Moment SecondOfDay(int hour, int minute, int second)
{
    return hour * kSecondsPerHour + minute * 60 + second;
}

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

Moment MomentOf(int year, int month, int day, int hour, int minute, int second)
{
    return DaysFromCivil(year, month, day) * kSecondsPerDay + SecondOfDay(hour, minute, second);
}

Moment MomentOf(const SYSTEMTIME& t)
{
    return MomentOf(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

SYSTEMTIME LocalTimeOf(Moment moment)
{
    SYSTEMTIME t = CivilFromDays(FloorDiv(moment, kSecondsPerDay));
    t.wDayOfWeek = static_cast<WORD>(WeekdayOf(moment));
    const Moment second = FloorMod(moment, kSecondsPerDay);
    t.wHour = static_cast<WORD>(second / kSecondsPerHour);
    t.wMinute = static_cast<WORD>(second / 60 % 60);
    t.wSecond = static_cast<WORD>(second % 60);
    return t;
}

Span MomentMark::Take(Moment now)
{
    const Span span = reached_ ? Span{*reached_, now} : SecondOf(now);
    // A clock set back leaves the mark where it was: the moments up to it came once already.
    if (!span.Empty()) {
        reached_ = now;
    }
    return span;
}

std::optional<Moment> LatestOnTheClock(Span span, bool everyHalfHour)
{
    const Moment period = everyHalfHour ? kSecondsPerHalfHour : kSecondsPerHour;
    const Moment latest = FloorDiv(span.upTo, period) * period;
    if (span.Empty() || latest <= span.after) {
        return std::nullopt;
    }
    return latest;
}

bool IntervalElapsed(DWORD now, DWORD last, DWORD interval)
{
    return static_cast<DWORD>(now - last) >= interval;
}

WallpaperDue WallpaperScheduleStep(WallpaperChangeTime changeTime, MomentMark& mark, Moment now, DWORD nowMs,
                                   DWORD lastChangeMs)
{
    if (ChangesOnTheHour(changeTime) || ChangesOnTheHalfHour(changeTime)) {
        if (LatestOnTheClock(mark.Take(now), ChangesOnTheHalfHour(changeTime))) {
            return WallpaperDue::OnTheClock;
        }
    } else {
        // Chosen later, the full hour counts from the second it was chosen in.
        mark.Forget();
    }
    DWORD interval = WallpaperIntervalMs(changeTime);
    if (interval != 0 && IntervalElapsed(nowMs, lastChangeMs, interval)) {
        return WallpaperDue::Interval;
    }
    return WallpaperDue::None;
}

std::optional<Moment> HourlyChimeStep(int timerWaveOnOff, MomentMark& mark, Moment now)
{
    const Span span = mark.Take(now);
    if (timerWaveOnOff != kChimeOnTheHour && timerWaveOnOff != kChimeOnTheHalfHour) {
        return std::nullopt;
    }
    const std::optional<Moment> moment = LatestOnTheClock(span, timerWaveOnOff == kChimeOnTheHalfHour);
    if (!moment || span.upTo - *moment > kChimeLatenessSeconds) {
        return std::nullopt;
    }
    return moment;
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

bool TimeOfDayInSpan(int hour, int minute, int second, Span span)
{
    return !span.Empty() && LatestAtTimeOfDay(SecondOfDay(hour, minute, second), span.upTo) > span.after;
}

std::optional<Moment> ReminderDue(const ReminderRecord& record, Span span)
{
    if (!TimeOfDayInSpan(record.hour, record.minute, record.second, span)) {
        return std::nullopt;
    }
    Moment latest = LatestAtTimeOfDay(SecondOfDay(record.hour, record.minute, record.second), span.upTo);
    switch (record.kind) {
    case kReminderOnce: {
        const Moment moment =
            MomentOf(record.year, record.month, record.day, record.hour, record.minute, record.second);
        return moment > span.after && moment <= span.upTo ? std::optional<Moment>(moment) : std::nullopt;
    }
    case kReminderDaily:
        return latest;
    case kReminderWeekly:
        // Back from the latest day, at most a week, while the days stay in the span.
        for (int day = 0; day < kDaysPerWeek && latest > span.after; ++day, latest -= kSecondsPerDay) {
            if (record.weekdays[static_cast<std::size_t>(WeekdayOf(latest))]) {
                return latest;
            }
        }
        return std::nullopt;
    default:
        return std::nullopt;
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
