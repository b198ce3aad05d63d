// The tick in the running program: its peers reached through the dialog's typed pages, a reminder shown through
// the program's own windows and player, and the memory figures of the information page.
#include "scheduler/ReminderTestSupport.h"

#include <string>
#include <vector>

#include "app/MakePages.h"
#include "app/ProgramTickActions.h"
#include "info/InfoIds.h"
#include "scheduler/ReminderWindow.h"
#include "scheduler/Scheduler.h"
#include "scheduler/TickWindow.h"
#include "support/DialogUi.h"
#include "support/TestClock.h"
#include "wallpaper/WallpaperIds.h"

// The program's own peers of the tick, on the whole dialog: the basic page's player, the reminder windows, the
// wallpaper page's change time and the information page's memory figures.
class ProgramTickTest : public ReminderFixture {
protected:
    // The player's PlaySound records the chimes in sounds.
    ProgramTickTest()
        : ReminderFixture(
              [this](LPCWSTR sound, HMODULE, DWORD) {
                  sounds.push_back(sound);
                  return TRUE;
              },
              OpenSoundFileDialog, AllPages)
    {
    }
    static SettingsPages AllPages(ChimePlayer& player, ChooseSoundFileFn chooseSoundFile,
                                  std::unique_ptr<ReminderPage> reminderPage)
    {
        PageServices services;
        services.chooseSoundFile = chooseSoundFile;
        return MakeSettingsPages(player, std::move(reminderPage), services);
    }
    void SetUp() override
    {
        ReminderFixture::SetUp();
        ASSERT_TRUE(messages.Create(dialog.Hwnd()));
    }

    std::vector<std::wstring> sounds;
    TestClock clock;
    ReminderWindows messages{TestErrors()};
    ReminderWindow& messages1 = messages.ForTimer(1);
    ReminderWindow& messages2 = messages.ForTimer(2);
    ProgramTickActions actions{dialog, chimePlayer, messages};
    Scheduler scheduler{DialogsChimePage(), reminderPage, clock, actions};
};

TEST_F(ProgramTickTest, AReminderSoundsItsChimeAndShowsItsWindowWithTheMemo)
{
    const SYSTEMTIME when = At(2003, 10, 15, 12, 0, 0);
    Pick(t2.Kind(), kOnce);
    Ui(dialog).SetDateTime(t2.Date(), when);
    Ui(dialog).SetDateTime(t2.Time(), when);
    Pick(t2.Action(), kBothAction);
    Pick(t2.Chime(), 6);
    Ui(dialog).SetText(t2.Memo(), L"歯医者の予約");
    Click(t2.OnOff());
    clock.now = when;
    scheduler.OnTick();

    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(Utf8(sounds[0]), "TIMER7A");
    EXPECT_FALSE(messages1.IsVisible());
    ASSERT_TRUE(messages2.IsVisible());
    EXPECT_NE(Utf8(messages2.MessageLabelText()).find("2003/10/15 水曜日  12:00:00"), std::string::npos)
        << "the second window's sentence, of the moment that fired";
    EXPECT_EQ(Utf8(messages2.MessageMemoText()), "歯医者の予約");
    EXPECT_EQ(Text(t2.OnOff()), "タイマーOFF");
}

