// OnTick on a real hidden settings dialog, with a test clock and recorded actions: every moment of the
// hourly chime, the reminders and the wallpaper schedule without waiting for it.
#include "ReminderTestSupport.h"

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "scheduler/Scheduler.h"
#include "scheduler/TickWindow.h"
#include "support/DialogUi.h"
#include "support/TestClock.h"

namespace {
constexpr int kChimeOnTheHour = 1;
constexpr int kChimeOnTheHalfHour = 2;
constexpr int kFirstUserChime = 8;

// Records what the tick does, in order. A user sound file plays until the test ends it.
class RecordingActions : public TickActions {
public:
    explicit RecordingActions(TestClock& clock) : clock_(clock) {}
    void ChangeWallpaper() override
    {
        log.push_back("wallpaper");
        clock_.ms += wallpaperChangeTakesMs;
        if (whileWallpaperBoxIsOpen) {
            // The error box's modal loop goes on delivering ticks until the user closes it.
            auto box = std::exchange(whileWallpaperBoxIsOpen, nullptr);
            box();
            log.push_back("box closed");
        }
    }
    void PlayTimerWave(unsigned index) override
    {
        log.push_back("play " + std::to_string(index));
        playingUserFile = playingUserFile || index >= kFirstUserChime;
    }
    bool IsPlayingUserFile() override { return playingUserFile; }
    void ShowReminder(int timer, const std::wstring&, const SYSTEMTIME&) override
    {
        log.push_back("message " + std::to_string(timer));
    }
    WallpaperChangeTime CurrentWallpaperChangeTime() override { return changeTime; }
    bool InfoPageShown() override { return infoPageShown; }
    void UpdateMemLabels() override { log.push_back("mem"); }

    // The wallpaper page's choice and the information page's selection, as the user left them.
    WallpaperChangeTime changeTime = WallpaperChangeTime::Never;
    bool infoPageShown = false;
    bool playingUserFile = false;
    std::vector<std::string> log;
    DWORD wallpaperChangeTakesMs = 0;
    std::function<void()> whileWallpaperBoxIsOpen;

private:
    TestClock& clock_;
};

using Log = std::vector<std::string>;
} // namespace

class SchedulerTest : public ReminderFixture {
protected:
    void SetUp() override
    {
        ReminderFixture::SetUp();
        scheduler.State().lastWallpaperChange = 0;
    }

    // Two ticks in one clock second, as the 500 ms timer gives them.
    void Second(int year, int month, int day, int hour, int minute, int second, int ticks = 2)
    {
        clock.now = At(year, month, day, hour, minute, second);
        for (int i = 0; i < ticks; ++i) {
            scheduler.OnTick();
            clock.ms += 500;
        }
    }
    void Second(int hour, int minute, int second, int ticks = 2) { Second(2003, 10, 15, hour, minute, second, ticks); }

    Log Take()
    {
        Log taken = actions.log;
        actions.log.clear();
        return taken;
    }

    TestClock clock;
    RecordingActions actions{clock};
    Scheduler scheduler{DialogsChimePage(), reminderPage, clock, actions};
};

TEST_F(SchedulerTest, HourlyChimeSoundsOnceInItsSecondAndOnlyAtTheMomentsOfItsMode)
{
    Ui(dialog).SetIndex(IDC_TIMERWAVEONOFF, kChimeOnTheHour);
    Ui(dialog).SetIndex(IDC_TIMERWAVE, 2);
    Second(9, 59, 59);
    Second(10, 0, 0);
    Second(10, 0, 1);
    EXPECT_EQ(Take(), (Log{"play 2"}));
    Second(10, 30, 0);
    EXPECT_EQ(Take(), Log{});

    Ui(dialog).SetIndex(IDC_TIMERWAVEONOFF, kChimeOnTheHalfHour);
    Second(11, 0, 0);
    Second(11, 30, 0);
    Second(11, 45, 0);
    EXPECT_EQ(Take(), (Log{"play 2", "play 2"}));

    Ui(dialog).SetIndex(IDC_TIMERWAVEONOFF, 0);
    Second(12, 0, 0);
    EXPECT_EQ(Take(), Log{});
}

