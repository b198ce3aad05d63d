// OnTick: each step takes the moments since it last looked and reads the controls it needs just before it acts,
// so that what an earlier step did (a user file that started playing, a reminder switched off) is what a later
// step sees.
#include "scheduler/Scheduler.h"

#include "scheduler/ChimePage.h"
#include "scheduler/ReminderPage.h"

namespace {
// Marks a step as running for as long as its action lasts.
class RunningStep {
public:
    explicit RunningStep(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningStep() { flag_ = false; }
    RunningStep(const RunningStep&) = delete;
    RunningStep& operator=(const RunningStep&) = delete;

private:
    bool& flag_;
};
} // namespace

SYSTEMTIME SystemTickClock::LocalTime()
{
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    return now;
}

DWORD SystemTickClock::Milliseconds()
{
    // The multimedia library's counter counts the same milliseconds more finely, which an interval of minutes
    // does not need; loading the library for it cost the start-up about 8 ms under Wine.
    return GetTickCount();
}

Scheduler::Scheduler(ChimePage& chimePage, ReminderPage& reminderPage, TickClock& clock, TickActions& actions)
    : chimePage_(chimePage), reminderPage_(reminderPage), clock_(clock), actions_(actions)
{
    state_.lastWallpaperChange = clock_.Milliseconds();
}

void Scheduler::OnTick()
{
    // One reading of the clock serves every step of the tick, the reminders' dates included, so that a tick
    // across midnight cannot pair one day's time with the next day's date.
    const Moment now = MomentOf(clock_.LocalTime());
    CheckWallpaper(now);
    HourlyChime(now);
    CheckReminder(1, now);
    CheckReminder(2, now);
    MemRefresh();
}

void Scheduler::CheckWallpaper(Moment now)
{
    if (running_.wallpaper) {
        return;
    }
    const WallpaperChangeTime changeTime = actions_.CurrentWallpaperChangeTime();
    const DWORD nowMs = WallpaperIntervalMs(changeTime) != 0 ? clock_.Milliseconds() : 0;
    const WallpaperDue due =
        WallpaperScheduleStep(changeTime, state_.wallpaperOnTheClock, now, nowMs, state_.lastWallpaperChange);
    if (due == WallpaperDue::None) {
        return;
    }
    {
        RunningStep running(running_.wallpaper);
        actions_.ChangeWallpaper();
    }
    if (due == WallpaperDue::Interval) {
        // The next interval counts from the end of this change.
        state_.lastWallpaperChange = clock_.Milliseconds();
    }
}

void Scheduler::HourlyChime(Moment now)
{
    if (running_.chime) {
        return;
    }
    if (HourlyChimeStep(chimePage_.HourlyChimeMode(), state_.chime, now) && !actions_.IsPlayingUserFile()) {
        RunningStep running(running_.chime);
        actions_.PlayTimerWave(static_cast<unsigned>(chimePage_.HourlyChime()));
    }
}

void Scheduler::CheckReminder(int timer, Moment now)
{
    if (running_.reminder[timer - 1]) {
        return;
    }
    MomentMark& mark = state_.reminders[timer - 1];
    if (!reminderPage_.IsOn(timer)) {
        // Switched on later, it counts from the second it was switched on in.
        mark.Forget();
        return;
    }
    const Span span = mark.Take(now);
    if (span.Empty()) {
        return;
    }
    // Most ticks end here: the rest of the reminder matters only when its time of day lies in the span.
    const SYSTEMTIME time = reminderPage_.TimeOfDay(timer);
    if (!TimeOfDayInSpan(time.wHour, time.wMinute, time.wSecond, span)) {
        return;
    }
    const ReminderSettings reminder = reminderPage_.Reminder(timer);
    const std::optional<Moment> moment = ReminderDue(reminder.when, span);
    if (!moment) {
        return;
    }
    RunningStep running(running_.reminder[timer - 1]);
    if (ActionSoundsChime(reminder.action) && !actions_.IsPlayingUserFile()) {
        actions_.PlayTimerWave(static_cast<unsigned>(reminder.chime));
    }
    if (ActionShowsMessage(reminder.action)) {
        actions_.ShowReminder(timer, reminder.memo, LocalTimeOf(*moment));
    }
    if (reminder.when.kind == kReminderOnce) {
        reminderPage_.SwitchOffAfterFiring(timer);
    }
}

void Scheduler::MemRefresh()
{
    if (!actions_.InfoPageShown()) {
        return;
    }
    if (state_.memRefreshToggle != 0) {
        actions_.UpdateMemLabels();
        state_.memRefreshToggle = 0;
    } else {
        state_.memRefreshToggle = 1;
    }
}
