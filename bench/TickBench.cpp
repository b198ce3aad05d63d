// Benchmark of one OnTick on the real settings dialog, both reminders armed (not due) and the
// information page current: prints the median and the 99th percentile of 100,000 ticks.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "info/InfoPage.h"
#include "scheduler/SchedulerIds.h"
#include "scheduler/ChimePlayer.h"
#include "scheduler/ReminderWindow.h"
#include "scheduler/ReminderPage.h"
#include "scheduler/Scheduler.h"
#include "settings/SettingsDialog.h"
#include "wallpaper/Wallpaper.h"
#include "app/MakePages.h"
#include "app/ProgramTickActions.h"

namespace {
constexpr int kTicks = 100000;
constexpr int kWarmUpTicks = 1000;
constexpr int kChimeOnTheHalfHour = 2;

void ArmFarFromNow(SettingsDialog& form, int timer)
{
    auto id = [timer](int firstTimerId) { return ReminderPage::Id(timer, firstTimerId - IDC_REMINDER1_GROUP); };
    SYSTEMTIME when = {};
    GetLocalTime(&when);
    when.wHour = static_cast<WORD>((when.wHour + 12) % 24);
    form.SetIndex(id(IDC_REMINDER1_SCHEDULE), kReminderDaily);
    form.SetIndex(id(IDC_REMINDER1_ACTION), kActionChimeAndMessage);
    form.SetDateTime(id(IDC_REMINDER1_DATE), when);
    form.SetDateTime(id(IDC_REMINDER1_TIME), when);
    form.SetDown(id(IDC_REMINDER1_ON_OFF), true);
}

double Microseconds(LONGLONG ticks, LONGLONG frequency)
{
    return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency);
}
} // namespace

int wmain()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    ErrorBox errors;
    DeactivationSlot slot;
    ReminderWindow messages1(errors, slot, 1);
    ReminderWindow messages2(errors, slot, 2);
    ChimePlayer chimePlayer;
    SettingsDialog form(errors, MakeSettingsPages(chimePlayer));
    if (!form.Create(nullptr, false) || !messages1.Create(form.Hwnd()) || !messages2.Create(form.Hwnd())) {
        std::printf("tick_median: failed (no dialog)\n");
        return 1;
    }
    SystemTickClock clock;
    ProgramTickActions actions(form, chimePlayer, messages1, messages2);
    Scheduler scheduler(ChimePageOf(form), ReminderPageOf(form), clock, actions);
    form.SetIndex(IDC_TIMERWAVEONOFF, kChimeOnTheHalfHour);
    ArmFarFromNow(form, 1);
    ArmFarFromNow(form, 2);
    form.SelectPage(kInfoPageIndex);

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<LONGLONG> durations;
    durations.reserve(kTicks);
    for (int i = 0; i < kWarmUpTicks + kTicks; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        scheduler.OnTick();
        QueryPerformanceCounter(&end);
        if (i >= kWarmUpTicks) {
            durations.push_back(end.QuadPart - start.QuadPart);
        }
    }
    std::sort(durations.begin(), durations.end());
    std::printf("tick_median: %.1f us\n", Microseconds(durations[durations.size() / 2], frequency.QuadPart));
    std::printf("tick_p99: %.1f us\n", Microseconds(durations[durations.size() * 99 / 100], frequency.QuadPart));
    return 0;
}