TEST_F(SchedulerTest, ThreeTicksInOneSecondStillChimeOnce)
{
    Ui(dialog).SetIndex(IDC_TIMERWAVEONOFF, kChimeOnTheHour);
    Second(10, 0, 0, 3);
    EXPECT_EQ(Take(), (Log{"play 0"}));
}

TEST_F(SchedulerTest, AChimeDueWhileAUserFilePlaysIsSkippedNotPostponed)
{
    Ui(dialog).SetIndex(IDC_TIMERWAVEONOFF, kChimeOnTheHour);
    actions.playingUserFile = true;
    Second(10, 0, 0, 1);
    actions.playingUserFile = false;
    Second(10, 0, 0, 1);
    Second(10, 0, 1);
    EXPECT_EQ(Take(), Log{});
}

TEST_F(SchedulerTest, AChangeInTheDialogIsInForceAtTheNextTick)
{
    Second(10, 0, 0, 1);
    EXPECT_EQ(Take(), Log{});
    Ui(dialog).SetIndex(IDC_TIMERWAVEONOFF, kChimeOnTheHalfHour);
    Ui(dialog).SetIndex(IDC_TIMERWAVE, 6);
    Second(10, 30, 0, 1);
    EXPECT_EQ(Take(), (Log{"play 6"}));
}

TEST_F(SchedulerTest, ReminderFiresAtItsSecondNotAtTheMinute)
{
    Arm(t1, kDaily, kBothAction, 4, At(2003, 10, 15, 8, 15, 30), {}, L"会議");
    Second(8, 15, 0);
    Second(8, 15, 29);
    EXPECT_EQ(Take(), Log{});
    Second(8, 15, 30);
    Second(8, 15, 31);
    EXPECT_EQ(Take(), (Log{"play 4", "message 1"}));
    EXPECT_TRUE(Ui(dialog).Checked(t1.OnOff())) << "a daily reminder stays on";
    Second(2003, 10, 16, 8, 15, 30);
    EXPECT_EQ(Take(), (Log{"play 4", "message 1"}));
}

TEST_F(SchedulerTest, ActionsDecideBetweenChimeAndMessage)
{
    Arm(t1, kDaily, kChimeAction, 3, At(2003, 10, 15, 9, 0, 5));
    Arm(t2, kDaily, kMessageAction, 5, At(2003, 10, 15, 9, 0, 6));
    Second(9, 0, 5);
    Second(9, 0, 6);
    EXPECT_EQ(Take(), (Log{"play 3", "message 2"}));
}

TEST_F(SchedulerTest, AReminderFilledInButNotSwitchedOnStaysSilent)
{
    Arm(t1, kDaily, kBothAction, 3, At(2003, 10, 15, 7, 0, 0), {}, L"", false);
    Second(7, 0, 0);
    EXPECT_EQ(Take(), Log{});
    Click(t1.OnOff());
    Second(2003, 10, 16, 7, 0, 0);
    EXPECT_EQ(Take(), (Log{"play 3", "message 1"})) << "the same reminder, switched on";

    // Switched off over its second and on again after it: what passed while it was off is not caught up.
    Second(2003, 10, 17, 6, 59, 59);
    Click(t1.OnOff());
    Second(2003, 10, 17, 7, 0, 0);
    Arm(t1, kDaily, kBothAction, 3, At(2003, 10, 15, 7, 0, 0));
    Second(2003, 10, 17, 7, 0, 1);
    EXPECT_EQ(Take(), Log{});
}

TEST_F(SchedulerTest, OnceOnlyReminderWithAPastDateStaysOnAndNeverFires)
{
    Arm(t1, kOnce, kMessageAction, 0, At(2003, 10, 14, 8, 15, 30));
    Second(8, 15, 30);
    Second(2003, 10, 16, 8, 15, 30);
    EXPECT_EQ(Take(), Log{});
    EXPECT_TRUE(Ui(dialog).Checked(t1.OnOff()));
}

