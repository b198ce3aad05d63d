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
#include "support/DialogUi.h"
#include "app/ProgramTickActions.h"

namespace {
constexpr int kTicks = 100000;
constexpr int kWarmUpTicks = 1000;
constexpr int kChimeOnTheHalfHour = 2;

void ArmFarFromNow(SettingsDialog& dialog, int timer)
{
    auto id = [timer](int firstTimerId) { return ReminderPage::Id(timer, firstTimerId - IDC_REMINDER1_GROUP); };
    SYSTEMTIME when = {};
    GetLocalTime(&when);
    when.wHour = static_cast<WORD>((when.wHour + 12) % 24);
    Ui(dialog).SetIndex(id(IDC_REMINDER1_SCHEDULE), kReminderDaily);
    Ui(dialog).SetIndex(id(IDC_REMINDER1_ACTION), kActionChimeAndMessage);
    Ui(dialog).SetDateTime(id(IDC_REMINDER1_DATE), when);
    Ui(dialog).SetDateTime(id(IDC_REMINDER1_TIME), when);
    Ui(dialog).SetChecked(id(IDC_REMINDER1_ON_OFF), true);
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
    MessageLoop loop;
    ReminderWindows messages(errors);
    ChimePlayer chimePlayer;
    SettingsDialog dialog(errors, loop, MakeSettingsPages(chimePlayer));
    if (!dialog.Create(nullptr, false) || !messages.Create(dialog.Hwnd())) {
        std::printf("tick_median: failed (no dialog)\n");
        return 1;
    }
    SystemTickClock clock;
    ProgramTickActions actions(dialog, chimePlayer, messages);
    Scheduler scheduler(ChimePageOf(dialog), ReminderPageOf(dialog), clock, actions);
    Ui(dialog).SetIndex(IDC_TIMERWAVEONOFF, kChimeOnTheHalfHour);
    ArmFarFromNow(dialog, 1);
    ArmFarFromNow(dialog, 2);
    dialog.SelectPage(kInfoPageIndex);

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
