// OnTick: each step reads the controls it needs just before it acts, so that what an earlier step did
// (a user file that started playing, a reminder switched off) is what a later step sees.
#include "scheduler/Scheduler.h"

#include "base/Multimedia.h"

#include "resource.h"
#include "scheduler/ChimePlayer.h"
#include "scheduler/ReminderWindow.h"
#include "scheduler/ReminderPage.h"
#include "settings/SettingsDialog.h"
#include "settings/SettingsLayout.h"

namespace {
constexpr int kDays = 7;

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
    return MultimediaTime();
}

ProgramTickActions::ProgramTickActions(SettingsDialog& form, ChimePlayer& chimePlayer, ReminderWindow& reminderWindow1,
                                       ReminderWindow& reminderWindow2, TickClock& clock, FormOperation changeWallpaper,
                                       FormOperation updateMemLabels)
    : form_(form), chimePlayer_(chimePlayer), reminderWindow1_(reminderWindow1), reminderWindow2_(reminderWindow2),
      clock_(clock), changeWallpaper_(changeWallpaper), updateMemLabels_(updateMemLabels)
{
}

void ProgramTickActions::ChangeWallpaper()
{
    changeWallpaper_(form_);
}

void ProgramTickActions::PlayTimerWave(unsigned index)
{
    chimePlayer_.PlayTimerWave(index);
}

void ProgramTickActions::ShowReminder(int timer)
{
    ReminderWindow& window = timer == 1 ? reminderWindow1_ : reminderWindow2_;
    window.ShowReminder(form_.Text(TimerControl(timer, IDC_REMINDER1_MEMO)), clock_.LocalTime());
}

void ProgramTickActions::UpdateMemLabels()
{
    updateMemLabels_(form_);
}

Scheduler::Scheduler(SettingsDialog& form, ReminderPage& reminderPage, TickClock& clock, TickActions& actions)
    : form_(form), reminderPage_(reminderPage), clock_(clock), actions_(actions)
{
    state_.lastWallpaperChange = clock_.Milliseconds();
}

void Scheduler::OnTick()
{
    // One reading of the clock serves every comparison of the tick, the reminders' dates included, so that
    // a tick across midnight cannot pair one day's time with the next day's date.
    const SYSTEMTIME now = clock_.LocalTime();
    CheckWallpaper(now);
    HourlyChime(now);
    CheckReminder(1, now);
    CheckReminder(2, now);
    MemRefresh();
}

void Scheduler::CheckWallpaper(const SYSTEMTIME& now)
{
    if (running_.wallpaper) {
        return;
    }
    const int changeTime = form_.Index(IDC_WALLPAPER_CHANGE_TIME);
    const DWORD nowMs = WallpaperIntervalMs(changeTime) != 0 ? clock_.Milliseconds() : 0;
    const WallpaperDue due = WallpaperScheduleStep(changeTime, now.wMinute, now.wSecond, state_.wallpaperLatch, nowMs,
                                                   state_.lastWallpaperChange);
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

void Scheduler::HourlyChime(const SYSTEMTIME& now)
{
    if (running_.chime) {
        return;
    }
    if (HourlyChimeStep(form_.Index(IDC_TIMERWAVEONOFF), now.wMinute, now.wSecond, state_.chimeLatch) &&
        form_.Enabled(IDC_TIMERWAVEPLAY)) {
        RunningStep running(running_.chime);
        actions_.PlayTimerWave(static_cast<unsigned>(form_.Index(IDC_TIMERWAVE)));
    }
}

void Scheduler::CheckReminder(int timer, const SYSTEMTIME& now)
{
    if (running_.reminder[timer - 1]) {
        return;
    }
    Latch& latch = state_.reminderLatch[timer - 1];
    AgeLatch(latch);
    if (latch != 0 || !form_.Down(TimerControl(timer, IDC_REMINDER1_ON_OFF))) {
        return;
    }
    ReminderRecord record;
    const SYSTEMTIME time = form_.DateTime(TimerControl(timer, IDC_REMINDER1_TIME));
    record.hour = time.wHour;
    record.minute = time.wMinute;
    record.second = time.wSecond;
    // Most ticks end here: the rest of the record matters only in the reminder's own second.
    if (!ReminderTimeMatches(record, now)) {
        return;
    }
    record.kind = form_.Index(TimerControl(timer, IDC_REMINDER1_SCHEDULE));
    const SYSTEMTIME date = form_.DateTime(TimerControl(timer, IDC_REMINDER1_DATE));
    record.year = date.wYear;
    record.month = date.wMonth;
    record.day = date.wDay;
    for (int day = 0; day < kDays; ++day) {
        record.weekdays[day] = form_.Down(TimerControl(timer, IDC_REMINDER1_WEEKDAY1 + day));
    }
    if (!ReminderDue(record, now)) {
        return;
    }
    latch = 1;
    RunningStep running(running_.reminder[timer - 1]);
    const int action = form_.Index(TimerControl(timer, IDC_REMINDER1_ACTION));
    if (ActionSoundsChime(action) && form_.Enabled(IDC_TIMERWAVEPLAY)) {
        actions_.PlayTimerWave(static_cast<unsigned>(form_.Index(TimerControl(timer, IDC_REMINDER1_CHIME))));
    }
    if (ActionShowsMessage(action)) {
        actions_.ShowReminder(timer);
    }
    if (record.kind == kReminderOnce) {
        reminderPage_.SwitchOffAfterFiring(timer);
    }
}

void Scheduler::MemRefresh()
{
    if (form_.CurrentPage() != SettingsDialog::kInfoPage) {
        return;
    }
    if (state_.memRefreshToggle != 0) {
        actions_.UpdateMemLabels();
        state_.memRefreshToggle = 0;
    } else {
        state_.memRefreshToggle = 1;
    }
}