TEST_F(SchedulerTest, OnceOnlyReminderFiresThenReadsOffAndDoesNotFireTheNextDay)
{
    Arm(t1, kDaily, kMessageAction, 0, At(2003, 10, 15, 18, 0, 0));
    Arm(t2, kOnce, kBothAction, 7, At(2003, 10, 15, 12, 0, 0), {}, L"薬");
    dialog.SelectPage(kReminderPageIndex);
    ASSERT_EQ(Text(t2.OnOff()), "タイマーON");
    Second(12, 0, 0);
    EXPECT_EQ(Take(), (Log{"play 7", "message 2"}));
    EXPECT_FALSE(Ui(dialog).Checked(t2.OnOff()));
    EXPECT_EQ(Text(t2.OnOff()), "タイマーOFF");
    EXPECT_EQ(Ui(dialog).Index(t2.Kind()), -1);
    EXPECT_EQ(Text(t2.Kind()), "予約方法");
    EXPECT_TRUE(Ui(dialog).Enabled(t2.Kind()));
    EXPECT_EQ(Ui(dialog).Index(t2.Chime()), 0);
    EXPECT_FALSE(Ui(dialog).Enabled(t2.Date()));
    EXPECT_EQ(Ui(dialog).DateTime(t2.Date()).wDay, 15) << "the date stays in the picker";
    EXPECT_EQ(Text(t2.Memo()), "薬") << "the text stays";
    Second(2003, 10, 16, 12, 0, 0);
    EXPECT_EQ(Take(), (Log{"message 1"})) << "only the daily reminder, for its 18:00 that the day held";
    // Only the timer that fired is switched off.
    EXPECT_TRUE(Ui(dialog).Checked(t1.OnOff()));
    EXPECT_EQ(Ui(dialog).Index(t1.Kind()), kDaily);
}

TEST_F(SchedulerTest, WeeklyReminderOverAWholeWeek)
{
    // 2003/10/12 is a Sunday. No weekday chosen: never.
    Arm(t1, kWeekly, kMessageAction, 0, At(2003, 10, 12, 7, 30, 0));
    for (int day = 12; day < 19; ++day) {
        Second(2003, 10, day, 7, 30, 0);
    }
    EXPECT_EQ(Take(), Log{});

    Arm(t2, kWeekly, kMessageAction, 0, At(2003, 10, 12, 7, 30, 0), {kMonday, kWednesday});
    std::vector<int> fired;
    for (int day = 12; day < 19; ++day) {
        Second(2003, 10, day, 7, 30, 0);
        if (!Take().empty()) {
            fired.push_back(day);
        }
    }
    EXPECT_EQ(fired, (std::vector<int>{13, 15}));
    EXPECT_TRUE(Ui(dialog).Checked(t2.OnOff()));
}

TEST_F(SchedulerTest, ReminderWithoutKindNeverFires)
{
    Ui(dialog).SetDateTime(t1.Time(), At(2003, 10, 15, 6, 0, 0));
    Click(t1.OnOff());
    ASSERT_TRUE(Ui(dialog).Checked(t1.OnOff()));
    Second(6, 0, 0);
    EXPECT_EQ(Take(), Log{});
}

TEST_F(SchedulerTest, TwoRemindersInOneSecondFireTimerOneFirst)
{
    Arm(t1, kDaily, kBothAction, 1, At(2003, 10, 15, 15, 0, 0));
    Arm(t2, kDaily, kBothAction, 2, At(2003, 10, 15, 15, 0, 0));
    Second(15, 0, 0);
    EXPECT_EQ(Take(), (Log{"play 1", "message 1", "play 2", "message 2"}));
}

TEST_F(SchedulerTest, AUserFileOfTimerOneSkipsTheChimeOfTimerTwoButNotItsMessage)
{
    Ui(dialog).AddItem(IDC_TIMERWAVE, L"C:\\sounds\\a.wav");
    Ui(dialog).AddItem(t1.Chime(), L"C:\\sounds\\a.wav");
    Ui(dialog).AddItem(t2.Chime(), L"C:\\sounds\\a.wav");
    Arm(t1, kDaily, kChimeAction, kFirstUserChime, At(2003, 10, 15, 15, 0, 0));
    Arm(t2, kDaily, kBothAction, 2, At(2003, 10, 15, 15, 0, 0));
    Second(15, 0, 0);
    EXPECT_EQ(Take(), (Log{"play 8", "message 2"}));
}

