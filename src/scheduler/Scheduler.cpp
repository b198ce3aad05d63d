// Timer1Timer: each step reads the controls it needs just before it acts, so that what an earlier step did
// (a user file that started playing, a reminder switched off) is what a later step sees.
#include "scheduler/Scheduler.h"

#include "base/Multimedia.h"

#include "resource.h"
#include "scheduler/ChimePlayer.h"
#include "scheduler/MessagesForm.h"
#include "scheduler/OsirasePage.h"
#include "settings/OptionEtcForm.h"
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

ProgramTickActions::ProgramTickActions(TOptionEtcForm& form, ChimePlayer& chimePlayer, TMessagesForm& messagesForm1,
                                       TMessagesForm& messagesForm2, TickClock& clock, FormOperation kabeChange,
                                       FormOperation updateMemLabels)
    : form_(form), chimePlayer_(chimePlayer), messagesForm1_(messagesForm1), messagesForm2_(messagesForm2),
      clock_(clock), kabeChange_(kabeChange), updateMemLabels_(updateMemLabels)
{
}

void ProgramTickActions::KabeChange()
{
    kabeChange_(form_);
}

void ProgramTickActions::PlayTimerWave(unsigned index)
{
    chimePlayer_.PlayTimerWave(index);
}

void ProgramTickActions::ShowOsiraseMessage(int timer)
{
    TMessagesForm& window = timer == 1 ? messagesForm1_ : messagesForm2_;
    window.ShowOsiraseMessage(form_.Text(TimerControl(timer, IDC_OSIRASETIMER1MEMO)), clock_.LocalTime());
}

void ProgramTickActions::UpdateMemLabels()
{
    updateMemLabels_(form_);
}

Scheduler::Scheduler(TOptionEtcForm& form, OsirasePage& osirasePage, TickClock& clock, TickActions& actions)
    : form_(form), osirasePage_(osirasePage), clock_(clock), actions_(actions)
{
    state_.lastKabeChange = clock_.Milliseconds();
}

void Scheduler::Timer1Timer()
{
    // One reading of the clock serves every comparison of the tick, the reminders' dates included, so that
    // a tick across midnight cannot pair one day's time with the next day's date.
    const SYSTEMTIME now = clock_.LocalTime();
    KabeSchedule(now);
    HourlyChime(now);
    OsiraseTimer(1, now);
    OsiraseTimer(2, now);
    MemRefresh();
}

void Scheduler::KabeSchedule(const SYSTEMTIME& now)
{
    if (running_.kabe) {
        return;
    }
    const int kabeChangeTime = form_.Index(IDC_KABECHANGETIME);
    const DWORD nowMs = KabeIntervalMs(kabeChangeTime) != 0 ? clock_.Milliseconds() : 0;
    const KabeDue due =
        KabeScheduleStep(kabeChangeTime, now.wMinute, now.wSecond, state_.kabeLatch, nowMs, state_.lastKabeChange);
    if (due == KabeDue::None) {
        return;
    }
    {
        RunningStep running(running_.kabe);
        actions_.KabeChange();
    }
    if (due == KabeDue::Interval) {
        // The next interval counts from the end of this change.
        state_.lastKabeChange = clock_.Milliseconds();
    }
}

void Scheduler::HourlyChime(const SYSTEMTIME& now)
{
    if (running_.jihou) {
        return;
    }
    if (HourlyChimeStep(form_.Index(IDC_TIMERWAVEONOFF), now.wMinute, now.wSecond, state_.jihouLatch) &&
        form_.Enabled(IDC_TIMERWAVEPLAY)) {
        RunningStep running(running_.jihou);
        actions_.PlayTimerWave(static_cast<unsigned>(form_.Index(IDC_TIMERWAVE)));
    }
}

void Scheduler::OsiraseTimer(int timer, const SYSTEMTIME& now)
{
    if (running_.osirase[timer - 1]) {
        return;
    }
    Latch& latch = state_.osiraseTimerLatch[timer - 1];
    AgeLatch(latch);
    if (latch != 0 || !form_.Down(TimerControl(timer, IDC_OSIRASETIMER1TIMERONOFF))) {
        return;
    }
    ReminderRecord record;
    const SYSTEMTIME time = form_.DateTime(TimerControl(timer, IDC_OSIRASETIMER1TIME));
    record.hour = time.wHour;
    record.minute = time.wMinute;
    record.second = time.wSecond;
    // Most ticks end here: the rest of the record matters only in the reminder's own second.
    if (!ReminderTimeMatches(record, now)) {
        return;
    }
    record.kind = form_.Index(TimerControl(timer, IDC_OSIRASETIMER1YOYAKUHOUHOU));
    const SYSTEMTIME date = form_.DateTime(TimerControl(timer, IDC_OSIRASETIMER1DATE));
    record.year = date.wYear;
    record.month = date.wMonth;
    record.day = date.wDay;
    for (int day = 0; day < kDays; ++day) {
        record.weekdays[day] = form_.Down(TimerControl(timer, IDC_OSIRASETIMER1WEEK1 + day));
    }
    if (!ReminderDue(record, now)) {
        return;
    }
    latch = 1;
    RunningStep running(running_.osirase[timer - 1]);
    const int action = form_.Index(TimerControl(timer, IDC_OSIRASETIMER1OSIRASEHOUHOU));
    if (ActionSoundsChime(action) && form_.Enabled(IDC_TIMERWAVEPLAY)) {
        actions_.PlayTimerWave(static_cast<unsigned>(form_.Index(TimerControl(timer, IDC_OSIRASETIMER1JIHOU))));
    }
    if (ActionShowsMessage(action)) {
        actions_.ShowOsiraseMessage(timer);
    }
    if (record.kind == kReminderOnce) {
        osirasePage_.SwitchOffAfterFiring(timer);
    }
}

void Scheduler::MemRefresh()
{
    if (form_.CurrentPage() != TOptionEtcForm::kJyouhouPage) {
        return;
    }
    if (state_.memRefreshToggle != 0) {
        actions_.UpdateMemLabels();
        state_.memRefreshToggle = 0;
    } else {
        state_.memRefreshToggle = 1;
    }
}