// The machine sleeps over two reminders, then its clock, an hour fast, is corrected: the tick's window runs a tick at
// once on the resume and on the change of the clock, each reminder comes once with its own moment, and none twice.
TEST_F(ProgramTickTest, AfterASleepEachMissedReminderComesOnceWithItsMomentAndNothingTwiceWhenTheClockGoesBack)
{
    TickWindow window(TestErrors(), [this] { scheduler.OnTick(); });
    // Only the window's messages run the tick here, not its half-second timer.
    ASSERT_TRUE(window.Create() && KillTimer(window.Hwnd(), TickWindow::kTickTimerId));
    const auto tick = [&window, this](UINT msg, WPARAM wParam, const SYSTEMTIME& at) {
        clock.now = at;
        SendMessageW(window.Hwnd(), msg, wParam, 0);
        PumpMessages();
    };
    Arm(t1, kOnce, kMessageAction, 0, At(2003, 10, 15, 12, 0, 0));
    Arm(t2, kDaily, kBothAction, 6, At(2003, 10, 15, 7, 0, 0));
    tick(WM_TIMER, TickWindow::kTickTimerId, At(2003, 10, 15, 11, 59, 50));

    tick(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, At(2003, 10, 17, 8, 0, 5));
    EXPECT_EQ(Utf8(messages1.MessageLabelText()), "只今、予定の2003/10/15 水曜日 12:00:00になりました");
    EXPECT_EQ(Text(t1.OnOff()), "タイマーOFF") << "a once-only reminder that came late is switched off";
    EXPECT_EQ(Utf8(messages2.MessageLabelText()), "只今、予定の2003/10/17 金曜日  07:00:00になりました")
        << "once, for the latest of its three days";
    EXPECT_EQ(sounds, std::vector<std::wstring>{L"TIMER7A"});
    EXPECT_TRUE(messages1.IsVisible() && messages2.IsVisible());
    messages2.MessageBtnClick();

    sounds.clear();
    tick(WM_TIMECHANGE, 0, At(2003, 10, 17, 6, 59, 58));
    tick(WM_TIMER, TickWindow::kTickTimerId, At(2003, 10, 17, 7, 0, 1));
    EXPECT_FALSE(messages2.IsVisible());
    EXPECT_TRUE(sounds.empty());

    tick(WM_TIMECHANGE, 0, At(2003, 10, 18, 7, 0, 0));
    EXPECT_TRUE(messages2.IsVisible()) << "the clock set to the next day's moment";
}

TEST_F(ProgramTickTest, TheWallpaperChangeTimeAndTheInformationPageAreTheOnesTheUserSees)
{
    Ui(dialog).SetIndex(IDC_WALLPAPER_CHANGE_TIME, 2);
    EXPECT_EQ(actions.CurrentWallpaperChangeTime(), WallpaperChangeTime::OnTheHour);
    EXPECT_FALSE(actions.InfoPageShown());
    dialog.SelectPage(kInfoPageIndex);
    EXPECT_TRUE(actions.InfoPageShown());
    dialog.SelectPage(kWallpaperPageIndex);
    EXPECT_FALSE(actions.InfoPageShown());
}

TEST_F(ProgramTickTest, TheTickRefreshesTheMemoryFiguresEverySecondTickWhileTheInformationPageIsShown)
{
    // A quiet moment: no chime, reminder or wallpaper change is due at it.
    clock.now = At(2003, 10, 15, 12, 34, 56);
    const auto refreshed = [&] { return Utf8(Ui(dialog).Text(IDC_MEMORY_TOTAL)) != "stale"; };
    Ui(dialog).SetText(IDC_MEMORY_TOTAL, L"stale");

    scheduler.OnTick();
    EXPECT_FALSE(refreshed()) << "on another page nothing is refreshed";

    // The first tick that finds the page selected refreshes at once, then every second tick.
    dialog.SelectPage(kInfoPageIndex);
    std::vector<bool> seen;
    for (int tick = 0; tick < 4; ++tick) {
        scheduler.OnTick();
        seen.push_back(refreshed());
        Ui(dialog).SetText(IDC_MEMORY_TOTAL, L"stale");
    }
    EXPECT_EQ(seen, (std::vector<bool>{true, false, true, false}));

    // Leaving the page right after a refresh and coming back: the old figures for up to one second.
    scheduler.OnTick();
    EXPECT_TRUE(refreshed());
    Ui(dialog).SetText(IDC_MEMORY_TOTAL, L"stale");
    dialog.SelectPage(0);
    scheduler.OnTick();
    scheduler.OnTick();
    EXPECT_FALSE(refreshed());
    dialog.SelectPage(kInfoPageIndex);
    scheduler.OnTick();
    EXPECT_FALSE(refreshed());
    scheduler.OnTick();
    EXPECT_TRUE(refreshed());
    EXPECT_GT(std::stoull(Utf8(Ui(dialog).Text(IDC_MEMORY_TOTAL))), 0u);
}