TEST_F(SchedulerTest, HourlyChimeComesBeforeAReminderOfTheSameSecond)
{
    Ui(dialog).SetIndex(IDC_TIMERWAVEONOFF, kChimeOnTheHour);
    Ui(dialog).SetIndex(IDC_TIMERWAVE, 5);
    Arm(t1, kDaily, kChimeAction, 1, At(2003, 10, 15, 12, 0, 0));
    Second(12, 0, 0);
    EXPECT_EQ(Take(), (Log{"play 5", "play 1"}));

    // A user file as the hourly chime: the reminder's chime is skipped.
    Ui(dialog).AddItem(IDC_TIMERWAVE, L"C:\\sounds\\a.mp3");
    Ui(dialog).SetIndex(IDC_TIMERWAVE, kFirstUserChime);
    Second(13, 0, 0);
    EXPECT_EQ(Take(), (Log{"play 8"}));
}

TEST_F(SchedulerTest, WallpaperOnTheClockOnlyAtTheMomentsOfItsItem)
{
    // 毎時 ０分, 毎時 ０分 + ３０分, and interval items whose interval never passes here: they keep quiet on the
    // full and the half hour.
    const std::pair<int, std::vector<std::string>> cases[] = {
        {2, {"0:0"}}, {3, {"0:0", "30:0"}}, {4, {}}, {9, {}}, {10, {}}};
    int hour = 8;
    for (const auto& [item, expected] : cases) {
        actions.changeTime = static_cast<WallpaperChangeTime>(item);
        std::vector<std::string> moments;
        bool stampMoved = false;
        ++hour;
        for (int minute = 0; minute < 60; ++minute) {
            for (int second = 0; second < 60; ++second) {
                scheduler.State().lastWallpaperChange = clock.ms;
                Second(hour, minute, second);
                stampMoved |= scheduler.State().lastWallpaperChange != clock.ms - 1000;
                if (!Take().empty()) {
                    moments.push_back(std::to_string(minute) + ":" + std::to_string(second));
                }
            }
        }
        EXPECT_EQ(moments, expected) << "item " << item;
        EXPECT_FALSE(stampMoved) << "item " << item << ": changes on the clock leave the interval stamp alone";
    }
}

TEST_F(SchedulerTest, IntervalChosenLateChangesAtOnceThenCountsFromTheEndOfEachChange)
{
    const DWORD fifteenMinutes = 900000;
    scheduler.State().lastWallpaperChange = 1000;
    clock.ms = 1000 + 20 * 60000;
    Second(9, 0, 1);
    EXPECT_EQ(Take(), Log{});
    actions.changeTime = static_cast<WallpaperChangeTime>(4);
    actions.wallpaperChangeTakesMs = 3000;
    Second(9, 0, 2, 1);
    EXPECT_EQ(Take(), (Log{"wallpaper"}));
    const DWORD endOfChange = scheduler.State().lastWallpaperChange;
    EXPECT_EQ(endOfChange, 1000 + 20 * 60000 + 1000 + 3000u);
    clock.ms = endOfChange + fifteenMinutes - 1;
    Second(9, 16, 0, 1);
    EXPECT_EQ(Take(), Log{});
    clock.ms = endOfChange + fifteenMinutes;
    Second(9, 16, 1, 1);
    EXPECT_EQ(Take(), (Log{"wallpaper"}));
}

TEST_F(SchedulerTest, AWallpaperChangeThatFailsShowsOneBoxWhileTheChimeKeepsItsMoment)
{
    actions.changeTime = static_cast<WallpaperChangeTime>(10); // every ten seconds
    Ui(dialog).SetIndex(IDC_TIMERWAVEONOFF, kChimeOnTheHour);
    Ui(dialog).SetIndex(IDC_TIMERWAVE, 0);
    scheduler.State().lastWallpaperChange = 0;
    clock.ms = 10000;
    actions.whileWallpaperBoxIsOpen = [this] {
        for (int second = 50; second < 60; ++second) {
            Second(9, 59, second);
        }
        clock.ms += 9000;
        Second(10, 0, 0);
        Second(10, 0, 1);
    };
    Second(9, 59, 49, 1);
    EXPECT_EQ(Take(), (Log{"wallpaper", "play 0", "box closed"})) << "one box; the chime in it on time";
    const DWORD closed = 10000 + 10 * 1000 + 9000 + 2 * 1000;
    EXPECT_EQ(scheduler.State().lastWallpaperChange, closed) << "the interval counts from the box's closing";
    clock.ms = closed + 9500;
    Second(10, 0, 11, 1);
    EXPECT_EQ(Take(), Log{});
    clock.ms = closed + 10000;
    Second(10, 0, 12, 1);
    EXPECT_EQ(Take(), (Log{"wallpaper"})) << "the schedule resumes";
}

TEST_F(SchedulerTest, IntervalScheduleAcrossTheCounterWrap)
{
    actions.changeTime = static_cast<WallpaperChangeTime>(10);
    scheduler.State().lastWallpaperChange = 0xFFFFF000u;
    clock.ms = 0xFFFFF000u + 1000;
    for (int i = 0; i < 18; ++i) {
        Second(3, 0, i, 1);
    }
    EXPECT_EQ(Take(), Log{}) << "9 s after the stamp, across the wrap";
    Second(3, 0, 20, 2);
    EXPECT_EQ(Take(), (Log{"wallpaper"}));
    EXPECT_EQ(scheduler.State().lastWallpaperChange, 0xFFFFF000u + 10000u);
}

TEST_F(SchedulerTest, MemoryFiguresRefreshOnEverySecondTickOnlyOnTheInformationPage)
{
    Second(10, 0, 1, 4);
    EXPECT_EQ(Take(), Log{});
    actions.infoPageShown = true;
    Second(10, 0, 2, 4);
    EXPECT_EQ(Take(), (Log{"mem", "mem"}));
    Second(10, 0, 3, 1);
    EXPECT_EQ(Take(), (Log{"mem"}));
    actions.infoPageShown = false;
    Second(10, 0, 4, 3);
    actions.infoPageShown = true;
    Second(10, 0, 5, 1);
    EXPECT_EQ(Take(), Log{}) << "the toggle kept its value on the other page";
}

TEST_F(SchedulerTest, TheTickWindowsTimerRunsTheTick)
{
    std::vector<ULONGLONG> at;
    TickWindow window(TestErrors(), [&] { at.push_back(GetTickCount64()); });
    ASSERT_TRUE(window.Create());
    SendMessageW(window.Hwnd(), WM_TIMER, TickWindow::kTickTimerId + 1, 0);
    EXPECT_EQ(at.size(), 0u);
    SendMessageW(window.Hwnd(), WM_TIMER, TickWindow::kTickTimerId, 0);
    EXPECT_EQ(at.size(), 1u);
    at.clear();
    // The timer itself runs from the window's creation, every 500 ms: a slower one would miss most hh:00:00
    // seconds, which only two ticks fall into. A busy machine can only delay or merge ticks, so the closest two
    // ticks show the period, and the count over the span bounds it from below.
    const ULONGLONG start = GetTickCount64();
    while (at.size() < 8 && GetTickCount64() - start < 30000) {
        PumpMessages(10);
    }
    ASSERT_EQ(at.size(), 8u);
    ULONGLONG closest = at[1] - at[0];
    for (std::size_t i = 2; i < at.size(); ++i) {
        closest = std::min(closest, at[i] - at[i - 1]);
    }
    EXPECT_LT(closest, 750u) << "ticks come no further apart than 500 ms";
    EXPECT_GE((at.back() - at.front()) / (at.size() - 1), 450u) << "and no closer";
}
